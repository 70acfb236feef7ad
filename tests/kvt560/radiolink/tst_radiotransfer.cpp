// Radio read and write end to end: the transfer on the program's serial transport, a
// pseudo-terminal, and the simulated radio with its memory and faults on the other side.
#include "RadioSimulator.h"
#include "ChannelRows.h"
#include "TestRegistry.h"
#include "radiolink/MemoryLayout.h"
#include "radiolink/RadioTransfer.h"
#include "settings/SettingsRegistry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Short windows: the simulator answers at once (--no-pacing).
const LinkTiming Fast{10, 40, 30, 20};
// The same windows with the fast link, which ends each as soon as its reply is complete.
const LinkTiming FastLink{10, 70, 80, 20, true};
const QString Greeting = QStringLiteral("02055A416B726F");
const QString Enter = QStringLiteral("0600");
const QString End = QStringLiteral("64016F");
const Marks Zh = Marks::forLanguage(1);

QString samplePath()
{
    return QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt560-demo.bin");
}

// An editor holding something in every channel and non-Start settings, so that any change
// a failed read made would show.
Codeplug busyEditor()
{
    Codeplug c;
    for (int row = 1; row <= 128; ++row)
        setRow(c.channels, row, QString::fromUtf8("439.00000|67.0|439.00000|禁用|低功率|窄带|启用|禁用|禁用|OLD|启用|禁用|禁用|2|0|禁用|禁用"));
    c.settings.set("bsSkinComboBox9", 8);
    c.settings.set("bsSkinEdit5", "777");
    c.bandRanges = QStringList{"430-440MHz"};
    return c;
}

QByteArray writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return bytes;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A codeplug with something in the first and last channel and non-Start settings.
Codeplug knownCodeplug()
{
    Codeplug codeplug;
    setRow(codeplug.channels, 1,
           QString::fromUtf8("446.00625|100.0|441.00625|D023N|高功率|宽带|启用|禁用|禁用|CH-1|启用|禁用|禁用|14|53|禁用|禁用"));
    setRow(codeplug.channels, 128,
           QString::fromUtf8("400.00000|63.0|469.99375|禁用|高功率|宽带|禁用|禁用|禁用|A B|启用|启用|启用|1|0|扰频|禁用"));
    codeplug.settings.set("bsSkinCheckRadioBox21", 1);
    codeplug.settings.set("bsSkinEdit15", "123450");
    return codeplug;
}

// What the standard link reads from the sample radio, and what it leaves in a radio after
// writing knownCodeplug(): the references the fast link must match.
struct Reference {
    Codeplug read;
    QByteArray written;
};

Reference runReference()
{
    Reference ref;
    QTemporaryDir dir;
    {
        RadioSimulator sim;
        if (!sim.start({"--no-pacing", "--memory", samplePath()}))
            return ref;
        SerialTransport transport;
        if (!sim.attach(transport, dir))
            return ref;
        RadioTransfer transfer(transport, Fast);
        transfer.setMarks(Zh);
        ref.read = busyEditor();
        if (transfer.read(ref.read) != RadioTransfer::Outcome::Success)
            ref.read = Codeplug();
    }
    RadioSimulator sim;
    if (!sim.start({"--no-pacing", "--memory", samplePath(), "--save", dir.filePath("after.bin")}))
        return ref;
    SerialTransport transport;
    if (!sim.attach(transport, dir))
        return ref;
    RadioTransfer transfer(transport, Fast);
    transfer.setMarks(Zh);
    if (transfer.write(knownCodeplug(), 0x01) == RadioTransfer::Outcome::Success) {
        sim.stop();
        ref.written = readFile(dir.filePath("after.bin"));
    }
    return ref;
}

const Reference &reference()
{
    static const Reference ref = runReference();
    return ref;
}

} // namespace

