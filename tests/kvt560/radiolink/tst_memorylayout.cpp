// The block codecs of the radio memory: channel records, aliases, settings blocks, band
// limits, password and DTMF code fields.
#include "ChannelRows.h"
#include "TestRegistry.h"
#include "radiolink/MemoryLayout.h"
#include "settings/SettingsRegistry.h"

#include <QTest>

using namespace MemoryLayout;

namespace {

const Marks Zh = Marks::forLanguage(1);

} // namespace

class TestMemoryLayout : public QObject
{
    Q_OBJECT
private slots:
    void channelRecord_data();
    void channelRecord();
    void decodeOnly_data();
    void decodeOnly();
    void otherLanguageMarksAreWritten();
    void storedValuesReadAsNearestValid_data();
    void storedValuesReadAsNearestValid();
    void unwritableFrequencyIsNamed();

    void alias();

    void settingsRoundTrip();
    void settings1Clamped_data();
    void settings1Clamped();
    void settings2Fields();

    void bandLimits_data();
    void bandLimits();
    void password_data();
    void password();
    void dtmfField_data();
    void dtmfField();
    void remoteCodeKeepsEightDigits();

    void firstChannel_data();
    void firstChannel();
};

// Row texts (columns 1-10 | attributes 1-7) that encode to a record and read back unchanged.
void TestMemoryLayout::channelRecord_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QByteArray>("record");

    QTest::newRow("transmit below receive, CTCSS and DCS")
        << QString::fromUtf8("446.00625|100.0|441.00625|D023N|高功率|宽带|启用|禁用|禁用||启用|禁用|禁用|14|53|禁用|禁用")
        << hx("44600604441006040E8202C3FFFFFF72");
    QTest::newRow("same frequencies, low, narrow, flags on, compander, alias shown")
        << QString::fromUtf8("438.00625|禁用|438.00625|D754I|低功率|窄带|禁用|启用|启用|CH-1|禁用|启用|启用|0|265|压扩|启用")
        << hx("4380060443800604FF006BE3FFFF2480");
    QTest::newRow("transmit above receive, scrambler, busy lockout on")
        << QString::fromUtf8("400.00000|63.0|469.99375|禁用|高功率|宽带|禁用|禁用|禁用|A B|启用|启用|启用|1|0|扰频|禁用")
        << hx("400000004699930C0182FF00FFFFEBB1");
}

void TestMemoryLayout::channelRecord()
{
    QFETCH(QString, row);
    QFETCH(QByteArray, record);
    ChannelCells cells;
    setRow(cells, 7, row);
    const QByteArray encoded = encodeChannel(cells, 7, Zh);
    QCOMPARE(encoded.toHex().toUpper(), record.toHex().toUpper());

    ChannelCells back;
    decodeChannel(record, back, 7, Zh);
    back.setColumn(10, 7, cells.column(10, 7));   // the alias lives in its own block
    QCOMPARE(rowText(back, 7), row);
}

// Records read back with the cells the program fills in for what was empty or fixed.
void TestMemoryLayout::decodeOnly_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("readBack");

    // Power, bandwidth, busy lockout, tail, alias display and voice empty: high nibble 0xF,
    // tail 1, alias display 1, voice 0.
    QTest::newRow("empty flag cells, no transmit frequency")
        << QString::fromUtf8("438.50000||||||||||||||||")
        << QString::fromUtf8("438.50000|禁用||禁用|高功率|宽带|启用|启用|启用||启用|启用|禁用|0|0|禁用|禁用");
    QTest::newRow("empty channel") << QString() << QString("||||||||||||||||");
}

void TestMemoryLayout::decodeOnly()
{
    QFETCH(QString, written);
    QFETCH(QString, readBack);
    ChannelCells cells;
    setRow(cells, 1, written);
    const QByteArray record = encodeChannel(cells, 1, Zh);
    QCOMPARE(record.size(), 16);
    if (written.isEmpty())
        QCOMPARE(record, QByteArray(16, char(0xFF)));
    else
        QCOMPARE(quint8(record.at(15)) & 0xF, 0);   // no offset without a transmit frequency
    ChannelCells back;
    decodeChannel(record, back, 1, Zh);
    QCOMPARE(rowText(back, 1), readBack);
}

