// The serial transport on its own: frames and check bytes, the echo removal of a
// single-head cable, the timed wait, port names and the port probe.
#include "TestRegistry.h"
#include "radiolink/RadioFrame.h"
#include "radiolink/SerialTransport.h"
#include "radiolink/SysDelay.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <ctime>
#include <pty.h>
#include <unistd.h>

class TestTransport : public QObject
{
    Q_OBJECT
private slots:
    void buildFrame_data();
    void buildFrame();
    void checkByte_data();
    void checkByte();
    void echoRemoval_data();
    void echoRemoval();
    void rxTextIsBounded();
    void sysDelayWaitsWithoutSpinning();
    void portDeviceName_data();
    void portDeviceName();
    void probePort();
};

void TestTransport::buildFrame_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("echoLength");

    QTest::newRow("enter") << "0600" << QByteArray::fromHex("060006") << 6;
    QTest::newRow("end") << "64016F" << QByteArray::fromHex("64016F0A") << 8;
    QTest::newRow("greeting") << "02055A416B726F" << QByteArray::fromHex("02055A416B726F6A") << 16;
    QTest::newRow("read request") << "5203001010" << QByteArray::fromHex("520300101051") << 12;
    QTest::newRow("lower case") << "0a0b" << QByteArray::fromHex("0A0B01") << 6;
    // Malformed texts are never sent, so no echo is expected either.
    QTest::newRow("empty") << "" << QByteArray() << 0;
    QTest::newRow("odd length") << "060" << QByteArray() << 0;
    QTest::newRow("not hexadecimal") << "06G0" << QByteArray() << 0;
}

void TestTransport::buildFrame()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, frame);
    QFETCH(int, echoLength);

    QCOMPARE(RadioFrame::BuildFrame(text), frame);
    SerialTransport transport;
    QCOMPARE(transport.BuildFrame(text), frame);
    QCOMPARE(transport.EchoLength(), echoLength);
}

void TestTransport::checkByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("check");
    QTest::newRow("none") << QByteArray() << 0;
    QTest::newRow("acknowledge") << QByteArray::fromHex("0600") << 0x06;
    QTest::newRow("greeting reply") << QByteArray::fromHex("0606646F7276616B") << 0x05;
    QTest::newRow("high bits") << QByteArray::fromHex("FF80") << 0x7F;
}

void TestTransport::checkByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, check);
    QCOMPARE(int(RadioFrame::CheckByte(bytes)), check);
}

void TestTransport::echoRemoval_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("pieces");   // chunks as delivered by the port, in hex
    QTest::addColumn<QString>("rxText");
    QTest::addColumn<int>("echoLength");
    QTest::addColumn<bool>("complete");   // a whole frame, no echo left: the fast link's wait ends

    // The frame of "5203001010" is six bytes: the echo is 12 characters.
    const QString echo = QStringLiteral("520300101051");
    const QString reply = QStringLiteral("060006");
    const int single = SerialTransport::SingleHead, dual = SerialTransport::DualHead;

    QTest::newRow("echo alone stays") << single << QStringList{echo} << echo << 12 << false;
    QTest::newRow("echo and reply together") << single << QStringList{echo + reply} << reply << 0 << true;
    QTest::newRow("echo in two parts, reply third")
        << single << QStringList{echo.left(4), echo.mid(4), reply} << reply << 0 << true;
    QTest::newRow("reply starts with the echo's tail")
        << single << QStringList{echo.left(8), echo.mid(8) + reply.left(2), reply.mid(2)} << reply << 0 << true;
    QTest::newRow("removed once only")
        << single << QStringList{echo + reply.left(2), reply.mid(2)} << reply << 0 << true;
    QTest::newRow("echo and part of the reply")
        << single << QStringList{echo + reply.left(4)} << reply.left(4) << 0 << false;
    QTest::newRow("dual head keeps everything") << dual << QStringList{echo, reply} << echo + reply << 12 << true;
    QTest::newRow("data reply, count byte first")
        << dual << QStringList{"570A0810", "0102030405060708", "1D"} << "570A081001020304050607081D" << 12 << true;
    QTest::newRow("data reply one byte short")
        << dual << QStringList{"570A0810", "0102030405060708"} << "570A08100102030405060708" << 12 << false;
    QTest::newRow("one byte") << dual << QStringList{"06"} << "06" << 12 << false;
}