class TestRadioTransfer : public QObject
{
    Q_OBJECT
private slots:
    void readKnownMemory_data();
    void readKnownMemory();
    void writeKnownCodeplug();
    void failedReadChangesNothing();
    void aliasNotAcknowledged();
    void failures_data();
    void failures();
    void fastLinkMatchesStandard_data();
    void fastLinkMatchesStandard();
    void busyStormGivesUp();
};

void TestRadioTransfer::readKnownMemory_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("cableMode");
    QTest::addColumn<int>("greetings");   // at least
    QTest::addColumn<int>("enters");

    QTest::newRow("single head, echo removed")
        << QStringList{"--echo"} << int(SerialTransport::SingleHead) << 1 << 1;
    // The greeting reply split across the window is retried; busy enters and a wrong check
    // byte are repeated.
    QTest::newRow("split greeting, busy enter three times, wrong check once")
        << QStringList{"--split", "--split-pause", "100", "--busy-enter", "3", "--bad-check-once"}
        << int(SerialTransport::DualHead) << 2 << 4;   // the tail of the split reply spoils a later window too
    // Data replies cut short with a right check byte are asked for again, not padded.
    QTest::newRow("short record and alias replies")
        << QStringList{"--short-block", "0010:1", "--short-block", "0810:2"} << int(SerialTransport::DualHead) << 1 << 1;
    // A well-formed reply for another block, or noise, is asked for again, not decoded.
    QTest::newRow("replies for another address, random bytes for a record")
        << QStringList{"--wrong-address", "0010:1", "--wrong-address", "0810:2", "--wrong-address", "0C80:1",
                       "--garbage-block", "0020:1"}
        << int(SerialTransport::DualHead) << 1 << 1;
}

void TestRadioTransfer::readKnownMemory()
{
    QFETCH(QStringList, options);
    QFETCH(int, cableMode);
    QFETCH(int, greetings);
    QFETCH(int, enters);

    QTemporaryDir dir;
    RadioSimulator sim;
    QVERIFY(sim.start(options + QStringList{"--no-pacing", "--memory", samplePath()}));
    SerialTransport transport;
    transport.setCableMode(SerialTransport::CableMode(cableMode));
    QVERIFY(sim.attach(transport, dir));
    RecordingLink link(transport);
    RadioTransfer transfer(link, FastLink);
    transfer.setMarks(Zh);
    QSignalSpy progress(&transfer, &RadioTransfer::progress);

    Codeplug codeplug = busyEditor();
    QCOMPARE(transfer.read(codeplug), RadioTransfer::Outcome::Success);
    QVERIFY(link.count(Greeting) >= greetings);
    QCOMPARE(link.count(Enter), enters);
    QCOMPARE(link.requests.last(), End);
    QCOMPARE(progress.last().at(0).toInt(), RadioTransfer::ReadMaximum);
    QCOMPARE(progress.at(progress.size() - 2).at(0).toInt(), 137);

    QCOMPARE(codeplug.bandRanges, (QStringList{"400-470MHz", "400-470MHz", "136-174MHz", "136-174MHz"}));
    QCOMPARE(rowText(codeplug.channels, 1),
             QString::fromUtf8("430.00000|63.0|430.00000|D017N|高功率|宽带|启用|禁用|禁用|UHF 01|启用|禁用|禁用|1|52|压扩|禁用"));
    QCOMPARE(rowText(codeplug.channels, 68),
             QString::fromUtf8("144.18750|110.9|143.58750|D412I|高功率|宽带|启用|禁用|禁用|VHF 68|启用|禁用|禁用|17|226|禁用|禁用"));
    QCOMPARE(rowText(codeplug.channels, 120),
             QString::fromUtf8("147.43750|禁用|146.83750|D054I|低功率|宽带|禁用|禁用|禁用|VHF120|启用|禁用|启用|0|171|禁用|启用"));
    for (int row = 1; row <= 128; ++row)
        QVERIFY2(!codeplug.channels.column(1, row).isEmpty(), qPrintable(QString::number(row)));

    const SettingsValues &s = codeplug.settings;
    const QList<QPair<const char *, int>> numbers = {
        {"bsSkinComboBox9", 3}, {"bsSkinComboBox4", 1}, {"bsSkinComboBox7", 0}, {"bsSkinCheckRadioBox10", 1},
        {"bsSkinCheckRadioBox8", 1}, {"bsSkinComboBox8", 2}, {"bsSkinComboBox10", 5}, {"bsSkinComboBox1", 3},
        {"bsSkinComboBox22", 1}, {"bsSkinComboBox12", 0}, {"bsSkinCheckRadioBox11", 0}, {"bsSkinCheckRadioBox9", 1},
        {"bsSkinCheckRadioBox14", 1}, {"bsSkinComboBox15", 3}, {"bsSkinComboBox17", 1}, {"bsSkinComboBox18", 1},
        {"bsSkinCheckRadioBox6", 0}, {"bsSkinCheckRadioBox18", 1}, {"bsSkinComboBox27", 2}, {"bsSkinComboBox46", 4},
        {"bsSkinComboBox16", 3}, {"bsSkinComboBox13", 2}, {"bsSkinComboBox2", 1}, {"bsSkinComboBox3", 0},
        {"bsSkinComboBox5", 5}, {"bsSkinSpinEdit17", 120}, {"bsSkinSpinEdit9", 80}, {"bsSkinSpinEdit10", 100},
        {"bsSkinSpinEdit13", 600}, {"bsSkinSpinEdit14", 200}, {"bsSkinCheckRadioBox16", 1}, {"bsSkinComboBox14", 0},
        {"bsSkinSpinEdit21", 15},
    };
    for (const auto &[name, value] : numbers)
        QVERIFY2(s.number(QLatin1String(name)) == value, name);
    QCOMPARE(s.text("bsSkinEdit15"), QString("123456"));
    QCOMPARE(s.text("bsSkinEdit5"), QString("1234"));
    QCOMPARE(s.text("bsSkinEdit16"), QString("9999"));
    QCOMPARE(s.text("bsSkinEdit3"), QString("10101"));
    QCOMPARE(s.text("bsSkinEdit4"), QString("20202"));
    const QStringList calls{"1001", "1002", "2000", "*123#", "", "", "", "", "", "A1B2C3D"};
    for (int k = 0; k < 10; ++k)
        QCOMPARE(s.text(SettingsRegistry::callListEntryName(k)), calls.at(k));
}

