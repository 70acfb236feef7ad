#pragma once
// The Save and Open commands of the main window (menu items segs1 and rsgg1 and their
// toolbar buttons): they ask for a file name, then write the editor (the main window's
// codeplug document) into a codeplug file or read a file into it. A file is read and checked
// whole before anything changes. What they need of the window comes through
// FileCommandWindow; the window connects its commands to the slots.
#include "codeplug/CodeplugFile.h"
#include "codeplug/ui/FileCommandWindow.h"
#include <QObject>
#include <functional>

class QWidget;
class CodeplugDocument;

class CodeplugFiles : public QObject
{
    Q_OBJECT
public:
    CodeplugFiles(CodeplugDocument *document, FileCommandWindow window, QObject *parent = nullptr);

    // Asks for a file name with the parent window; an empty name means the user cancelled.
    // Tests put their own in place of the file dialogs.
    using FileChooser = std::function<QString(QWidget *parent)>;
    void setOpenFileChooser(FileChooser chooser) { m_openChooser = std::move(chooser); }
    void setSaveFileChooser(FileChooser chooser) { m_saveChooser = std::move(chooser); }
    void setBackupFileChooser(FileChooser chooser) { m_backupChooser = std::move(chooser); }
    void setCsvOpenChooser(FileChooser chooser) { m_csvOpenChooser = std::move(chooser); }
    void setCsvSaveChooser(FileChooser chooser) { m_csvSaveChooser = std::move(chooser); }
    // Shows a notice (a value that does not read, a file that cannot be read or written);
    // the confirmation dialog in notice mode unless replaced.
    using Notifier = std::function<void(const QString &text)>;
    void setNotifier(Notifier n) { m_notifier = std::move(n); }

    // The file dialogs: "打开" for an existing file, "保存" appending ".k56" to a name without
    // extension and replacing an existing file without a question. They start in `start`, a
    // folder or a file name to offer.
    static QString dialogFilter();   // "NQS-552  文件 (*.k56)"
    static QString askOpenFile(QWidget *parent, const QString &start = QString());
    static QString askSaveFile(QWidget *parent, const QString &start = QString());
    // The name with ".k56" appended when it has no extension.
    static QString withDefaultSuffix(const QString &path);
    // A file dialog in the backups folder of radio reads with the newest backup chosen, and
    // the CSV dialogs of the channel export and import; title is the menu item's text.
    static QString askBackupFile(QWidget *parent, const QString &title);
    static QString askCsvOpenFile(QWidget *parent, const QString &title, const QString &start = QString());
    static QString askCsvSaveFile(QWidget *parent, const QString &title, const QString &start = QString());
    // Where the file dialogs start: the folder last used, else the documents folder.
    QString startFolder() const;
    // A menu item's text as a dialog title: "导出信道(&X)" -> "导出信道", "E&xport channels..." ->
    // "Export channels".
    static QString dialogTitle(const QString &menuText);

    // Writes the channels as CSV; false (after the notice) when the file cannot be written.
    bool exportChannelsTo(const QString &path);
    // Replaces every channel with those of a CSV file, as one step of the history; false
    // (after the notice naming the refused line) when the file cannot be read or a line is
    // refused, and then nothing changes.
    bool importChannelsFrom(const QString &path);

    // The editor as a codeplug file holds it.
    Codeplug currentContent() const;
    // Writes the editor to path; false (after the notice) when the file cannot be written.
    bool saveTo(const QString &path);
    // Reads path into the editor; false when nothing changed: a file that cannot be read or
    // holds a bad value (after the notice), or that is not a codeplug file (silently).
    bool openFrom(const QString &path);
    // Save: into the document's file when it has one, else as Save As; false when cancelled
    // or the save failed.
    bool save();
    // Save As: asks for a file name and saves there; the document's file is then that one.
    bool saveAs();
    // Puts read content into the editor: band lists, caption, settings, channels.
    void apply(const Codeplug &content);

public slots:
    void segs1Click();   // Save
    void rsgg1Click();   // Open
    void openBackup();
    void exportChannels();
    void importChannels();
    // Ctrl+C on the grid: the selected channel rows (the current one without a selection) as
    // tab-separated text in the CSV column order. Ctrl+V: such rows from the current row on,
    // through the checks of an import, as one step; anything else is refused with a notice.
    void copyChannels();
    void pasteChannels();

private:
    // Page 0, a frequency being typed committed, the frequency editor hidden. False when
    // the commit failed (its notice has been shown) and the command must stop.
    bool commitPendingEdit();
    void hideFrequencyEditor();
    QString itemText(const QString &name, int index) const;
    void notify(const QString &text);
    // Keeps the folder of a file the user chose, for the next dialog.
    void rememberFolder(const QString &path);
    // The file name a save dialog offers: the document's own, in the start folder.
    QString offeredName(const QString &suffix) const;

    FileCommandWindow m_window;
    CodeplugDocument *m_doc;
    FileChooser m_openChooser;
    FileChooser m_saveChooser;
    FileChooser m_backupChooser;
    FileChooser m_csvOpenChooser;
    FileChooser m_csvSaveChooser;
    Notifier m_notifier;
};
