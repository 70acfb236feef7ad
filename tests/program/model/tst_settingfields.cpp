#include "TestRegistry.h"

#include "model/RadioImage.h"
#include "model/SettingFields.h"

#include <QTest>
#include <cstring>

namespace {
// The image the codec works on here.
ImageBytes testImage;
} // namespace

Q_DECLARE_METATYPE(const SettingField *)

namespace {

QByteArray imageBytes(int address, int length)
{
    return QByteArray(reinterpret_cast<const char *>(testImage.data() + address), length);
}

const SettingField *const AllFields[] = {
    &Setting::PttIdDisplay, &Setting::KeyLock, &Setting::BacklightMode, &Setting::ScanMode,
    &Setting::ChannelName, &Setting::BatterySave, &Setting::Beep, &Setting::SingleRadio,
    &Setting::Ste, &Setting::Reverse, &Setting::EmergencyCall, &Setting::SqlLevel,
    &Setting::VoxLevel, &Setting::Step, &Setting::ManualPowerSwitch,
    &Setting::PowerOnPasswordSwitch, &Setting::FrequencyMode, &Setting::Radio, &Setting::Roger,
    &Setting::Apo, &Setting::PriorityChannel, &Setting::Tot, &Setting::ReceiveAlarmTime,
    &Setting::PttIdMode, &Setting::Model, &Setting::Band,
};

} // namespace

class TestSettingFields : public QObject
{
    Q_OBJECT

private slots:
    void init() { std::memset(testImage.data(), 0xFF, RadioImageSize); }

    // The list position shown for a stored byte.
    void position_data()
    {
        QTest::addColumn<const SettingField *>("field");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("position");
        using namespace Setting;
        QTest::newRow("SQL 7") << &SqlLevel << 7 << 7;
        QTest::newRow("SQL 12 shows 5") << &SqlLevel << 12 << 5;
        QTest::newRow("TOT 20 is 600 s") << &Tot << 20 << 20;
        QTest::newRow("TOT 25 shows 30 s") << &Tot << 25 << 1;
        QTest::newRow("step 9 shows 25 kHz") << &Step << 9 << 4;
        QTest::newRow("VOX 10 shows off") << &VoxLevel << 10 << 0;
        QTest::newRow("priority channel 99") << &PriorityChannel << 99 << 99;
        QTest::newRow("priority channel 100 shows off") << &PriorityChannel << 100 << 0;
        QTest::newRow("Roger 0xFF shows off") << &Roger << 0xFF << 0;
        QTest::newRow("APO 2 hours") << &Apo << 4 << 4;
        QTest::newRow("receive alarm 3 s") << &ReceiveAlarmTime << 3 << 1;
        QTest::newRow("receive alarm auto") << &ReceiveAlarmTime << 254 << 9;
        QTest::newRow("receive alarm continuous") << &ReceiveAlarmTime << 255 << 10;
        QTest::newRow("receive alarm 7 shows off") << &ReceiveAlarmTime << 7 << 0;
        QTest::newRow("backlight on") << &BacklightMode << 0x08 << 0;
        QTest::newRow("backlight off, other bits set") << &BacklightMode << 0xF3 << 1;
        QTest::newRow("backlight auto") << &BacklightMode << 0x04 << 2;
        QTest::newRow("backlight 0x0C shows auto") << &BacklightMode << 0x0C << 2;
        QTest::newRow("scan mode 0x10 CO") << &ScanMode << 0x10 << 0;
        QTest::newRow("scan mode 0x20 TO") << &ScanMode << 0xEF << 1;
        QTest::newRow("scan mode 0x00 shows CO") << &ScanMode << 0xCF << 0;
        QTest::newRow("scan mode 0x30 shows CO") << &ScanMode << 0x30 << 0;
        QTest::newRow("STE 180 degrees") << &Ste << 0xFE << 2;
        QTest::newRow("STE 3 shows off") << &Ste << 0x03 << 0;
        QTest::newRow("emergency call transmit alert") << &EmergencyCall << 0xFF << 3;
        QTest::newRow("beep bit set is On") << &Beep << 0x10 << 0;
        QTest::newRow("beep bit clear is Off") << &Beep << 0xEF << 1;
        QTest::newRow("key lock bit set is Auto") << &KeyLock << 0x02 << 0;
        QTest::newRow("radio bit clear is Off") << &Radio << 0xF7 << 1;
        QTest::newRow("PTT ID at the end") << &PttIdMode << 0xFE << 2;
        QTest::newRow("model U10") << &Model << 4 << 4;
        QTest::newRow("model 7 shows the first") << &Model << 7 << 0;
        QTest::newRow("band 0xFF shows the first") << &Band << 0xFF << 0;
    }
    void position()
    {
        QFETCH(const SettingField *, field);
        QFETCH(int, byte);
        QFETCH(int, position);
        testImage[field->address] = std::uint8_t(byte);
        QCOMPARE(settingPosition(testImage, *field), position);
    }

