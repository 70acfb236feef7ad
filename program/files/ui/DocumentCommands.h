#pragma once
// The file commands of Program's main window: New, Open, Save and Save As on the one
// document, and the view's Default Factory button. The view converts the grid to and from
// RadioImage around them: GridToImage before a save, the view's initial update (which runs
// ImageToGrid) after New and Open, ImageToGrid after loading factory defaults.
//
// New, Open and Default Factory are steps of the undo history. Before New and Open replace a
// modified document, the user is asked whether to save it first (saveModified); so are Exit
// and a radio read, through the same function.
//
// The window title stays the application title: the document's name is not added to it. The
// document's path is given to the main window as its window file path.
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CProgramDoc;
class CProgramView;
class ImageHistory;
class QWidget;

class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    // window: the owner of the file dialogs, the question and the notices.
    DocumentCommands(CProgramDoc *document, ImageHistory *history, QWidget *window);

    // Attaches the form view: its initial update, GridToImage, ImageToGrid, the editor
    // commit, the model selector and the Default Factory button.
    void setView(CProgramView *view);

    // The view's side as single hooks (setView fills them); unset hooks do nothing.
    struct ViewHooks {
        std::function<void()> initialUpdate;  // after New and Open (runs ImageToGrid)
        std::function<void()> gridToImage;    // before Save and Save As
        std::function<void()> imageToGrid;    // after loading factory defaults
        std::function<void()> commitEdit;     // an editor still open takes its value first
        std::function<QString()> modelText;   // the model selector's text
        QPointer<QWidget> widget;             // owner of the Default Factory notices
    };
    void setViewHooks(const ViewHooks &hooks) { m_view = hooks; }

    // Asks for a file name; empty when cancelled. save: the Save As dialog, which offers
    // `suggested`; otherwise the Open dialog. Replaceable for tests; the default shows a
    // file dialog owned by the window.
    std::function<QString(bool save, const QString &suggested)> askFileName;
    // Shows a notice; the default is a warning box over the window with the application
    // title as caption. Replaceable for tests.
    std::function<void(const QString &text)> showMessage;

    CProgramDoc *document() const { return m_document; }

public slots:
    // Asks about unsaved changes, then a new image and an untitled document, then the view's
    // initial update; one undo step.
    bool onFileNew();
    // Asks about unsaved changes, then the Open dialog, then openDocumentFile. A cancelled
    // question or dialog changes nothing.
    bool onFileOpen();
    // Opens a channel data file: on success the view's initial update follows and the open
    // is one undo step. A failure is shown and changes nothing.
    bool openDocumentFile(const QString &path);
    // GridToImage, then the document's file; a document without one asks for a name.
    bool onFileSave();
    // GridToImage, then the Save As dialog and the save.
    bool onFileSaveAs();
    // Loads the selected model's factory default file and shows it in the grid, one undo
    // step. A missing or unreadable file gives a notice from the view and changes nothing.
    // The document's path is not changed.
    void onDefaultFactory();

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
    // GridToImage for a save or a radio transfer. Storing the grid can rewrite bytes the user
    // never changed (the fixed fields); a document that counted as unmodified stays so.
    void storeGrid();

private:
    bool askNameAndSave();
    bool saveTo(const QString &path);

    CProgramDoc *m_document;
    ImageHistory *m_history;
    QPointer<QWidget> m_window;
    ViewHooks m_view;
};
