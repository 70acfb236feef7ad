#include "DocumentCommands.h"

#include "files/CProgramDoc.h"
#include "files/FileMessages.h"
#include "frame/ui/CMainFrame.h"
#include "base/Globals.h"
#include "model/ui/CProgramView.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

DocumentCommands::DocumentCommands(CProgramDoc *document, CMainFrame *frame)
    : QObject(frame)
    , m_document(document)
    , m_frame(frame)
{
    askFileName = [this](bool save, const QString &suggested) {
        QFileDialog dialog(m_frame, save ? saveAsDialogCaption(LanguageIndex) : openDialogCaption(LanguageIndex));
        dialog.setObjectName(save ? QStringLiteral("saveAsDialog") : QStringLiteral("openDialog"));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilters({CProgramDoc::fileFilter(), allFilesFilter(LanguageIndex)});
        dialog.setDefaultSuffix(CProgramDoc::fileExtension().mid(1));
        if (!suggested.isEmpty())
            dialog.selectFile(suggested);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    connect(frame, &CMainFrame::newRequested, this, &DocumentCommands::onFileNew);
    connect(frame, &CMainFrame::openRequested, this, &DocumentCommands::onFileOpen);
    connect(frame, &CMainFrame::saveRequested, this, &DocumentCommands::onFileSave);
    connect(frame, &CMainFrame::saveAsRequested, this, &DocumentCommands::onFileSaveAs);
    connect(document, &CProgramDoc::pathNameChanged, this, [this](const QString &path) {
        if (m_frame)
            m_frame->setWindowFilePath(path);
    });
}

void DocumentCommands::setView(CProgramView *view)
{
    const QPointer<CProgramView> v(view);
    ViewHooks hooks;
    hooks.initialUpdate = [v] { if (v) v->onInitialUpdate(); };
    hooks.gridToImage = [v] { if (v) v->GridToImage(); };
    hooks.imageToGrid = [v] { if (v) v->ImageToGrid(); };
    hooks.modelText = [v] { return v ? v->modelText() : QString(); };
    hooks.widget = view;
    setViewHooks(hooks);
    connect(view, &CProgramView::defaultFactoryClicked, this, &DocumentCommands::onDefaultFactory);
}

bool DocumentCommands::onFileNew()
{
    m_document->newDocument();
    if (m_view.initialUpdate)
        m_view.initialUpdate();
    return true;
}

bool DocumentCommands::onFileOpen()
{
    const QString path = askFileName(false, QString());
    if (path.isEmpty())
        return false;
    return openDocumentFile(path);
}

bool DocumentCommands::openDocument(const QString &path, QString *error)
{
    if (!m_document->openDocument(path, error))
        return false;
    if (m_view.initialUpdate)
        m_view.initialUpdate();
    return true;
}

bool DocumentCommands::openDocumentFile(const QString &path)
{
    QString error;
    if (openDocument(path, &error))
        return true;
    showError(error);
    return false;
}

bool DocumentCommands::onFileSave()
{
    if (m_view.gridToImage)
        m_view.gridToImage();
    if (m_document->pathName().isEmpty())
        return askNameAndSave();
    return saveTo(m_document->pathName());
}

bool DocumentCommands::onFileSaveAs()
{
    if (m_view.gridToImage)
        m_view.gridToImage();
    return askNameAndSave();
}

bool DocumentCommands::askNameAndSave()
{
    // An untitled document suggests its title with the extension; a titled one its file.
    const QString suggested = m_document->pathName().isEmpty()
        ? m_document->title() + CProgramDoc::fileExtension()
        : m_document->pathName();
    QString path = askFileName(true, suggested);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += CProgramDoc::fileExtension();
    return saveTo(path);
}

bool DocumentCommands::saveTo(const QString &path)
{
    QString error;
    if (m_document->saveDocument(path, &error))
        return true;
    showError(error);
    return false;
}

void DocumentCommands::onDefaultFactory()
{
    const QString model = m_view.modelText ? m_view.modelText() : QString();
    QString error;
    const auto result = CProgramDoc::loadDefaultFile(CProgramDoc::defaultFilePath(model), &error);
    if (result != CProgramDoc::DefaultLoad::Loaded) {
        QWidget *owner = m_view.widget ? m_view.widget.data() : static_cast<QWidget *>(m_frame.data());
        QMessageBox box(result == CProgramDoc::DefaultLoad::Missing ? QMessageBox::NoIcon : QMessageBox::Warning,
                        defaultFilePromptCaption(LanguageIndex), error, QMessageBox::Ok, owner);
        box.exec();
        return;
    }
    if (m_view.imageToGrid)
        m_view.imageToGrid();
}

void DocumentCommands::showError(const QString &text)
{
    if (m_frame && m_frame->showMessage)
        m_frame->showMessage(text);
}
