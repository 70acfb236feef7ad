#include "RadioCommands.h"

#include "CReadWriteDlg.h"
#include "base/Globals.h"
#include "files/ReadBackup.h"
#include "model/RadioImage.h"
#include "radiolink/RadioTransfer.h"

#include <QMainWindow>
#include <QStatusBar>

RadioCommands::RadioCommands(QWidget *window, QObject *parent)
    : QObject(parent), m_window(window)
{
}

bool RadioCommands::onRead()
{
    if (!runTransfer(true))
        return false;
    // A copy of the read in the backups folder; one that fails does not fail the read, the
    // status bar says so.
    const QByteArray asRead = radioImageBytes();
    QString error;
    if (!ReadBackup::write(asRead, ReadBackup::fileBytesOfImage(), AppDirectory, &error)) {
        if (auto *window = qobject_cast<QMainWindow *>(m_window))
            window->statusBar()->showMessage(ReadBackup::failureText(error));
    }
    // The grid follows the image only after a read that brought every block; after a
    // failure the image is unchanged and so is the grid.
    if (imageToGrid)
        imageToGrid();
    return true;
}

bool RadioCommands::onWrite()
{
    return runTransfer(false);
}

bool RadioCommands::runTransfer(bool read)
{
    if (gridToImage)
        gridToImage();
    CReadWriteDlg dialog(m_window);
    dialog.setReadFlag(read);
    dialog.setTitle(RadioTransfer::title(read, LanguageIndex));
    if (dialogCreated)
        dialogCreated(dialog);
    dialog.exec();
    // The worker read into its own copy; the image takes it here, in the window's thread.
    if (read && dialog.success())
        setRadioImageBytes(dialog.readImage());
    // A write counts once the radio holds the image: confirmed by the read-back when the
    // user asked for one.
    return read ? dialog.success() : dialog.written();
}
