#include "TestRegistry.h"
#include "radiolink/FieldEncoders.h"

#include <QTest>

using namespace FieldEncoders;

class TestEncoders : public QObject
{
    Q_OBJECT
private slots:
    void frequencyBothWays_data();
    void frequencyBothWays();
    void writeFre_data();
    void writeFre();
    void decodeFrequency_data();
    void decodeFrequency();

    void aliasEncode_data();
    void aliasEncode();
    void aliasDecode_data();
    void aliasDecode();

    void dtmfBothWays_data();
    void dtmfBothWays();
    void dtmfOutsideAlphabet_data();
    void dtmfOutsideAlphabet();
};

void TestEncoders::frequencyBothWays_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hex");
    QTest::newRow("438.00625") << "438.00625" << "43800604";
    QTest::newRow("400.00000") << "400.00000" << "40000000";
    QTest::newRow("469.99375") << "469.99375" << "4699930C";
    QTest::newRow("400.12500") << "400.12500" << "40012500";
    QTest::newRow("435.12575") << "435.12575" << "4351250C";
    QTest::newRow("446.00650") << "446.00650" << "44600608";
}

void TestEncoders::frequencyBothWays()
{
    QFETCH(QString, text);
    QFETCH(QString, hex);
    bool ok = false;
    QCOMPARE(WriteFre(text, &ok), hex);
    QVERIFY(ok);
    QCOMPARE(FieldEncoders::decodeFrequency(hex, &ok), text);
    QVERIFY(ok);
}

void TestEncoders::writeFre_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("ok");
    QTest::newRow("empty") << "" << "FFFFFFFF" << true;
    QTest::newRow("blank") << "  " << "FFFFFFFF" << true;
    // Last two digits off the 250 Hz raster round down to the code below.
    QTest::newRow("24 -> 00") << "438.00024" << "43800000" << true;
    QTest::newRow("49 -> 25") << "438.00049" << "43800004" << true;
    QTest::newRow("62 -> 50") << "438.00062" << "43800008" << true;
    QTest::newRow("99 -> 75") << "438.00099" << "4380000C" << true;
    // Raw editor forms mean the same frequency.
    QTest::newRow("short decimals") << "438.5" << "43850000" << true;
    QTest::newRow("whole MHz") << "438" << "43800000" << true;
    QTest::newRow("trailing dot") << "438." << "43800000" << true;
    QTest::newRow("two digit MHz") << "43.5" << "04350000" << true;
    // Nothing that could be written into the radio: refused, still 8 characters.
    QTest::newRow("letters") << "abc.defgh" << "FFFFFFFF" << false;
    QTest::newRow("four MHz digits") << "1438.00000" << "FFFFFFFF" << false;
    QTest::newRow("six decimals") << "438.000625" << "FFFFFFFF" << false;
    QTest::newRow("comma separator") << "438,00625" << "FFFFFFFF" << false;
    QTest::newRow("negative") << "-438.0" << "FFFFFFFF" << false;
}

void TestEncoders::writeFre()
{
    QFETCH(QString, text);
    QFETCH(QString, hex);
    QFETCH(bool, ok);
    bool converted = !ok;
    QCOMPARE(WriteFre(text, &converted), hex);
    QCOMPARE(converted, ok);
}

void TestEncoders::decodeFrequency_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("byte 3 = 0x02") << "40000002" << "400.00012" << true;
    QTest::newRow("byte 3 = 0x10, ten characters") << "40012510" << "400.125100" << true;
    QTest::newRow("lower-case hex") << "4351250c" << "435.12575" << true;
    QTest::newRow("erased") << "FFFFFFFF" << "" << false;
    QTest::newRow("not BCD") << "4A000000" << "" << false;
    QTest::newRow("too short") << "400000" << "" << false;
    QTest::newRow("not hex") << "4000000G" << "" << false;
}

void TestEncoders::decodeFrequency()
{
    QFETCH(QString, hex);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    bool converted = !ok;
    QCOMPARE(FieldEncoders::decodeFrequency(hex, &converted), text);
    QCOMPARE(converted, ok);
}

void TestEncoders::aliasEncode_data()
{
    QTest::addColumn<QString>("alias");
    QTest::addColumn<QString>("hex");
    QTest::newRow("CH-1") << "CH-1" << "12170A010F0F";
    QTest::newRow("inner blank kept") << "A B" << "100F110F0F0F";
    QTest::newRow("empty") << "" << "0F0F0F0F0F0F";
    QTest::newRow("every symbol") << "+_/.*9" << "0B0C0D0E2A09";
    QTest::newRow("Z") << "Z" << "290F0F0F0F0F";
    QTest::newRow("lower case as upper") << "ch-1" << "12170A010F0F";
    QTest::newRow("no code, left out") << "A!,B" << "10110F0F0F0F";
    QTest::newRow("seventh code dropped") << "ABCDEFG" << "101112131415";
    QTest::newRow("non-latin left out") << "频道1" << "010F0F0F0F0F";
}

void TestEncoders::aliasEncode()
{
    QFETCH(QString, alias);
    QFETCH(QString, hex);
    QCOMPARE(StrToHEX(alias), hex);
}

void TestEncoders::aliasDecode_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("alias");
    QTest::newRow("CH-1 with blanks") << "12170A010F0F" << "CH-1  ";
    QTest::newRow("A B") << "100F110F0F0F" << "A B   ";
    QTest::newRow("unprogrammed") << "FFFFFFFFFFFF" << "";
    QTest::newRow("A then erased") << "10FFFFFFFFFF" << "A";
    QTest::newRow("star is the last code") << "2A2B10000000" << "*A000";
    QTest::newRow("every symbol") << "0B0C0D0E2A09" << "+_/.*9";
}

void TestEncoders::aliasDecode()
{
    QFETCH(QString, hex);
    QFETCH(QString, alias);
    QCOMPARE(HexToStr(hex), alias);
}

void TestEncoders::dtmfBothWays_data()
{
    QTest::addColumn<QString>("dtmf");
    QTest::addColumn<QString>("hex");
    QTest::newRow("1000") << "1000" << "1AAA";
    QTest::newRow("D*#0") << "D*#0" << "0BCA";
    QTest::newRow("all sixteen") << "D1234567890*#ABC" << "0123456789ABCDEF";
    QTest::newRow("empty") << "" << "";
}

void TestEncoders::dtmfBothWays()
{
    QFETCH(QString, dtmf);
    QFETCH(QString, hex);
    QCOMPARE(DTMFToHex(dtmf, dtmf.size()), hex);
    QCOMPARE(HexToDTMF(hex, hex.size()), dtmf);
}

void TestEncoders::dtmfOutsideAlphabet_data()
{
    QTest::addColumn<QString>("dtmf");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("hex");
    QTest::newRow("E keeps its place") << "1E2" << 3 << "1F2";
    QTest::newRow("blank keeps its place") << "1 2" << 3 << "1F2";
    QTest::newRow("lower case digit") << "a1" << 2 << "D1";
    QTest::newRow("count below length") << "12345" << 3 << "123";
    QTest::newRow("count beyond length") << "12" << 4 << "12FF";
    QTest::newRow("negative count") << "12" << -1 << "";
}

void TestEncoders::dtmfOutsideAlphabet()
{
    QFETCH(QString, dtmf);
    QFETCH(int, count);
    QFETCH(QString, hex);
    QCOMPARE(DTMFToHex(dtmf, count), hex);
}

REGISTER_TEST(TestEncoders)
#include "tst_encoders.moc"