    // The byte after storing a list position over `before`.
    void setPosition_data()
    {
        QTest::addColumn<const SettingField *>("field");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("after");
        using namespace Setting;
        QTest::newRow("backlight on") << &BacklightMode << 0xF3 << 0 << 0xFB;
        QTest::newRow("backlight off") << &BacklightMode << 0xFF << 1 << 0xF3;
        QTest::newRow("backlight auto") << &BacklightMode << 0x00 << 2 << 0x04;
        QTest::newRow("scan mode CO") << &ScanMode << 0x00 << 0 << 0x10;
        QTest::newRow("scan mode TO") << &ScanMode << 0xFF << 1 << 0xEF;
        QTest::newRow("beep on") << &Beep << 0x00 << 0 << 0x10;
        QTest::newRow("beep off") << &Beep << 0xFF << 1 << 0xEF;
        QTest::newRow("switch without selection clears") << &Beep << 0xFF << -1 << 0xEF;
        QTest::newRow("password switch on") << &PowerOnPasswordSwitch << 0xFD << 0 << 0xFF;
        QTest::newRow("STE 180 degrees") << &Ste << 0xFF << 2 << 0xFE;
        QTest::newRow("emergency call local alert") << &EmergencyCall << 0xFC << 1 << 0xFD;
        QTest::newRow("SQL 9") << &SqlLevel << 0xFF << 9 << 0x09;
        QTest::newRow("list without selection stores 0") << &SqlLevel << 0xFF << -1 << 0x00;
        QTest::newRow("TOT 600 s") << &Tot << 0xFF << 20 << 0x14;
        QTest::newRow("receive alarm 10 s") << &ReceiveAlarmTime << 0xFF << 3 << 10;
        QTest::newRow("receive alarm auto") << &ReceiveAlarmTime << 0x00 << 9 << 0xFE;
        QTest::newRow("receive alarm continuous") << &ReceiveAlarmTime << 0x00 << 10 << 0xFF;
        QTest::newRow("PTT ID both, bits 2-7 kept") << &PttIdMode << 0xFC << 3 << 0xFF;
        QTest::newRow("PTT ID begin") << &PttIdMode << 0x00 << 1 << 0x01;
        QTest::newRow("model U10") << &Model << 0xFF << 4 << 0x04;
        QTest::newRow("model without selection") << &Model << 0x02 << -1 << 0xFF;
        QTest::newRow("position beyond the list") << &Step << 0x02 << 5 << 0x00;
    }
    void setPosition()
    {
        QFETCH(const SettingField *, field);
        QFETCH(int, before);
        QFETCH(int, position);
        QFETCH(int, after);
        testImage[field->address] = std::uint8_t(before);
        setSettingPosition(testImage, *field, position);
        QCOMPARE(int(testImage[field->address]), after);
    }

