#include "Controls.h"
#include "FakeBands.h"
#include "TestRegistry.h"
#include "channels/ChannelCursor.h"
#include "channels/ChannelTable.h"
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/ConversionNotice.h"
#include "channels/ui/SingleChannelEditor.h"
#include "channels/ToneList.h"
#include "codeplug/CodeplugDocument.h"
#include "settings/SettingsStore.h"
#include "shell/ui/Tform1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using T = ChannelTable;

namespace {

// The page on its own, active and shown, on a table whose band 1 receives 400-470 MHz.
struct Fixture {
    FakeBands bands;
    ChannelTable table;
    ToneList tones;
    ChannelCursor cursor;
    SingleChannelEditor page{&table, &cursor, tones};

    explicit Fixture(int row = 3)
    {
        table.setBandSource(&bands);
        cursor.CurRow = row;
        page.setChannelNumber(row);
        page.show();
        page.activateWindow();
        page.setPageActive(true);
    }
    bool ready() { return QTest::qWaitForWindowActive(&page); }
    void putChannel(int row, const QString &frequency)
    {
        table.setCell(T::Grid1, T::RxFreqColumn, row, frequency);
        table.fillNewChannelDefaults(row);
    }
    QString cell(T::Table t, int column, int row = -1) const
    {
        return table.cell(t, column, row < 0 ? cursor.CurRow : row);
    }
    QList<QWidget *> valueControls() const
    {
        return {page.bsSkinEdit13, page.bsSkinEdit8, page.bsSkinComboBox19, page.bsSkinComboBox23,
                page.bsSkinComboBox24, page.bsSkinComboBox31, page.bsSkinComboBox32, page.bsSkinCheckRadioBox7,
                page.bsSkinCheckRadioBox2, page.bsSkinCheckRadioBox3, page.bsSkinCheckRadioBox5,
                page.bsSkinCheckRadioBox23, page.bsSkinCheckRadioBox15, page.bsSkinCheckRadioBox4};
    }
    // Takes the focus into an edit as a click would.
    void enter(QLineEdit *edit) { edit->setFocus(Qt::MouseFocusReason); }
    void leave() { page.bsSkinSpinEdit20->setFocus(Qt::TabFocusReason); }
};

// Closes the next modal notice and keeps its text.
void answerNotice(QString *text)
{
    QTimer::singleShot(0, [text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
}

} // namespace

class TestSingleChannel : public QObject
{
    Q_OBJECT
private slots:
    void controlsAreNamed()
    {
        Fixture f;
        const char *names[] = {"bsSkinSpinEdit20",     "bsSkinEdit11",          "bsSkinEdit13",
                               "bsSkinEdit8",          "bsSkinComboBox19",      "bsSkinComboBox23",
                               "bsSkinComboBox24",     "bsSkinComboBox31",      "bsSkinComboBox32",
                               "bsSkinCheckRadioBox7", "bsSkinCheckRadioBox2",  "bsSkinCheckRadioBox3",
                               "bsSkinCheckRadioBox5", "bsSkinCheckRadioBox23", "bsSkinCheckRadioBox15",
                               "bsSkinCheckRadioBox4"};
        for (const char *name : names)
            QVERIFY2(f.page.findChild<QWidget *>(QLatin1String(name)), name);
        QCOMPARE(f.page.bsSkinComboBox19->count(), ToneList::Count);
        QCOMPARE(f.page.bsSkinComboBox23->itemText(53), QStringLiteral("D023N"));
        QCOMPARE(f.page.bsSkinSpinEdit20->minimum(), 1);
        QCOMPARE(f.page.bsSkinSpinEdit20->maximum(), 128);

        // The tone lists follow the one list when its off word changes, keeping the choice.
        f.page.bsSkinComboBox23->setCurrentIndex(7);
        f.tones.setOffWord(QStringLiteral("OFF"));
        QCOMPARE(f.page.bsSkinComboBox19->itemText(0), QStringLiteral("OFF"));
        QCOMPARE(f.page.bsSkinComboBox23->currentIndex(), 7);
    }

    void emptyChannelOffersOnlyNumberAndReceive()
    {
        Fixture f;
        QVERIFY(f.page.bsSkinSpinEdit20->isEnabled());
        QVERIFY(f.page.bsSkinEdit11->isEnabled());
        for (QWidget *w : f.valueControls())
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        // It shows what a new channel will get.
        QCOMPARE(f.page.bsSkinComboBox19->currentIndex(), 0);
        QCOMPARE(f.page.bsSkinComboBox24->currentText(), f.table.marks().high);
        QCOMPARE(f.page.bsSkinComboBox31->currentText(), f.table.marks().wide);
        QCOMPARE(f.page.bsSkinComboBox32->currentText(), f.table.marks().off);
        QVERIFY(f.page.bsSkinCheckRadioBox2->isChecked() && f.page.bsSkinCheckRadioBox3->isChecked());
        QVERIFY(!f.page.bsSkinCheckRadioBox4->isChecked() && !f.page.bsSkinCheckRadioBox7->isChecked());
    }

    void firstReceiveFrequencyFillsTheChannel()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.enter(f.page.bsSkinEdit11);
        QCOMPARE(f.cursor.CurCol, 1);
        QTest::keyClicks(f.page.bsSkinEdit11, QStringLiteral("438.5"));
        QCOMPARE(f.cell(T::Grid1, T::RxFreqColumn), QStringLiteral("438.5"));   // shown while typed
        QTest::keyClick(f.page.bsSkinEdit11, Qt::Key_Return);

        ChannelTable expected;
        expected.setCell(T::Grid1, T::RxFreqColumn, 3, QStringLiteral("438.50000"));
        expected.fillNewChannelDefaults(3);
        QVERIFY(f.table.cells() == expected.cells());
        QCOMPARE(f.page.bsSkinEdit11->text(), QStringLiteral("438.50000"));
        QCOMPARE(f.page.bsSkinEdit13->text(), QStringLiteral("438.50000"));
        for (QWidget *w : f.valueControls())
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        QCOMPARE(f.page.bsSkinComboBox24->currentText(), f.table.marks().high);
        QVERIFY(f.page.bsSkinCheckRadioBox3->isChecked() && !f.page.bsSkinCheckRadioBox15->isChecked());
    }

    void keyFilters_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("point first") << "bsSkinEdit11" << ".438" << "438";
        QTest::newRow("point after two digits") << "bsSkinEdit11" << "43.8" << "438";
        QTest::newRow("second point") << "bsSkinEdit13" << "438.5.2" << "438.52";
        QTest::newRow("letters and blanks") << "bsSkinEdit11" << "4a3 8-" << "438";
        QTest::newRow("no length limit") << "bsSkinEdit11" << "438.1234567" << "438.1234567";
        QTest::newRow("alias upper case") << "bsSkinEdit8" << "ab-1" << "AB-1";
        QTest::newRow("alias punctuation") << "bsSkinEdit8" << "a!,b;" << "AB";
        QTest::newRow("alias keeps allowed signs") << "bsSkinEdit8" << "#*+./_" << "#*+./_";
        QTest::newRow("alias six characters") << "bsSkinEdit8" << "abcdefg" << "ABCDEF";
    }
    void keyFilters()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.page.bsSkinTabSheet10Show();
        QVERIFY(f.ready());
        auto *e = f.page.findChild<QLineEdit *>(edit);
        f.enter(e);
        e->clear();
        QTest::keyClicks(e, typed);
        QCOMPARE(e->text(), shown);
        const int column = e == f.page.bsSkinEdit11 ? 1 : e == f.page.bsSkinEdit13 ? 3 : 10;
        QCOMPARE(f.cell(T::Grid1, column), shown);
        // Paste never passes the filter.
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e->text(), shown);
        QVERIFY(e->contextMenuPolicy() == Qt::NoContextMenu);
    }

    void tonesAndChoicesWriteTheRow()
    {
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.page.bsSkinTabSheet10Show();
        auto choose = [](QComboBox *box, int index) {
            box->setCurrentIndex(index);
            emit box->activated(index);
        };
        choose(f.page.bsSkinComboBox19, 53);
        QCOMPARE(f.cell(T::Grid1, T::RxToneColumn), QStringLiteral("D023N"));
        QCOMPARE(f.cell(T::Grid2, T::RxCodeAttribute), QStringLiteral("53"));
        choose(f.page.bsSkinComboBox23, 2);
        QCOMPARE(f.cell(T::Grid1, T::TxToneColumn), QStringLiteral("67.0"));
        QCOMPARE(f.cell(T::Grid2, T::TxCodeAttribute), QStringLiteral("2"));
        choose(f.page.bsSkinComboBox24, 0);
        QCOMPARE(f.cell(T::Grid1, T::PowerColumn), f.table.marks().low);
        choose(f.page.bsSkinComboBox31, 0);
        QCOMPARE(f.cell(T::Grid1, T::BandwidthColumn), f.table.marks().narrow);
        choose(f.page.bsSkinComboBox32, 2);
        QCOMPARE(f.cell(T::Grid2, T::VoiceModeAttribute), f.table.marks().scrambler);

        // Loading shows what the row holds.
        f.table.setCell(T::Grid2, T::RxCodeAttribute, 3, QStringLiteral("160"));
        f.table.setCell(T::Grid1, T::PowerColumn, 3, f.table.marks().high);
        f.page.bsSkinTabSheet10Show();
        QCOMPARE(f.page.bsSkinComboBox19->currentText(), QStringLiteral("D023I"));
        QCOMPARE(f.page.bsSkinComboBox24->currentIndex(), 1);
        QCOMPARE(f.page.bsSkinComboBox32->currentIndex(), 2);

        // Not the active page: choices write nothing.
        f.page.setPageActive(false);
        choose(f.page.bsSkinComboBox24, 0);
        QCOMPARE(f.cell(T::Grid1, T::PowerColumn), f.table.marks().high);
    }

    void checkBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("column");
        QTest::newRow("busy lockout") << "bsSkinCheckRadioBox7" << int(T::Grid2) << int(T::BusyLockAttribute);
        QTest::newRow("scan add") << "bsSkinCheckRadioBox2" << int(T::Grid1) << int(T::ScanColumn);
        QTest::newRow("tail elimination") << "bsSkinCheckRadioBox3" << int(T::Grid2) << int(T::TailAttribute);
        QTest::newRow("DTMF") << "bsSkinCheckRadioBox5" << int(T::Grid1) << int(T::DtmfColumn);
        QTest::newRow("show alias") << "bsSkinCheckRadioBox23" << int(T::Grid2) << int(T::ShowAliasAttribute);
        QTest::newRow("PTT ID") << "bsSkinCheckRadioBox15" << int(T::Grid1) << int(T::PttIdColumn);
        QTest::newRow("VOX") << "bsSkinCheckRadioBox4" << int(T::Grid2) << int(T::VoxAttribute);
    }
    void checkBoxes()
    {
        QFETCH(QString, box);
        QFETCH(int, table);
        QFETCH(int, column);
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.page.bsSkinTabSheet10Show();
        auto *b = f.page.findChild<QCheckBox *>(box);
        const Marks &m = f.table.marks();
        const bool wasOn = f.cell(T::Table(table), column) == m.on;
        QCOMPARE(b->isChecked(), wasOn);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(f.cell(T::Table(table), column), wasOn ? m.off : m.on);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(f.cell(T::Table(table), column), wasOn ? m.on : m.off);
    }

    void singleHeadDisablesVox()
    {
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.page.bsSkinTabSheet10Show();
        QVERIFY(f.page.bsSkinCheckRadioBox4->isEnabled());
        f.page.setSingleHead(true);
        QVERIFY(!f.page.bsSkinCheckRadioBox4->isEnabled());
        f.page.bsSkinTabSheet10Show();
        QVERIFY(!f.page.bsSkinCheckRadioBox4->isEnabled());
        QVERIFY(f.page.bsSkinCheckRadioBox7->isEnabled());
        f.page.setSingleHead(false);
        QVERIFY(f.page.bsSkinCheckRadioBox4->isEnabled());
    }

    void emptyingTheReceiveEditEmptiesTheChannel()
    {
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.table.setCell(T::Grid1, T::AliasColumn, 3, QStringLiteral("BASE"));
        f.page.bsSkinTabSheet10Show();
        QVERIFY(f.ready());
        f.enter(f.page.bsSkinEdit11);
        f.page.bsSkinEdit11->selectAll();
        QTest::keyClick(f.page.bsSkinEdit11, Qt::Key_Backspace);
        f.leave();
        QVERIFY(f.table.cells() == ChannelTable().cells());
        QVERIFY(!f.page.bsSkinEdit13->isEnabled());
        QVERIFY(f.page.bsSkinEdit13->text().isEmpty() && f.page.bsSkinEdit8->text().isEmpty());
    }

    void transmitEditCommitsOnLeaving()
    {
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.page.bsSkinTabSheet10Show();
        QVERIFY(f.ready());
        f.enter(f.page.bsSkinEdit13);
        QCOMPARE(f.cursor.CurCol, 3);
        f.page.bsSkinEdit13->clear();
        QTest::keyClicks(f.page.bsSkinEdit13, QStringLiteral("445.0124"));
        f.leave();
        QCOMPARE(f.cell(T::Grid1, T::TxFreqColumn), QStringLiteral("445.01250"));
        QCOMPARE(f.page.bsSkinEdit13->text(), QStringLiteral("445.01250"));
        QCOMPARE(f.cell(T::Grid1, T::RxFreqColumn), QStringLiteral("440.00000"));
    }

    void changingTheNumberFinishesTheRowLeft()
    {
        Fixture f(5);
        installConversionNotice(&f.table, &f.page);
        f.putChannel(5, QStringLiteral("438.50000"));
        f.table.setCell(T::Grid1, T::RxFreqColumn, 5, QStringLiteral("438.5"));   // typed, not committed
        f.putChannel(6, QStringLiteral("439.00000"));
        f.page.bsSkinSpinEdit20->setValue(6);
        QCOMPARE(f.table.cell(T::Grid1, T::RxFreqColumn, 5), QStringLiteral("438.50000"));
        QCOMPARE(f.cursor.CurRow, 6);
        QCOMPARE(f.page.bsSkinEdit11->text(), QStringLiteral("439.00000"));

        // A row left with an empty transmit frequency stays current, with the notice.
        f.table.setCell(T::Grid1, T::TxFreqColumn, 6, QString());
        QString notice;
        answerNotice(&notice);
        f.page.bsSkinSpinEdit20->setValue(7);
        QCOMPARE(notice, QStringLiteral("'' is not a valid floating point value"));
        QCOMPARE(f.cursor.CurRow, 6);
        QCOMPARE(f.page.bsSkinSpinEdit20->value(), 6);

        // Not the active page: the number only selects the row.
        f.page.setPageActive(false);
        f.page.setChannelNumber(9);
        QCOMPARE(f.cursor.CurRow, 9);
    }

    void unreadableToneIndexStopsTheLoad()
    {
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.table.setCell(T::Grid2, T::TxCodeAttribute, 3, QStringLiteral("x1"));
        f.table.setCell(T::Grid1, T::PowerColumn, 3, f.table.marks().low);
        QString notice;
        answerNotice(&notice);
        QVERIFY(!f.page.bsSkinTabSheet10Show());
        QCOMPARE(notice, QStringLiteral("'x1' is not a valid integer value"));
        QCOMPARE(f.page.bsSkinComboBox24->currentIndex(), 1);   // the rest was not loaded
        QCOMPARE(f.cell(T::Grid2, T::TxCodeAttribute), QStringLiteral("x1"));
    }

    void mainWindowWiring()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("myini.ini"));
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[open]\ncommode=12\n");
        }
        Tform1 form(PreferencesPaths::single(ini));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ChannelTable *t = form.channelTable();
        form.document()->addOrSelectRange(BandLists::List1Rx, QStringLiteral("400-470MHz"));
        t->setCell(T::Grid1, T::RxFreqColumn, 12, QStringLiteral("440.00000"));
        t->fillNewChannelDefaults(12);

        // Double click on ">>" of row 12 opens the page on channel 12.
        ChannelGrid *grid = control<ChannelGrid>(form, "StringAlignGrid1");
        const QPoint more = grid->cellRect(T::MoreColumn, 12).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, more);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, more);
        QCOMPARE(control<QTabWidget>(form, "pageControl")->currentIndex(), int(Tform1::SingleChannelPage));
        SingleChannelEditor *page = control<SingleChannelEditor>(form, "bsSkinTabSheet10");
        QCOMPARE(page->bsSkinSpinEdit20->value(), 12);
        QCOMPARE(page->bsSkinEdit11->text(), QStringLiteral("440.00000"));
        // Single-head cable: no VOX on any channel.
        QVERIFY(page->singleHead());
        QVERIFY(!page->bsSkinCheckRadioBox4->isEnabled());
        QVERIFY(page->bsSkinCheckRadioBox7->isEnabled());
        form.N13Click();
        QVERIFY(page->bsSkinCheckRadioBox4->isEnabled());

        // Text typed on the page is committed when the user turns to another page.
        QVERIFY(QTest::qWaitForWindowActive(&form));
        page->setChannelNumber(20);
        page->bsSkinEdit11->setFocus(Qt::MouseFocusReason);
        QCOMPARE(grid->currentRow(), 20);   // the grid selection follows the page's editor
        QCOMPARE(control<ChannelEditor>(form, "channelEditor")->cursor().CurCol, 1);
        QTest::keyClicks(page->bsSkinEdit11, QStringLiteral("439.1"));
        form.showPage(Tform1::ChannelPage);
        QCOMPARE(t->cell(T::Grid1, T::RxFreqColumn, 20), QStringLiteral("439.10000"));
        QCOMPARE(t->cell(T::Grid1, T::TxFreqColumn, 20), QStringLiteral("439.10000"));

        // The list buttons sit under the grid; auto add moves the selection and the channel
        // number along.
        for (const char *name : {"bsSkinButton6", "bsSkinButton3", "bsSkinButton4", "bsSkinButton5"})
            QVERIFY2(control<QWidget>(form, "channelButtonRow")->findChild<QWidget *>(QLatin1String(name)), name);
        auto *autoAdd = control<QWidget>(form, "channelButtonRow")->findChild<QWidget *>(QStringLiteral("bsSkinButton6"));
        QVERIFY(form.settingsStore()->setValue(QStringLiteral("bsSkinComboBox8"), 1));   // 6.25 kHz
        QTest::mousePress(autoAdd, Qt::LeftButton);
        QTest::mouseRelease(autoAdd, Qt::LeftButton);
        QCOMPARE(t->cell(T::Grid1, T::RxFreqColumn, 21), QStringLiteral("439.10625"));
        QCOMPARE(grid->currentRow(), 21);
        QCOMPARE(page->bsSkinSpinEdit20->value(), 21);

        // The page's captions and lists follow the language.
        form.setExecutableDir(QStringLiteral(APP_DIR));
        QVERIFY(form.LoadLanguage(QStringLiteral("english")));
        QCOMPARE(page->rxFrequencyLabel->text(), QStringLiteral("RX Freq[MHz]"));
        QCOMPARE(page->bsSkinCheckRadioBox3->text(), QStringLiteral("Tail elimination"));
        QCOMPARE(page->bsSkinComboBox24->itemText(1), QStringLiteral("High"));
        QCOMPARE(autoAdd->property("text").toString(), QStringLiteral("Auto add"));
    }
};

REGISTER_TEST(TestSingleChannel)
#include "tst_singlechannel.moc"
