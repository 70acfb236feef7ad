#include "TestRegistry.h"

#include "base/ResourceLibrary.h"
#include "base/Globals.h"
#include "model/RadioImage.h"
#include "model/MemoryImage.h"
#include "model/OptionLists.h"
#include "model/SettingFields.h"

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

const ListOption &findList(int dialogId, int controlId)
{
    const auto &lists = dialogId == ResId::PttIdDialog ? pttIdDialogLists() : optionDialogLists();
    for (const ListOption &option : lists)
        if (option.controlId == controlId)
            return option;
    qFatal("no list %d in dialog %d", controlId, dialogId);
}

// label -> shown text of one dialog's lines of ShownSettings
QMap<QString, QString> shownByLabel(int languageIndex, const QString &dialog)
{
    QMap<QString, QString> map;
    for (const ShownSetting &s : shownSettings(testImage, languageIndex))
        if (s.dialog == dialog)
            map.insert(s.label, s.text);
    return map;
}

} // namespace

class TestOptionLists : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        std::memset(testImage.data(), 0xFF, RadioImageSize);
        LanguageIndex = LanguageEnglish;
    }

    void newImageShowsItsDefaults()
    {
        NewImage(testImage);
        const QMap<QString, QString> shown = shownByLabel(0, QStringLiteral("Option"));
        const QList<QPair<const char *, const char *>> expected{
            {"SQL", "5"}, {"VOX", "Off"}, {"TOT", "60s"}, {"Step", "25KHz"}, {"Roger", "Off"},
            {"Backlight Mode", "Auto"}, {"Scan Mode", "CO"}, {"STE", "120 phase shift"},
            {"Receive Alarm Time", "Continue"}, {"Key Lock", "Manual"}, {"Manual Power Switch", "On"},
            {"Power-On Password Switch", "Off"}, {"APO", "Off"}, {"Priority Channel", "Off"},
            {"Beep", "On"}, {"Reverse", "Off"}, {"Power-On Password", "123456"},
        };
        for (const auto &[label, text] : expected)
            QCOMPARE(shown.value(QLatin1String(label)), QLatin1String(text));
        QCOMPARE(shown.size(), 23);
        const QMap<QString, QString> ptt = shownByLabel(0, QStringLiteral("PTT ID"));
        QCOMPARE(ptt.value(QStringLiteral("PTT ID")), QStringLiteral("Off"));
        QCOMPARE(ptt.value(QStringLiteral("Code")), QString());
    }

    // Every list offers one entry per position of its field, in each language.
    void entriesCoverEveryPosition()
    {
        for (const auto *lists : {&optionDialogLists(), &pttIdDialogLists()}) {
            for (const ListOption &option : *lists) {
                for (int lang : {0, 1, 2}) {
                    const QStringList entries = optionEntries(option.words, lang);
                    QVERIFY2(entries.size() == option.field->choiceCount, option.objectName);
                    QVERIFY2(!entries.contains(QString()), option.objectName);
                }
            }
        }
        QCOMPARE(optionDialogLists().size(), 22);
        QCOMPARE(optionWriteBackOrder().size(), 22);
    }

    // A stored byte, the entry shown for it and the byte stored back when the shown position
    // is written (opening and closing a dialog normalises the field this way).
    void listMapping_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("storedBack");
        namespace Id = OptionIds;
        const int O = ResId::OptionDialog;
        const int P = ResId::PttIdDialog;
        QTest::newRow("SQL 12 shows 5") << O << Id::Sql << 0 << 12 << "5" << 5;
        QTest::newRow("VOX 9") << O << Id::Vox << 0 << 9 << "9" << 9;
        QTest::newRow("VOX 0 Simplified") << O << Id::Vox << 1 << 0 << "关" << 0;
        QTest::newRow("TOT 25 shows 30s") << O << Id::Tot << 0 << 25 << "30s" << 1;
        QTest::newRow("TOT 20 is 600s") << O << Id::Tot << 2 << 20 << "600s" << 20;
        QTest::newRow("Step 9 shows 25KHz") << O << Id::Step << 0 << 9 << "25KHz" << 4;
        QTest::newRow("Step 1") << O << Id::Step << 1 << 1 << "6.25KHz" << 1;
        QTest::newRow("Roger 0xFF shows off") << O << Id::Roger << 2 << 0xFF << "關" << 0;
        QTest::newRow("APO 3") << O << Id::Apo << 0 << 3 << "1H" << 3;
        QTest::newRow("priority 99") << O << Id::PriorityChannel << 0 << 99 << "99" << 99;
        QTest::newRow("priority 100 shows off") << O << Id::PriorityChannel << 0 << 100 << "Off" << 0;
        QTest::newRow("backlight 0x08 on") << O << Id::BacklightMode << 0 << 0xF8 << "On" << 0xF8;
        QTest::newRow("backlight 0x00 off") << O << Id::BacklightMode << 1 << 0x00 << "关" << 0x00;
        QTest::newRow("backlight 0x0C auto, stored 0x04") << O << Id::BacklightMode << 2 << 0x0C << "自動" << 0x04;
        QTest::newRow("scan mode 0x20 TO") << O << Id::ScanMode << 0 << 0x20 << "TO" << 0x20;
        QTest::newRow("scan mode 0x30 CO, stored 0x10") << O << Id::ScanMode << 1 << 0x30 << "载波" << 0x10;
        QTest::newRow("scan mode 0x00 Traditional") << O << Id::ScanMode << 2 << 0xC0 << "載波" << 0xD0;
        QTest::newRow("key lock bit set Auto") << O << Id::KeyLock << 0 << 0x02 << "Auto" << 0x02;
        QTest::newRow("key lock bit clear Manual") << O << Id::KeyLock << 1 << 0xFD << "手动" << 0xFD;
        QTest::newRow("beep bit 4 on") << O << Id::Beep << 0 << 0x10 << "On" << 0x10;
        QTest::newRow("radio bit 3 off") << O << Id::Radio << 2 << 0xF7 << "關" << 0xF7;
        QTest::newRow("STE 3 shows off, stored 0") << O << Id::Ste << 0 << 0xFF << "Off" << 0xFC;
        QTest::newRow("STE 2 Simplified") << O << Id::Ste << 1 << 0x02 << "180度相位偏移" << 0x02;
        QTest::newRow("emergency 2") << O << Id::EmergencyCall << 1 << 0xFE << "本地发射报警" << 0xFE;
        QTest::newRow("emergency 3 Traditional") << O << Id::EmergencyCall << 2 << 0x03 << "發射報警" << 0x03;
        QTest::newRow("alarm 7 shows off, stored 0") << O << Id::ReceiveAlarmTime << 0 << 7 << "Off" << 0;
        QTest::newRow("alarm 240") << O << Id::ReceiveAlarmTime << 0 << 240 << "240s" << 240;
        QTest::newRow("alarm 254 auto") << O << Id::ReceiveAlarmTime << 1 << 254 << "自动" << 254;
        QTest::newRow("alarm 255 continuous") << O << Id::ReceiveAlarmTime << 2 << 255 << "連續" << 255;
        QTest::newRow("password switch on") << O << Id::PowerOnPasswordSwitch << 0 << 0x02 << "On" << 0x02;
        QTest::newRow("manual power off") << O << Id::ManualPowerSwitch << 0 << 0xFE << "Off" << 0xFE;
        QTest::newRow("PTT display on") << P << Id::PttIdDisplay << 0 << 0x01 << "On" << 0x01;
        QTest::newRow("PTT ID begin Simplified") << P << Id::PttIdMode << 1 << 0xFD << "开始发射" << 0xFD;
        QTest::newRow("PTT ID off Traditional") << P << Id::PttIdMode << 2 << 0xFC << "關閉" << 0xFC;
        QTest::newRow("PTT ID both") << P << Id::PttIdMode << 0 << 0x03 << "Both" << 0x03;
        QTest::newRow("other language index is English") << P << Id::PttIdMode << 7 << 0x02 << "End" << 0x02;
    }
    void listMapping()
    {
        QFETCH(int, dialog);
        QFETCH(int, control);
        QFETCH(int, language);
        QFETCH(int, byte);
        QFETCH(QString, shown);
        QFETCH(int, storedBack);
        const ListOption &option = findList(dialog, control);
        const int address = option.field->address;
        testImage[address] = std::uint8_t(byte);
        const int position = shownPosition(testImage, option);
        QCOMPARE(optionEntries(option.words, language).value(position), shown);
        storePosition(testImage, option, position);
        QCOMPARE(int(testImage[address]), storedBack);
        QCOMPARE(shownPosition(testImage, option), position);
    }

    // Labels and captions come from the resource library of the current language.
    void labelsFromTheResourceLibrary()
    {
        QCOMPARE(optionLabel(findList(ResId::OptionDialog, OptionIds::ReceiveAlarmTime)),
                 QStringLiteral("Receive Alarm Time"));
        ResourceLibrary chs;
        QVERIFY(chs.loadFile(QStringLiteral(SOURCE_DIR "/resources/Chs.dll")));
        installResources(chs);
        NewImage(testImage);
        const QMap<QString, QString> shown = shownByLabel(1, QStringLiteral("选项"));
        installResources(ResourceLibrary());
        QCOMPARE(shown.value(QStringLiteral("静噪等级")), QStringLiteral("5"));
        QCOMPARE(shown.value(QStringLiteral("接收报警时间")), QStringLiteral("连续"));
    }

    void passwordDigits()
    {
        storePowerOnPassword(testImage, QStringLiteral("12"));
        QCOMPARE(imageBytes(0x1848, 6).toHex(' '), QByteArray("01 02 ff ff ff ff"));
        QCOMPARE(powerOnPasswordText(testImage), QStringLiteral("12"));
    }

    // What a text box keeps of typed or pasted input.
    void textFilters_data()
    {
        QTest::addColumn<int>("which"); // 0 password, 1 PTT ID code, 2 PCBA
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("kept");
        QTest::newRow("password digits") << 0 << "12a3 4" << "1234";
        QTest::newRow("password fullwidth digit") << 0 << QString::fromUtf16(u"1２3") << "13";
        QTest::newRow("password at most six") << 0 << "12345678" << "123456";
        QTest::newRow("code a1#") << 1 << "a1#" << "A1#";
        QTest::newRow("code e ignored") << 1 << "A1#e" << "A1#";
        QTest::newRow("code all kinds") << 1 << "0189abcdABCD*#" << "0189ABCDABCD*#";
        QTest::newRow("code drops E-Z, space, non-ASCII") << 1 << QString::fromUtf16(u"AEz 5ä关*") << "A5*";
        QTest::newRow("PCBA letters to capitals") << 2 << "ab12" << "AB12";
        QTest::newRow("PCBA drops punctuation") << 2 << "x-y_z.9 #" << "XYZ9";
        QTest::newRow("PCBA drops non-ASCII letters") << 2 << QString::fromUtf16(u"éA关ß1") << "A1";
        QTest::newRow("PCBA at most 16") << 2 << "abcdefghijklmnopqrs" << "ABCDEFGHIJKLMNOP";
    }
    void textFilters()
    {
        QFETCH(int, which);
        QFETCH(QString, input);
        QFETCH(QString, kept);
        const QString result = which == 0 ? filterPowerOnPassword(input)
                               : which == 1 ? filterPttIdCode(input)
                                            : filterPcbaText(input);
        QCOMPARE(result, kept);
    }

    void codeAndPcbaReadBack()
    {
        storePttIdCode(testImage, QStringLiteral("A1#"));
        QCOMPARE(imageBytes(0x1D30, 16), QByteArray("A1#") + QByteArray(13, char(0xFF)));
        QCOMPARE(pttIdCodeText(testImage), QStringLiteral("A1#"));
        storePcbaText(testImage, QStringLiteral("AB12"));
        QCOMPARE(imageBytes(0x1FD0, 16), QByteArray("AB12") + QByteArray(12, char(0xFF)));
        QCOMPARE(pcbaText(testImage), QStringLiteral("AB12"));
        // small letters found in the image are shown as capitals
        std::memcpy(testImage.data() + 0x1FD0, "ab1\xff", 4);
        QCOMPARE(pcbaText(testImage), QStringLiteral("AB1"));
    }
};

REGISTER_TEST(TestOptionLists)
#include "tst_optionlists.moc"
