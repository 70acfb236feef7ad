// Undo, redo, the modified mark and the question before unsaved edits are lost, through the
// real main window: keys typed into the channel grid, a setting chosen on its page, the
// Edit menu and toolbar, and closing, New, Open and a radio read with and without edits.
#include "Controls.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/ChannelGrid.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/ui/CodeplugFiles.h"
#include "radiolink/ui/RadioCommands.h"
#include "radiolink/ui/TR_and_W.h"
#include "settings/SettingsStore.h"
#include "settings/ui/SettingsPages.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Tmessage1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>

using T = ChannelTable;

namespace {

// Answers the next Save / Discard / Cancel question with the button named answer
// ("saveButton", "discardButton", "cancelButton") and counts the questions seen.
struct Question {
    int asked = 0;
    QString text;
};
void answerNext(const char *answer, Question *seen)
{
    QTimer::singleShot(0, [answer, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->objectName() != QLatin1String("saveQuestion"))
            return;
        ++seen->asked;
        seen->text = box->text();
        if (auto *button = box->findChild<QPushButton *>(QLatin1String(answer)))
            button->click();
    });
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Tform1> form;

    ChannelTable &table() { return *form->channelTable(); }
    QString cell(int column, int row) { return table().cell(T::Grid1, column, row); }
    QWidget *focus()
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w : control<ChannelGrid>(*form, "StringAlignGrid1");
    }
    void type(const QString &keys)
    {
        for (QChar c : keys)
            QTest::keyClick(focus(), c.toLatin1());
    }
    void click(int column, int row)
    {
        ChannelGrid *grid = control<ChannelGrid>(*form, "StringAlignGrid1");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(column, row).center());
    }
    void typeChannel(int row, const QString &frequency)
    {
        click(1, row);
        type(frequency);
        QTest::keyClick(focus(), Qt::Key_Return);
    }