    // Every position of every field reads back as itself, and the bits around it stay.
    void everyPositionRoundTrips()
    {
        for (const SettingField *field : AllFields) {
            const unsigned mask = ((1u << field->width) - 1u) << field->shift;
            for (int around : {0x00, 0xFF}) {
                for (int p = 0; p < field->choiceCount; ++p) {
                    testImage[field->address] = std::uint8_t(around);
                    setSettingPosition(testImage, *field, p);
                    QVERIFY2(settingPosition(testImage, *field) == p, field->label);
                    QVERIFY2((testImage[field->address] & ~mask) == (around & ~mask), field->label);
                }
            }
        }
    }

    void optionFieldsInWriteBackOrder()
    {
        QStringList labels;
        for (const SettingField *f : Setting::OptionFields)
            labels << QLatin1String(f->label);
        QCOMPARE(labels, (QStringList{"SQL", "Step", "VOX", "TOT", "Reverse", "Beep", "Roger",
                                      "Backlight Mode", "APO", "Priority Channel", "Key Lock",
                                      "Channel Name", "Battery Save", "Scan Mode", "Single Radio",
                                      "STE", "Radio", "Frequency Mode", "Emergency Call",
                                      "Receive Alarm Time", "Power-On Password Switch",
                                      "Manual Power Switch"}));
    }

    void powerOnPassword_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("two digits") << "12" << true << QByteArray::fromHex("0102ffffffff");
        QTest::newRow("six digits") << "907150" << true << QByteArray::fromHex("090007010500");
        QTest::newRow("empty") << "" << true << QByteArray::fromHex("ffffffffffff");
        QTest::newRow("letter refused") << "12a" << false << QByteArray::fromHex("aabbccddeeff");
        QTest::newRow("seven digits refused") << "1234567" << false << QByteArray::fromHex("aabbccddeeff");
        QTest::newRow("non-ASCII digit refused") << QString::fromUtf16(u"1２") << false
                                                 << QByteArray::fromHex("aabbccddeeff");
    }
    void powerOnPassword()
    {
        QFETCH(QString, digits);
        QFETCH(bool, accepted);
        QFETCH(QByteArray, bytes);
        std::memcpy(testImage.data() + 0x1848, "\xaa\xbb\xcc\xdd\xee\xff", 6);
        QCOMPARE(writePowerOnPassword(testImage, digits), accepted);
        QCOMPARE(imageBytes(0x1848, 6).toHex(' '), bytes.toHex(' '));
        if (accepted)
            QCOMPARE(readPowerOnPassword(testImage), digits);
    }

    void passwordReadStopsAtTheFirstNonDigit()
    {
        std::memcpy(testImage.data() + 0x1848, "\x01\x02\x0a\x03\x04\x05\x06", 7);
        QCOMPARE(readPowerOnPassword(testImage), QStringLiteral("12"));
        std::memcpy(testImage.data() + 0x1848, "\x00\x09\x00\x09\x00\x09\x01", 7);
        QCOMPARE(readPowerOnPassword(testImage), QStringLiteral("090909"));
    }

    void imageText_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("PCBA") << 0 << "AB12" << QByteArray("AB12") + QByteArray(12, char(0xFF)) << "AB12";
        QTest::newRow("PCBA of 17 characters keeps 16")
            << 0 << "ABCDEFGHIJKLMNOPQ" << QByteArray("ABCDEFGHIJKLMNOP") << "ABCDEFGHIJKLMNOP";
        QTest::newRow("PTT ID code") << 1 << "A1#*" << QByteArray("A1#*") + QByteArray(12, char(0xFF)) << "A1#*";
        QTest::newRow("empty") << 1 << "" << QByteArray(16, char(0xFF)) << "";
    }
    void imageText()
    {
        QFETCH(int, which);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readBack);
        const TextField &field = which == 0 ? Setting::Pcba : Setting::PttIdCode;
        std::memset(testImage.data() + field.address, 0x20, 32); // the bytes after the field too
        writeImageText(testImage, field, text);
        QCOMPARE(imageBytes(field.address, 16), bytes);
        QCOMPARE(imageBytes(field.address + 16, 16), QByteArray(16, ' '));
        QCOMPARE(readImageText(testImage, field), readBack);
    }
};

REGISTER_TEST(TestSettingFields)
#include "tst_settingfields.moc"
