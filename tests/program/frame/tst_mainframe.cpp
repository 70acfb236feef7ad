#include "FrameFixture.h"
#include "TestRegistry.h"

#include "base/Globals.h"
#include "base/ResourceLibrary.h"
#include "frame/Startup.h"
#include "frame/ui/CAboutDlg.h"
#include "frame/ui/CLanguageDlg.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/LockKeyState.h"
#include "common/InstalledLayout.h"
#include "common/ui/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <memory>

namespace {

// Answers the next modal dialog: picks a list position (if >= 0) and presses a button.
void answerModal(int position, const char *button)
{
    QTimer::singleShot(0, [position, button] {
        QWidget *w = QApplication::activeModalWidget();
        QVERIFY(w);
        if (position >= 0)
            w->findChild<QComboBox *>(QStringLiteral("languageList"))->setCurrentIndex(position);
        w->findChild<QPushButton *>(QLatin1String(button))->click();
    });
}

// Loads the libraries of an application folder in the given language.
void useLanguage(const AppDirFixture &fx, const QString &language)
{
    fx.writeFile(QStringLiteral("Program.ini"), QStringLiteral("[Setup]\nLanguage=%1\nCOM=COM2\n").arg(language).toUtf8());
    QString fail;
    QVERIFY(loadLanguageSetup(fx.path(), &fail));
}

} // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppDirFixture> fx;
    std::unique_ptr<CMainFrame> frame;
    int restarts = 0;
    int quits = 0;
    QStringList messages;
    QList<QUrl> opened;

    void makeFrame(const QString &language = QStringLiteral("Eng"))
    {
        fx = std::make_unique<AppDirFixture>();
        useLanguage(*fx, language);
        frame = std::make_unique<CMainFrame>();
        restarts = quits = 0;
        messages.clear();
        opened.clear();
        frame->restartProgram = [this] { ++restarts; return false; };
        frame->quitProgram = [this] { ++quits; };
        frame->showMessage = [this](const QString &text) { messages << text; };
        frame->openUrl = [this](const QUrl &url) { opened << url; return true; };
    }