// A file opened in another language leaves its marks in the cells; they mean the same.
void TestMemoryLayout::otherLanguageMarksAreWritten()
{
    ChannelCells zh, en;
    const QString row = QString::fromUtf8("438.00625|禁用|438.00625|禁用|低功率|窄带|禁用|启用|启用||禁用|启用|启用|0|0|扰频|启用");
    setRow(zh, 1, row);
    setRow(en, 1, "438.00625|OFF|438.00625|OFF|Low|Narrow|OFF|ON|ON||OFF|ON|ON|0|0|scrambler|ON");
    QCOMPARE(encodeChannel(en, 1, Zh), encodeChannel(zh, 1, Zh));
}

// Fields whose bytes hold no valid value: each is read as the nearest valid value and named,
// and the row written back holds that value, never an empty channel.
void TestMemoryLayout::storedValuesReadAsNearestValid_data()
{
    QTest::addColumn<QByteArray>("fields");     // bytes 0-11: receive, transmit, receive tone, transmit tone
    QTest::addColumn<QString>("cells");         // columns 1-4 as read
    QTest::addColumn<QStringList>("named");     // the corrected fields
    QTest::addColumn<QByteArray>("written");    // bytes 0-11 written back

    const QStringList none;
    QTest::newRow("valid") << hx("43512500435125000E8202C3") << "435.12500|100.0|435.12500|D023N" << none
                           << hx("43512500435125000E8202C3");
    QTest::newRow("byte 3 0x0C") << hx("4351250C43512508FF00FF00") << "435.12575|禁用|435.12550|禁用" << none
                                 << hx("4351250C43512508FF00FF00");
    QTest::newRow("byte 3 0x07 rounds to 500 Hz")
        << hx("14433707FFFFFFFFFF00FF00") << "144.33750|禁用||禁用" << QStringList{"receive frequency"}
        << hx("14433708FFFFFFFFFF00FF00");
    QTest::newRow("byte 3 0x50 carries into the kHz digits")
        << hx("14525050FFFFFFFFFF00FF00") << "145.25500|禁用||禁用" << QStringList{"receive frequency"}
        << hx("14525500FFFFFFFFFF00FF00");
    QTest::newRow("byte 3 0x02, a tie, goes down")
        << hx("40012502FFFFFFFFFF00FF00") << "400.12500|禁用||禁用" << QStringList{"receive frequency"}
        << hx("40012500FFFFFFFFFF00FF00");
    QTest::newRow("byte 3 0xFF carries past a MHz")
        << hx("145999FFFFFFFFFFFF00FF00") << "146.01500|禁用||禁用" << QStringList{"receive frequency"}
        << hx("14601500FFFFFFFFFF00FF00");
    QTest::newRow("carry past the top stops there")
        << hx("9999990FFFFFFFFFFF00FF00") << "999.99975|禁用||禁用" << QStringList{"receive frequency"}
        << hx("9999990CFFFFFFFFFF00FF00");
    QTest::newRow("nibbles A-F read as 9")
        << hx("4A5B2C004D3E1F04FF00FF00") << "495.92900|禁用|493.91925|禁用"
        << QStringList{"receive frequency", "transmit frequency"} << hx("4959290049391904FF00FF00");
    QTest::newRow("transmit 0xFF in byte 0 only")
        << hx("43512500FF123400FF00FF00") << "435.12500|禁用|991.23400|禁用" << QStringList{"transmit frequency"}
        << hx("4351250099123400FF00FF00");
    QTest::newRow("a tone outside the list is off")
        << hx("43512500435125003482" "6BE3") << "435.12500|禁用|435.12500|D754I" << QStringList{"receive tone"}
        << hx("4351250043512500FF006BE3");
    QTest::newRow("tone kinds outside the list")
        << hx("43512500435125000E5200C4") << "435.12500|禁用|435.12500|禁用"
        << QStringList{"receive tone", "transmit tone"} << hx("4351250043512500FF00FF00");
}

void TestMemoryLayout::storedValuesReadAsNearestValid()
{
    QFETCH(QByteArray, fields);
    QFETCH(QString, cells);
    QFETCH(QStringList, named);
    QFETCH(QByteArray, written);
    const QByteArray record = fields + hx("FFFFF0F0");
    ChannelCells row;
    QList<Correction> corrections;
    decodeChannel(record, row, 9, Zh, ToneList::instance(), &corrections);
    QCOMPARE(rowText(row, 9).section(QLatin1Char('|'), 0, 3), cells);
    QStringList fieldsNamed;
    for (const Correction &c : corrections) {
        QCOMPARE(c.channel, 9);
        QVERIFY2(c.text().startsWith(QStringLiteral("Channel 9: %1 stored as ").arg(c.field)), qPrintable(c.text()));
        fieldsNamed << c.field;
    }
    QCOMPARE(fieldsNamed, named);
    QVERIFY(unwritableFields(row).isEmpty());
    QCOMPARE(encodeChannel(row, 9, Zh).left(12).toHex().toUpper(), written.toHex().toUpper());
}

