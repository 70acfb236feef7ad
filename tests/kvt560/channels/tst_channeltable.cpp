#include "FakeBands.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"

#include <QSignalSpy>
#include <QTest>

using T = ChannelTable;

namespace {

// Columns 1-10 and attributes 1-7 of one row, in that order.
QStringList rowTexts(const ChannelTable &table, int row)
{
    QStringList texts;
    for (int c = 1; c <= 10; ++c)
        texts << table.cell(T::Grid1, c, row);
    for (int c = 1; c <= 7; ++c)
        texts << table.cell(T::Grid2, c, row);
    return texts;
}

QStringList emptyRowTexts()
{
    return QStringList(17, QString());
}

} // namespace

class TestChannelTable : public QObject
{
    Q_OBJECT
private slots:
    void startState()
    {
        ChannelTable table;
        QCOMPARE(table.cell(T::Grid1, 0, 1), QStringLiteral("001"));
        QCOMPARE(table.cell(T::Grid1, 0, 128), QStringLiteral("128"));
        QCOMPARE(table.cell(T::Grid1, 11, 1), QStringLiteral(">>"));
        QCOMPARE(table.cell(T::Grid1, 11, 128), QStringLiteral(">>"));
        QCOMPARE(table.cell(T::Grid1, 11, 0), QStringLiteral("更多..."));
        QStringList headers;
        for (int c = 0; c < T::Grid1Columns; ++c)
            headers << table.headerText(c);
        QCOMPARE(headers, (QStringList{"信道", "接收频率", "QT/DQT解码", "发射频率", "QT/DQT编码", "发射功率",
                                       "宽/窄带", "扫描添加", "DTMF", "PTT ID", "信道别名", "更多..."}));
        QStringList labels;
        for (int c = 0; c < T::Grid2Columns; ++c)
            labels << table.cell(T::Grid2, c, 0);
        QCOMPARE(labels, (QStringList{"信道", "尾音消除", "VOX", "繁忙锁定", "RX Code", "TX Code", "语音模式", "别名"}));
        for (int r = 1; r <= T::ChannelCount; ++r)
            QCOMPARE(rowTexts(table, r), emptyRowTexts());
        // Outside the tables: empty texts, writes ignored.
        table.setCell(T::Grid1, 12, 1, QStringLiteral("x"));
        table.setCell(T::Grid2, 0, 200, QStringLiteral("x"));
        QCOMPARE(table.cell(T::Grid1, 12, 1), QString());
        QCOMPARE(table.cell(T::Grid2, 0, 200), QString());
        QCOMPARE(table.cell(T::Grid1, -1, 0), QString());
    }

