// Band range lists and the active band: the core helpers and the controls of the main window.
#include "Controls.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "codeplug/CodeplugDocument.h"
#include "settings/BandRanges.h"
#include "shell/ui/Tform1.h"
#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

namespace {
// What the user does with a band drop-down: selects the item of that text, after typing it
// in as a new item when the list lacks it.
void chooseInBox(QComboBox *box, const QString &text)
{
    int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}
} // namespace

class TestBands : public QObject
{
    Q_OBJECT
private slots:
    void addOrSelect_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("selected");
        QTest::newRow("new text appended") << QStringList{"400-470MHz"} << "136-174MHz"
                                           << QStringList{"400-470MHz", "136-174MHz"} << 1;
        QTest::newRow("known text selected") << QStringList{"400-470MHz", "136-174MHz"} << "400-470MHz"
                                             << QStringList{"400-470MHz", "136-174MHz"} << 0;
        QTest::newRow("first of two equal items") << QStringList{"136-174MHz", "400-470MHz", "400-470MHz"}
                                                  << "400-470MHz"
                                                  << QStringList{"136-174MHz", "400-470MHz", "400-470MHz"} << 1;
        QTest::newRow("empty list") << QStringList{} << "FFF-FFFMHz" << QStringList{"FFF-FFFMHz"} << 0;
        QTest::newRow("exact match only") << QStringList{"400-470mhz"} << "400-470MHz"
                                          << QStringList{"400-470mhz", "400-470MHz"} << 1;
    }
    void addOrSelect()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QTEST(addOrSelectRange(items, text), "selected");
        QTEST(items, "after");
    }

    void limits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<QString>("offending");
        QTest::newRow("uhf") << "400-470MHz" << true << 400.0 << 470.0 << "";
        QTest::newRow("vhf") << "136-174MHz" << true << 136.0 << 174.0 << "";
        QTest::newRow("unprogrammed") << "FFF-FFFMHz" << false << 0.0 << 0.0 << "FFF";
        QTest::newRow("bad upper") << "400-4x0MHz" << false << 0.0 << 0.0 << "4x0";
        QTest::newRow("nothing selected") << "" << false << 0.0 << 0.0 << "";
    }
    void limits()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QString offending;
        const auto limits = parseRangeLimits(text, &offending);
        QCOMPARE(limits.has_value(), ok);
        if (ok) {
            QTEST(limits->lower, "lower");
            QTEST(limits->upper, "upper");
        } else {
            QTEST(offending, "offending");
        }
    }

    void keypadBandChangeRule()
    {
        QTemporaryDir dir;
        Tform1 form(PreferencesPaths::single(dir.filePath(QStringLiteral("myini.ini"))));
        QCheckBox *box = form.findChild<QCheckBox *>(QStringLiteral("bsSkinCheckRadioBox14"));
        QComboBox *band = form.findChild<QComboBox *>(QStringLiteral("bsSkinComboBox22"));
        QVERIFY(box && band);
        QCOMPARE(band->currentIndex(), 1);
        QVERIFY(!band->isEnabled());

        box->click();
        QVERIFY(band->isEnabled());
        band->setCurrentIndex(0);   // band 2
        box->click();
        QCOMPARE(band->currentIndex(), 1);
        QVERIFY(!band->isEnabled());
        box->click();
        QVERIFY(band->isEnabled());
        QCOMPARE(band->currentIndex(), 1);

        // Set by the program to the state it already has: the rule still runs.
        form.setBandChangeByKeypad(true);
        band->setCurrentIndex(0);
        band->setEnabled(true);
        box->blockSignals(true);
        box->setChecked(false);
        box->blockSignals(false);
        form.setBandChangeByKeypad(false);
        QCOMPARE(band->currentIndex(), 1);
        QVERIFY(!band->isEnabled());
    }

    void activeReceiveRangeAndCaption()
    {
        QTemporaryDir dir;
        Tform1 form(PreferencesPaths::single(dir.filePath(QStringLiteral("myini.ini"))));
        QCOMPARE(form.windowTitle(), QStringLiteral("RD4400[*]"));
        QCOMPARE(form.document()->activeReceiveRange(), QString());   // empty lists: nothing selected

        chooseInBox(control<QComboBox>(form, "bsSkinComboBox20"), QStringLiteral("400-470MHz"));
        chooseInBox(control<QComboBox>(form, "bsSkinComboBox20"), QStringLiteral("136-174MHz"));
        QCOMPARE(form.windowTitle(), QStringLiteral("KVT560    [136-174MHz][*]"));
        chooseInBox(control<QComboBox>(form, "bsSkinComboBox20"), QStringLiteral("400-470MHz"));
        QCOMPARE(control<QComboBox>(form, "bsSkinComboBox20")->count(), 2);
        QCOMPARE(form.windowTitle(), QStringLiteral("KVT560    [400-470MHz][*]"));
        chooseInBox(control<QComboBox>(form, "bsSkinComboBox6"), QStringLiteral("350-390MHz"));

        QCOMPARE(form.document()->activeReceiveRange(), QStringLiteral("400-470MHz"));
        form.setBandChangeByKeypad(true);
        control<QComboBox>(form, "bsSkinComboBox22")->setCurrentIndex(0);
        QCOMPARE(form.document()->activeReceiveRange(), QStringLiteral("350-390MHz"));
        QCOMPARE(form.channelTable()->activeReceiveRange(), QStringLiteral("350-390MHz"));

        // The channel table clamps to the active band's receive range, transmit column too.
        ChannelTable *table = form.channelTable();
        table->setCell(ChannelTable::Grid1, ChannelTable::TxFreqColumn, 5, QStringLiteral("400"));
        QVERIFY(table->sendcell(ChannelTable::TxFreqColumn, 5));
        QCOMPARE(table->cell(ChannelTable::Grid1, ChannelTable::TxFreqColumn, 5), QStringLiteral("390.00000"));
    }
};

REGISTER_TEST(TestBands)
#include "tst_bands.moc"
