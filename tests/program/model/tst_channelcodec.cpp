#include "TestRegistry.h"

#include "base/Globals.h"
#include "model/RadioImage.h"
#include "model/ChannelCodec.h"
#include "model/DecimalText.h"
#include "model/MemoryImage.h"

#include <QByteArray>
#include <QSet>
#include <QTest>
#include <cstring>

namespace {
// The image the codec works on here.
ImageBytes testImage;
} // namespace

namespace {

QByteArray imageBytes(int address, int length)
{
    return QByteArray(reinterpret_cast<const char *>(testImage.data() + address), length);
}

void setImageBytes(int address, const QByteArray &bytes)
{
    std::memcpy(testImage.data() + address, bytes.constData(), size_t(bytes.size()));
}

ChannelTexts channel(const QStringList &t)
{
    ChannelTexts texts;
    for (int c = ChannelTexts::FirstColumn; c <= ChannelTexts::LastColumn; ++c)
        texts.setText(c, t.value(c - 1));
    return texts;
}

QStringList list(const ChannelTexts &texts)
{
    QStringList t;
    for (int c = ChannelTexts::FirstColumn; c <= ChannelTexts::LastColumn; ++c)
        t << texts.text(c);
    return t;
}

constexpr int Channel1 = 0x0000;
constexpr int Name1 = 0x0C90;

} // namespace