// A frequency text the radio's memory has no form for refuses the write: encoded it would
// be 0xFF bytes, and the channel would disappear from the radio.
void TestMemoryLayout::unwritableFrequencyIsNamed()
{
    ChannelCells cells;
    setRow(cells, 3, QStringLiteral("145.5x|||||||||||||||"));
    setRow(cells, 8, QStringLiteral("145.50000||1450.000|||||||||||||"));
    setRow(cells, 9, QStringLiteral("|||||||||||||||"));   // empty: written as empty
    setRow(cells, 10, QStringLiteral("145.5||145.50000|||||||||||||"));   // short forms are fine
    QCOMPARE(unwritableFields(cells),
             (QStringList{QStringLiteral("Channel 3: the receive frequency \"145.5x\" is no frequency the radio can hold"),
                          QStringLiteral("Channel 8: the transmit frequency \"1450.000\" is no frequency the radio can hold")}));
}

void TestMemoryLayout::alias()
{
    QCOMPARE(encodeAlias("CH-1"), hx("12170A010F0FFFFF"));
    QCOMPARE(decodeAlias(hx("12170A010F0FFFFF")), QString("CH-1"));
    QCOMPARE(decodeAlias(hx("100F110F0F0FFFFF")), QString("A B"));
    QCOMPARE(decodeAlias(hx("10FFFFFFFFFF0000")), QString("A"));
    QCOMPARE(decodeAlias(QByteArray(8, char(0xFF))), QString());
}

// Every setting the two blocks carry survives encode and decode with values other than
// the Start values.
void TestMemoryLayout::settingsRoundTrip()
{
    SettingsValues s;
    const QList<QPair<const char *, int>> numbers = {
        {"bsSkinComboBox9", 7}, {"bsSkinComboBox4", 0}, {"bsSkinComboBox7", 0}, {"bsSkinCheckRadioBox10", 0},
        {"bsSkinCheckRadioBox8", 0}, {"bsSkinComboBox8", 1}, {"bsSkinComboBox10", 6}, {"bsSkinComboBox1", 15},
        {"bsSkinComboBox22", 0}, {"bsSkinComboBox12", 0}, {"bsSkinCheckRadioBox11", 1}, {"bsSkinCheckRadioBox9", 0},
        {"bsSkinCheckRadioBox12", 0}, {"bsSkinCheckRadioBox13", 0}, {"bsSkinCheckRadioBox14", 1},
        {"bsSkinComboBox15", 7}, {"bsSkinComboBox17", 3}, {"bsSkinComboBox18", 3}, {"bsSkinCheckRadioBox19", 0},
        {"bsSkinCheckRadioBox1", 0}, {"bsSkinCheckRadioBox17", 0}, {"bsSkinCheckRadioBox6", 0},
        {"bsSkinCheckRadioBox18", 0}, {"bsSkinComboBox27", 2}, {"bsSkinCheckRadioBox22", 0},
        {"bsSkinCheckRadioBox20", 0}, {"bsSkinComboBox46", 5},
        {"bsSkinComboBox16", 7}, {"bsSkinComboBox13", 6}, {"bsSkinComboBox2", 3}, {"bsSkinComboBox3", 1},
        {"bsSkinComboBox5", 2}, {"bsSkinSpinEdit17", 200}, {"bsSkinSpinEdit9", 50}, {"bsSkinSpinEdit10", 500},
        {"bsSkinSpinEdit13", 1000}, {"bsSkinSpinEdit14", 350}, {"bsSkinCheckRadioBox16", 0},
        {"bsSkinComboBox14", 0}, {"bsSkinSpinEdit21", 120},
    };
    for (const auto &[name, value] : numbers)
        QVERIFY2(s.set(QLatin1String(name), value), name);

    const QByteArray block1 = encodeSettings1(s, 0x05);
    const QByteArray block2 = encodeSettings2(s);
    QCOMPARE(block1.size(), 16);
    QCOMPARE(block2.size(), 11);
    QCOMPARE(quint8(block1.at(0)), quint8(0x05));
    // Fixed bytes and bits around the fields.
    QCOMPARE(block1.mid(1, 2), hx("8002"));
    QCOMPARE(quint8(block1.at(4)) & 0xB1, 0xB1);
    QCOMPARE(quint8(block1.at(10)), quint8(0xFF));
    QCOMPARE(quint8(block2.at(0)), quint8(0xFF));

    SettingsValues back;
    decodeSettings1(block1, back);
    decodeSettings2(block2 + QByteArray(5, char(0xFF)), back);
    for (const auto &[name, value] : numbers)
        QCOMPARE(back.number(QLatin1String(name)), value);

    // The Start values give the bytes a factory-fresh program writes.
    const SettingsValues start;
    QCOMPARE(encodeSettings1(start, 0xFF).toHex().toUpper(), QByteArray("FF800202FF040300F9FFFF0302EEF0F0"));
    QCOMPARE(encodeSettings2(start).toHex().toUpper(), QByteArray("FFF142050A0A002800F114"));
}

