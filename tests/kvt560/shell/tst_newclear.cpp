// The confirmation dialog Tmessage1 and what its OK does: New (mode 2), clear all channels
// (mode 3) and notices (mode 1).
#include "Controls.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "codeplug/CodeplugDocument.h"
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/ChannelGrid.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/CallListGrid.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Tmessage1.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

namespace {

// Answers the next Tmessage1 that is shown with OK or Cancel and records what it showed.
struct Answer {
    QString caption, text;
    bool answered = false;
};
void answerNext(bool ok, Answer *seen)
{
    QTimer::singleShot(0, [ok, seen] {
        auto *dialog = qobject_cast<Tmessage1 *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen->caption = dialog->windowTitle();
        seen->text = dialog->cap1->text();
        seen->answered = true;
        (ok ? dialog->bsSkinButton1 : dialog->bsSkinButton2)->click();
    });
}

} // namespace

class TestNewAndClear : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Tform1> form;

    ChannelTable &table() { return *form->channelTable(); }
    SettingsStore &store() { return *form->settingsStore(); }

    // Channels 1 and 128 in use, every attribute set, and settings away from their New values.
    void fillCodeplug()
    {
        for (int row : {1, 7, 128}) {
            table().setCell(ChannelTable::Grid1, 1, row, QStringLiteral("438.50000"));
            table().fillNewChannelDefaults(row);
            table().setCell(ChannelTable::Grid1, ChannelTable::AliasColumn, row, QStringLiteral("ON"));
        }
        control<ChannelEditor>(*form, "channelEditor")->cursor().CurRow = 7;
        control<ChannelEditor>(*form, "channelEditor")->cursor().CurCol = 4;
        control<ChannelGrid>(*form, "StringAlignGrid1")->setCurrentCell(4, 7);
        for (const auto &[name, value] : std::initializer_list<std::pair<const char *, QVariant>>{
                 {"bsSkinComboBox10", 6}, {"bsSkinComboBox3", 4}, {"bsSkinComboBox5", 7}, {"bsSkinCheckRadioBox22", 0},
                 {"bsSkinCheckRadioBox14", 1}, {"bsSkinComboBox22", 0}, {"bsSkinCheckRadioBox16", 0},
                 {"bsSkinEdit16", QStringLiteral("12AB")}, {"bsSkinSpinEdit13", 800}, {"bsSkinCheckRadioBox21", 1},
                 {"bsSkinEdit15", QStringLiteral("111111")}, {"bsSkinStringGrid1:1", QStringLiteral("55")},
                 {"bsSkinStringGrid1:3", QStringLiteral("*#")}})
            QVERIFY2(store().setByUser(QLatin1String(name), value), name);
        control<QComboBox>(*form, "bsSkinComboBox20")->addItems({QStringLiteral("400-470MHz"), QStringLiteral("136-174MHz")});
        control<QComboBox>(*form, "bsSkinComboBox20")->setCurrentIndex(1);
    }

