#include "TestRegistry.h"
#include "radiolink/ToneCode.h"
#include "channels/ToneList.h"

#include <QSignalSpy>
#include <QTest>

class TestTones : public QObject
{
    Q_OBJECT
private slots:
    void listEntries_data();
    void listEntries();
    void listShapeAndLookup();
    void offWordChange();

    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void roundTripEveryEntry();
    void calculators_data();
    void calculators();
};

void TestTones::listEntries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("off") << 0 << QStringLiteral("禁用");
    QTest::newRow("first ctcss, no 62.5") << 1 << QStringLiteral("63.0");
    QTest::newRow("67.0") << 2 << QStringLiteral("67.0");
    QTest::newRow("last below 100") << 13 << QStringLiteral("97.4");
    QTest::newRow("100.0") << 14 << QStringLiteral("100.0");
    QTest::newRow("last ctcss") << 51 << QStringLiteral("254.1");
    QTest::newRow("first dcs N") << 52 << QStringLiteral("D017N");
    QTest::newRow("D023N") << 53 << QStringLiteral("D023N");
    QTest::newRow("last dcs N") << 158 << QStringLiteral("D754N");
    QTest::newRow("first dcs I") << 159 << QStringLiteral("D017I");
    QTest::newRow("D023I") << 160 << QStringLiteral("D023I");
    QTest::newRow("last dcs I") << 265 << QStringLiteral("D754I");
    QTest::newRow("below") << -1 << QString();
    QTest::newRow("beyond") << 266 << QString();
}

void TestTones::listEntries()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    ToneList list;
    QCOMPARE(list.at(index), text);
    if (!text.isEmpty())
        QCOMPARE(list.indexOf(text), index);
}

void TestTones::listShapeAndLookup()
{
    const ToneList list;
    QCOMPARE(list.entries().size(), ToneList::Count);
    // Every entry is distinct, so a text names exactly one index.
    QCOMPARE(QSet<QString>(list.entries().begin(), list.entries().end()).size(), ToneList::Count);
    for (int i = 1; i <= ToneList::CtcssCount; ++i)
        QCOMPARE(list.at(i).size(), list.at(i).toDouble() < 100 ? 4 : 5);
    for (int p = 1; p <= ToneList::DcsCount; ++p)
        QCOMPARE(list.at(ToneList::DcsInvertedBase + p).chopped(1),
                 list.at(ToneList::DcsNormalBase + p).chopped(1));
    QCOMPARE(list.indexOf(QStringLiteral("62.5")), -1);
    QCOMPARE(list.indexOf(QStringLiteral(" 67.0")), -1);
    QCOMPARE(list.indexOf(QStringLiteral("OFF")), -1);
    QCOMPARE(list.indexOf(QStringLiteral("d023n")), -1);
}

void TestTones::offWordChange()
{
    ToneList list;
    QSignalSpy spy(&list, &ToneList::entriesChanged);
    const int before = list.revision();

    list.setOffWord(QStringLiteral("OFF"));
    QCOMPARE(spy.count(), 1);
    QVERIFY(list.revision() != before);
    QCOMPARE(list.at(0), QStringLiteral("OFF"));
    QCOMPARE(list.offWord(), QStringLiteral("OFF"));
    QCOMPARE(list.indexOf(QStringLiteral("OFF")), 0);
    QCOMPARE(list.indexOf(QStringLiteral("禁用")), -1);
    QCOMPARE(list.at(1), QStringLiteral("63.0"));
    QCOMPARE(list.entries().size(), ToneList::Count);

    list.setOffWord(QStringLiteral("OFF"));   // same word: nothing to refill
    QCOMPARE(spy.count(), 1);

    // Decoding an off code gives the current word.
    QCOMPARE(ToneCode::sendCTC(0xFF, 0x00, list).text, QStringLiteral("OFF"));
}

void TestTones::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("rx");
    QTest::addColumn<QByteArray>("tx");
    const QByteArray off("\xFF\x00", 2);
    QTest::newRow("100.0 five chars") << "100.0" << QByteArray("\x0E\x82") << QByteArray("\x0E\x81");
    QTest::newRow("97.4 four chars") << "97.4" << QByteArray("\x0D\x82") << QByteArray("\x0D\x81");
    QTest::newRow("63.0") << "63.0" << QByteArray("\x01\x82") << QByteArray("\x01\x81");
    QTest::newRow("254.1") << "254.1" << QByteArray("\x33\x82") << QByteArray("\x33\x81");
    QTest::newRow("D023N") << "D023N" << QByteArray("\x02\xC4") << QByteArray("\x02\xC3");
    QTest::newRow("D023I") << "D023I" << QByteArray("\x02\xE4") << QByteArray("\x02\xE3");
    QTest::newRow("D754I") << "D754I" << QByteArray("\x6B\xE4") << QByteArray("\x6B\xE3");
    QTest::newRow("blanks around") << "  D017N " << QByteArray("\x01\xC4") << QByteArray("\x01\xC3");
    QTest::newRow("empty") << "" << off << off;
    QTest::newRow("chinese off") << "禁用" << off << off;
    QTest::newRow("english off") << "OFF" << off << off;
    // Texts that are no entry: an edited file, a near miss of an entry.
    QTest::newRow("no 62.5") << "62.5" << off << off;
    QTest::newRow("67.5 not 67.0") << "67.5" << off << off;
    QTest::newRow("octal 8 in code") << "D018N" << off << off;
    QTest::newRow("lower case") << "d023n" << off << off;
    QTest::newRow("garbage") << "xyz" << off << off;
    QTest::newRow("single I") << "I" << off << off;
}