void TestTransport::echoRemoval()
{
    QFETCH(int, mode);
    QFETCH(QStringList, pieces);
    QFETCH(QString, rxText);
    QFETCH(int, echoLength);

    SerialTransport transport;
    transport.setCableMode(SerialTransport::CableMode(mode));
    transport.BuildFrame(QStringLiteral("5203001010"));
    transport.clearRxText();
    for (const QString &piece : pieces)
        transport.receiveBytes(QByteArray::fromHex(piece.toLatin1()));
    QCOMPARE(transport.RxText(), rxText);
    QCOMPARE(transport.EchoLength(), echoLength);
    QTEST(transport.replyComplete(), "complete");
}

// A radio that floods the line cannot make the received text grow: it stops at its bound,
// and the next request starts afresh.
void TestTransport::rxTextIsBounded()
{
    SerialTransport transport;
    transport.BuildFrame(QStringLiteral("5203001010"));
    transport.clearRxText();
    transport.receiveBytes(QByteArray::fromHex("5712"));
    for (int i = 0; i < 1000; ++i)
        transport.receiveBytes(QByteArray(1024, char(0x55)));
    QCOMPARE(transport.RxText().size(), SerialTransport::MaxRxText);
    QVERIFY(transport.RxText().startsWith(QLatin1String("57125555")));
    QVERIFY(transport.rxOverflow());
    transport.clearRxText();
    QVERIFY(!transport.rxOverflow());
    transport.receiveBytes(QByteArray::fromHex("060006"));
    QCOMPARE(transport.RxText(), QStringLiteral("060006"));
}

void TestTransport::sysDelayWaitsWithoutSpinning()
{
    bool delivered = false;
    QTimer::singleShot(20, this, [&] { delivered = true; });
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpuBefore = std::clock();
    SysDelay(300);
    const double cpuMs = 1000.0 * double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    QVERIFY(wall.elapsed() >= 300);
    QVERIFY2(delivered, "events are dispatched during the wait");
    QVERIFY2(cpuMs < 100, qPrintable(QStringLiteral("the wait used %1 ms of processor time").arg(cpuMs)));
}

void TestTransport::portDeviceName_data()
{
    QTest::addColumn<QString>("ini");     // file content; "-" for no file
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");

    const QString ini = QStringLiteral("[open]\ncom=2\n[ports]\nCOM2=/dev/pts/7\nCOM4=\n");
#ifdef Q_OS_WIN
    QTest::newRow("windows") << ini << 2 << "COM2";
#else
    QTest::newRow("mapped") << ini << 2 << "/dev/pts/7";
    QTest::newRow("not mapped") << ini << 3 << "/dev/ttyUSB2";
    QTest::newRow("empty entry") << ini << 4 << "/dev/ttyUSB3";
    QTest::newRow("no ini file") << "-" << 1 << "/dev/ttyUSB0";
#endif
}

void TestTransport::portDeviceName()
{
    QFETCH(QString, ini);
    QFETCH(int, port);
    QFETCH(QString, device);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("myini.ini"));
    if (ini != QLatin1String("-")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
    }
    QCOMPARE(SerialTransport::portDeviceName(port, path), device);
}

void TestTransport::probePort()
{
    int master = -1, slave = -1;
    char name[256] = {};
    QVERIFY(::openpty(&master, &slave, name, nullptr, nullptr) == 0);
    ::close(slave);
    const QString device = QString::fromLocal8Bit(name);

    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("myini.ini"));
    {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[ports]\nCOM1=%1\nCOM2=/dev/no-such-port\n").arg(device).toUtf8());
    }
    SerialTransport transport;
    transport.setIniPath(ini);

    QVERIFY(transport.ProbePort(1));
    QVERIFY(!transport.ProbePort(2));

    // A port held open (here by another transport) cannot be probed or opened.
    SerialTransport holder;
    holder.setIniPath(ini);
    holder.setPortNumber(1);
    QVERIFY(holder.open());
    QVERIFY(!transport.ProbePort(1));
    transport.setPortNumber(1);
    QVERIFY(!transport.open());
    QVERIFY(transport.errorString().contains(device));
    holder.close();
    QVERIFY(transport.ProbePort(1));
    QVERIFY(transport.open());

    transport.setPortNumber(2);
    transport.close();
    QVERIFY(!transport.open());
    QVERIFY(!transport.isOpen());
    ::close(master);
}

REGISTER_TEST(TestTransport)
#include "tst_transport.moc"
