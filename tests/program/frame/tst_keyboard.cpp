// The main window and every dialog from the keyboard and through a screen reader: Tab goes
// round each, reaching every control and trapped nowhere (the channel grid's open editors
// too), the transfer dialog's buttons come in their order, and every control has a name.
#include "FocusWalk.h"
#include "FrameFixture.h"
#include "TestRegistry.h"

#include "base/Globals.h"
#include "files/CProgramDoc.h"
#include "frame/Startup.h"
#include "frame/ui/CAboutDlg.h"
#include "frame/ui/CLanguageDlg.h"
#include "frame/ui/CMainFrame.h"
#include "model/ui/COptionDlg.h"
#include "model/ui/CPcbaDlg.h"
#include "model/ui/CProgramView.h"
#include "model/ui/CPttIdDlg.h"
#include "model/ui/ChannelGridWidget.h"
#include "radiolink/ui/CReadWriteDlg.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

class TestProgramKeyboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppDirFixture> fx;
    std::unique_ptr<CProgramDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    CProgramView *view = nullptr;

    void makeFrame(const QString &language)
    {
        frame.reset();
        fx = std::make_unique<AppDirFixture>();
        fx->writeFile(QStringLiteral("Program.ini"),
                      QStringLiteral("[Setup]\nLanguage=%1\nCOM=COM2\n").arg(language).toUtf8());
        QString fail;
        QVERIFY(loadLanguageSetup(fx->path(), &fail));
        doc = std::make_unique<CProgramDoc>();
        frame = std::make_unique<CMainFrame>();
        view = new CProgramView(doc.get());
        frame->setView(view);
        frame->show();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        view->onInitialUpdate();
    }

    // Each dialog of the program, made on the frame's document.
    std::vector<std::unique_ptr<QDialog>> dialogs()
    {
        std::vector<std::unique_ptr<QDialog>> all;
        all.push_back(std::make_unique<CAboutDlg>(frame.get()));
        all.push_back(std::make_unique<CLanguageDlg>(frame.get()));
        all.push_back(std::make_unique<COptionDlg>(doc.get(), frame.get()));
        all.push_back(std::make_unique<CPcbaDlg>(doc.get(), frame.get()));
        all.push_back(std::make_unique<CPttIdDlg>(doc.get(), frame.get()));
        auto transfer = std::make_unique<CReadWriteDlg>(doc.get(), QStringLiteral("COM2"), fx->path(), frame.get());
        transfer->setReadFlag(true);
        all.push_back(std::move(transfer));
        return all;
    }

    void forEveryDialog(const std::function<void(QDialog &)> &check)
    {
        for (auto &dialog : dialogs()) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
            check(*dialog);
            dialog->hide();
        }
    }

    ChannelGridWidget *grid() { return frame->findChild<ChannelGridWidget *>(QStringLiteral("channelGrid")); }

private slots:
    void init() { makeFrame(QStringLiteral("Eng")); }
    void cleanup()
    {
        frame.reset();
        doc.reset();
    }

    void tabGoesRoundTheWindow()
    {
        const QString problems = FocusWalk::tabProblems(frame.get(), frame->findChild<QComboBox *>(QStringLiteral("modelSelector")));
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // With an editor open on the grid, Tab leaves it (committing it) and goes on round.
    void tabLeavesTheGridEditors_data()
    {
        QTest::addColumn<int>("column");
        QTest::newRow("frequency") << 1;
        QTest::newRow("tone") << 3;
        QTest::newRow("list") << 5;
        QTest::newRow("name") << 9;
    }
    void tabLeavesTheGridEditors()
    {
        QFETCH(int, column);
        doc->change(QStringLiteral("channel"), [this] {
            ChannelTexts t = doc->channel(1);
            t.rxFreq = QStringLiteral("145.00000");
            doc->setChannel(1, t);
        });
        grid()->setFocus();
        grid()->setCurrentCell(0, column - 1);
        QTest::keyClick(grid(), Qt::Key_F2);
        QWidget *editor = view->openEditor();
        QVERIFY(editor);
        QCOMPARE(QApplication::focusWidget(), editor);
        const QString problems = FocusWalk::tabProblems(frame.get(), editor);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void tabGoesRoundEveryDialog()
    {
        forEveryDialog([](QDialog &dialog) {
            const QList<QWidget *> controls = FocusWalk::tabControls(&dialog);
            QVERIFY(!controls.isEmpty());
            const QString problems = FocusWalk::tabProblems(&dialog, controls.first());
            QVERIFY2(problems.isEmpty(), qPrintable(FocusWalk::describe(&dialog) + QStringLiteral(": ") + problems));
        });
    }

    void transferDialogTabsStartCancelStopThenTheCheckBox()
    {
        CReadWriteDlg dialog(doc.get(), QStringLiteral("COM2"), fx->path(), frame.get());
        dialog.setReadFlag(false);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QWidget *start = dialog.startButton;
        QList<QWidget *> expected{start, dialog.cancelButton, dialog.stopButton, dialog.verifyCheckBox};
        for (QWidget *w : expected)
            w->setEnabled(true);   // the order holds whichever of them a transfer enables
        QCOMPARE(FocusWalk::tabOrderOf(start, expected), expected);
    }

    void everyControlHasAName_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("Eng");
        QTest::newRow("Simplified Chinese") << QStringLiteral("Chs");
    }
    void everyControlHasAName()
    {
        QFETCH(QString, language);
        makeFrame(language);
        const QStringList unnamed = FocusWalk::unnamedControls(frame.get());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
        forEveryDialog([](QDialog &dialog) {
            const QStringList unnamed = FocusWalk::unnamedControls(&dialog);
            QVERIFY2(unnamed.isEmpty(), qPrintable(FocusWalk::describe(&dialog) + QStringLiteral(": ")
                                                   + unnamed.join(QStringLiteral(", "))));
        });
    }

    // A grid cell is read out with its column title and channel number.
    void gridCellsAreNamedByColumnAndChannel()
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(grid());
        QVERIFY(iface && iface->tableInterface());
        QAccessibleInterface *cell = iface->tableInterface()->cellAt(4, 0);   // channel 5, Rx Freq
        QVERIFY(cell);
        const QString name = cell->text(QAccessible::Name);
        const QString title = grid()->model()->headerData(0, Qt::Horizontal).toString();
        QVERIFY2(name.contains(title) && name.contains(QLatin1String("5")), qPrintable(name));
    }
};

REGISTER_TEST(TestProgramKeyboard)
#include "tst_keyboard.moc"