private slots:
    void init() { makeFrame(); }
    void cleanup() { frame.reset(); }

    void windowLayout()
    {
        frame->show();
        QCOMPARE(frame->windowTitle(), QStringLiteral("KVT PC Encoder[*]"));
        QCOMPARE(frame->size(), QSize(800, 600));
        QCOMPARE(frame->frameGeometry().center(), frame->screen()->availableGeometry().center());
        const QStringList menus{"&File", "&Edit", "&Program", "Setting", "Port", "&View", "Help"};
        QStringList titles;
        for (QAction *a : frame->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, menus);
    }

    void commandsAndAccelerators_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("New") << 57600 << "&New" << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("Open") << 57601 << "&Open..." << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("Save") << 57603 << "&Save" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("Save As") << 57604 << "Save &As..." << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("Export channels") << 32800 << "&Export channels..." << QKeySequence();
        QTest::newRow("Import channels") << 32801 << "&Import channels..." << QKeySequence();
        QTest::newRow("Open backup") << 32802 << "Open &backup..." << QKeySequence();
        QTest::newRow("Print") << 57607 << "&Print..." << QKeySequence(Qt::CTRL | Qt::Key_P);
        QTest::newRow("Print Preview") << 57609 << "Print Pre&view" << QKeySequence();
        QTest::newRow("Print Setup") << 57606 << "P&rint Setup..." << QKeySequence();
        QTest::newRow("Exit") << 57665 << "E&xit" << QKeySequence();
        QTest::newRow("Read") << 32785 << "&Read" << QKeySequence(Qt::CTRL | Qt::Key_R);
        QTest::newRow("Write") << 32786 << "&Write" << QKeySequence(Qt::CTRL | Qt::Key_W);
        QTest::newRow("PTTID") << 32799 << "PTTID" << QKeySequence();
        QTest::newRow("Option") << 32784 << "Option" << QKeySequence();
        QTest::newRow("Embed") << 32796 << "Embed" << QKeySequence();
        QTest::newRow("Language") << 32797 << "Language" << QKeySequence();
        QTest::newRow("COM1") << 32787 << "COM1" << QKeySequence();
        QTest::newRow("COM8") << 32794 << "COM8" << QKeySequence();
        QTest::newRow("Toolbar") << 59392 << "&Toolbar" << QKeySequence();
        QTest::newRow("Status Bar") << 59393 << "&Status Bar" << QKeySequence();
        QTest::newRow("About") << 57664 << "About" << QKeySequence();
        QTest::newRow("Help") << 32798 << "Help" << QKeySequence(Qt::Key_F1);
        QTest::newRow("Next pane") << 57680 << "Next Pane" << QKeySequence(Qt::Key_F6);
        QTest::newRow("Previous pane") << 57681 << "Previous Pane" << QKeySequence(Qt::SHIFT | Qt::Key_F6);
    }
    void commandsAndAccelerators()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QKeySequence, keys);
        QAction *a = frame->action(id);
        QVERIFY(a);
        QCOMPARE(a->data().toInt(), id);
        QCOMPARE(a->text(), text);
        QCOMPARE(a->shortcut(), keys);
        QVERIFY(frame->actions().contains(a) || keys.isEmpty());
    }

    // The desktop's standard keys stand beside the library's accelerators.
    void standardKeysBesideTheLibrarys_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Redo, Ctrl+Shift+Z") << 57644 << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        QTest::newRow("Redo, Ctrl+Y") << 57644 << QKeySequence(Qt::CTRL | Qt::Key_Y);
        QTest::newRow("Save As") << 57604 << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("Undo") << 57643 << QKeySequence(Qt::CTRL | Qt::Key_Z);
    }
    void standardKeysBesideTheLibrarys()
    {
        QFETCH(int, id);
        QFETCH(QKeySequence, keys);
        QAction *a = frame->action(id);
        QVERIFY(a);
        QVERIFY2(a->shortcuts().contains(keys), qPrintable(QKeySequence::listToString(a->shortcuts())));
        QCOMPARE(a->shortcuts().count(keys), 1);
        QVERIFY(frame->actions().contains(a));
    }

    void acceleratorReachesItsCommand()
    {
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QSignalSpy read(frame.get(), &CMainFrame::readRequested);
        QSignalSpy all(frame.get(), &CMainFrame::commandTriggered);
        QTest::keyClick(frame.get(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(read.count(), 1);
        QTest::keyClick(frame.get(), Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(all.count(), 2);
        QCOMPARE(all.at(1).at(0).toInt(), ResId::PrevPane);
    }

    void hookCommandsAreSignalled_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("New") << 57600 << QByteArray(SIGNAL(newRequested()));
        QTest::newRow("Open") << 57601 << QByteArray(SIGNAL(openRequested()));
        QTest::newRow("Save") << 57603 << QByteArray(SIGNAL(saveRequested()));
        QTest::newRow("Save As") << 57604 << QByteArray(SIGNAL(saveAsRequested()));
        QTest::newRow("Export channels") << 32800 << QByteArray(SIGNAL(exportChannelsRequested()));
        QTest::newRow("Import channels") << 32801 << QByteArray(SIGNAL(importChannelsRequested()));
        QTest::newRow("Open backup") << 32802 << QByteArray(SIGNAL(openBackupRequested()));
        QTest::newRow("Print") << 57607 << QByteArray(SIGNAL(printRequested()));
        QTest::newRow("Print Preview") << 57609 << QByteArray(SIGNAL(printPreviewRequested()));
        QTest::newRow("Print Setup") << 57606 << QByteArray(SIGNAL(printSetupRequested()));
        QTest::newRow("Read") << 32785 << QByteArray(SIGNAL(readRequested()));
        QTest::newRow("Write") << 32786 << QByteArray(SIGNAL(writeRequested()));
        QTest::newRow("Option") << 32784 << QByteArray(SIGNAL(optionRequested()));
        QTest::newRow("PTTID") << 32799 << QByteArray(SIGNAL(pttIdRequested()));
        QTest::newRow("Embed") << 32796 << QByteArray(SIGNAL(embedRequested()));
    }
    void hookCommandsAreSignalled()
    {
        QFETCH(int, id);
        QFETCH(QByteArray, signal);
        QSignalSpy spy(frame.get(), signal.constData());
        QSignalSpy any(frame.get(), &CMainFrame::commandTriggered);
        frame->action(id)->trigger();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(any.count(), 1);
        QCOMPARE(any.at(0).at(0).toInt(), id);
    }

    void toolBarButtonsAndTips()
    {
        QToolBar *bar = frame->toolBar();
        QCOMPARE(frame->toolBarArea(bar), Qt::TopToolBarArea);
        QVERIFY(bar->isMovable() && bar->isFloatable());
        QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
        QList<int> ids;
        QStringList tips;
        for (QAction *a : bar->actions()) {
            ids << (a->isSeparator() ? 0 : a->data().toInt());
            if (!a->isSeparator()) {
                tips << a->toolTip();
                QVERIFY(!a->icon().isNull());
            }
        }
        QCOMPARE(ids, (QList<int>{57600, 57601, 57603, 0, 32785, 32786, 0, 57607, 57664}));
        QCOMPARE(tips, (QStringList{"New", "Open", "Save", "Read", "Write", "Print", "About"}));

        frame->show();
        frame->action(ResId::ViewToolbar)->trigger();
        QVERIFY(!bar->isVisible());
        QVERIFY(!frame->action(ResId::ViewToolbar)->isChecked());
        frame->action(ResId::ViewStatusBar)->trigger();
        QVERIFY(!frame->statusBar()->isVisible());
    }

    void statusBarShowsPromptsAndIndicators()
    {
        frame->show();
        QStatusBar *bar = frame->statusBar();
        QCOMPARE(bar->currentMessage(), QStringLiteral("Ready"));
        // Hovering a menu item shows its prompt.
        auto *program = frame->findChild<QMenu *>(QStringLiteral("menuProgram"));
        program->popup(frame->mapToGlobal(QPoint(40, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(program));
        QTest::mouseMove(program, program->actionGeometry(frame->action(ResId::Read)).center());
        QTRY_COMPARE(bar->currentMessage(), QStringLiteral("Read Data From Radio"));
        program->hide();
        frame->action(ResId::Com1 + 2)->showStatusText(frame.get());
        QCOMPARE(bar->currentMessage(), QStringLiteral("Choose Communication Port 3"));
        QStatusTipEvent leave{QString()};
        QApplication::sendEvent(frame.get(), &leave);
        QCOMPARE(bar->currentMessage(), QStringLiteral("Ready"));
        // Where the lock states are unknown (offscreen) the indicators show their texts
        // greyed; on X11 a lock that is on shows its text, one that is off a blank pane.
        const LockKeyState locks;
        const QStringList texts{"CAP", "NUM", "SCRL"};
        const int ids[] = {ResId::IndicatorCaps, ResId::IndicatorNum, ResId::IndicatorScroll};
        const LockKeyState::Key keys[] = {LockKeyState::CapsLock, LockKeyState::NumLock, LockKeyState::ScrollLock};
        for (int i = 0; i < 3; ++i) {
            QLabel *l = frame->indicator(ids[i]);
            QVERIFY(l && l->isVisible());
            QCOMPARE(l->isEnabled(), locks.isKnown());
            QCOMPARE(l->text(), locks.state(keys[i]).value_or(true) ? texts.at(i) : QString());
        }
    }

    void portMenuChecksTheChosenPort()
    {
        QCOMPARE(PortName, QStringLiteral("COM2"));
        QVERIFY(frame->action(ResId::Com1 + 1)->isChecked());
        frame->action(ResId::Com8)->trigger();
        QCOMPARE(PortName, QStringLiteral("COM8"));
        for (int id = ResId::Com1; id <= ResId::Com8; ++id)
            QCOMPARE(frame->action(id)->isChecked(), id == ResId::Com8);
        // Triggering the checked entry again keeps it checked.
        frame->action(ResId::Com8)->trigger();
        QVERIFY(frame->action(ResId::Com8)->isChecked());
    }

    void languageListsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Eng") << "Eng" << QStringList{"Eng", "Chs", "Cht"} << "Language";
        QTest::newRow("Chs") << "Chs" << QStringList{"英文", "简体", "繁体"} << "语言";
        QTest::newRow("Cht") << "Cht" << QStringList{"英文", "簡體", "繁體"} << "語言";
    }
    void languageListsFollowTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, entries);
        QFETCH(QString, caption);
        useLanguage(*fx, language);
        CLanguageDlg dlg;
        QCOMPARE(dlg.windowTitle(), caption);
        QStringList items;
        for (int i = 0; i < dlg.languageList->count(); ++i)
            items << dlg.languageList->itemText(i);
        QCOMPARE(items, entries);
        QCOMPARE(dlg.languageList->currentIndex(), int(LanguageIndex));
    }

    void languageChange_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("written");  // empty: nothing written, no restart
        QTest::newRow("same language") << 0 << QByteArray("okButton") << "";
        QTest::newRow("cancel") << 1 << QByteArray("cancelButton") << "";
        QTest::newRow("Simplified Chinese") << 1 << QByteArray("okButton") << "Chs";
        QTest::newRow("Traditional Chinese") << 2 << QByteArray("okButton") << "Cht";
    }
    void languageChange()
    {
        QFETCH(int, position);
        QFETCH(QByteArray, button);
        QFETCH(QString, written);
        const QString ini = fx->filePath(QStringLiteral("Program.ini"));
        fx->writeFile(QStringLiteral("Program.ini"), "[Setup]\nLanguage=Eng\n");
        frame->onPort(5);
        answerModal(position, button.constData());
        frame->action(ResId::Language)->trigger();
        QSettings s(ini, QSettings::IniFormat);
        if (written.isEmpty()) {
            QCOMPARE(restarts, 0);
            QCOMPARE(quits, 0);
            QVERIFY(!s.contains(QStringLiteral("Setup/COM")));
            QCOMPARE(s.value(QStringLiteral("Setup/Language")).toString(), QStringLiteral("Eng"));
        } else {
            QCOMPARE(restarts, 1);  // the restarter reports failure: the instance quits all the same
            QCOMPARE(quits, 1);
            QCOMPARE(s.value(QStringLiteral("Setup/COM")).toString(), QStringLiteral("COM5"));
            QCOMPARE(s.value(QStringLiteral("Setup/Language")).toString(), written);
        }
        QCOMPARE(int(LanguageIndex), 0);
        QVERIFY(messages.isEmpty());
    }

    // The restart would end this instance: the window's question comes first, and a refused
    // one (Cancel, a cancelled or failed save) changes nothing.
    void languageChangeAsksFirst()
    {
        const QString ini = fx->filePath(QStringLiteral("Program.ini"));
        fx->writeFile(QStringLiteral("Program.ini"), "[Setup]\nLanguage=Eng\n");
        int asked = 0;
        frame->queryClose = [&asked] { ++asked; return false; };
        answerModal(1, "okButton");
        frame->action(ResId::Language)->trigger();
        QCOMPARE(asked, 1);
        QCOMPARE(restarts, 0);
        QCOMPARE(quits, 0);
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value(QStringLiteral("Setup/Language")).toString(),
                 QStringLiteral("Eng"));
    }

    // From an installed folder the choice goes to the user's Program.ini, the shipped one
    // stays as it was, and the restarted program comes up in the new language with the port.
    void languageChangeInAnInstalledFolder()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString userIni = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                                    .filePath(QStringLiteral("Program.ini"));
        QFile::remove(userIni);
        fx->writeFile(InstalledLayout::markerName(), QByteArray());
        const QByteArray shipped = fx->readFile(QStringLiteral("Program.ini"));
        frame->onPort(5);
        answerModal(1, "okButton");
        frame->action(ResId::Language)->trigger();
        QCOMPARE(restarts, 1);
        QCOMPARE(fx->readFile(QStringLiteral("Program.ini")), shipped);
        QSettings s(userIni, QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("Setup/Language")).toString(), QStringLiteral("Chs"));
        QCOMPARE(s.value(QStringLiteral("Setup/COM")).toString(), QStringLiteral("COM5"));

        QString fail;
        QVERIFY(loadLanguageSetup(fx->path(), &fail));
        QCOMPARE(int(LanguageIndex), 1);
        QCOMPARE(PortName, QStringLiteral("COM5"));
        QFile::remove(userIni);
        QStandardPaths::setTestModeEnabled(false);
    }

    void languageNotSavedKeepsRunning()
    {
        // Program.ini is a directory: nothing can be written there.
        QFile::remove(fx->filePath(QStringLiteral("Program.ini")));
        QDir(fx->path()).mkdir(QStringLiteral("Program.ini"));
        answerModal(1, "okButton");
        frame->action(ResId::Language)->trigger();
        QCOMPARE(restarts, 0);
        QCOMPARE(quits, 0);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.at(0).startsWith(QStringLiteral("Could not save the language choice")), qPrintable(messages.at(0)));
    }

    void helpOpensTheFileOfTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("file");
        QTest::newRow("Eng") << "Eng" << "help/eng.html";
        QTest::newRow("Chs") << "chs" << "help/chs.html";
        QTest::newRow("Cht") << "Cht" << "help/cht.html";
    }
    void helpOpensTheFileOfTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, file);
        useLanguage(*fx, language);
        frame->action(ResId::Help)->trigger();
        QCOMPARE(opened.size(), 0);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.at(0).contains(file), qPrintable(messages.at(0)));
        QDir(fx->path()).mkdir(QStringLiteral("help"));
        fx->writeFile(file, "help");
        frame->action(ResId::Help)->trigger();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(fx->filePath(file))});
        QCOMPARE(messages.size(), 1);
    }

    // Without a Traditional Chinese manual the Simplified Chinese one opens.
    void helpFallsBackToSimplifiedChinese()
    {
        useLanguage(*fx, QStringLiteral("Cht"));
        QDir(fx->path()).mkdir(QStringLiteral("help"));
        fx->writeFile(QStringLiteral("help/chs.html"), "help");
        frame->action(ResId::Help)->trigger();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(fx->filePath(QStringLiteral("help/chs.html")))});
        QVERIFY(messages.isEmpty());
    }

    // F1 shows the manual in the program's own window, with no web browser to be had.
    void f1OpensTheManualWithoutABrowser()
    {
        qunsetenv("BROWSER");
        QDir(fx->path()).mkdir(QStringLiteral("help"));
        fx->writeFile(QStringLiteral("help/eng.html"), "<html><body><h1>KVT270 user manual</h1></body></html>");
        CMainFrame own;   // the frame's own way of opening the manual
        own.show();
        own.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&own));
        QTest::keyClick(&own, Qt::Key_F1);
        auto *help = own.findChild<HelpWindow *>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentSource(), QUrl::fromLocalFile(fx->filePath(QStringLiteral("help/eng.html"))));
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("KVT270 user manual")));
        QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
    }

    void aboutBox()
    {
        QTimer::singleShot(0, [] {
            auto *dlg = qobject_cast<CAboutDlg *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("About"));
            QCOMPARE(dlg->versionLabel->text(), QStringLiteral("Vesion 1.0.1"));
            QVERIFY(!dlg->infoLabel->text().isEmpty());
            // Beside the fixed line, the version the command line prints.
            QCOMPARE(dlg->programVersionLabel->text(), versionLine());
            QVERIFY(QRegularExpression("^KVT270 \\d+\\.\\d+\\.\\d+$").match(versionLine()).hasMatch());
            QVERIFY(!dlg->iconLabel->pixmap().isNull());
            dlg->okButton->click();
        });
        frame->action(ResId::AppAbout)->trigger();
    }
};

REGISTER_TEST(TestMainFrame)
#include "tst_mainframe.moc"