// Every block lands at its address; what lies outside the written blocks keeps its bytes.
void TestRadioTransfer::writeKnownCodeplug()
{
    QTemporaryDir dir;
    QByteArray before(4096, char(0x5A));
    before.replace(0x0CC0, 16, hx("47004000470040001740136017401360"));
    writeFile(dir, "before.bin", before);
    const QString savePath = dir.filePath("after.bin");

    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", dir.filePath("before.bin"), "--save", savePath}));
    SerialTransport transport;
    QVERIFY(sim.attach(transport, dir));
    RecordingLink link(transport);
    RadioTransfer transfer(link, FastLink);
    transfer.setMarks(Zh);
    QSignalSpy progress(&transfer, &RadioTransfer::progress);

    const Codeplug codeplug = knownCodeplug();
    QCOMPARE(transfer.write(codeplug, 0x01), RadioTransfer::Outcome::Success);
    QCOMPARE(progress.last().at(0).toInt(), RadioTransfer::WriteMaximum);
    QCOMPARE(progress.at(progress.size() - 2).at(0).toInt(), 145);
    sim.stop();

    QByteArray expected = before;
    for (int n = 1; n <= 128; ++n) {
        expected.replace(16 * n, 16, QByteArray(16, char(0xFF)));
        expected.replace(0x0808 + 8 * n, 8, hx("0F0F0F0F0F0FFFFF"));
    }
    expected.replace(0x0010, 16, hx("44600604441006040E8202C3FFFFFF72"));
    expected.replace(0x0810, 8, hx("12170A010F0FFFFF"));
    expected.replace(0x0800, 16, hx("400000004699930C0182FF00FFFFEBB1"));
    expected.replace(0x0C08, 8, hx("100F110F0F0FFFFF"));
    expected.replace(0x0C80, 16, hx("01800202FF040300F9FFFF0302EEF0F0"));
    expected.replace(0x0C90, 11, hx("FFF142050A0A002800F114"));
    expected.replace(0x0CD0, 6, hx("010203040500"));
    expected.replace(0x0D00, 128, QByteArray(128, char(0xFF)));
    expected.replace(0x0D80, 16, hx("1AAAFFFFFFFFFFF4FFFFFFFFFFFFFFF0"));
    for (int k = 1; k < 5; ++k)
        expected.replace(0x0D80 + 16 * k, 16, hx("FFFFFFFFFFFFFFF0FFFFFFFFFFFFFFF0"));
    expected.replace(0x0E00, 16, hx("1AAAFFFFFFFFFFF4FFFFFFFFFFFFFFF0"));
    expected.replace(0x0E80, 16, hx("12345FFFFFFFFFF512345FFFFFFFFFF5"));

    const QByteArray after = readFile(savePath);
    QCOMPARE(after.size(), 4096);
    for (int a = 0; a < 4096; a += 16)
        QVERIFY2(after.mid(a, 16) == expected.mid(a, 16),
                 qPrintable(QStringLiteral("%1: %2 expected %3").arg(a, 4, 16, QLatin1Char('0'))
                                .arg(QString::fromLatin1(after.mid(a, 16).toHex()),
                                     QString::fromLatin1(expected.mid(a, 16).toHex()))));
}

