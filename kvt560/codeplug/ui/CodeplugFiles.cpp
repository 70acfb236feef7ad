#include "codeplug/ui/CodeplugFiles.h"

#include "channels/ChannelTable.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/CsvChannels.h"
#include "common/Backups.h"
#include "common/CheckedSave.h"
#include "common/FileDialogFolders.h"
#include "common/Csv.h"
#include "channels/ToneList.h"
#include "shell/LanguageElements.h"
#include "shell/Preferences.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "shell/ui/Tmessage1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

CodeplugFiles::CodeplugFiles(CodeplugDocument *document, FileCommandWindow window, QObject *parent)
    : QObject(parent)
    , m_window(std::move(window))
    , m_doc(document)
{
    setObjectName(QStringLiteral("codeplugFiles"));
    // The dialogs are titled by the menu items, in the language they show.
    using Command = FileCommandWindow::Command;
    m_openChooser = [this](QWidget *parent) { return askOpenFile(parent, startFolder()); };
    m_saveChooser = [this](QWidget *parent) { return askSaveFile(parent, offeredName(CodeplugFile::suffix())); };
    m_backupChooser = [this](QWidget *parent) {
        return askBackupFile(parent, dialogTitle(m_window.commandText(Command::OpenBackup)));
    };
    m_csvOpenChooser = [this](QWidget *parent) {
        return askCsvOpenFile(parent, dialogTitle(m_window.commandText(Command::ImportChannels)), startFolder());
    };
    m_csvSaveChooser = [this](QWidget *parent) {
        return askCsvSaveFile(parent, dialogTitle(m_window.commandText(Command::ExportChannels)),
                              offeredName(QStringLiteral("csv")));
    };
}

QString CodeplugFiles::dialogFilter()
{
    return QStringLiteral("NQS-552  文件 (*.k56)");
}

