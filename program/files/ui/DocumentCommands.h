#pragma once
// The file commands of Program's main window: New, Open, Save and Save As on the one
// document, and the view's Default Factory button. The view converts the grid to and from
// RadioImage around them: GridToImage before a save, the view's initial update (which runs
// ImageToGrid) after New and Open, ImageToGrid after loading factory defaults.
//
// The window title stays the application title: the document's name is not added to it. The
// document's path is given to the main window as its window file path.
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CMainFrame;
class CProgramDoc;
class CProgramView;
class QWidget;

class DocumentCommands : public QObject
{
    Q_OBJECT
public:
    // Connects the frame's New, Open, Save and Save As commands. Lives as long as the frame.
    DocumentCommands(CProgramDoc *document, CMainFrame *frame);

    // Attaches the form view: its initial update, GridToImage, ImageToGrid, model selector
    // and Default Factory button.
    void setView(CProgramView *view);

    // The view's side as single hooks (setView fills them); unset hooks do nothing.
    struct ViewHooks {
        std::function<void()> initialUpdate;  // after New and Open (runs ImageToGrid)
        std::function<void()> gridToImage;    // before Save and Save As
        std::function<void()> imageToGrid;    // after loading factory defaults
        std::function<QString()> modelText;   // the model selector's text
        QPointer<QWidget> widget;             // owner of the Default Factory notices
    };
    void setViewHooks(const ViewHooks &hooks) { m_view = hooks; }

    // Asks for a file name; empty when cancelled. save: the Save As dialog, which offers
    // `suggested`; otherwise the Open dialog. Replaceable for tests; the default shows a
    // file dialog owned by the main window.
    std::function<QString(bool save, const QString &suggested)> askFileName;

    CProgramDoc *document() const { return m_document; }

public slots:
    // A new image and an untitled document, then the view's initial update.
    bool onFileNew();
    // The Open dialog, then OpenDocumentFile. A cancelled dialog changes nothing.
    bool onFileOpen();
    // Opens a channel data file (also the one named on the command line): on success the
    // view's initial update follows. A failure is shown and changes nothing.
    bool openDocumentFile(const QString &path);
    // GridToImage, then the document's file; a document without one asks for a name.
    bool onFileSave();
    // GridToImage, then the Save As dialog and the save.
    bool onFileSaveAs();
    // Loads the selected model's factory default file and shows it in the grid. A missing or
    // unreadable file gives a notice from the view and changes nothing. The document's path
    // is not changed.
    void onDefaultFactory();

public:
    // Like openDocumentFile, without showing the failure: *error receives it (start-up shows
    // it itself and ends the program).
    bool openDocument(const QString &path, QString *error);

private:
    bool askNameAndSave();
    bool saveTo(const QString &path);
    void showError(const QString &text);

    CProgramDoc *m_document;
    QPointer<CMainFrame> m_frame;
    ViewHooks m_view;
};