    void setCellSignalsOnlyChanges()
    {
        ChannelTable table;
        QSignalSpy spy(&table, &ChannelTable::cellChanged);
        table.setCell(T::Grid2, 4, 9, QStringLiteral("53"));
        table.setCell(T::Grid2, 4, 9, QStringLiteral("53"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<ChannelTable::Table>(), T::Grid2);
        QCOMPARE(spy.at(0).at(1).toInt(), 4);
        QCOMPARE(spy.at(0).at(2).toInt(), 9);
        table.setHeaderText(1, QStringLiteral("RX Freq"));
        QCOMPARE(table.cell(T::Grid1, 1, 0), QStringLiteral("RX Freq"));
    }

    void normalise_data()
    {
        QTest::addColumn<int>("activeBand");
        QTest::addColumn<QString>("band1");
        QTest::addColumn<QString>("band2");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");    // empty: the conversion fails
        QTest::addColumn<QString>("offending");

        const QString uhf = QStringLiteral("400-470MHz");
        const QString vhf = QStringLiteral("136-174MHz");
        auto ok = [&](const char *name, const char *in, const char *out, int column = 1) {
            QTest::newRow(name) << 1 << uhf << vhf << column << QString::fromLatin1(in) << QString::fromLatin1(out) << QString();
        };
        ok("whole", "400", "400.00000");
        ok("one decimal", "400.1", "400.10000");
        ok("up to 5 kHz raster", "400.12345", "400.12500");
        ok("5 kHz before 6.25", "400.0010", "400.00500");
        ok("6.25 before 5 kHz", "400.0060", "400.00625");
        ok("on 6.25 raster", "438.00625", "438.00625");
        ok("above band", "4000", "470.00000");
        ok("below band", "39", "400.00000");
        ok("just above band", "470.00001", "470.00000");
        ok("trailing point", "438.", "438.00000");
        ok("transmit column", "438.5", "438.50000", 3);
        // Read digit by digit: a binary double would make these 400.06250 and 400.00000.
        ok("exact 100 Hz", "400.0626", "400.06500");
        ok("exact tiny fraction", "400.0001", "400.00500");
        ok("surrounding blanks", " 401.5 ", "401.50000");

        QTest::newRow("band 2 limits") << 0 << uhf << vhf << 1 << "400" << "174.00000" << QString();
        QTest::newRow("band 2 transmit") << 0 << uhf << vhf << 3 << "100" << "136.00000" << QString();
        QTest::newRow("band 2 inside") << 0 << uhf << vhf << 3 << "145.0125" << "145.01250" << QString();
        QTest::newRow("550 MHz: truncation only") << 1 << "500-600MHz" << vhf << 1 << "555.55555" << "555.55550" << QString();
        QTest::newRow("550 MHz: exact") << 1 << "500-600MHz" << vhf << 1 << "550.0070" << "550.00700" << QString();
        QTest::newRow("just below 550") << 1 << "500-600MHz" << vhf << 1 << "549.99999" << "550.00000" << QString();
        QTest::newRow("two-digit limit") << 1 << "050-060MHz" << vhf << 1 << "55.5" << "55.500000" << QString();

        auto bad = [&](const char *name, const QString &range, const char *in, const char *offending) {
            QTest::newRow(name) << 1 << range << vhf << 1 << QString::fromUtf8(in) << QString() << QString::fromUtf8(offending);
        };
        bad("letters", uhf, "4a0", "4a0");
        bad("comma separator", uhf, "400,5", "400,5");
        bad("two points", uhf, "400.1.2", "400.1.2");
        bad("point only", uhf, ".", ".");
        bad("empty cell", uhf, "", "");
        bad("no range selected", QString(), "438.5", "");
        bad("unprogrammed range", QStringLiteral("FFF-FFFMHz"), "438.5", "FFF");
        bad("bad upper limit", QStringLiteral("400-4x0MHz"), "438.5", "4x0");
        bad("short range", QStringLiteral("40-47MHz"), "438.5", "40-");
        QTest::newRow("band 2 not selected") << 0 << uhf << QString() << 3 << "438.5" << QString() << QString();
    }
    void normalise()
    {
        QFETCH(int, activeBand);
        QFETCH(QString, band1);
        QFETCH(QString, band2);
        QFETCH(int, column);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(QString, offending);

        FakeBands bands;
        bands.active = activeBand;
        bands.band1 = band1;
        bands.band2 = band2;
        ChannelTable table;
        table.setBandSource(&bands);
        table.setCell(T::Grid1, column, 7, input);
        QSignalSpy failed(&table, &ChannelTable::conversionFailed);

        const bool ok = table.sendcell(column, 7);

        QCOMPARE(ok, !expected.isEmpty());
        if (ok) {
            QCOMPARE(table.cell(T::Grid1, column, 7), expected);
            QCOMPARE(failed.count(), 0);
        } else {
            QCOMPARE(table.cell(T::Grid1, column, 7), input);
            QCOMPARE(failed.count(), 1);
            QCOMPARE(failed.at(0).at(0).toString(), offending);
        }
    }

    void commitFirstReceiveFrequency()
    {
        FakeBands bands;
        ChannelTable table;
        table.setBandSource(&bands);
        table.setMarks(Marks::forLanguage(2));
        // Left-overs of a Delete: columns emptied, attributes still set.
        table.setCell(T::Grid2, 2, 5, QStringLiteral("ON"));
        table.setCell(T::Grid2, 5, 5, QStringLiteral("53"));
        table.setCell(T::Grid1, 1, 5, QStringLiteral("438.5"));

        QVERIFY(table.sendallcell(5, 1));

        QCOMPARE(rowTexts(table, 5), (QStringList{"438.50000", "OFF", "438.50000", "OFF", "High", "Wide", "ON", "OFF",
                                                  "OFF", "", "ON", "OFF", "OFF", "0", "0", "OFF", "OFF"}));
        QCOMPARE(rowTexts(table, 4), emptyRowTexts());
        QCOMPARE(rowTexts(table, 6), emptyRowTexts());
        QCOMPARE(table.cell(T::Grid1, 0, 5), QStringLiteral("005"));
        QCOMPARE(table.cell(T::Grid1, 11, 5), QStringLiteral(">>"));
    }

    // Commit of a channel in use: only the current frequency column is normalised.
    void commitUsedChannel_data()
    {
        QTest::addColumn<int>("curCol");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("expectedRx");
        QTest::addColumn<QString>("expectedTx");
        QTest::newRow("receive column") << 1 << "401" << "438.50000" << "401.00000" << "438.50000";
        QTest::newRow("transmit column") << 3 << "438.50000" << "4" << "438.50000" << "400.00000";
        QTest::newRow("empty transmit text stays") << 3 << "438.50000" << "" << "438.50000" << "";
        QTest::newRow("other column") << 5 << "401" << "4" << "401" << "4";
    }
    void commitUsedChannel()
    {
        QFETCH(int, curCol);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(QString, expectedRx);
        QFETCH(QString, expectedTx);
        FakeBands bands;
        ChannelTable table;
        table.setBandSource(&bands);
        table.setCell(T::Grid1, 1, 9, QStringLiteral("438.50000"));
        table.fillNewChannelDefaults(9);
        const QStringList before = rowTexts(table, 9);
        table.setCell(T::Grid1, 1, 9, rx);
        table.setCell(T::Grid1, 3, 9, tx);

        QVERIFY(table.sendallcell(9, curCol));

        QStringList expected = before;
        expected[0] = expectedRx;
        expected[2] = expectedTx;
        QCOMPARE(rowTexts(table, 9), expected);
    }

    void commitDeletedReceiveTextEmptiesRow_data()
    {
        QTest::addColumn<int>("curCol");
        QTest::newRow("receive column") << 1;
        QTest::newRow("alias column") << 10;
        QTest::newRow("more column") << 11;
    }
    void commitDeletedReceiveTextEmptiesRow()
    {
        QFETCH(int, curCol);
        FakeBands bands;
        ChannelTable table;
        table.setBandSource(&bands);
        table.setCell(T::Grid1, 1, 128, QStringLiteral("438.50000"));
        table.fillNewChannelDefaults(128);
        table.setCell(T::Grid1, 10, 128, QStringLiteral("AB-1"));
        table.setCell(T::Grid1, 1, 128, QString());

        QVERIFY(table.sendallcell(128, curCol));

        QCOMPARE(rowTexts(table, 128), emptyRowTexts());
        QCOMPARE(table.cell(T::Grid1, 0, 128), QStringLiteral("128"));
        QCOMPARE(table.cell(T::Grid1, 11, 128), QStringLiteral(">>"));
    }

    void failedCommitLeavesRowHalfEntered_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("offending");
        QTest::newRow("no receive range") << QString() << "438.5" << "";
        QTest::newRow("not a number") << "400-470MHz" << "43x" << "43x";
    }
    void failedCommitLeavesRowHalfEntered()
    {
        QFETCH(QString, range);
        QFETCH(QString, typed);
        QFETCH(QString, offending);
        FakeBands bands;
        bands.band1 = range;
        ChannelTable table;
        table.setBandSource(&bands);
        table.setCell(T::Grid1, 1, 3, typed);
        QSignalSpy failed(&table, &ChannelTable::conversionFailed);

        QVERIFY(!table.sendallcell(3, 1));

        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(0).toString(), offending);
        QStringList expected = emptyRowTexts();
        expected[0] = typed;
        QCOMPARE(rowTexts(table, 3), expected);

