// The serial transport end to end: a real pseudo-terminal with the simulated radio on the
// other side, reached through the [ports] mapping of an ini file.
#include "RadioSimulator.h"
#include "SmallDisk.h"
#include "TestRegistry.h"
#include "radiolink/LinkTiming.h"
#include "radiolink/RadioFrame.h"
#include "radiolink/SerialTransport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const QString Greeting = QStringLiteral("02055A416B726F");
const QString GreetingReply = QStringLiteral("0606646F7276616B05");
const QString Ack = QStringLiteral("060006");
const QString Busy = QStringLiteral("090009");

QString hex(const QByteArray &bytes)
{
    return RadioFrame::toHexText(bytes);
}

// The radio's answer to a read of `data.size()` bytes at `address`.
QString dataReply(int address, const QByteArray &data)
{
    QByteArray f;
    f.append(char(0x57));
    f.append(char(2 + data.size()));
    f.append(char(address >> 8));
    f.append(char(address & 0xFF));
    f.append(data);
    f.append(char(RadioFrame::CheckByte(f)));
    return hex(f);
}

QString readRequest(int address, int length)
{
    return QStringLiteral("5203%1%2").arg(address, 4, 16, QLatin1Char('0')).arg(length, 2, 16, QLatin1Char('0')).toUpper();
}

QString writeRequest(int address, const QByteArray &data)
{
    return QStringLiteral("57%1%2").arg(2 + data.size(), 2, 16, QLatin1Char('0')).arg(address, 4, 16, QLatin1Char('0')).toUpper()
        + hex(data);
}

// A radio as it leaves the factory: band limits 400-470 MHz and 136-174 MHz, the rest 0xFF.
QByteArray factoryMemory()
{
    QByteArray m(4096, char(0xFF));
    m.replace(0x0CC0, 16, QByteArray::fromHex("47004000470040001740136017401360"));
    return m;
}

} // namespace

class TestTransportRadiosim : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void faults_data();
    void faults();
    void savesMemoryWhenStopped();
    void rejectsMemoryFileOfWrongSize();
    void saveOntoAFullDiskFailsAndKeepsTheOldFile();
    void minGapIgnoresEarlyFrames();
    void floodStaysBounded();
    void countsBytesOnExit();
};

void TestTransportRadiosim::roundTrip_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("cableMode");
    QTest::addColumn<bool>("standardWindows");

    QTest::newRow("dual head") << QStringList{"--no-pacing"} << int(SerialTransport::DualHead) << false;
    QTest::newRow("single head, echo removed")
        << QStringList{"--no-pacing", "--echo"} << int(SerialTransport::SingleHead) << false;
    // At 9600 baud the echo and the reply must still fit the fixed windows.
    QTest::newRow("single head, 9600 baud, standard windows")
        << QStringList{"--echo"} << int(SerialTransport::SingleHead) << true;
}

// Greeting, enter, a record and an alias read, an alias write, end; then the memory the
// radio saved holds exactly the written bytes.
void TestTransportRadiosim::roundTrip()
{
    QFETCH(QStringList, options);
    QFETCH(int, cableMode);
    QFETCH(bool, standardWindows);

    LinkTiming timing;
    if (!standardWindows)
        timing = LinkTiming{20, 50, 50, 50};

    QTemporaryDir dir;
    QByteArray memory(4096, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = char((i * 7 + i / 256) & 0xFF);
    const QString memoryPath = dir.filePath(QStringLiteral("radio.bin"));
    const QString savePath = dir.filePath(QStringLiteral("saved.bin"));
    {
        QFile f(memoryPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(memory);
    }

    RadioSimulator sim;
    QVERIFY(sim.start(options + QStringList{"--memory", memoryPath, "--save", savePath}));
    SerialTransport link;
    link.setCableMode(SerialTransport::CableMode(cableMode));
    QVERIFY(sim.attach(link, dir) && link.open());

    QCOMPARE(link.exchange(Greeting, timing.handshakeMs), GreetingReply);
    QCOMPARE(link.exchange(QStringLiteral("0600"), timing.handshakeMs), Ack);
    QCOMPARE(link.exchange(readRequest(0x0010, 16), timing.blockMs), dataReply(0x0010, memory.mid(0x0010, 16)));
    QCOMPARE(link.exchange(readRequest(0x0810, 8), timing.blockMs), dataReply(0x0810, memory.mid(0x0810, 8)));
    const QByteArray alias = QByteArray::fromHex("1112131415160000") + QByteArray(2, char(0xFF));
    QCOMPARE(link.exchange(writeRequest(0x0818, alias.left(8)), timing.blockMs), Ack);
    link.sendAndWait(QStringLiteral("64016F"), timing.endMs);

    QByteArray expected = memory;
    expected.replace(0x0818, 8, alias.left(8));
    QFile saved(savePath);
    QTRY_VERIFY(saved.exists());
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), expected);
}

