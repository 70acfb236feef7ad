#include "ProgramApp.h"

#include "CMainFrame.h"
#include "FrameIcons.h"
#include "files/CProgramDoc.h"
#include "files/ui/DocumentCommands.h"
#include "files/ui/ImageHistory.h"
#include "base/Globals.h"
#include "frame/FrameMessages.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "common/ui/ChineseFonts.h"
#include "frame/Startup.h"
#include "model/ui/CProgramView.h"
#include "model/ui/COptionDlg.h"
#include "model/ui/CPcbaDlg.h"
#include "model/ui/CPttIdDlg.h"
#include "radiolink/ui/RadioCommands.h"

#include <QAction>
#include <QApplication>
#include <QUndoStack>
#include <QMessageBox>

#include <cstdio>

ProgramApp::ProgramApp()
    : m_document(std::make_unique<CProgramDoc>())
{
    showMessage = [](const QString &caption, const QString &text) {
        QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok);
        box.exec();
    };
    chineseFontInstalled = &ChineseFonts::installed;
    newDocument = [this] { return m_documentCommands->newDocument(); };
    openDocument = [this](const QString &path, QString *error) {
        return m_documentCommands->openDocument(path, error);
    };
}

ProgramApp::~ProgramApp() = default;

bool ProgramApp::initInstance(const QStringList &arguments, const QString &appDirectory)
{
    // 1. The command line: the first argument that is not an option names a file to open.
    QString fileToOpen;
    for (int i = 1; i < arguments.size(); ++i) {
        if (!arguments.at(i).startsWith(QLatin1Char('-'))) {
            fileToOpen = arguments.at(i);
            break;
        }
    }
    // 3.-8. Application directory, Program.ini, language and resource library.
    QString failText;
    QString detail;
    const QString folder = appDirectory.isEmpty() ? applicationDirectory() : appDirectory;
    // A first start of an installed program speaks the language of the system locale.
    startFirstLanguage(folder, QLocale());
    if (!loadLanguageSetup(folder, &failText, &detail)) {
        std::fprintf(stderr, "Program: %s\n", qPrintable(detail));
        showMessage(builtInResources().string(ResId::AppTitle), failText);
        return false;
    }
    // Chinese without a Chinese font would show empty boxes: this run speaks English, and
    // the saved choice stays for when the fonts are there.
    if (LanguageIndex != LanguageEnglish && !chineseFontInstalled(LanguageIndex == LanguageTraditionalChinese)
        && loadLanguageSetup(folder, &failText, &detail, languageValue(LanguageEnglish)))
        showMessage(resources().string(ResId::AppTitle), ChineseFonts::missingText());
    QApplication::setWindowIcon(applicationIcon());
    // 10.-11. The frame, then the document: new, or the file named on the command line.
    m_frame = std::make_unique<CMainFrame>();
    m_view = new CProgramView(m_document.get());
    m_frame->setView(m_view);
    connectCommands();
    if (frameCreated)
        frameCreated(m_frame.get());
    const QString title = resources().string(ResId::AppTitle);
    if (fileToOpen.isEmpty()) {
        if (!newDocument())
            return false;
    } else {
        QString error;
        if (!openDocument(fileToOpen, &error)) {
            showMessage(title, error);
            m_radioCommands.reset();
            m_frame.reset();
            m_view = nullptr;
            m_documentCommands = nullptr;
            m_history = nullptr;
            return false;
        }
    }
    // 12. Show the main window on top.
    m_frame->show();
    m_frame->raise();
    m_frame->activateWindow();
    return true;
}

