#include "TestRegistry.h"

#include "base/Globals.h"
#include "model/RadioImage.h"
#include "model/GridRules.h"

#include <QTest>

namespace {
// The image the codec works on here.
ImageBytes testImage;
} // namespace

using namespace GridRules;

class TestGridRules : public QObject
{
    Q_OBJECT

private slots:
    void init() { LanguageIndex = LanguageEnglish; }
    void cleanupTestCase() { LanguageIndex = LanguageEnglish; }

    // Clamp to the band, then move down onto the nearer raster below (5 kHz wins a tie).
    void snapFrequency_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("expected");
        const QString vhf = QStringLiteral("136-174MHz");
        const QString uhf = QStringLiteral("400-470MHz");
        QTest::newRow("5 kHz below") << "145.12345" << vhf << "145.12000";
        QTest::newRow("6.25 kHz multiple") << "145.00625" << vhf << "145.00625";
        QTest::newRow("tie goes to 5 kHz") << "145.0031" << vhf << "145.00000";
        QTest::newRow("6.25 kHz nearer") << "145.0190" << vhf << "145.01875";
        QTest::newRow("above band") << "500" << vhf << "174.00000";
        QTest::newRow("below band") << "100" << vhf << "136.00000";
        QTest::newRow("exact decimal") << "435.125" << uhf << "435.12500";
        QTest::newRow("beyond 32 bits") << "99999999999" << uhf << "470.00000";
        QTest::newRow("zero") << "0" << vhf << "";
        QTest::newRow("empty") << "" << vhf << "";
        QTest::newRow("letters") << "abc" << vhf << "";
        QTest::newRow("negative") << "-145" << vhf << "";
    }
    void snapFrequency()
    {
        QFETCH(QString, typed);
        QFETCH(QString, band);
        QFETCH(QString, expected);
        std::uint32_t low = 0, high = 0;
        QVERIFY(parseBandText(band, &low, &high));
        QCOMPARE(snapFrequencyText(typed, low, high), expected);
    }

    void commitCell_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const QStringList empty(9, QString());
        const QStringList channel = {"145.00000", "146.00000", "67.0", "Off", "QDT", "Low", "Del", "Narrow", "ABC"};
        QTest::newRow("start an empty channel")
            << empty << 1 << "145.12345"
            << QStringList{"145.12000", "145.12000", "Off", "Off", "Off", "High", "Add", "Wide", ""};
        QTest::newRow("change Rx only")
            << channel << 1 << "150"
            << QStringList{"150.00000", "146.00000", "67.0", "Off", "QDT", "Low", "Del", "Narrow", "ABC"};
        QTest::newRow("no Rx deletes the channel") << channel << 1 << "x" << empty;
        QTest::newRow("Tx snapped") << channel << 2 << "999" << QStringList{"145.00000", "174.00000", "67.0", "Off", "QDT", "Low", "Del", "Narrow", "ABC"};
        QTest::newRow("Tx emptied") << channel << 2 << "0" << QStringList{"145.00000", "", "67.0", "Off", "QDT", "Low", "Del", "Narrow", "ABC"};
        QTest::newRow("Tx of empty channel") << empty << 2 << "145" << empty;
        QTest::newRow("tone of empty channel") << empty << 3 << "67.0" << empty;
        QTest::newRow("list word of empty channel") << empty << 6 << "High" << empty;
        QTest::newRow("tone") << channel << 4 << "D023N" << QStringList{"145.00000", "146.00000", "67.0", "D023N", "QDT", "Low", "Del", "Narrow", "ABC"};
        QTest::newRow("name cut to six") << channel << 9 << "ABCDEFG" << QStringList{"145.00000", "146.00000", "67.0", "Off", "QDT", "Low", "Del", "Narrow", "ABCDEF"};
    }
    void commitCell()
    {
        QFETCH(QStringList, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        ChannelTexts before;
        for (int c = 1; c <= 9; ++c)
            before.setText(c, row.at(c - 1));
        const ChannelTexts after = GridRules::commitCell(before, column, text, 13600000, 17400000);
        QStringList got;
        for (int c = 1; c <= 9; ++c)
            got << after.text(c);
        QCOMPARE(got, expected);
    }

    void bands_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("band");
        QTest::addColumn<uint>("low");
        QTest::addColumn<uint>("high");
        QTest::newRow("U01") << "KVT270U01" << "400-470MHz" << 40000000u << 47000000u;
        QTest::newRow("V01") << "KVT270V01" << "136-174MHz" << 13600000u << 17400000u;
        QTest::newRow("U04") << "KVT270U04" << "330-400MHz" << 33000000u << 40000000u;
        QTest::newRow("U09") << "KVT270U09" << "400-470MHz" << 40000000u << 47000000u;
        QTest::newRow("U10") << "KVT270U10" << "450-520MHz" << 45000000u << 52000000u;
        QTest::newRow("unknown") << "KVT270X" << "400-470MHz" << 40000000u << 47000000u;
    }
    void bands()
    {
        QFETCH(QString, model);
        QFETCH(QString, band);
        QFETCH(uint, low);
        QFETCH(uint, high);
        QCOMPARE(bandTextOfModel(model), band);
        std::uint32_t bandLow = 0, bandHigh = 0;
        QVERIFY(parseBandText(band, &bandLow, &bandHigh));
        QCOMPARE(uint(bandLow), low);
        QCOMPARE(uint(bandHigh), high);
    }

    // A band text without two increasing limits keeps the limits in force.
    void badBandKeepsLimits()
    {
        std::uint32_t low = 1, high = 2;
        for (const char *bad : {"", "MHz", "470-400MHz", "400MHz", "100-5000MHz"})
            QVERIFY2(!parseBandText(QString::fromLatin1(bad), &low, &high), bad);
        QCOMPARE(low, 1u);
        QCOMPARE(high, 2u);
    }

    void modelByte()
    {
        QCOMPARE(modelIndexFromByte(1), 1);
        QCOMPARE(modelIndexFromByte(4), 4);
        QCOMPARE(modelIndexFromByte(5), 0);
        QCOMPARE(modelIndexFromByte(7), 0);
        QCOMPARE(modelIndexFromByte(0xFF), 0);
    }

    // The list words of every language are understood by the codec as the same values.
    void listWordsStoreAsTheirValues()
    {
        for (int lang = 0; lang < 3; ++lang) {
            const QStringList busy = listEditorWords(ChannelTexts::BusyLock, lang);
            QCOMPARE(busy.size(), 3);
            ChannelTexts t = newChannelTexts(QStringLiteral("145.00000"));
            for (int value = 0; value < 3; ++value) {
                t.busyLock = busy.at(value);
                StoreChannel(testImage, 1, t);
                QCOMPARE(testImage[12] & 0x03, value);
            }
            const QStringList scan = listEditorWords(ChannelTexts::ScanAdd, lang);
            t.scanAdd = scan.at(1);
            StoreChannel(testImage, 1, t);
            QCOMPARE(testImage[12] & 0x10, 0);
        }
        QCOMPARE(listEditorWords(ChannelTexts::BusyLock, 1).first(), QStringLiteral("关闭"));
        QVERIFY(listEditorWords(ChannelTexts::RxTone, 0).isEmpty());
    }
};

REGISTER_TEST(TestGridRules)
#include "tst_gridrules.moc"