private slots:
    void init()
    {
        MessageMode = 0;
        QFile::remove(dir.filePath(QStringLiteral("myini.ini")));
        form = std::make_unique<Tform1>(PreferencesPaths::single(dir.filePath(QStringLiteral("myini.ini"))));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        fillCodeplug();
        // As if just saved: New asks only its own confirmation (tst_undo covers the question).
        form->document()->markSaved();
    }
    void cleanup() { form.reset(); }

    void dialogLayout()
    {
        Tmessage1 *dialog = Tmessage1::instance();
        QCOMPARE(dialog->size(), QSize(Tmessage1::Width, Tmessage1::Height));
        QCOMPARE(dialog->cap1->size(), QSize(241, 49));
        QCOMPARE(dialog->bsSkinButton1->text(), QStringLiteral("确定"));
        QCOMPARE(dialog->bsSkinButton2->text(), QStringLiteral("取消"));
    }

    // A notice longer than the dialog's room (the channels a write refuses, say) makes it
    // grow to show whole lines, scrolls beyond two thirds of the screen, and a short notice
    // after it has the usual size again.
    void longNoticeGrows_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("a few lines") << 6 << false;
        QTest::newRow("every channel") << 128 << true;
    }
    void longNoticeGrows()
    {
        QFETCH(int, lines);
        QFETCH(bool, scrolls);
        QStringList text{QStringLiteral("Nothing was written to the radio:")};
        for (int i = 1; i <= lines; ++i)
            text << QStringLiteral("Channel %1: the receive frequency \"43x.12500\" cannot be written").arg(i);
        Tmessage1 *dialog = Tmessage1::instance();
        QSize grown, label, area;
        QTimer::singleShot(0, dialog, [&] {
            grown = dialog->size();
            label = dialog->cap1->size();
            area = dialog->textArea->size();
            dialog->bsSkinButton1->click();
        });
        dialog->ask(QStringLiteral("KVT560"), text.join(QLatin1Char('\n')), 1);
        const QSize screen = dialog->screen()->availableGeometry().size();
        QVERIFY(grown.width() > Tmessage1::Width && grown.height() > Tmessage1::Height);
        QVERIFY(grown.width() <= screen.width() && grown.height() <= screen.height());
        QCOMPARE(label.height() > area.height(), scrolls);
        // One line of the list fits across, unless it is wider than half the screen.
        QVERIFY(label.width() >= qMin(dialog->cap1->fontMetrics().horizontalAdvance(text.last()), screen.width() / 2));

        QTimer::singleShot(0, dialog, [dialog] { dialog->bsSkinButton1->click(); });
        dialog->ask(QStringLiteral("KVT560"), QStringLiteral("OK"), 1);
        QCOMPARE(dialog->size(), QSize(Tmessage1::Width, Tmessage1::Height));
        QCOMPARE(dialog->cap1->size(), QSize(241, 49));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("clear");
        QTest::newRow("new") << false;
        QTest::newRow("clear all channels") << true;
    }
    void cancelChangesNothing()
    {
        QFETCH(bool, clear);
        const ChannelCells cells = table().cells();
        const SettingsValues settings = store().snapshot();
        Answer seen;
        answerNext(false, &seen);
        if (clear)
            control<QPushButton>(*form, "bsSkinButton9")->click();
        else
            control<QAction>(*form, "fsef1")->trigger();
        QVERIFY(seen.answered);
        QCOMPARE(seen.caption, form->ConfirmCaption);
        QCOMPARE(seen.text, form->ConfirmText);
        QCOMPARE(MessageMode, clear ? 3 : 2);   // kept until the next caller sets it
        QVERIFY(table().cells() == cells);
        QVERIFY(store().snapshot() == settings);
        QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox20")->currentIndex(), 1);
    }

    // The dialog only answers: whatever the mode, OK and Cancel change nothing of the
    // codeplug by themselves.
    void askReturnsTheAnswer()
    {
        const ChannelCells cells = table().cells();
        for (const bool ok : {true, false}) {
            Answer seen;
            answerNext(ok, &seen);
            QCOMPARE(Tmessage1::instance()->ask(QStringLiteral("caption"), QStringLiteral("text"), 3), ok);
            QVERIFY(seen.answered);
            QCOMPARE(MessageMode, ok ? 1 : 3);
            QVERIFY(table().cells() == cells);
        }
    }

    void newGivesTheNewValues()
    {
        form->bsSkinStringGrid1()->setCurrentCell(2, 1);   // the call list editor is open
        Answer seen;
        answerNext(true, &seen);
        control<QAction>(*form, "fsef1")->trigger();
        QVERIFY(seen.answered);
        QCOMPARE(MessageMode, 1);

        for (const SettingDef &d : SettingsRegistry::all()) {
            if (!d.isValue() || !d.newValue)
                continue;
            QCOMPARE(store().value(d.name), *d.newValue);
        }
        QCOMPARE(store().number(QStringLiteral("bsSkinComboBox10")), 3);
        QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("bsSkinComboBox5"))->currentIndex(), 1);
        QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("bsSkinComboBox3"))->currentIndex(), 4);   // P1 kept
        QCOMPARE(store().number(QStringLiteral("bsSkinCheckRadioBox22")), 0);   // not reset by New
        // Band change from the keypad off: band 1, selector disabled; the band lists keep their choice.
        QCOMPARE(form->document()->activeBandIndex(), 1);
        QVERIFY(!control<QComboBox>(*form, "bsSkinComboBox22")->isEnabled());
        QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox20")->count(), 2);
        QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox20")->currentIndex(), 1);
        // Rules of the boxes ran: the password is locked, the remote code and type are open.
        QVERIFY(!form->findChild<QLineEdit *>(QStringLiteral("bsSkinEdit15"))->isEnabled());
        QVERIFY(form->findChild<QLineEdit *>(QStringLiteral("bsSkinEdit16"))->isEnabled());
        QVERIFY(!form->bsSkinStringGrid1()->bsSkinEdit14->isVisible());
        QCOMPARE(form->bsSkinStringGrid1()->cellText(1, 2), QString());
        QCOMPARE(form->bsSkinStringGrid1()->cellText(1, 1), QStringLiteral("1000"));

        QVERIFY(table().cells() == ChannelCells());
        QCOMPARE(control<ChannelEditor>(*form, "channelEditor")->cursor().CurRow, 1);
        QCOMPARE(control<ChannelEditor>(*form, "channelEditor")->cursor().CurCol, 1);
        QCOMPARE(control<ChannelGrid>(*form, "StringAlignGrid1")->currentRow(), 1);
        QCOMPARE(control<ChannelGrid>(*form, "StringAlignGrid1")->currentColumn(), 1);
        QCOMPARE(table().cell(ChannelTable::Grid1, ChannelTable::MoreColumn, 7), QStringLiteral(">>"));
        QCOMPARE(form->cableMode(), 13);
    }

    void clearKeepsTheSettings()
    {
        const SettingsValues settings = store().snapshot();
        Answer seen;
        answerNext(true, &seen);
        control<QPushButton>(*form, "bsSkinButton9")->click();
        QVERIFY(seen.answered);
        QCOMPARE(MessageMode, 1);
        QVERIFY(table().cells() == ChannelCells());
        for (int row = 1; row <= ChannelTable::ChannelCount; ++row)
            for (int c = 1; c < ChannelTable::Grid2Columns; ++c)
                QVERIFY(table().cell(ChannelTable::Grid2, c, row).isEmpty());
        QVERIFY(store().snapshot() == settings);
        QCOMPARE(control<ChannelGrid>(*form, "StringAlignGrid1")->currentRow(), 1);
    }

    void noticeOnlyCloses()
    {
        const ChannelCells cells = table().cells();
        Answer seen;
        answerNext(true, &seen);
        showNotice(form->LinkErrorCaption, form->PortErrorText);
        QVERIFY(seen.answered);
        QCOMPARE(seen.caption, form->LinkErrorCaption);
        QCOMPARE(seen.text, form->PortErrorText);
        QCOMPARE(MessageMode, 1);
        QVERIFY(table().cells() == cells);
    }
};

REGISTER_TEST(TestNewAndClear)
#include "tst_newclear.moc"