class TestChannelCodec : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        std::memset(testImage.data(), 0xFF, RadioImageSize);
        LanguageIndex = LanguageEnglish;
    }
    void cleanupTestCase() { LanguageIndex = LanguageEnglish; }

    void scaleDecimalText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("145.125 MHz") << "145.12500" << 5 << qint64(14512500);
        // These two come out one unit short when multiplied as doubles.
        QTest::newRow("136.0125 MHz") << "136.0125" << 5 << qint64(13601250);
        QTest::newRow("0.29") << "0.29" << 5 << qint64(29000);
        QTest::newRow("truncated, not rounded") << "145.123456789" << 5 << qint64(14512345);
        QTest::newRow("below one unit") << "0.000009" << 5 << qint64(0);
        QTest::newRow("leading zeros") << "067.0" << 1 << qint64(670);
        QTest::newRow("leading number only") << "  145.1abc" << 5 << qint64(14510000);
        QTest::newRow("fraction without integer part") << ".5" << 1 << qint64(5);
        QTest::newRow("sign") << "-1.56" << 1 << qint64(-15);
        QTest::newRow("plus sign") << "+2" << 1 << qint64(20);
        QTest::newRow("exponent") << "1.45125e2" << 5 << qint64(14512500);
        QTest::newRow("negative exponent") << "14512500e-5" << 5 << qint64(14512500);
        QTest::newRow("incomplete exponent") << "1e" << 5 << qint64(100000);
        QTest::newRow("no number") << "abc" << 5 << qint64(0);
        QTest::newRow("empty") << "" << 5 << qint64(0);
        QTest::newRow("point alone") << "." << 5 << qint64(0);
        QTest::newRow("comma is not a separator") << "145,125" << 5 << qint64(14500000);
        QTest::newRow("non-ASCII digits") << QString::fromUtf16(u"１４５") << 5 << qint64(0);
        QTest::newRow("saturates") << "123456789012345678901234" << 5
                                   << std::numeric_limits<qint64>::max();
    }
    void scaleDecimalText()
    {
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(qint64, expected);
        QCOMPARE(::scaleDecimalText(text, decimals), expected);
    }

    void formatScaled_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("frequency") << qint64(14512500) << 5 << "145.12500";
        QTest::newRow("small frequency") << qint64(10) << 5 << "0.00010";
        QTest::newRow("zero") << qint64(0) << 5 << "0.00000";
        QTest::newRow("tone") << qint64(670) << 1 << "67.0";
        QTest::newRow("below one") << qint64(5) << 1 << "0.5";
        QTest::newRow("negative") << qint64(-15) << 1 << "-1.5";
    }
    void formatScaled()
    {
        QFETCH(qint64, units);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(::formatScaled(units, decimals), expected);
    }

    // Record bytes after storing the nine texts over a record that held `before`.
    void storeChannel_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QByteArray>("record");
        const QByteArray empty(16, char(0xFF));
        // Flags with bits 3, 6 and 7 set and busy lock 3; bytes 13-15 uninterpreted.
        const QByteArray used = QByteArray::fromHex("11111111 22222222 3333 4444 cb 123456");

        QTest::newRow("English words, CTCSS and DCS normal")
            << empty
            << QStringList{"145.12500", "145.12500", "67.0", "D023N", "Carrier", "High", "Add", "Wide", ""}
            << QByteArray::fromHex("00255114 00255114 7006 2380 fd ffffff");
        QTest::newRow("off, inverted DCS, QDT, low, del, narrow; bits 3, 6, 7 kept")
            << used
            << QStringList{"438.00625", "433.0125", "Off", "D754I", "QDT", "Low", "Del", "Narrow", ""}
            << QByteArray::fromHex("25068043 50123043 ffff 54c7 ca 123456");
        QTest::newRow("Simplified Chinese words")
            << used
            << QStringList{"145.00625", "145.00625", QString::fromUtf16(u"关"), "254.1",
                           QString::fromUtf16(u"载波"), QString::fromUtf16(u"高"),
                           QString::fromUtf16(u"删除"), QString::fromUtf16(u"宽"), ""}
            << QByteArray::fromHex("25065014 25065014 ffff 4125 ed 123456");
        QTest::newRow("Traditional Chinese words")
            << used
            << QStringList{"136.0125", "174.00000", QString::fromUtf16(u"關"), "100.0",
                           QString::fromUtf16(u"載波"), QString::fromUtf16(u"低"),
                           QString::fromUtf16(u"刪除"), QString::fromUtf16(u"寬"), ""}
            << QByteArray::fromHex("50126013 00004017 ffff 0010 cd 123456");
        QTest::newRow("QDT word shared by both Chinese forms")
            << used
            << QStringList{"145", "", "", "", QString::fromUtf16(u"信令"), "", "", "", ""}
            << QByteArray::fromHex("00005014 00000000 0000 0000 da 123456");
        QTest::newRow("empty Tx Freq and tones give zeros; other words fall back")
            << used
            << QStringList{"145.12500", "", "", "", "Busy", "Medium", "?", "wide", ""}
            << QByteArray::fromHex("00255114 00000000 0000 0000 d8 123456");
        QTest::newRow("list words for off, comparison case-sensitive")
            << empty
            << QStringList{"145.12500", "145.12500", "off", "Off", QString::fromUtf16(u"关闭"),
                           "high", "add", "WIDE", ""}
            << QByteArray::fromHex("00255114 00255114 0000 ffff d8 ffffff");
        QTest::newRow("leading numbers, text without a number gives 0")
            << empty
            << QStringList{"145.125MHz", "abc", "67.0 Hz", "D023 N", "", "", "", "", ""}
            << QByteArray::fromHex("00255114 00000000 7006 2380 d8 ffffff");
        QTest::newRow("negative frequency stored as 0")
            << empty
            << QStringList{"-145.125", "145.125", "", "", "", "", "", "", ""}
            << QByteArray::fromHex("00000000 00255114 0000 0000 d8 ffffff");
        QTest::newRow("D text without N or I keeps the tone bytes")
            << used
            << QStringList{"145.12500", "145.12500", "D023", "D754X", "", "", "", "", ""}
            << QByteArray::fromHex("00255114 00255114 3333 4444 d8 123456");
        QTest::newRow("tones the code cannot hold keep their bytes")
            << used
            << QStringList{"145.12500", "145.12500", "800.0", "D1000N", "", "", "", "", ""}
            << QByteArray::fromHex("00255114 00255114 3333 4444 d8 123456");
        QTest::newRow("highest encodable tone and code")
            << used
            << QStringList{"145.12500", "145.12500", "799.9", "D999I", "", "", "", "", ""}
            << QByteArray::fromHex("00255114 00255114 9979 99c9 d8 123456");
        QTest::newRow("frequencies eight digits cannot hold keep their bytes")
            << used
            << QStringList{"999.99999", "1646.66625", "", "", "", "", "", "", ""}
            << QByteArray::fromHex("99999999 22222222 0000 0000 d8 123456");
        QTest::newRow("empty Rx Freq empties the record")
            << used
            << QStringList{"", "145.12500", "67.0", "D023N", "Carrier", "High", "Add", "Wide", "ABC"}
            << empty;
    }
    void storeChannel()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, texts);
        QFETCH(QByteArray, record);
        setImageBytes(Channel1, before);
        StoreChannel(testImage, 1, channel(texts));
        QCOMPARE(imageBytes(Channel1, 16).toHex(' '), record.toHex(' '));
    }

    // Name slot bytes after storing a channel over a slot holding 11 22 ... 88.
    void storeChannelName_data()
    {
        QTest::addColumn<QString>("rxFreq");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("slot");
        QTest::newRow("short name, bytes 6-7 kept")
            << "145.125" << "ABC" << QByteArray::fromHex("414243ffffff 7788");
        QTest::newRow("six letters") << "145.125" << "ABCDEF" << QByteArray::fromHex("414243444546 7788");
        QTest::newRow("seven letters keep the first six")
            << "145.125" << "ABCDEFG" << QByteArray::fromHex("414243444546 7788");
        QTest::newRow("empty name") << "145.125" << "" << QByteArray::fromHex("ffffffffffff 7788");
        QTest::newRow("Latin-1 character") << "145.125" << QString::fromUtf16(u"Café")
                                           << QByteArray::fromHex("436166e9ffff 7788");
        QTest::newRow("non-Latin-1 characters keep their low 8 bits")
            << "145.125" << QString::fromUtf16(u"Ā中1") << QByteArray::fromHex("002d31ffffff 7788");
        QTest::newRow("empty Rx Freq leaves the name bytes")
            << "" << "XYZ" << QByteArray::fromHex("112233445566 7788");
    }
    void storeChannelName()
    {
        QFETCH(QString, rxFreq);
        QFETCH(QString, name);
        QFETCH(QByteArray, slot);
        setImageBytes(Name1, QByteArray::fromHex("1122334455667788"));
        ChannelTexts texts;
        texts.rxFreq = rxFreq;
        texts.name = name;
        StoreChannel(testImage, 1, texts);
        QCOMPARE(imageBytes(Name1, 8).toHex(' '), slot.toHex(' '));
    }

    // A store touches exactly the channel's record and the six name bytes of its slot.
    void storeChannelAddresses_data()
    {
        QTest::addColumn<int>("channel");
        QTest::newRow("first") << 1;
        QTest::newRow("second") << 2;
        QTest::newRow("last") << 99;
    }
    void storeChannelAddresses()
    {
        QFETCH(int, channel);
        for (size_t i = 0; i < RadioImageSize; ++i)
            testImage[i] = std::uint8_t(i * 7 + 3);
        QByteArray before = imageBytes(0, RadioImageSize);
        const ChannelTexts texts =
            ::channel({"145.12500", "145.12500", "67.0", "D023N", "Carrier", "High", "Add", "Wide", "ABCDEF"});
        StoreChannel(testImage, channel, texts);
        const int record = (channel - 1) * 16;
        const int name = 0x0C90 + (channel - 1) * 8;
        QCOMPARE(imageBytes(record, 12).toHex(' '),
                 QByteArray::fromHex("00255114 00255114 7006 2380").toHex(' '));
        QCOMPARE(imageBytes(name, 6), QByteArray("ABCDEF"));
        for (int i = 0; i < int(RadioImageSize); ++i) {
            const bool inRecord = i >= record && i < record + 13;
            const bool inName = i >= name && i < name + 6;
            if (!inRecord && !inName && testImage[i] != std::uint8_t(before.at(i)))
                QFAIL(qPrintable(QStringLiteral("byte 0x%1 changed").arg(i, 4, 16, QLatin1Char('0'))));
        }
        QCOMPARE(LoadChannel(testImage, channel), texts);
    }

    void channelNumbersOutsideTheRange()
    {
        const QByteArray before = imageBytes(0, RadioImageSize);
        const ChannelTexts texts = channel({"145.12500", "145.12500", "67.0", "67.0", "", "", "", "", "A"});
        for (int n : {0, -1, 100, 1000}) {
            StoreChannel(testImage, n, texts);
            QCOMPARE(imageBytes(0, RadioImageSize), before);
        }
        setImageBytes(Channel1, QByteArray::fromHex("00255114 00255114 7006 2380 fd ffffff"));
        QCOMPARE(LoadChannel(testImage, 0), ChannelTexts());
        QCOMPARE(LoadChannel(testImage, 100), ChannelTexts());
    }

    // The texts of a record (and its name slot) in a language.
    void loadChannel_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("texts");
        const QByteArray noName = QByteArray::fromHex("ffffffffffffffff");

        QTest::newRow("English")
            << QByteArray::fromHex("00255114 00255114 7006 2380 fd ffffff")
            << QByteArray::fromHex("4142434445464748") << 0
            << QStringList{"145.12500", "145.12500", "67.0", "D023N", "Carrier", "High", "Add", "Wide", "ABCDEF"};
        QTest::newRow("inverted DCS, QDT, low, del, narrow")
            << QByteArray::fromHex("25068043 50123043 4125 54c7 ca 123456")
            << QByteArray::fromHex("41ff4243ffffffff") << 0
            << QStringList{"438.00625", "433.01250", "254.1", "D754I", "QDT", "Low", "Del", "Narrow", "A"};
        QTest::newRow("tone high byte 0x00 and 0xFF are off")
            << QByteArray::fromHex("00255114 00255114 5500 00ff 30 ffffff")
            << noName << 0
            << QStringList{"145.12500", "145.12500", "Off", "Off", "Off", "High", "Add", "Narrow", ""};
        QTest::newRow("busy lock 3 has no word")
            << QByteArray::fromHex("00255114 00255114 ffff ffff 03 ffffff")
            << noName << 0
            << QStringList{"145.12500", "145.12500", "Off", "Off", "", "Low", "Del", "Narrow", ""};
        QTest::newRow("Simplified Chinese")
            << QByteArray::fromHex("00255114 00255114 ffff 0010 35 ffffff")
            << noName << 1
            << QStringList{"145.12500", "145.12500", QString::fromUtf16(u"关"), "100.0",
                           QString::fromUtf16(u"载波"), QString::fromUtf16(u"高"),
                           QString::fromUtf16(u"添加"), QString::fromUtf16(u"宽"), ""};
        QTest::newRow("Traditional Chinese")
            << QByteArray::fromHex("00255114 00000000 ffff ffff 02 ffffff")
            << noName << 2
            << QStringList{"145.12500", "0.00000", QString::fromUtf16(u"關"), QString::fromUtf16(u"關"),
                           QString::fromUtf16(u"信令"), QString::fromUtf16(u"低"),
                           QString::fromUtf16(u"刪除"), QString::fromUtf16(u"窄"), ""};
        QTest::newRow("unknown language uses English")
            << QByteArray::fromHex("00255114 00255114 ffff ffff 00 ffffff")
            << noName << 7
            << QStringList{"145.12500", "145.12500", "Off", "Off", "Off", "Low", "Del", "Narrow", ""};
        QTest::newRow("nibbles are not checked")
            << QByteArray::fromHex("0a000000 ff000000 af06 3f8a 00 ffffff")
            << noName << 0
            << QStringList{"0.00010", "0.00165", "71.5", "D1045N", "Off", "Low", "Del", "Narrow", ""};
        QTest::newRow("Latin-1 name")
            << QByteArray::fromHex("00255114 00255114 ffff ffff 00 ffffff")
            << QByteArray::fromHex("436166e9002dffff") << 0
            << QStringList{"145.12500", "145.12500", "Off", "Off", "Off", "Low", "Del", "Narrow",
                           QString::fromUtf16(u"Café") + QChar(0) + QChar(0x2D)};
        QTest::newRow("byte 3 0xFF is an empty channel")
            << QByteArray::fromHex("002551ff 00255114 7006 2380 fd ffffff")
            << QByteArray::fromHex("4142434445464748") << 0
            << QStringList{"", "", "", "", "", "", "", "", ""};
    }
    void loadChannel()
    {
        QFETCH(QByteArray, record);
        QFETCH(QByteArray, slot);
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        setImageBytes(Channel1, record);
        setImageBytes(Name1, slot);
        LanguageIndex = std::uint8_t(language);
        QCOMPARE(list(LoadChannel(testImage, 1)), texts);
    }

    // Whatever the language, the words a channel is shown with store back to the same bytes.
    void roundTripInEveryLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("English deleted") << 0 << QByteArray::fromHex("00255114 00255114 7006 2380 e9 123456");
        QTest::newRow("Simplified deleted") << 1 << QByteArray::fromHex("00255114 00255114 7006 2380 e9 123456");
        QTest::newRow("Traditional deleted") << 2 << QByteArray::fromHex("00255114 00255114 7006 2380 e9 123456");
        QTest::newRow("Traditional add, QDT") << 2 << QByteArray::fromHex("25068043 50123043 ffff 54c7 16 ffffff");
        QTest::newRow("Simplified carrier, high, wide") << 1 << QByteArray::fromHex("25068043 50123043 ffff 54c7 35 ffffff");
    }
    void roundTripInEveryLanguage()
    {
        QFETCH(int, language);
        QFETCH(QByteArray, record);
        LanguageIndex = std::uint8_t(language);
        setImageBytes(Channel1, record);
        setImageBytes(Name1, QByteArray::fromHex("4e616d65ffff7788"));
        const ChannelTexts texts = LoadChannel(testImage, 1);
        std::memset(testImage.data() + Channel1, 0xFF, 16);
        setImageBytes(Channel1 + 12, record.mid(12));
        setImageBytes(Name1, QByteArray(8, char(0xFF)));
        StoreChannel(testImage, 1, texts);
        QCOMPARE(imageBytes(Channel1, 16).toHex(' '), record.toHex(' '));
        QCOMPARE(imageBytes(Name1, 6), QByteArray::fromHex("4e616d65ffff"));
    }

    void everyToneChoiceRoundTrips()
    {
        for (int language : {0, 1, 2}) {
            LanguageIndex = std::uint8_t(language);
            for (const QString &tone : ToneChoices()) {
                ChannelTexts texts = channel({"145.12500", "145.12500", tone, tone, "", "", "", "", ""});
                StoreChannel(testImage, 1, texts);
                const ChannelTexts back = LoadChannel(testImage, 1);
                QCOMPARE(back.rxTone, tone);
                QCOMPARE(back.txTone, tone);
            }
        }
    }

    void newChannelInEveryLanguage()
    {
        for (int language : {0, 1, 2}) {
            LanguageIndex = std::uint8_t(language);
            const ChannelTexts texts = newChannelTexts(QStringLiteral("145.12500"));
            std::memset(testImage.data() + Channel1, 0xFF, 16);
            StoreChannel(testImage, 1, texts);
            QCOMPARE(imageBytes(Channel1, 16).toHex(' '),
                     QByteArray::fromHex("00255114 00255114 ffff ffff fc ffffff").toHex(' '));
            QCOMPARE(LoadChannel(testImage, 1), texts);
        }
    }

    void toneChoices_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("off");
        QTest::newRow("English") << 0 << "Off";
        QTest::newRow("Simplified Chinese") << 1 << QString::fromUtf16(u"关");
        QTest::newRow("Traditional Chinese") << 2 << QString::fromUtf16(u"關");
    }
    void toneChoices()
    {
        QFETCH(int, language);
        QFETCH(QString, off);
        LanguageIndex = std::uint8_t(language);
        const QStringList tones = ToneChoices();
        QCOMPARE(tones.size(), 265);
        QCOMPARE(QSet<QString>(tones.begin(), tones.end()).size(), 265);
        QCOMPARE(tones.at(0), off);
        QCOMPARE(tones.at(1), QStringLiteral("67.0"));
        QCOMPARE(tones.at(13), QStringLiteral("100.0"));
        QCOMPARE(tones.at(50), QStringLiteral("254.1"));
        QCOMPARE(tones.at(51), QStringLiteral("D017N"));
        QCOMPARE(tones.at(157), QStringLiteral("D754N"));
        QCOMPARE(tones.at(158), QStringLiteral("D017I"));
        QCOMPARE(tones.at(264), QStringLiteral("D754I"));
        QVERIFY(!tones.contains(QStringLiteral("63.0")));
        for (int i = 51; i < 158; ++i)
            QCOMPARE(tones.at(i + 107), tones.at(i).chopped(1) + QLatin1Char('I'));
    }
};

REGISTER_TEST(TestChannelCodec)
#include "tst_channelcodec.moc"
