#include "TestRegistry.h"

#include "model/RadioImage.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "model/SettingFields.h"

#include <QMap>
#include <QTest>
#include <cstring>

namespace {
// The image the codec works on here.
ImageBytes testImage;
} // namespace

namespace {

void fillPattern()
{
    for (size_t i = 0; i < RadioImageSize; ++i)
        testImage[i] = std::uint8_t(i * 7 + 3);
}

QString hex(int address)
{
    return QStringLiteral("0x%1").arg(address, 4, 16, QLatin1Char('0'));
}

} // namespace

class TestMemoryImage : public QObject
{
    Q_OBJECT

private slots:
    void newImageBytes()
    {
        fillPattern();
        NewImage(testImage);
        const QMap<int, int> set{
            {0x1810, 0x94}, {0x1811, 0xFF}, {0x1812, 0xF9}, {0x1813, 0xFC}, {0x1814, 0x05},
            {0x1815, 0x00}, {0x1816, 0x04}, {0x1818, 0xFD}, {0x1821, 0x00}, {0x1822, 0x00},
            {0x1824, 0x02}, {0x1829, 0xFF}, {0x182D, 0xFF},
            // "KVT270"
            {0x1840, 0x4B}, {0x1841, 0x56}, {0x1842, 0x54}, {0x1843, 0x32}, {0x1844, 0x37}, {0x1845, 0x30},
            // default power-on password 1 2 3 4 5 6
            {0x1848, 1}, {0x1849, 2}, {0x184A, 3}, {0x184B, 4}, {0x184C, 5}, {0x184D, 6},
            {0x1D40, 0xFC}, {0x063C, 0x3C},
        };
        for (int a = 0; a < int(RadioImageSize); ++a) {
            const int expected = set.value(a, 0xFF);
            if (testImage[a] != expected)
                QFAIL(qPrintable(QStringLiteral("%1 is 0x%2, expected 0x%3")
                                     .arg(hex(a)).arg(testImage[a], 2, 16, QLatin1Char('0'))
                                     .arg(expected, 2, 16, QLatin1Char('0'))));
        }
    }

    // The new image's bytes seen through the settings they encode.
    void newImageSettings_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("position");
        QTest::newRow("PTT ID display off") << "Display" << 1;
        QTest::newRow("key lock manual") << "Key Lock" << 1;
        QTest::newRow("backlight auto") << "Backlight Mode" << 2;
        QTest::newRow("scan mode CO") << "Scan Mode" << 0;
        QTest::newRow("channel names off") << "Channel Name" << 1;
        QTest::newRow("battery save on") << "Battery Save" << 0;
        QTest::newRow("beep on") << "Beep" << 0;
        QTest::newRow("single radio on") << "Single Radio" << 0;
        QTest::newRow("STE 120 degrees") << "STE" << 1;
        QTest::newRow("reverse off") << "Reverse" << 1;
        QTest::newRow("emergency call off") << "Emergency Call" << 0;
        QTest::newRow("SQL 5") << "SQL" << 5;
        QTest::newRow("VOX off") << "VOX" << 0;
        QTest::newRow("step 25 kHz") << "Step" << 4;
        QTest::newRow("manual power switch on") << "Manual Power Switch" << 0;
        QTest::newRow("password switch off") << "Power-On Password Switch" << 1;
        QTest::newRow("frequency mode on") << "Frequency Mode" << 0;
        QTest::newRow("radio on") << "Radio" << 0;
        QTest::newRow("Roger 0xFF shows off") << "Roger" << 0;
        QTest::newRow("APO off") << "APO" << 0;
        QTest::newRow("priority channel off") << "Priority Channel" << 0;
        QTest::newRow("TOT 60 s") << "TOT" << 2;
        QTest::newRow("receive alarm continuous") << "Receive Alarm Time" << 10;
        QTest::newRow("PTT ID off") << "PTT ID" << 0;
        QTest::newRow("model 0xFF shows the first model") << "Model" << 0;
        QTest::newRow("band 0xFF shows the first band") << "Frequency Range" << 0;
    }
    void newImageSettings()
    {
        QFETCH(QString, setting);
        QFETCH(int, position);
        const SettingField *all[] = {&Setting::PttIdDisplay, &Setting::PttIdMode, &Setting::Model,
                                     &Setting::Band};
        const SettingField *field = nullptr;
        for (const SettingField *f : Setting::OptionFields)
            if (setting == QLatin1String(f->label))
                field = f;
        for (const SettingField *f : all)
            if (setting == QLatin1String(f->label))
                field = f;
        QVERIFY(field);
        NewImage(testImage);
        QCOMPARE(settingPosition(testImage, *field), position);
    }

    void newImageHasNoChannelsAndTheDefaultPassword()
    {
        fillPattern();
        NewImage(testImage);
        for (int n = 1; n <= 99; ++n)
            QCOMPARE(LoadChannel(testImage, n), ChannelTexts());
        QCOMPARE(readPowerOnPassword(testImage), QStringLiteral("123456"));
    }

    void writeFixedFields_data()
    {
        QTest::addColumn<bool>("allOnes");
        QTest::newRow("image of 0xFF") << true;
        QTest::newRow("patterned image") << false;
    }
    void writeFixedFields()
    {
        QFETCH(bool, allOnes);
        if (allOnes)
            std::memset(testImage.data(), 0xFF, RadioImageSize);
        else
            fillPattern();
        std::uint8_t before[RadioImageSize];
        std::memcpy(before, testImage.data(), RadioImageSize);
        WriteFixedFields(testImage);

        QMap<int, int> set{
            {0x0630, 0x00}, {0x0631, 0x00}, {0x0632, 0x50}, {0x0633, 0x43},
            {0x0634, 0x00}, {0x0635, 0x00}, {0x0636, 0x50}, {0x0637, 0x43},
            {0x063C, before[0x063C] & 0x3F},
            {0x1811, before[0x1811] & 0x78}, {0x1817, 0x00},
            {0x1D10, 0x00}, {0x1D11, 0x00}, {0x1D12, 0x00}, {0x1D13, 0x00},
        };
        for (int a = 0; a < int(RadioImageSize); ++a) {
            const int expected = set.value(a, before[a]);
            if (testImage[a] != expected)
                QFAIL(qPrintable(QStringLiteral("%1 is 0x%2, expected 0x%3")
                                     .arg(hex(a)).arg(testImage[a], 2, 16, QLatin1Char('0'))
                                     .arg(expected, 2, 16, QLatin1Char('0'))));
        }
    }

    void newImageThenFixedFields()
    {
        NewImage(testImage);
        WriteFixedFields(testImage);
        QCOMPARE(testImage[0x1811], std::uint8_t(0x78));
        QCOMPARE(testImage[0x063C], std::uint8_t(0x3C));
        QCOMPARE(testImage[0x1817], std::uint8_t(0x00));
    }
};

REGISTER_TEST(TestMemoryImage)
#include "tst_memoryimage.moc"