private slots:
    void init()
    {
        QFile ini(dir.filePath(QStringLiteral("myini.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[list1_rx]\nlistcount=1\ncombo0=400-470MHz\nlistnow=0\n"
                  "[list2_rx]\nlist3count=1\ncom3bo0=400-470MHz\nlist3now=0\n");
        ini.close();
        form = std::make_unique<Tform1>(PreferencesPaths::single(ini.fileName()));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        control<ChannelGrid>(*form, "StringAlignGrid1")->setFocus();
    }
    void cleanup() { form.reset(); }

    void typedChannelIsUndoneAndRedoneWithTheKeys()
    {
        QVERIFY(!form->isWindowModified());
        QVERIFY(!control<QAction>(*form, "undoAction")->isEnabled());
        typeChannel(5, QStringLiteral("438.5"));
        QCOMPARE(cell(T::RxFreqColumn, 5), QStringLiteral("438.50000"));
        QTRY_VERIFY(form->isWindowModified());
        QVERIFY(form->windowTitle().endsWith(QLatin1String("[*]")));

        // The overlay that came back on the committed cell does not keep the key to itself.
        QTest::keyClick(focus(), Qt::Key_Z, Qt::ControlModifier);
        for (int c = T::RxFreqColumn; c <= T::AliasColumn; ++c)
            QCOMPARE(cell(c, 5), QString());
        QVERIFY(!form->isWindowModified());
        QVERIFY(control<QAction>(*form, "redoAction")->isEnabled());

        QTest::keyClick(focus(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(cell(T::RxFreqColumn, 5), QStringLiteral("438.50000"));
        QCOMPARE(cell(T::TxFreqColumn, 5), QStringLiteral("438.50000"));
        QCOMPARE(cell(T::PowerColumn, 5), table().marks().high);
        QVERIFY(form->isWindowModified());
        QTest::keyClick(focus(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(focus(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(cell(T::RxFreqColumn, 5), QStringLiteral("438.50000"));
    }

    void typingWithoutEnterIsCommittedAndUndoneAsOne()
    {
        click(1, 9);
        type(QStringLiteral("145.5"));
        QTest::keyClick(focus(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(cell(T::RxFreqColumn, 9), QString());
        QCOMPARE(cell(T::RxToneColumn, 9), QString());
        QVERIFY(!form->isWindowModified());
    }

    void settingChangeIsUndoneFromTheMenuAndToolbar()
    {
        auto *step = qobject_cast<QComboBox *>(form->settingsPages()->control(QStringLiteral("bsSkinComboBox8")));
        QVERIFY(step);
        const int before = step->currentIndex();
        const int other = before == 2 ? 3 : 2;
        form->showPage(Tform1::FunctionPage);
        step->setCurrentIndex(other);   // as the user picks it
        QCOMPARE(form->settingsStore()->number(QStringLiteral("bsSkinComboBox8")), other);

        control<QAction>(*form, "undoAction")->trigger();
        QCOMPARE(form->settingsStore()->number(QStringLiteral("bsSkinComboBox8")), before);
        QCOMPARE(step->currentIndex(), before);

        auto *bar = form->findChild<QToolBar *>(QStringLiteral("toolBar"));
        QWidget *redoButton = bar->widgetForAction(control<QAction>(*form, "redoAction"));
        QVERIFY(redoButton && bar->widgetForAction(control<QAction>(*form, "undoAction")));
        QTest::mouseClick(redoButton, Qt::LeftButton);
        QCOMPARE(step->currentIndex(), other);
    }

    void editMenuWordsFollowTheLanguage()
    {
        QCOMPARE(control<QMenu>(*form, "sgse1")->actions().value(0), control<QAction>(*form, "undoAction"));
        QCOMPARE(control<QMenu>(*form, "sgse1")->actions().value(1), control<QAction>(*form, "redoAction"));
        form->setExecutableDir(QStringLiteral(APP_DIR));
        QVERIFY(form->LoadLanguage(QStringLiteral("english")));
        QCOMPARE(control<QAction>(*form, "undoAction")->text(), QStringLiteral("&Undo"));
        QCOMPARE(control<QAction>(*form, "redoAction")->text(), QStringLiteral("Re&do"));
        QVERIFY(form->LoadLanguage(QStringLiteral("taiwan")));
        QCOMPARE(control<QAction>(*form, "undoAction")->text(), QStringLiteral("復原(&U)"));
    }

    void closeAsksOnlyWhenModified()
    {
        Question q;
        answerNext("cancelButton", &q);
        form->close();
        QCOMPARE(q.asked, 0);
        QVERIFY(!form->isVisible());

        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        typeChannel(3, QStringLiteral("440"));
        answerNext("cancelButton", &q);
        form->close();
        QCOMPARE(q.asked, 1);
        QCOMPARE(q.text, form->noticeTexts().SaveQuestionText);
        QVERIFY(form->isVisible());   // Cancel keeps the window and the channel
        QCOMPARE(cell(T::RxFreqColumn, 3), QStringLiteral("440.00000"));

        answerNext("discardButton", &q);
        form->close();
        QCOMPARE(q.asked, 2);
        QVERIFY(!form->isVisible());
    }

    void saveAnswerSavesOrCancels_data()
    {
        QTest::addColumn<bool>("chooseFile");
        QTest::newRow("saved") << true;
        QTest::newRow("file dialog cancelled") << false;
    }
    void saveAnswerSavesOrCancels()
    {
        QFETCH(bool, chooseFile);
        const QString path = dir.filePath(QStringLiteral("kept.k56"));
        QFile::remove(path);
        form->codeplugFiles()->setSaveFileChooser([&](QWidget *) { return chooseFile ? path : QString(); });
        form->codeplugFiles()->setNotifier([](const QString &) {});
        typeChannel(4, QStringLiteral("441"));
        Question q;
        answerNext("saveButton", &q);
        form->close();
        QCOMPARE(q.asked, 1);
        QCOMPARE(QFile::exists(path), chooseFile);
        QCOMPARE(form->isVisible(), !chooseFile);
        QCOMPARE(form->isWindowModified(), !chooseFile);
    }

    void openAndNewAskFirst()
    {
        int opened = 0;
        form->codeplugFiles()->setOpenFileChooser([&](QWidget *) {
            ++opened;
            return QString();
        });
        typeChannel(6, QStringLiteral("442"));
        Question q;
        answerNext("cancelButton", &q);
        control<QAction>(*form, "rsgg1")->trigger();
        QCOMPARE(q.asked, 1);
        QCOMPARE(opened, 0);   // cancelled before the file dialog

        answerNext("cancelButton", &q);
        control<QAction>(*form, "fsef1")->trigger();
        QCOMPARE(q.asked, 2);
        QVERIFY(!Tmessage1::instance()->isVisible());   // no New confirmation after Cancel
        QCOMPARE(cell(T::RxFreqColumn, 6), QStringLiteral("442.00000"));

        form->document()->markSaved();
        QVERIFY(!form->isWindowModified());
        control<QAction>(*form, "rsgg1")->trigger();
        QCOMPARE(q.asked, 2);
        QCOMPARE(opened, 1);
    }

    void readAsksFirstWriteDoesNot()
    {
        auto *dialog = new TR_and_W(form.get());
        RadioCommands commands(form->document(), form->radioCommandWindow(), *dialog);
        form->setRadioCommands(&commands);
        int notices = 0;
        commands.setNotice([&](const QString &, const QString &) { ++notices; });
        commands.setDialogRunner([](TR_and_W &) {});
        typeChannel(2, QStringLiteral("443"));
        Question q;
        answerNext("cancelButton", &q);
        control<QAction>(*form, "gs1")->trigger();
        QCOMPARE(q.asked, 1);
        QCOMPARE(notices, 0);   // stopped before the port is tried
        QCOMPARE(cell(T::RxFreqColumn, 2), QStringLiteral("443.00000"));

        control<QAction>(*form, "N2")->trigger();    // a write loses nothing: no question
        QCOMPARE(q.asked, 1);
    }
};

REGISTER_TEST(TestUndo)
#include "tst_undo.moc"
