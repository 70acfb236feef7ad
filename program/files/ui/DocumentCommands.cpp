#include "DocumentCommands.h"

#include "ImageHistory.h"
#include "base/Globals.h"
#include "base/ResourceLibrary.h"
#include "files/CProgramDoc.h"
#include "files/FileMessages.h"
#include "model/RadioImage.h"
#include "model/ui/CProgramView.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

// The text of the undo step of a menu command: its caption without mnemonic and dots.
QString commandStepText(int commandId)
{
    return plainCaption(resources().menuItemText(ResId::MainMenu, commandId));
}

} // namespace

DocumentCommands::DocumentCommands(CProgramDoc *document, ImageHistory *history, QWidget *window)
    : QObject(window)
    , m_document(document)
    , m_history(history)
    , m_window(window)
{
    askFileName = [this](bool save, const QString &suggested) {
        QFileDialog dialog(m_window, save ? saveAsDialogCaption(LanguageIndex) : openDialogCaption(LanguageIndex));
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
    showMessage = [this](const QString &text) {
        QMessageBox::warning(m_window, resources().string(ResId::AppTitle), text);
    };
}

void DocumentCommands::setView(CProgramView *view)
{
    const QPointer<CProgramView> v(view);
    ViewHooks hooks;
    hooks.initialUpdate = [v] { if (v) v->onInitialUpdate(); };
    hooks.gridToImage = [v] { if (v) v->GridToImage(); };
    hooks.imageToGrid = [v] { if (v) v->ImageToGrid(); };
    hooks.commitEdit = [v] { if (v) v->commitEdit(); };
    hooks.modelText = [v] { return v ? v->modelText() : QString(); };
    hooks.widget = view;
    setViewHooks(hooks);
    connect(view, &CProgramView::defaultFactoryClicked, this, &DocumentCommands::onDefaultFactory);
}

bool DocumentCommands::newDocument()
{
    m_document->newDocument();
    if (m_view.initialUpdate)
        m_view.initialUpdate();
    return true;
}

bool DocumentCommands::openDocument(const QString &path, QString *error)
{
    if (!m_document->openDocument(path, error))
        return false;
    if (m_view.initialUpdate)
        m_view.initialUpdate();
    return true;
}

bool DocumentCommands::onFileNew()
{
    if (!saveModified())
        return false;
    const CProgramDoc::State before = m_document->state();
    newDocument();
    m_history->recordDocumentChange(commandStepText(ResId::FileNew), before);
    return true;
}

bool DocumentCommands::onFileOpen()
{
    if (!saveModified())
        return false;
    const QString path = askFileName(false, QString());
    if (path.isEmpty())
        return false;
    return openDocumentFile(path);
}

bool DocumentCommands::openDocumentFile(const QString &path)
{
    const CProgramDoc::State before = m_document->state();
    QString error;
    if (!openDocument(path, &error)) {
        showMessage(error);
        return false;
    }
    m_history->recordDocumentChange(commandStepText(ResId::FileOpen), before);
    return true;
}

void DocumentCommands::storeGrid()
{
    if (m_view.commitEdit)
        m_view.commitEdit();
    const bool wasModified = m_document->isModified();
    if (m_view.gridToImage)
        m_view.gridToImage();
    if (!wasModified)
        m_document->markClean();
}

bool DocumentCommands::onFileSave()
{
    storeGrid();
    if (m_document->pathName().isEmpty())
        return askNameAndSave();
    return saveTo(m_document->pathName());
}

bool DocumentCommands::onFileSaveAs()
{
    storeGrid();
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
    showMessage(error);
    return false;
}

bool DocumentCommands::saveModified()
{
    // A value still being typed into the grid counts as a change.
    if (m_view.commitEdit)
        m_view.commitEdit();
    if (!m_document->isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, resources().string(ResId::AppTitle),
                    saveChangesText(LanguageIndex, m_document->pathName().isEmpty() ? untitledText(LanguageIndex)
                                                                                    : m_document->title()), QMessageBox::NoButton, m_window);
    box.setObjectName(QStringLiteral("saveChangesBox"));
    QPushButton *save = box.addButton(saveButtonText(LanguageIndex), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("saveButton"));
    QPushButton *discard = box.addButton(discardButtonText(LanguageIndex), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("discardButton"));
    QPushButton *cancel = box.addButton(cancelButtonText(LanguageIndex), QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return onFileSave();
    return box.clickedButton() == discard;
}

void DocumentCommands::onDefaultFactory()
{
    const QString model = m_view.modelText ? m_view.modelText() : QString();
    const QByteArray before = radioImageBytes();
    QString error;
    const auto result = CProgramDoc::loadDefaultFile(CProgramDoc::defaultFilePath(model), &error);
    if (result != CProgramDoc::DefaultLoad::Loaded) {
        QWidget *owner = m_view.widget ? m_view.widget.data() : m_window.data();
        QMessageBox box(result == CProgramDoc::DefaultLoad::Missing ? QMessageBox::NoIcon : QMessageBox::Warning,
                        defaultFilePromptCaption(LanguageIndex), error, QMessageBox::Ok, owner);
        box.exec();
        return;
    }
    if (m_view.imageToGrid)
        m_view.imageToGrid();
    m_history->recordImageChange(
        plainCaption(resources().controlText(ResId::FormDialog, CProgramView::DefaultFactoryId)), before);
}