void TestTransportRadiosim::faults_data()
{
    QTest::addColumn<QStringList>("options");
    // Steps "REQUEST>REPLY" (an empty REPLY: nothing arrives), "wait:MS" (a wait that
    // collects what arrives) or "sleep:MS" (the program busy elsewhere, collecting nothing).
    QTest::addColumn<QStringList>("script");

    const QByteArray factory = factoryMemory();
    const QString bandRead = readRequest(0x0CC0, 16) + ">";
    const QString goodBand = dataReply(0x0CC0, factory.mid(0x0CC0, 16));
    const QString channelRead = readRequest(0x0010, 16) + ">";
    const QString emptyChannel = dataReply(0x0010, QByteArray(16, char(0xFF)));
    const QStringList hello{Greeting + ">" + GreetingReply, "0600>" + Ack};

    QTest::newRow("silent") << QStringList{"--silent"}
                            << QStringList{Greeting + ">", Greeting + ">"};
    QTest::newRow("busy enter twice")
        << QStringList{"--busy-enter", "2"}
        << QStringList{Greeting + ">" + GreetingReply, "0600>" + Busy, "0600>" + Busy, "0600>" + Ack};
    QTest::newRow("busy block twice")
        << QStringList{"--busy-block", "0010:2"}
        << hello + QStringList{bandRead + goodBand, channelRead + Busy, channelRead + Busy, channelRead + emptyChannel};
    QTest::newRow("wrong check byte once")
        << QStringList{"--bad-check-once"}
        << hello + QStringList{"CHECK", bandRead + goodBand};
    QTest::newRow("split reply arrives after the window")
        << QStringList{"--split", "--split-pause", "150"}
        << QStringList{Greeting + ">" + GreetingReply.left(8), "wait:200", Greeting + ">" + GreetingReply};
    // The tail of the split reply comes while nobody waits; the next request discards it.
    QTest::newRow("late bytes belong to no request")
        << QStringList{"--split", "--split-pause", "100"}
        << QStringList{Greeting + ">" + GreetingReply.left(8), "sleep:200", Greeting + ">" + GreetingReply};
    QTest::newRow("stop after two blocks")
        << QStringList{"--stop-after", "2"}
        << hello + QStringList{bandRead + goodBand, channelRead + emptyChannel, channelRead, channelRead};
    QTest::newRow("unprogrammed bands")
        << QStringList{"--unprogrammed-bands"}
        << hello + QStringList{bandRead + dataReply(0x0CC0, QByteArray(16, char(0xFF)))};
    QTest::newRow("no block before enter")
        << QStringList{} << QStringList{Greeting + ">" + GreetingReply, channelRead};
    QTest::newRow("end leaves programming mode")
        << QStringList{} << hello + QStringList{"64016F>", channelRead};
}

void TestTransportRadiosim::faults()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, script);

    const int window = 50;
    QTemporaryDir dir;
    RadioSimulator sim;
    QVERIFY(sim.start(options + QStringList{"--no-pacing"}));
    SerialTransport link;
    QVERIFY(sim.attach(link, dir) && link.open());

    for (const QString &step : script) {
        if (step.startsWith(QLatin1String("wait:"))) {
            link.wait(step.mid(5).toInt());
        } else if (step.startsWith(QLatin1String("sleep:"))) {
            QThread::msleep(step.mid(6).toULong());
        } else if (step == QLatin1String("CHECK")) {
            // A data reply whose check byte is wrong: right text, last byte not the XOR.
            const QString reply = link.exchange(readRequest(0x0CC0, 16), window);
            QCOMPARE(reply.size(), 42);
            QVERIFY(reply.startsWith(QLatin1String("57120CC0")));
            const QByteArray bytes = QByteArray::fromHex(reply.toLatin1());
            QVERIFY(RadioFrame::CheckByte(bytes.left(bytes.size() - 1)) != quint8(bytes.back()));
        } else {
            const QString request = step.section(QLatin1Char('>'), 0, 0);
            const QString reply = step.section(QLatin1Char('>'), 1);
            QCOMPARE(link.exchange(request, window), reply);
        }
    }
}

