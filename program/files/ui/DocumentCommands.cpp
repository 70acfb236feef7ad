#include "DocumentCommands.h"

#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "common/Backups.h"
#include "common/CheckedSave.h"
#include "common/FileDialogFolders.h"
#include "common/Csv.h"
#include "files/CProgramDoc.h"
#include "files/CsvChannels.h"
#include "files/FileMessages.h"
#include "files/ReadBackup.h"
#include "model/GridRules.h"
#include "model/ui/CProgramView.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace {

// The text of the undo step of a menu command: its caption without mnemonic and dots.
QString commandStepText(int commandId)
{
    return plainCaption(resources().menuItemText(ResId::MainMenu, commandId));
}

const QString CsvExtension = QStringLiteral(".csv");

// Where the folder last used is kept in Program.ini.
const QString FolderSection = QStringLiteral("Setup");
const QString FolderKey = QStringLiteral("LastFolder");

} // namespace

DocumentCommands::DocumentCommands(CProgramDoc *document, QWidget *window, const QString &appDirectory)
    : QObject(window)
    , m_document(document)
    , m_window(window)
    , m_appDirectory(appDirectory)
{
    if (!m_appDirectory.isEmpty())
        m_lastFolder = ProgramIni(m_appDirectory).read(FolderSection, FolderKey).trimmed();
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
    m_view = view;
    connect(view, &CProgramView::defaultFactoryClicked, this, &DocumentCommands::onDefaultFactory);
}

void DocumentCommands::commitEdit()
{
    if (m_view)
        m_view->commitEdit();
}

void DocumentCommands::initialUpdate()
{
    if (m_view)
        m_view->onInitialUpdate();
}

bool DocumentCommands::newDocument()
{
    m_document->newDocument();
    initialUpdate();
    return true;
}

bool DocumentCommands::openDocument(const QString &path, QString *error)
{
    if (!m_document->openDocument(path, error))
        return false;
    initialUpdate();
    return true;
}

bool DocumentCommands::onFileNew()
{
    if (!saveModified())
        return false;
    m_document->change(commandStepText(ResId::FileNew), [this] { m_document->newDocument(); });
    initialUpdate();
    return true;
}

bool DocumentCommands::onFileOpen()
{
    if (!saveModified())
        return false;
    const QString path = askFileName(FileDialog::Open, startFolder());
    if (path.isEmpty())
        return false;
    rememberFolder(path);
    return openDocumentFile(path);
}

bool DocumentCommands::openDocumentFile(const QString &path)
{
    return openAsStep(path, ResId::FileOpen);
}

bool DocumentCommands::openAsStep(const QString &path, int commandId, bool untitled)
{
    QString error;
    bool opened = false;
    m_document->change(commandStepText(commandId), [&] {
        opened = m_document->openDocument(path, &error);
        if (opened && untitled)
            m_document->forgetPath();
    });
    if (!opened) {
        showMessage(error);
        return false;
    }
    initialUpdate();
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


bool DocumentCommands::fitsAsStart(const QString &folder) const
{
    return FileDialogFolders::fitsAsStart(folder, m_appDirectory);
}

QString DocumentCommands::startFolder() const
{
    return FileDialogFolders::startFolder(m_lastFolder, m_appDirectory);
}

void DocumentCommands::rememberFolder(const QString &chosenFile)
{
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (!fitsAsStart(folder) || folder == m_lastFolder)
        return;
    m_lastFolder = folder;
    if (m_appDirectory.isEmpty())
        return;
    const ProgramIni ini(m_appDirectory);
    QString reason;
    if (!ini.write(FolderSection, FolderKey, folder, &reason))
        std::fprintf(stderr, "Program: could not write %s: %s\n", qPrintable(ini.path()), qPrintable(reason));
}

bool DocumentCommands::onExportChannels()
{
    storeGrid();
    const QString name = (m_document->pathName().isEmpty() ? untitledText(LanguageIndex)
                                                           : QFileInfo(m_document->pathName()).completeBaseName())
                         + CsvExtension;
    QString path = askFileName(FileDialog::ExportChannels, QDir(startFolder()).filePath(name));
    if (path.isEmpty())
        return false;
    rememberFolder(path);
    if (QFileInfo(path).suffix().isEmpty())
        path += CsvExtension;
    const QString text = CsvChannels::exportText(m_document->contents().channels);
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
    const QString path = askFileName(FileDialog::ImportChannels, startFolder());
    if (path.isEmpty())
        return false;
    rememberFolder(path);
    // The whole file is read and checked before anything changes.
    QString text, reason;
    if (!Csv::readFile(path, &text, &reason)) {
        showMessage(importRefusedText(LanguageIndex, path, reason));
        return false;
    }
    // The frequencies must lie in the band of the model selected, as stored just now.
    std::uint32_t low = 0, high = 0;
    GridRules::parseBandText(m_document->bandText(), &low, &high);
    const CsvChannels::Import import = CsvChannels::importText(text, low, high);
    if (!import.ok()) {
        showMessage(importRefusedText(LanguageIndex, path, import.error));
        return false;
    }
    GridContents grid = m_document->contents();
    grid.channels = CsvChannels::replacedChannels(import.channels);
    // Stored through the image, so that the grid shows the channels as the image holds them.
    m_document->change(commandStepText(ResId::ImportChannels), [this, &grid] {
        m_document->editImage([&grid](ImageBytes &image) { gridContentsToImage(image, grid); });
    });
    return true;
}

void DocumentCommands::storeGrid()
{
    commitEdit();
    m_document->storeValues();
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
    // An untitled document suggests its title with the extension in the start folder; a
    // titled one its file, unless that lies where the dialogs never start.
    const QString current = m_document->pathName();
    const QString suggested = !current.isEmpty() && fitsAsStart(QFileInfo(current).absolutePath())
        ? current
        : QDir(startFolder()).filePath(current.isEmpty() ? m_document->title() + CProgramDoc::fileExtension()
                                                         : QFileInfo(current).fileName());
    QString path = askFileName(FileDialog::SaveAs, suggested);
    if (path.isEmpty())
        return false;
    rememberFolder(path);
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
    commitEdit();
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
    const QString path = CProgramDoc::defaultFilePath(m_appDirectory, m_document->modelText());
    // The defaults replace the channels: unsaved changes are offered for saving first. Without
    // the file nothing would be replaced, and the notice comes without a question.
    if (QFileInfo(path).isFile() && !saveModified())
        return;
    QString error;
    auto result = CProgramDoc::DefaultLoad::Missing;
    m_document->change(plainCaption(resources().controlText(ResId::FormDialog, CProgramView::DefaultFactoryId)),
                       [&] { result = m_document->loadDefaultFile(path, &error); });
    if (result != CProgramDoc::DefaultLoad::Loaded) {
        QWidget *owner = m_view ? static_cast<QWidget *>(m_view.data()) : m_window.data();
        QMessageBox box(result == CProgramDoc::DefaultLoad::Missing ? QMessageBox::NoIcon : QMessageBox::Warning,
                        defaultFilePromptCaption(LanguageIndex), error, QMessageBox::Ok, owner);
        box.exec();
    }
}