// Every command of the main window meets the code that serves it here, and nowhere else.
void ProgramApp::connectCommands()
{
    CMainFrame *frame = m_frame.get();
    CProgramView *view = m_view;
    CProgramDoc *document = m_document.get();

    // The undo history: every step of the document, undone and redone on the document.
    m_history = new ImageHistory(document, frame);
    QUndoStack *stack = m_history->undoStack();
    QAction *undo = frame->action(ResId::EditUndo);
    QAction *redo = frame->action(ResId::EditRedo);
    undo->setEnabled(false);
    redo->setEnabled(false);
    QObject::connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    QObject::connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    // An editor still open over the grid commits first, so that Undo takes back what was typed.
    QObject::connect(frame, &CMainFrame::undoRequested, m_history, [this, view] {
        view->commitEdit();
        m_history->undo();
    });
    QObject::connect(frame, &CMainFrame::redoRequested, m_history, [this, view] {
        view->commitEdit();
        m_history->redo();
    });
    QObject::connect(document, &CProgramDoc::modifiedChanged, frame, &QWidget::setWindowModified);
    QObject::connect(document, &CProgramDoc::pathNameChanged, frame, &QWidget::setWindowFilePath);

    // New, Open, Save, Save As, the channel export and import, Open backup and Default
    // Factory; Exit asks about unsaved changes.
    m_documentCommands = new DocumentCommands(document, frame, AppDirectory);
    m_documentCommands->setView(view);
    m_documentCommands->showMessage = [frame](const QString &text) { frame->showMessage(text); };
    DocumentCommands *files = m_documentCommands;
    QObject::connect(frame, &CMainFrame::newRequested, files, &DocumentCommands::onFileNew);
    QObject::connect(frame, &CMainFrame::openRequested, files, &DocumentCommands::onFileOpen);
    QObject::connect(frame, &CMainFrame::saveRequested, files, &DocumentCommands::onFileSave);
    QObject::connect(frame, &CMainFrame::saveAsRequested, files, &DocumentCommands::onFileSaveAs);
    QObject::connect(frame, &CMainFrame::exportChannelsRequested, files, &DocumentCommands::onExportChannels);
    QObject::connect(frame, &CMainFrame::importChannelsRequested, files, &DocumentCommands::onImportChannels);
    QObject::connect(frame, &CMainFrame::openBackupRequested, files, &DocumentCommands::onOpenBackup);
    frame->queryClose = [files] { return files->saveModified(); };

    // Printing is the view's.
    QObject::connect(frame, &CMainFrame::printRequested, view, &CProgramView::onFilePrint);
    QObject::connect(frame, &CMainFrame::printPreviewRequested, view, &CProgramView::onFilePrintPreview);
    QObject::connect(frame, &CMainFrame::printSetupRequested, view, &CProgramView::onFilePrintSetup);

    // The Option, PTT ID and PCBA dialogs, modal over the window; a close that changed the
    // image is one undo step.
    const auto runDialog = [frame, document](int dialogId, auto makeDialog) {
        return [frame, document, dialogId, makeDialog] {
            document->change(resources().dialogCaption(dialogId), [frame, document, makeDialog] {
                auto dialog = makeDialog(document, frame);
                dialog->exec();
            });
        };
    };
    QObject::connect(frame, &CMainFrame::optionRequested, frame,
                     runDialog(ResId::OptionDialog, [](CProgramDoc *d, QWidget *w) { return std::make_unique<COptionDlg>(d, w); }));
    QObject::connect(frame, &CMainFrame::pttIdRequested, frame,
                     runDialog(ResId::PttIdDialog, [](CProgramDoc *d, QWidget *w) { return std::make_unique<CPttIdDlg>(d, w); }));
    QObject::connect(frame, &CMainFrame::embedRequested, frame,
                     runDialog(ResId::PcbaDialog, [](CProgramDoc *d, QWidget *w) { return std::make_unique<CPcbaDlg>(d, w); }));

    // Read and Write: an open editor commits first; a successful read becomes the document,
    // one step, and counts as saved, as does a successful write (one the read-back did not
    // confirm, when verifying, does not count). A read replaces the document: unsaved
    // changes are offered for saving first.
    m_radioCommands = std::make_unique<RadioCommands>(document, frame, AppDirectory);
    m_radioCommands->commitEdit = [view] { view->commitEdit(); };
    RadioCommands *radio = m_radioCommands.get();
    QObject::connect(frame, &CMainFrame::readRequested, radio, [files, radio] {
        if (files->saveModified())
            radio->onRead();
    });
    QObject::connect(frame, &CMainFrame::writeRequested, radio, &RadioCommands::onWrite);
}

int ProgramApp::exitInstance(int code)
{
    const ProgramIni ini(AppDirectory);
    QString reason;
    if (!ini.write(QStringLiteral("Setup"), QStringLiteral("COM"), PortName, &reason))
        std::fprintf(stderr, "Program: could not write %s: %s\n", qPrintable(ini.path()), qPrintable(reason));
    m_radioCommands.reset();
    m_frame.reset();
    m_view = nullptr;
    m_documentCommands = nullptr;
    m_history = nullptr;
    return code;
}