        // Once the range is there the same row commits as a new channel.
        bands.band1 = QStringLiteral("400-470MHz");
        table.setCell(T::Grid1, 1, 3, QStringLiteral("438.5"));
        QVERIFY(table.sendallcell(3, 1));
        QCOMPARE(table.cell(T::Grid1, 3, 3), QStringLiteral("438.50000"));
        QCOMPARE(table.cell(T::Grid1, 2, 3), QStringLiteral("禁用"));
    }

    void commitOutsideChannelRowsChangesNothing()
    {
        ChannelTable table;
        QVERIFY(table.sendallcell(0, 1));
        QCOMPARE(table.cell(T::Grid1, 1, 0), QStringLiteral("接收频率"));
        QCOMPARE(table.cell(T::Grid1, 2, 0), QStringLiteral("QT/DQT解码"));
    }

    void bulkCells()
    {
        FakeBands bands;
        ChannelTable table;
        table.setBandSource(&bands);
        table.setCell(T::Grid1, 1, 1, QStringLiteral("400"));
        QVERIFY(table.sendallcell(1, 1));
        const ChannelCells one = table.cells();
        QCOMPARE(one.column(3, 1), QStringLiteral("400.00000"));
        QCOMPARE(one.attribute(4, 1), QStringLiteral("0"));

        ChannelCells fresh;
        fresh.setColumn(1, 128, QStringLiteral("145.00000"));
        fresh.setAttribute(7, 128, QStringLiteral("启用"));
        fresh.setColumn(11, 5, QStringLiteral("ignored"));   // fixed columns are not carried
        QSignalSpy reset(&table, &ChannelTable::cellsReset);
        QSignalSpy changed(&table, &ChannelTable::cellChanged);
        table.setCells(fresh);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(table.cell(T::Grid1, 1, 1), QString());
        QCOMPARE(table.cell(T::Grid2, 1, 1), QString());
        QCOMPARE(table.cell(T::Grid1, 1, 128), QStringLiteral("145.00000"));
        QCOMPARE(table.cell(T::Grid2, 7, 128), QStringLiteral("启用"));
        QCOMPARE(table.cell(T::Grid1, 11, 5), QStringLiteral(">>"));
        QCOMPARE(table.cell(T::Grid1, 0, 5), QStringLiteral("005"));
        QVERIFY(table.cells() == fresh);

        table.setCells(one);
        QVERIFY(table.cells() == one);
        table.emptyAll();
        QCOMPARE(reset.count(), 3);
        for (int r = 1; r <= T::ChannelCount; ++r)
            QCOMPARE(rowTexts(table, r), emptyRowTexts());
        QCOMPARE(table.headerText(1), QStringLiteral("接收频率"));
    }

    void rewriteMarks_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("after");
        auto row = [](const char *name, T::Table table, int column, const char *before, int language, const char *after) {
            QTest::newRow(name) << int(table) << column << QString::fromUtf8(before) << language << QString::fromUtf8(after);
        };
        row("power high", T::Grid1, 5, "高功率", 2, "High");
        row("power low to traditional", T::Grid1, 5, "Low", 3, "低功率");
        row("bandwidth", T::Grid1, 6, "宽带", 2, "Wide");
        row("bandwidth traditional", T::Grid1, 6, "Narrow", 3, "窄帶");
        row("tone off", T::Grid1, 2, "禁用", 2, "OFF");
        row("tone code", T::Grid1, 4, "D023N", 2, "D023N");
        row("ctcss tone", T::Grid1, 2, "67.0", 2, "67.0");
        row("scan on", T::Grid1, 7, "启用", 3, "啟用");
        row("ptt id traditional to simplified", T::Grid1, 9, "啟用", 1, "启用");
        row("frequency", T::Grid1, 1, "400.12500", 2, "400.12500");
        row("alias that reads like a mark", T::Grid1, 10, "ON", 1, "ON");
        row("mark of another column", T::Grid1, 5, "ON", 1, "ON");
        row("tone column takes only off", T::Grid1, 4, "启用", 2, "启用");
        row("lower case is no mark", T::Grid1, 8, "on", 1, "on");
        row("tail elimination", T::Grid2, 1, "ON", 1, "启用");
        row("vox", T::Grid2, 2, "禁用", 2, "OFF");
        row("voice mode compander", T::Grid2, 6, "压扩", 2, "Comp");
        row("voice mode scrambler", T::Grid2, 6, "scrambler", 3, "擾頻");
        row("tone index", T::Grid2, 4, "0", 2, "0");
        row("show alias", T::Grid2, 7, "OFF", 3, "禁用");
    }
    void rewriteMarks()
    {
        QFETCH(int, table);
        QFETCH(int, column);
        QFETCH(QString, before);
        QFETCH(int, language);
        QFETCH(QString, after);
        ChannelTable channels;
        for (int r : {1, 128})
            channels.setCell(T::Table(table), column, r, before);
        channels.setMarks(Marks::forLanguage(language));
        channels.rewriteMarks();
        for (int r : {1, 128})
            QCOMPARE(channels.cell(T::Table(table), column, r), after);
    }

    void rewriteKeepsCellsOfMissingMarks()
    {
        ChannelTable table;
        table.setCell(T::Grid1, 7, 3, QStringLiteral("启用"));
        table.setCell(T::Grid1, 5, 3, QStringLiteral("高功率"));
        Marks incomplete = Marks::forLanguage(2);
        incomplete.on.clear();
        table.setMarks(incomplete);
        QSignalSpy reset(&table, &ChannelTable::cellsReset);
        table.rewriteMarks();
        QCOMPARE(table.cell(T::Grid1, 7, 3), QStringLiteral("启用"));
        QCOMPARE(table.cell(T::Grid1, 5, 3), QStringLiteral("High"));
        QCOMPARE(reset.count(), 1);
        table.rewriteMarks();
        QCOMPARE(reset.count(), 1);   // nothing left to change: no signal
    }

    void emptyRowKeepsOtherRows()
    {
        ChannelTable table;
        for (int r : {4, 5, 6}) {
            table.setCell(T::Grid1, 1, r, QStringLiteral("400.00000"));
            table.fillNewChannelDefaults(r);
        }
        const QStringList used = rowTexts(table, 4);
        table.emptyRow(5);
        QCOMPARE(rowTexts(table, 5), emptyRowTexts());
        QCOMPARE(rowTexts(table, 4), used);
        QCOMPARE(rowTexts(table, 6), used);
        table.emptyRow(0);   // the header row is never emptied
        QCOMPARE(table.headerText(5), QStringLiteral("发射功率"));
    }
};

REGISTER_TEST(TestChannelTable)
#include "tst_channeltable.moc"
