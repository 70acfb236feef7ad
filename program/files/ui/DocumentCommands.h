#pragma once
// The file commands of Program's main window: New, Open, Save and Save As on the one
// document, and the view's Default Factory button. The view shows the document and follows
// it; an editor still open over the grid commits before a save, and the view's initial update
// (which fits the frame) follows New and Open.
//
// New, Open and Default Factory are steps of the document's history. Before New, Open and
// Default Factory replace a modified document, the user is asked whether to save it first
// (saveModified); so are Exit and a radio read, through the same function.
//
// File > Export channels writes the grid's channels as a CSV file; Import channels replaces
// them with those of a CSV file, checked whole first, as one undo step; Open backup opens one
// of the copies kept of every radio read (common/Backups.h) as Open would, but untitled, so
// that Save never writes over the backup.
//
// The window title stays the application title: the document's name is not added to it. The
// document's path is given to the main window as its window file path.
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CProgramDoc;
class CProgramView;
class QWidget;

class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    // window: the owner of the file dialogs, the question and the notices; appDirectory:
    // where the factory default files lie (ending with '/').
    DocumentCommands(CProgramDoc *document, QWidget *window, const QString &appDirectory);

    // Attaches the form view: its initial update after New and Open, the commit of an editor
    // still open, the Default Factory button and the owner of its notices.
    void setView(CProgramView *view);

    // The file dialogs of the commands.
    enum class FileDialog {
        Open,            // a channel data file to open
        SaveAs,          // the name to save the channel data file under
        OpenBackup,      // a channel data file among the backups
        ExportChannels,  // the CSV file to write
        ImportChannels,  // the CSV file to read
    };
    // Asks for a file name; empty when cancelled. `start` is the file the dialog offers, or
    // the folder it opens in. Replaceable for tests; the default shows a file dialog owned by
    // the window.
    std::function<QString(FileDialog dialog, const QString &start)> askFileName;
    // Shows a notice; the default is a warning box over the window with the application
    // title as caption. Replaceable for tests.
    std::function<void(const QString &text)> showMessage;

    CProgramDoc *document() const { return m_document; }

public slots:
    // Asks about unsaved changes, then a new image and an untitled document, then the view's
    // initial update; one step.
    bool onFileNew();
    // Asks about unsaved changes, then the Open dialog, then openDocumentFile. A cancelled
    // question or dialog changes nothing.
    bool onFileOpen();
    // Opens a channel data file: on success the view's initial update follows and the open
    // is one undo step. A failure is shown and changes nothing.
    bool openDocumentFile(const QString &path);
    // The values stored, then the document's file; a document without one asks for a name.
    bool onFileSave();
    // The values stored, then the Save As dialog and the save.
    bool onFileSaveAs();
    // Asks about unsaved changes, then loads the selected model's factory default file into
    // the document, one step. A missing or unreadable file gives a notice from the view and changes nothing.
    // The document's path is not changed.
    void onDefaultFactory();
    // Asks about unsaved changes, then the Open dialog in the backups folder, then
    // openDocumentFile. Without any backup a notice says where they will be kept.
    bool onOpenBackup();
    // The values stored, then the export dialog and the channels as a CSV file (".csv" is added to
    // a name without extension). A failure names the file and the reason.
    bool onExportChannels();
    // The values stored, then the import dialog; the file's channels replace every channel,
    // in the selected model's band, as one step. A refused line is shown with its number and
    // reason, and nothing changes.
    bool onImportChannels();

public:
    // The document of start-up: a new image, shown by the view; nothing asked or recorded.
    bool newDocument();
    // The file named on the command line: like openDocumentFile without a question or an undo
    // step, and without showing the failure: *error receives it (start-up shows it itself
    // and ends the program).
    bool openDocument(const QString &path, QString *error);

    // Before a change that would replace the document (Exit, New, Open, a radio read): when
    // the document is modified, asks Save / Discard / Cancel in the current language. Returns
    // true when the change may go ahead: nothing was modified, Discard, or Save that saved.
    // Cancel, a cancelled Save As dialog or a failed save return false.
    bool saveModified();
    // Before a save or a radio transfer: an editor still open commits, then the document
    // stores its values (CProgramDoc::storeValues).
    void storeGrid();

private:
    bool askNameAndSave();
    // Opens path as one step named after the command; `untitled` leaves the document
    // without a file, so that Save asks for a name instead of writing over what was opened.
    bool openAsStep(const QString &path, int commandId, bool untitled = false);
    // Where the file dialogs start (Open backup aside): the folder last used, else the
    // user's documents folder, else the home folder; never the application folder or the
    // backups folder.
    QString startFolder() const;
    // The folder of a file the user chose in a dialog becomes the folder last used, kept as
    // LastFolder in section Setup of Program.ini (in memory only without an application
    // directory).
    void rememberFolder(const QString &chosenFile);
    bool fitsAsStart(const QString &folder) const;
    bool saveTo(const QString &path);

    void commitEdit();
    void initialUpdate();

    CProgramDoc *m_document;
    QPointer<QWidget> m_window;
    QPointer<CProgramView> m_view;
    QString m_appDirectory;
    QString m_lastFolder;
};