void TestTones::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, rx);
    QFETCH(QByteArray, tx);
    QCOMPARE(ToneCode::writeRxcode(text), rx);
    QCOMPARE(ToneCode::writeTxcode(text), tx);
}

void TestTones::decode_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("index");
    const QString off = QStringLiteral("禁用");
    QTest::newRow("off") << QByteArray("\xFF\x00", 2) << off << "0";
    QTest::newRow("kind F") << QByteArray("\x05\xF4") << off << "0";
    QTest::newRow("kind 0 with position") << QByteArray("\x05\x02") << off << "0";
    QTest::newRow("ctcss rx 254.1") << QByteArray("\x33\x82") << "254.1" << "51";
    QTest::newRow("ctcss tx low nibble ignored") << QByteArray("\x0E\x81") << "100.0" << "14";
    QTest::newRow("dcs N rx") << QByteArray("\x02\xC4") << "D023N" << "53";
    QTest::newRow("dcs N tx") << QByteArray("\x02\xC3") << "D023N" << "53";
    QTest::newRow("D754I") << QByteArray("\x6B\xE4") << "D754I" << "265";
    QTest::newRow("first dcs I") << QByteArray("\x01\xE3") << "D017I" << "159";
    // Codes this program never writes: read as off, never a failure.
    QTest::newRow("unknown kind 0xA") << QByteArray("\x02\xA4") << off << "0";
    QTest::newRow("ctcss position 0") << QByteArray("\x00\x82", 2) << off << "0";
    QTest::newRow("ctcss position 52") << QByteArray("\x34\x82") << off << "0";
    QTest::newRow("dcs position 108") << QByteArray("\x6C\xC4") << off << "0";
    QTest::newRow("inverted position 0xFF") << QByteArray("\xFF\xE4") << off << "0";
    QTest::newRow("short code") << QByteArray("\x02") << off << "0";
}

void TestTones::decode()
{
    QFETCH(QByteArray, code);
    QFETCH(QString, text);
    QFETCH(QString, index);
    const ToneList list;
    const ToneCode::ToneCell cell = ToneCode::sendCTC(code, list);
    QCOMPARE(cell.text, text);
    QCOMPARE(cell.index, index);
}

void TestTones::roundTripEveryEntry()
{
    // Each entry survives write and read in both directions, and the decoded index names
    // the entry in the list (the attribute column invariant).
    ToneList list;
    list.setOffWord(QStringLiteral("OFF"));
    for (int i = 0; i < ToneList::Count; ++i) {
        for (const QByteArray &code : {ToneCode::writeRxcode(list.at(i)), ToneCode::writeTxcode(list.at(i))}) {
            QCOMPARE(code.size(), 2);
            const ToneCode::ToneCell cell = ToneCode::sendCTC(code, list);
            QCOMPARE(cell.text, list.at(i));
            QCOMPARE(cell.index, QString::number(i));
        }
    }
}

void TestTones::calculators_data()
{
    QTest::addColumn<bool>("ctcss");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("position");
    QTest::newRow("ctc 63") << true << 63 << "01";
    QTest::newRow("ctc 100") << true << 100 << "0E";
    QTest::newRow("ctc 254") << true << 254 << "33";
    QTest::newRow("ctc 62 none") << true << 62 << "00";
    QTest::newRow("dcs 17") << false << 17 << "01";
    QTest::newRow("dcs 23") << false << 23 << "02";
    QTest::newRow("dcs 754") << false << 754 << "6B";
    QTest::newRow("dcs 18 none") << false << 18 << "00";
}

void TestTones::calculators()
{
    QFETCH(bool, ctcss);
    QFETCH(int, value);
    QFETCH(QString, position);
    QCOMPARE(ctcss ? ToneCode::CAL_ctc(value) : ToneCode::CAL_dcs(value), position);
}

REGISTER_TEST(TestTones)
#include "tst_tones.moc"