// Settings block 1 holding values no control can show.
void TestMemoryLayout::settings1Clamped_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expected");

    QTest::newRow("squelch nibble A") << 3 << 0x0A << "bsSkinComboBox9" << 9;
    QTest::newRow("step nibble F") << 5 << 0x0F << "bsSkinComboBox8" << 4;
    QTest::newRow("step 5") << 5 << 0x05 << "bsSkinComboBox8" << 4;
    QTest::newRow("time-out nibble C") << 6 << 0x0C << "bsSkinComboBox10" << 7;
    QTest::newRow("power-off high nibble ignored") << 7 << 0xA3 << "bsSkinComboBox1" << 3;
    QTest::newRow("VOX sensitivity 0") << 11 << 0x00 << "bsSkinComboBox15" << 0;
    QTest::newRow("VOX sensitivity 9") << 11 << 0x09 << "bsSkinComboBox15" << 2;
    QTest::newRow("VOX delay 4") << 12 << 0x04 << "bsSkinComboBox17" << 3;
    QTest::newRow("VOX delay 5") << 12 << 0x05 << "bsSkinComboBox17" << 2;
    QTest::newRow("squelch mode 7") << 13 << 0x07 << "bsSkinComboBox18" << 3;
    QTest::newRow("PTT ID type 3") << 14 << 0x03 << "bsSkinComboBox27" << 2;
    QTest::newRow("PTT ID type 6") << 14 << 0x06 << "bsSkinComboBox27" << 2;
    QTest::newRow("group digit 7") << 15 << 0xF7 << "bsSkinComboBox46" << 5;
    QTest::newRow("group digit 8 leaves it") << 15 << 0xF8 << "bsSkinComboBox46" << 3;
}

void TestMemoryLayout::settings1Clamped()
{
    QFETCH(int, byte);
    QFETCH(int, value);
    QFETCH(QString, name);
    QFETCH(int, expected);
    SettingsValues s;
    QVERIFY(s.set("bsSkinComboBox46", 3));
    QByteArray block = encodeSettings1(s, 0xFF);
    block[byte] = char(value);
    decodeSettings1(block, s);
    QCOMPARE(s.number(name), expected);
}

void TestMemoryLayout::settings2Fields()
{
    // Side keys modulo 8, times in units of 10 ms brought into their ranges, remote control
    // active only for a high nibble of 8 or more, reset time halved.
    SettingsValues s;
    decodeSettings2(hx("FFFE9DC3FF0102FF00E50AFFFFFFFFFF"), s);
    QCOMPARE(s.number("bsSkinComboBox16"), 6);
    QCOMPARE(s.number("bsSkinComboBox13"), 1);
    QCOMPARE(s.number("bsSkinComboBox2"), 5);
    QCOMPARE(s.number("bsSkinComboBox3"), 4);
    QCOMPARE(s.number("bsSkinComboBox5"), 3);
    QCOMPARE(s.number("bsSkinSpinEdit17"), 200);   // 2550 ms
    QCOMPARE(s.number("bsSkinSpinEdit9"), 50);     // 10 ms
    QCOMPARE(s.number("bsSkinSpinEdit10"), 20);
    QCOMPARE(s.number("bsSkinSpinEdit13"), 1000);
    QCOMPARE(s.number("bsSkinSpinEdit14"), 0);
    QCOMPARE(s.number("bsSkinCheckRadioBox16"), 1);
    QCOMPARE(s.number("bsSkinComboBox14"), 1);
    QCOMPARE(s.number("bsSkinSpinEdit21"), 5);
    decodeSettings2(hx("FFF1240A0A000A28007114"), s);
    QCOMPARE(s.number("bsSkinCheckRadioBox16"), 0);
}