// Channel 6's record never comes: it is asked for twice, then the read fails and the
// editor's codeplug is exactly as it was.
void TestRadioTransfer::failedReadChangesNothing()
{
    QTemporaryDir dir;
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath(), "--stop-after", "11"}));
    SerialTransport transport;
    QVERIFY(sim.attach(transport, dir));
    RecordingLink link(transport);
    RadioTransfer transfer(link, Fast);

    const Codeplug original = busyEditor();
    Codeplug codeplug = original;
    QCOMPARE(transfer.read(codeplug), RadioTransfer::Outcome::LinkError);
    QVERIFY(codeplug == original);
    QCOMPARE(link.count(RadioTransfer::readRequest(0x0060, 16)), 2);
    QCOMPARE(link.count(RadioTransfer::readRequest(0x0838, 8)), 0);
    QCOMPARE(link.count(RadioTransfer::readRequest(0x0C80, 16)), 0);
    QCOMPARE(link.requests.last(), End);
}

// The alias of channel 3 is not acknowledged: every channel is still written, then the
// transfer fails without the settings blocks.
void TestRadioTransfer::aliasNotAcknowledged()
{
    QTemporaryDir dir;
    const QString savePath = dir.filePath("after.bin");
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--no-ack", "0820", "--save", savePath}));
    SerialTransport transport;
    QVERIFY(sim.attach(transport, dir));
    RecordingLink link(transport);
    RadioTransfer transfer(link, Fast);

    Codeplug codeplug;
    for (int row = 1; row <= 128; ++row)
        setRow(codeplug.channels, row, QString::fromUtf8("438.00625||438.00625||||||||||||||"));
    QCOMPARE(transfer.write(codeplug, 0x01), RadioTransfer::Outcome::LinkError);
    QCOMPARE(link.countStartingWith("57120800"), 1);   // channel 128's record
    QCOMPARE(link.countStartingWith("570A0C08"), 1);   // channel 128's alias
    QCOMPARE(link.countStartingWith("570A0820"), 1);   // one attempt at the refused alias
    QCOMPARE(link.countStartingWith("57120C80"), 0);
    QCOMPARE(link.countStartingWith("570D0C90"), 0);
    QCOMPARE(link.countStartingWith("57120D"), 0);
    QCOMPARE(link.countStartingWith("57120E"), 0);
    QCOMPARE(link.requests.last(), End);
    sim.stop();

    const QByteArray after = readFile(savePath);
    QCOMPARE(after.mid(0x0800, 4), hx("43800604"));
    QCOMPARE(after.mid(0x0820, 8), QByteArray(8, char(0xFF)));
    QCOMPARE(after.mid(0x0C80, 16), QByteArray(16, char(0xFF)));
}

