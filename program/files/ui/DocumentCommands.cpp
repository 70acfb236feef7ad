#include "DocumentCommands.h"

#include "ImageHistory.h"
#include "base/Globals.h"
#include "base/ResourceLibrary.h"
#include "common/Backups.h"
#include "common/CheckedSave.h"
#include "common/Csv.h"
#include "files/CProgramDoc.h"
#include "files/CsvChannels.h"
#include "files/FileMessages.h"
#include "files/ReadBackup.h"
#include "model/GridContents.h"
#include "model/GridRules.h"
#include "model/RadioImage.h"
#include "model/ui/CProgramView.h"

#include <QDir>
#include <QFile>
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

const QString CsvExtension = QStringLiteral(".csv");

} // namespace

DocumentCommands::DocumentCommands(CProgramDoc *document, ImageHistory *history, QWidget *window)
    : QObject(window)
    , m_document(document)
    , m_history(history)
    , m_window(window)
{
    askFileName = [this](FileDialog kind, const QString &start) {
        const bool save = kind == FileDialog::SaveAs || kind == FileDialog::ExportChannels;
        const bool csv = kind == FileDialog::ExportChannels || kind == FileDialog::ImportChannels;
        QString caption, name;
        switch (kind) {
        case FileDialog::Open:
            caption = openDialogCaption(LanguageIndex);
            name = QStringLiteral("openDialog");
            break;
        case FileDialog::SaveAs:
            caption = saveAsDialogCaption(LanguageIndex);
            name = QStringLiteral("saveAsDialog");
            break;
        case FileDialog::OpenBackup:
            caption = commandStepText(ResId::OpenBackup);
            name = QStringLiteral("openBackupDialog");
            break;
        case FileDialog::ExportChannels:
            caption = commandStepText(ResId::ExportChannels);
            name = QStringLiteral("exportChannelsDialog");
            break;
        case FileDialog::ImportChannels:
            caption = commandStepText(ResId::ImportChannels);
            name = QStringLiteral("importChannelsDialog");
            break;
        }
        QFileDialog dialog(m_window, caption);
        dialog.setObjectName(name);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilters({csv ? csvFilesFilter(LanguageIndex) : CProgramDoc::fileFilter(), allFilesFilter(LanguageIndex)});
        dialog.setDefaultSuffix(csv ? CsvExtension.mid(1) : CProgramDoc::fileExtension().mid(1));
        if (!start.isEmpty()) {
            if (QFileInfo(start).isDir())
                dialog.setDirectory(start);
            else
                dialog.selectFile(start);
        }
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
    const QString path = askFileName(FileDialog::Open, QString());
    if (path.isEmpty())
        return false;
    return openDocumentFile(path);
}

bool DocumentCommands::openDocumentFile(const QString &path)
{
    return openAsStep(path, ResId::FileOpen);
}

bool DocumentCommands::openAsStep(const QString &path, int commandId, bool untitled)
{
    const CProgramDoc::State before = m_document->state();
    QString error;
    if (!openDocument(path, &error)) {
        showMessage(error);
        return false;
    }
    if (untitled) {
        CProgramDoc::State opened = m_document->state();
        opened.pathName.clear();
        m_document->restoreState(opened);
    }
    m_history->recordDocumentChange(commandStepText(commandId), before);
    return true;
}

bool DocumentCommands::onOpenBackup()
{
    // The newest backup is offered; without any there is nothing to choose from.
    const QStringList backups = Backups::list(QLatin1String(ReadBackup::ProgramName), QStringLiteral("sin"));
    if (backups.isEmpty()) {
        showMessage(noBackupsText(LanguageIndex, Backups::folder()));
        return false;
    }
    if (!saveModified())
        return false;
    const QString path = askFileName(FileDialog::OpenBackup, backups.constFirst());
    if (path.isEmpty())
        return false;
    // A backup is never saved over: the document it gives has no file yet.
    return openAsStep(path, ResId::OpenBackup, true);
}

QString DocumentCommands::documentFolder() const
{
    return m_document->pathName().isEmpty() ? QString() : QFileInfo(m_document->pathName()).absolutePath();
}

bool DocumentCommands::onExportChannels()
{
    storeGrid();
    const QString name = (m_document->pathName().isEmpty() ? untitledText(LanguageIndex)
                                                           : QFileInfo(m_document->pathName()).completeBaseName())
                         + CsvExtension;
    const QString folder = documentFolder();
    QString path = askFileName(FileDialog::ExportChannels, folder.isEmpty() ? name : QDir(folder).filePath(name));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += CsvExtension;
    const QString text = CsvChannels::exportText(imageToGridContents(RadioImage).channels);
    QString reason;
    if (!CheckedSave::writeFile(path, text.toUtf8(), &reason)) {
        showMessage(fileSaveFailedText(LanguageIndex, path, reason));
        return false;
    }
    return true;
}

bool DocumentCommands::onImportChannels()
{
    storeGrid();
    const QString path = askFileName(FileDialog::ImportChannels, documentFolder());
    if (path.isEmpty())
        return false;
    // The whole file is read and checked before anything changes.
    QString text, reason;
    if (!Csv::readFile(path, &text, &reason)) {
        showMessage(importRefusedText(LanguageIndex, path, reason));
        return false;
    }
    // The frequencies must lie in the band of the model selected, as stored just now.
    GridContents grid = imageToGridContents(RadioImage);
    std::uint32_t low = 0, high = 0;
    GridRules::parseBandText(grid.bandText(), &low, &high);
    const CsvChannels::Import import = CsvChannels::importText(text, low, high);
    if (!import.ok()) {
        showMessage(importRefusedText(LanguageIndex, path, import.error));
        return false;
    }
    grid.channels = CsvChannels::replacedChannels(import.channels);
    m_history->recordChange(commandStepText(ResId::ImportChannels), [&grid] { gridContentsToImage(RadioImage, grid); });
    if (m_view.imageToGrid)
        m_view.imageToGrid();
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
    QString path = askFileName(FileDialog::SaveAs, suggested);
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