// SIGTERM saves what was written, even without an end frame.
void TestTransportRadiosim::savesMemoryWhenStopped()
{
    QTemporaryDir dir;
    const QString savePath = dir.filePath(QStringLiteral("saved.bin"));
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--save", savePath}));
    SerialTransport link;
    QVERIFY(sim.attach(link, dir) && link.open());
    QCOMPARE(link.exchange(Greeting, 50), GreetingReply);
    QCOMPARE(link.exchange(QStringLiteral("0600"), 50), Ack);
    const QByteArray block = QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10");
    QCOMPARE(link.exchange(writeRequest(0x0E00, block), 50), Ack);
    sim.stop();
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    // The radio's side is gone: no reply, and the port does not keep signalling errors.
    QCOMPARE(link.exchange(Greeting, 50), QString());
    QVERIFY(!link.isOpen());

    QByteArray expected = factoryMemory();
    expected.replace(0x0E00, 16, block);
    QFile saved(savePath);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), expected);
}

void TestTransportRadiosim::rejectsMemoryFileOfWrongSize()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("short.bin"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, char(0xFF)));
    f.close();

    QProcess sim;
    sim.start(QStringLiteral(RADIOSIM_PATH), {"kvt560", "--memory", path});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(sim.readAllStandardError().contains("4096"));
}

void TestTransportRadiosim::saveOntoAFullDiskFailsAndKeepsTheOldFile()
{
    SmallDisk disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.whyNot()));
    const QByteArray old(4096, '\x11');
    QVERIFY(disk.put(QStringLiteral("saved.bin"), old));
    QVERIFY(disk.fill());

    QProcess sim;
    sim.start(QStringLiteral(RADIOSIM_PATH), {"kvt560", "--no-pacing", "--save", disk.filePath(QStringLiteral("saved.bin"))});
    QVERIFY(sim.waitForStarted(5000));
    while (!sim.canReadLine())
        QVERIFY(sim.waitForReadyRead(5000));
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("saved.bin")) && err.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(err));
    QFile kept(disk.filePath(QStringLiteral("saved.bin")));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    QCOMPARE(disk.files(), QStringList{QStringLiteral("saved.bin")});
}

// --min-gap: a frame that comes sooner than the gap after the radio's last reply is not
// heard; the fast link's wait for it ends at its window, one that ends on a reply at once.
void TestTransportRadiosim::minGapIgnoresEarlyFrames()
{
    QTemporaryDir dir;
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--min-gap", "30"}));
    SerialTransport link;
    QVERIFY(sim.attach(link, dir) && link.open());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(link.exchangeUntilReply(Greeting, 200), GreetingReply);
    QVERIFY2(clock.elapsed() < 150, "the wait ends with the reply");
    QCOMPARE(link.exchangeUntilReply(QStringLiteral("0600"), 50), QString());   // too soon
    QVERIFY(clock.elapsed() >= 50);
    QCOMPARE(link.exchangeUntilReply(QStringLiteral("0600"), 50), Ack);         // 50 ms later
}

// A radio that sends without end: what a wait collects stays within the bound, and the
// fast link's wait is over at once (the noise looks complete long before it ends).
void TestTransportRadiosim::floodStaysBounded()
{
    QTemporaryDir dir;
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--flood"}));
    SerialTransport link;
    QVERIFY(sim.attach(link, dir) && link.open());
    QCOMPARE(link.exchange(Greeting, 50), GreetingReply);
    QCOMPARE(link.exchange(QStringLiteral("0600"), 50), Ack);
    for (int i = 0; i < 3; ++i) {
        const QString noise = link.exchange(readRequest(0x0CC0, 16), 200);
        QCOMPARE(noise.size(), SerialTransport::MaxRxText);
        QVERIFY(link.rxOverflow());
    }
    QVERIFY(link.exchangeUntilReply(readRequest(0x0CC0, 16), 500).size() <= SerialTransport::MaxRxText);
}

// The simulator reports the bytes that crossed the line, both ways, when it ends.
void TestTransportRadiosim::countsBytesOnExit()
{
    QTemporaryDir dir;
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing"}));
    SerialTransport link;
    QVERIFY(sim.attach(link, dir) && link.open());
    QCOMPARE(link.exchange(Greeting, 50), GreetingReply);                   // 8 bytes out, 9 back
    QCOMPARE(link.exchange(QStringLiteral("0600"), 50), Ack);               // 3 and 3
    QCOMPARE(link.exchange(readRequest(0x0CC0, 16), 50).size(), 2 * 21);   // 6 and 21
    sim.stop();
    const QStringList lines = QString::fromLatin1(sim.process().readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.last(), QStringLiteral("bytes received 17 sent 33"));
}

REGISTER_TEST(TestTransportRadiosim)
#include "tst_transport_radiosim.moc"
