#pragma once
// The application object of Program: start-up (initInstance) and exit (exitInstance).
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CMainFrame;
class RadioCommands;
class CProgramDoc;
class CProgramView;
class DocumentCommands;
class ImageHistory;

class ProgramApp
{
public:
    ProgramApp();
    ~ProgramApp();

    // Shows a start-up failure; replaceable for tests. caption, text.
    std::function<void(const QString &, const QString &)> showMessage;
    // Whether a font for Simplified (false) or Traditional (true) Chinese is installed;
    // replaceable for tests. Without one a Chinese choice starts in English.
    std::function<bool(bool traditional)> chineseFontInstalled;
    // Creates the new document shown at start-up. Returns false when the document cannot be
    // created. The default is a new image and the view's initial update.
    std::function<bool()> newDocument;
    // Opens the file named on the command line. Returns false, with *error set to the
    // message to show, when it cannot be opened. The default is the document's Open.
    std::function<bool(const QString &path, QString *error)> openDocument;
    // Called with the new main window, its view already set, before the first document is
    // made, so that the document code can attach to both.
    std::function<void(CMainFrame *)> frameCreated;

    // Start-up: application directory, Program.ini, LanguageIndex, the resource library, the
    // main window and the document (new, or the file named on the command line). Returns
    // false when the program must end; the reason has been shown. arguments are those of the
    // application (the program name first).
    bool initInstance(const QStringList &arguments, const QString &appDirectory = QString());
    // Exit: writes PortName to Program.ini. Returns the exit code.
    int exitInstance(int code = 0);

    CMainFrame *mainFrame() const { return m_frame.get(); }
    // The form view filling the main window (owned by it).
    CProgramView *view() const { return m_view; }
    CProgramDoc *document() const { return m_document.get(); }
    // The file commands of the main window; null until InitInstance created the frame.
    DocumentCommands *documentCommands() const { return m_documentCommands; }
    // The Read and Write commands of the main window, working on the document.
    RadioCommands *radioCommands() const { return m_radioCommands.get(); }
    // The undo history of the document; null until InitInstance created the frame.
    ImageHistory *history() const { return m_history; }

private:
    // Connects every command of the main window to the code that serves it.
    void connectCommands();

    std::unique_ptr<CProgramDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    CProgramView *m_view = nullptr;                  // owned by the frame
    DocumentCommands *m_documentCommands = nullptr;  // owned by the frame
    ImageHistory *m_history = nullptr;               // owned by the frame
    std::unique_ptr<RadioCommands> m_radioCommands;
};
