#include "RadioCommands.h"

#include "CReadWriteDlg.h"
#include "base/Globals.h"
#include "base/ResourceLibrary.h"
#include "files/CProgramDoc.h"
#include "common/Backups.h"
#include "files/ReadBackup.h"
#include "radiolink/RadioTransfer.h"

#include <QMainWindow>
#include <QStatusBar>

RadioCommands::RadioCommands(CProgramDoc *document, QWidget *window, const QString &appDirectory, QObject *parent)
    : QObject(parent), m_document(document), m_window(window), m_appDirectory(appDirectory)
{
    portName = [] { return PortName; };
}

bool RadioCommands::onRead()
{
    QByteArray image;
    if (!runTransfer(true, &image))
        return false;
    // A copy of the read in the backups folder; one that fails does not fail the read, the
    // status bar says so.
    QString error;
    if (!ReadBackup::write(image, toByteArray(CProgramDoc::storedImage(imageFromBytes(image))), m_appDirectory,
                           &error)) {
        if (auto *window = qobject_cast<QMainWindow *>(m_window))
            window->statusBar()->showMessage(Backups::readFailureText(error));
    }
    // The document takes the image only after a read that brought every block; after a
    // failure it is unchanged.
    m_document->change(plainCaption(resources().menuItemText(ResId::MainMenu, ResId::Read)),
                       [this, &image] { m_document->applyRead(image); });
    return true;
}

bool RadioCommands::onWrite()
{
    if (!runTransfer(false, nullptr))
        return false;
    m_document->markWritten();
    return true;
}

bool RadioCommands::runTransfer(bool read, QByteArray *readImage)
{
    if (commitEdit)
        commitEdit();
    // A write sends the values stored into the image. A read replaces every byte that storing
    // could change, so the document is left as it is until the read succeeded.
    if (!read)
        m_document->storeValues();
    CReadWriteDlg dialog(m_document, portName(), m_appDirectory, m_window);
    dialog.setReadFlag(read);
    dialog.setTitle(RadioTransfer::title(read, LanguageIndex));
    if (dialogCreated)
        dialogCreated(dialog);
    dialog.exec();
    if (read && dialog.success())
        *readImage = dialog.readImage();
    // A write counts once the radio holds the image: confirmed by the read-back when the
    // user asked for one.
    return read ? dialog.success() : dialog.written();
}