void TestRadioTransfer::failures_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("requests");

    const QString band = RadioTransfer::readRequest(0x0CC0, 16);
    QTest::newRow("silent radio: six greetings")
        << QStringList{"--silent"} << int(RadioTransfer::ReadKind) << int(RadioTransfer::Outcome::LinkError)
        << QStringList{Greeting, Greeting, Greeting, Greeting, Greeting, Greeting, End};
    QTest::newRow("write to a radio without band limits sends nothing")
        << QStringList{"--unprogrammed-bands"} << int(RadioTransfer::WriteKind)
        << int(RadioTransfer::Outcome::LinkError) << QStringList{Greeting, Enter, band, End};
    QStringList busyBand{Greeting, Enter};
    for (int i = 0; i < RadioTransfer::MaxRepeats; ++i)
        busyBand << band;
    QTest::newRow("a radio that stays busy fails after 20 replies")
        << QStringList{"--busy-block", "0CC0:100"} << int(RadioTransfer::ReadKind)
        << int(RadioTransfer::Outcome::LinkError) << (busyBand << End);
    QStringList shortBand{Greeting, Enter};
    for (int i = 0; i < RadioTransfer::MaxRepeats; ++i)
        shortBand << band;
    QTest::newRow("a radio that keeps cutting its data reply short fails after 20 replies")
        << QStringList{"--short-block", "0CC0:100"} << int(RadioTransfer::ReadKind)
        << int(RadioTransfer::Outcome::LinkError) << (shortBand << End);
    QTest::newRow("a radio that keeps answering for another address fails after 20 replies")
        << QStringList{"--wrong-address", "0CC0:100"} << int(RadioTransfer::ReadKind)
        << int(RadioTransfer::Outcome::LinkError) << (QStringList{Greeting, Enter} + QStringList(20, band) + QStringList{End});
    // Bytes without end: the reply cannot be one, the read fails at once and the text
    // collected stays bounded.
    QTest::newRow("flood of bytes")
        << QStringList{"--flood"} << int(RadioTransfer::ReadKind) << int(RadioTransfer::Outcome::LinkError)
        << QStringList{Greeting, Enter, band, End};
    QTest::newRow("enter frame busy without end")
        << QStringList{"--busy-enter", "100"} << int(RadioTransfer::ReadKind)
        << int(RadioTransfer::Outcome::LinkError)
        << (QStringList{Greeting} + QStringList(RadioTransfer::MaxRepeats, Enter) + QStringList{End});
    QTest::newRow("port gone") << QStringList{"--gone"} << int(RadioTransfer::ReadKind)
                               << int(RadioTransfer::Outcome::PortError) << QStringList{End};
}

void TestRadioTransfer::failures()
{
    QFETCH(QStringList, options);
    QFETCH(int, kind);
    QFETCH(int, outcome);
    QFETCH(QStringList, requests);

    QTemporaryDir dir;
    RadioSimulator sim;
    SerialTransport transport;
    if (options == QStringList{"--gone"}) {
        QFile ini(dir.filePath("myini.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[ports]\nCOM1=/dev/does-not-exist\n");
        ini.close();
        transport.setIniPath(ini.fileName());
    } else {
        QVERIFY(sim.start(options + QStringList{"--no-pacing"}));
        QVERIFY(sim.attach(transport, dir));
    }
    RecordingLink link(transport);
    RadioTransfer transfer(link, Fast);
    const Codeplug original = busyEditor();
    Codeplug codeplug = original;
    QCOMPARE(int(transfer.run(kind, codeplug, 0xFF)), outcome);
    QCOMPARE(link.requests, requests);
    QVERIFY(codeplug == original);
}

// The fast link reads and writes exactly what the standard link does, through the faults
// that make it repeat requests or wait out a window, and through a radio that needs 30 ms
// after each reply before it listens again (which the fast link learns and reports).
void TestRadioTransfer::fastLinkMatchesStandard_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("gap");   // the gap the link ends with

    QTest::newRow("no fault") << QStringList{} << 0;
    QTest::newRow("busy replies")
        << QStringList{"--busy-enter", "2", "--busy-block", "0010:3", "--busy-block", "0C80:2", "--busy-block", "0E80:1"} << 0;
    QTest::newRow("a wrong check byte") << QStringList{"--bad-check-once"} << 0;
    QTest::newRow("a split reply") << QStringList{"--split", "--split-pause", "60"} << 0;
    QTest::newRow("radio gap 30 ms") << QStringList{"--min-gap", "30"} << 30;
}

