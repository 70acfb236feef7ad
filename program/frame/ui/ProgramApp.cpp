#include "ProgramApp.h"

#include "CMainFrame.h"
#include "FrameIcons.h"
#include "files/CProgramDoc.h"
#include "files/ui/DocumentCommands.h"
#include "base/Globals.h"
#include "frame/FrameMessages.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "frame/Startup.h"
#include "model/ui/CProgramView.h"
#include "model/ui/SettingDialogs.h"
#include "radiolink/ui/RadioCommands.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

ProgramApp::ProgramApp()
    : m_document(std::make_unique<CProgramDoc>())
{
    showMessage = [](const QString &caption, const QString &text) {
        QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok);
        box.exec();
    };
    newDocument = [this] { return m_documentCommands->onFileNew(); };
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
    if (!loadLanguageSetup(appDirectory.isEmpty() ? applicationDirectory() : appDirectory, &failText, &detail)) {
        std::fprintf(stderr, "Program: %s\n", qPrintable(detail));
        showMessage(builtInResources().string(ResId::AppTitle), failText);
        return false;
    }
    QApplication::setWindowIcon(applicationIcon());
    // 10.-11. The frame, then the document: new, or the file named on the command line.
    m_frame = std::make_unique<CMainFrame>();
    m_view = new CProgramView;
    m_frame->setView(m_view);
    QObject::connect(m_frame.get(), &CMainFrame::printRequested, m_view, &CProgramView::onFilePrint);
    QObject::connect(m_frame.get(), &CMainFrame::printPreviewRequested, m_view, &CProgramView::onFilePrintPreview);
    QObject::connect(m_frame.get(), &CMainFrame::printSetupRequested, m_view, &CProgramView::onFilePrintSetup);
    // New and Open run the view's initial update; Save and Save As store the grid first.
    m_documentCommands = new DocumentCommands(m_document.get(), m_frame.get());
    m_documentCommands->setView(m_view);
    connectSettingDialogs(m_frame.get());
    // Read and Write: the grid goes into the image first; a successful read is shown.
    m_radioCommands = std::make_unique<RadioCommands>(m_frame.get());
    m_radioCommands->gridToImage = [view = m_view] { view->GridToImage(); };
    m_radioCommands->imageToGrid = [view = m_view] { view->ImageToGrid(); };
    m_radioCommands->attach(m_frame.get());
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
            return false;
        }
    }
    // 12. Show the main window on top.
    m_frame->show();
    m_frame->raise();
    m_frame->activateWindow();
    return true;
}

int ProgramApp::exitInstance(int code)
{
    const ProgramIni ini(AppDirectory);
    if (!ini.write(QStringLiteral("Setup"), QStringLiteral("COM"), PortName))
        std::fprintf(stderr, "Program: could not write %s\n", qPrintable(ini.path()));
    m_radioCommands.reset();
    m_frame.reset();
    m_view = nullptr;
    m_documentCommands = nullptr;
    return code;
}