void TestMemoryLayout::bandLimits_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QStringList>("ranges");
    QTest::addColumn<QStringList>("added");   // what a read puts into the band lists
    const QStringList twoBands{"400-470MHz", "400-470MHz", "136-174MHz", "136-174MHz"};
    QTest::newRow("two bands") << hx("47004000470040001740136017401360") << twoBands << twoBands;
    QTest::newRow("fourth digit ignored")
        << hx("52096005520960051749136917491369")
        << QStringList{"600-520MHz", "600-520MHz", "136-174MHz", "136-174MHz"}
        << QStringList{"600-520MHz", "600-520MHz", "136-174MHz", "136-174MHz"};
    const QStringList unprogrammed(4, "FFF-FFFMHz");
    QTest::newRow("unprogrammed") << QByteArray(16, char(0xFF)) << unprogrammed << QStringList();
    QTest::newRow("one band only")
        << hx("4700400047004000FFFFFFFFFFFFFFFF")
        << QStringList{"400-470MHz", "400-470MHz", "FFF-FFFMHz", "FFF-FFFMHz"}
        << QStringList{"400-470MHz", "400-470MHz", "", ""};
    QTest::newRow("first range unprogrammed")
        << hx("FFFFFFFF470040001740136017401360")
        << QStringList{"FFF-FFFMHz", "400-470MHz", "136-174MHz", "136-174MHz"} << QStringList();
}

void TestMemoryLayout::bandLimits()
{
    QFETCH(QByteArray, block);
    QFETCH(QStringList, ranges);
    QFETCH(QStringList, added);
    QCOMPARE(decodeBandLimits(block), ranges);
    QCOMPARE(bandRangesToAdd(block), added);
}

void TestMemoryLayout::password_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("six digits") << "123450" << hx("010203040500");
    QTest::newRow("five digits: default") << "12345" << hx("050700090103");
    QTest::newRow("empty: default") << "" << hx("050700090103");
    QTest::newRow("not hex: default") << "12345x" << hx("050700090103");
}

void TestMemoryLayout::password()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodePassword(text), bytes);
    QCOMPARE(decodePassword(hx("F1F2F3040500FFFF")), QString("123450"));
    QCOMPARE(decodePassword(QByteArray(16, char(0xFF))), QString("FFFFFF"));
}

void TestMemoryLayout::dtmfField_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("1000") << "1000" << hx("1AAAFFFFFFFFFFF4");
    QTest::newRow("D*#0") << "D*#0" << hx("0BCAFFFFFFFFFFF4");
    QTest::newRow("empty") << "" << hx("FFFFFFFFFFFFFFF0");
    QTest::newRow("15 digits") << "123456789012345" << hx("123456789A12345F");
    QTest::newRow("all 0xFF reads as fifteen C") << "CCCCCCCCCCCCCCC" << hx("FFFFFFFFFFFFFFFF");
}

void TestMemoryLayout::dtmfField()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, field);
    QCOMPARE(decodeDtmfField(field), code);
    if (!QTest::currentDataTag() || QByteArray(QTest::currentDataTag()) != "all 0xFF reads as fifteen C")
        QCOMPARE(encodeDtmfField(code), field);
}

void TestMemoryLayout::remoteCodeKeepsEightDigits()
{
    SettingsValues s;
    decodeIdBlock(QByteArray(16, char(0xFF)), s);
    QCOMPARE(s.text("bsSkinEdit5"), QString("CCCCCCCCCCCCCCC"));
    QCOMPARE(s.text("bsSkinEdit16"), QString("CCCCCCCC"));

    QVERIFY(s.set(SettingsRegistry::callListEntryName(3), "12#"));
    const QByteArray block = encodeCallList(s, 1);
    QCOMPARE(block.mid(8, 8), hx("12CFFFFFFFFFFFF3"));
    SettingsValues back;
    decodeCallList(block, 1, back);
    QCOMPARE(back.text(SettingsRegistry::callListEntryName(3)), QString("12#"));
}

void TestMemoryLayout::firstChannel_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first in band") << "400-470MHz" << "03";
    QTest::newRow("upper limit excluded") << "136-150MHz" << "FF";
    QTest::newRow("other band") << "140-174MHz" << "02";
    QTest::newRow("no limits") << "" << "FF";
    QTest::newRow("unprogrammed") << "FFF-FFFMHz" << "FF";
}

void TestMemoryLayout::firstChannel()
{
    QFETCH(QString, range);
    QFETCH(QString, expected);
    ChannelCells cells;
    cells.setColumn(1, 2, "150.00000");
    cells.setColumn(1, 3, "438.00625");
    cells.setColumn(1, 9, "400.00000");
    QCOMPARE(firstChannelText(cells, range), expected);
}

REGISTER_TEST(TestMemoryLayout)
#include "tst_memorylayout.moc"