void TestRadioTransfer::fastLinkMatchesStandard()
{
    QFETCH(QStringList, options);
    QFETCH(int, gap);
    const Reference &ref = reference();
    QVERIFY(!ref.read.channels.column(1, 1).isEmpty());
    QCOMPARE(ref.written.size(), 4096);

    QTemporaryDir dir;
    {
        RadioSimulator sim;
        QVERIFY(sim.start(options + QStringList{"--no-pacing", "--memory", samplePath()}));
        SerialTransport transport;
        QVERIFY(sim.attach(transport, dir));
        RadioTransfer transfer(transport, FastLink);
        transfer.setMarks(Zh);
        QSignalSpy notes(&transfer, &RadioTransfer::linkNote);
        Codeplug codeplug = busyEditor();
        QCOMPARE(transfer.read(codeplug), RadioTransfer::Outcome::Success);
        QVERIFY(codeplug == ref.read);
        // A gap of 30 ms is learned as 30, or as 40 when a loaded machine was slow once more.
        QVERIFY2(gap == 0 ? transfer.gapMs() == 0 : transfer.gapMs() >= gap, qPrintable(QString::number(transfer.gapMs())));
        QCOMPARE(notes.isEmpty(), gap == 0);
        if (gap != 0)
            QVERIFY(notes.last().at(0).toString().contains(QStringLiteral("ms after each reply from now on")));
    }
    RadioSimulator sim;
    QVERIFY(sim.start(options + QStringList{"--no-pacing", "--memory", samplePath(), "--save", dir.filePath("after.bin")}));
    SerialTransport transport;
    QVERIFY(sim.attach(transport, dir));
    RadioTransfer transfer(transport, FastLink);
    transfer.setMarks(Zh);
    QCOMPARE(transfer.write(knownCodeplug(), 0x01), RadioTransfer::Outcome::Success);
    QVERIFY(gap == 0 ? transfer.gapMs() == 0 : transfer.gapMs() >= gap);
    sim.stop();
    QCOMPARE(readFile(dir.filePath("after.bin")), ref.written);
}

// A radio busy 19 times to every request never reaches the limit in a row, but a transfer
// that needed more than 256 repeats in all gives up with the link notice: 13 blocks take
// 247 repeats, the 14th (channel 7's record) fails at its tenth busy reply.
void TestRadioTransfer::busyStormGivesUp()
{
    QTemporaryDir dir;
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath(), "--busy-each", "19"}));
    SerialTransport transport;
    QVERIFY(sim.attach(transport, dir));
    RecordingLink link(transport);
    RadioTransfer transfer(link, LinkTiming{5, 40, 40, 10, true});
    const Codeplug original = busyEditor();
    Codeplug codeplug = original;
    QCOMPARE(transfer.read(codeplug), RadioTransfer::Outcome::LinkError);
    QVERIFY(codeplug == original);
    QCOMPARE(link.countStartingWith("5203"), 13 * 20 + 10);
    QCOMPARE(link.count(RadioTransfer::readRequest(0x0070, 16)), 10);
    QCOMPARE(link.requests.last(), End);
}

REGISTER_TEST(TestRadioTransfer)
#include "tst_radiotransfer.moc"