QString CodeplugFiles::askOpenFile(QWidget *parent, const QString &start)
{
    QFileDialog dialog(parent, QStringLiteral("打开"), start, dialogFilter());
    dialog.setObjectName(QStringLiteral("openDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString CodeplugFiles::askSaveFile(QWidget *parent, const QString &start)
{
    QFileDialog dialog(parent, QStringLiteral("保存"), start, dialogFilter());
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(CodeplugFile::suffix());
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString CodeplugFiles::startFolder() const
{
    return FileDialogFolders::startFolder(m_window.lastFolder ? m_window.lastFolder() : QString(),
                                          m_window.applicationFolder ? m_window.applicationFolder() : QString());
}

void CodeplugFiles::rememberFolder(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString appFolder = m_window.applicationFolder ? m_window.applicationFolder() : QString();
    if (m_window.setLastFolder && FileDialogFolders::fitsAsStart(folder, appFolder))
        m_window.setLastFolder(folder);
}

QString CodeplugFiles::offeredName(const QString &suffix) const
{
    // A document from a file offers that file's name, an untitled one nothing but the folder.
    const QString current = m_doc->filePath();
    if (current.isEmpty())
        return startFolder();
    return QDir(startFolder()).filePath(QFileInfo(current).completeBaseName() + QLatin1Char('.') + suffix);
}

QString CodeplugFiles::withDefaultSuffix(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + CodeplugFile::suffix();
}

QString CodeplugFiles::itemText(const QString &name, int index) const
{
    // The drop-down as the user sees it, in the current language; the built-in items when
    // the control is not there.
    if (const std::optional<QString> shown = m_window.settingItemText(name, index))
        return *shown;
    const SettingDef *def = SettingsRegistry::byName(name);
    return def ? def->itemTexts().value(index) : QString();
}

Codeplug CodeplugFiles::currentContent() const
{
    return m_doc->snapshot();
}

bool CodeplugFiles::saveTo(const QString &path)
{
    const QByteArray bytes = CodeplugFile::write(currentContent(), [this](const QString &name, int index) {
        return itemText(name, index);
    });
    QString reason;
    if (CodeplugFile::save(path, bytes, &reason)) {
        m_doc->markSaved();
        m_doc->setFilePath(path);
        return true;
    }
    notify(CodeplugFile::saveFailedText(path, reason));
    return false;
}

bool CodeplugFiles::openFrom(const QString &path)
{
    QString reason;
    const auto bytes = CodeplugFile::load(path, &reason);
    if (!bytes) {
        notify(CodeplugFile::loadFailedText(path, reason));
        return false;
    }
    const CodeplugReadResult result =
        CodeplugFile::read(*bytes, m_doc->settings()->snapshot(), m_doc->channels()->cells());
    switch (result.status) {
    case CodeplugReadResult::NotACodeplug:
        return false;
    case CodeplugReadResult::BadValue:
        notify(result.message);
        return false;
    case CodeplugReadResult::Read:
        break;
    }
    apply(result.content);
    m_doc->setFilePath(path);
    return true;
}

void CodeplugFiles::apply(const Codeplug &content)
{
    // The band lists in file order (each range text selected, or appended and selected; the
    // lists are kept in the preferences at exit), then settings and channels.
    m_doc->applyFile(content);
    m_window.showCaption();
}

bool CodeplugFiles::commitPendingEdit()
{
    return m_window.finishChannelEdit(false);
}

void CodeplugFiles::hideFrequencyEditor()
{
    m_window.hideFrequencyEditor();
}

void CodeplugFiles::segs1Click()
{
    save();
}

bool CodeplugFiles::save()
{
    if (!commitPendingEdit())
        return false;
    // A codeplug opened from a file or saved once goes back into that file.
    if (!m_doc->filePath().isEmpty())
        return saveTo(m_doc->filePath());
    return saveAs();
}

bool CodeplugFiles::saveAs()
{
    if (!commitPendingEdit())
        return false;
    const QString path = withDefaultSuffix(m_saveChooser(m_window.dialogParent));
    if (path.isEmpty())
        return false;
    rememberFolder(path);
    return saveTo(path);
}

void CodeplugFiles::rsgg1Click()
{
    if (!commitPendingEdit() || !m_window.settleUnsavedEdits())
        return;
    const QString path = m_openChooser(m_window.dialogParent);
    if (path.isEmpty())
        return;
    rememberFolder(path);
    openFrom(path);
    hideFrequencyEditor();
}

QString CodeplugFiles::dialogTitle(const QString &menuText)
{
    QString title = LanguageElements::withoutMnemonic(menuText).trimmed();
    while (title.endsWith(QLatin1Char('.')) || title.endsWith(QChar(0x2026)))
        title.chop(1);
    return title;
}

QString CodeplugFiles::askBackupFile(QWidget *parent, const QString &title)
{
    QDir().mkpath(Backups::folder());
    // The newest backup is chosen: most often the read just made.
    const QStringList backups = Backups::list(QStringLiteral("KVT560"), CodeplugFile::suffix());
    return QFileDialog::getOpenFileName(parent, title, backups.isEmpty() ? Backups::folder() : backups.constFirst(),
                                        dialogFilter());
}

QString CodeplugFiles::askCsvOpenFile(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getOpenFileName(parent, title, start, QStringLiteral("CSV (*.csv);;All files (*)"));
}

QString CodeplugFiles::askCsvSaveFile(QWidget *parent, const QString &title, const QString &start)
{
    QString path = QFileDialog::getSaveFileName(parent, title, start, QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    return path;
}

bool CodeplugFiles::exportChannelsTo(const QString &path)
{
    QString reason;
    if (!CheckedSave::writeFile(path, CsvChannels::exportText(m_doc->channels()->cells(), ToneList::instance()).toUtf8(),
                                &reason)) {
        notify(CodeplugFile::saveFailedText(path, reason));
        return false;
    }
    return true;
}

bool CodeplugFiles::importChannelsFrom(const QString &path)
{
    QString text, reason;
    if (!Csv::readFile(path, &text, &reason)) {
        notify(CodeplugFile::loadFailedText(path, reason));
        return false;
    }
    const CsvChannels::Import import = CsvChannels::importText(
        text, {m_doc->selectedRange(Preferences::List1Rx), m_doc->selectedRange(Preferences::List2Rx)},
        m_doc->channels()->marks(), ToneList::instance());
    if (!import.ok()) {
        notify(QStringLiteral("%1\n%2\n%3").arg(QDir::toNativeSeparators(path), import.error,
                                                 m_window.noticeTexts().NothingChangedText));
        return false;
    }
    m_doc->replaceRows(import.rows, import.cells, QStringLiteral("Import channels"));
    return true;
}

void CodeplugFiles::openBackup()
{
    // A backup replaces the editor as Open does: edits not saved yet are saved or given up first.
    if (!commitPendingEdit() || !m_window.settleUnsavedEdits())
        return;
    const QString path = m_backupChooser(m_window.dialogParent);
    if (path.isEmpty())
        return;
    // A backup opens untitled: Save asks for a name and never writes over the backup.
    if (openFrom(path))
        m_doc->setFilePath(QString());
    hideFrequencyEditor();
}

void CodeplugFiles::exportChannels()
{
    if (!commitPendingEdit())
        return;
    const QString path = m_csvSaveChooser(m_window.dialogParent);
    if (path.isEmpty())
        return;
    rememberFolder(path);
    exportChannelsTo(path);
}

void CodeplugFiles::importChannels()
{
    if (!commitPendingEdit())
        return;
    const QString path = m_csvOpenChooser(m_window.dialogParent);
    if (path.isEmpty())
        return;
    rememberFolder(path);
    importChannelsFrom(path);
    hideFrequencyEditor();
}

void CodeplugFiles::copyChannels()
{
    const QList<int> rows = m_window.selectedChannelRows();
    QGuiApplication::clipboard()->setText(CsvChannels::copyText(m_doc->channels()->cells(), rows, ToneList::instance()));
}

void CodeplugFiles::pasteChannels()
{
    // A frequency being typed is committed first; the overlays close, so that none writes
    // back a text it showed before the paste.
    if (!m_window.finishChannelEdit(true))
        return;
    // The rows go in from the first selected row, else from the current one.
    const int first = m_window.selectedChannelRows().first();
    const CsvChannels::Import import = CsvChannels::pasteText(
        QGuiApplication::clipboard()->text(), first,
        {m_doc->selectedRange(Preferences::List1Rx), m_doc->selectedRange(Preferences::List2Rx)}, m_doc->channels()->marks(),
        ToneList::instance());
    if (!import.ok()) {
        notify(QStringLiteral("%1\n%2").arg(m_window.noticeTexts().NothingPastedText, import.error));
        return;
    }
    m_doc->replaceRows(import.rows, import.cells, QStringLiteral("Paste channels"));
}

void CodeplugFiles::notify(const QString &text)
{
    if (m_notifier)
        m_notifier(text);
    else
        showNotice(QStringLiteral("KVT560"), text);
}
