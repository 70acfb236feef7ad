// The transfer against the simulated KVT270 radio on a pseudo-terminal: what a read puts into
// the image, what a write leaves in the radio, the handshake, and the faults of the line.
#include "Kvt270Simulator.h"
#include "TestRegistry.h"
#include "radiolink/PortDevice.h"
#include "radiolink/RadioTransfer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

const QByteArray Greeting = QByteArray::fromHex("0250524f475241");

bool transferred(int address, bool read)
{
    return address < 0x1D50 || (address >= 0x1FD0 && address < (read ? 0x2000 : 0x1FF0));
}

// The bytes a transfer sends after the handshake, block by block.
QByteArray expectedRequests(bool read, const QByteArray &image)
{
    QByteArray out = Greeting + QByteArray::fromHex("4d0206");
    for (const int a : RadioTransfer::blockAddresses(read)) {
        out += read ? 'R' : 'W';
        out += char(a / 256);
        out += char(a % 256);
        out += char(8);
        out += read ? QByteArray(1, 0x06) : image.mid(a, 8);
    }
    return out;
}

} // namespace

class TestRadioTransfer : public QObject
{
    Q_OBJECT
    // The image a transfer is given: what a write sends, what a read fills.
    QByteArray m_image;

private slots:
    void init() { m_image = QByteArray(int(RadioImageSize), char(0x5A)); }

    void portDevice_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("portName");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM3 unmapped") << QString() << "COM3" << "/dev/ttyUSB2";
        QTest::newRow("COM1 unmapped") << QString() << "COM1" << "/dev/ttyUSB0";
        QTest::newRow("COM3 mapped") << "[Ports]\nCOM3=/dev/ttyS4\n" << "COM3" << "/dev/ttyS4";
        QTest::newRow("section in other case") << "[ports]\ncom2=/dev/pts/9\n" << "COM2" << "/dev/pts/9";
        QTest::newRow("other ports mapped") << "[Ports]\nCOM1=/dev/ttyS0\n" << "COM2" << "/dev/ttyUSB1";
        QTest::newRow("empty") << "[Ports]\n=/dev/ttyS0\n" << "" << "";
        QTest::newRow("not a COM name") << QString() << "LPT1" << "";
        QTest::newRow("device path") << QString() << "/dev/ttyS1" << "/dev/ttyS1";
        QTest::newRow("path outside /dev") << QString() << "/tmp/radio-link" << "/tmp/radio-link";
        QTest::newRow("COM0") << QString() << "COM0" << "";
    }
    void portDevice()
    {
        QFETCH(QString, ini);
        QFETCH(QString, portName);
        QFETCH(QString, device);
        QTemporaryDir dir;
        if (!ini.isNull()) {
            QFile f(dir.filePath("Program.ini"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ini.toUtf8());
        }
        QCOMPARE(::portDevice(portName, dir.path() + '/'), device);
    }

    // A read takes exactly the transferred ranges from the radio and leaves 0x1D50-0x1FCF of
    // the image alone; the requests follow the block plan; the progress ends at 944 of 944.
    void fullRead()
    {
        const QByteArray radio = PatternMemory(1);
        Kvt270Simulator sim;
        QVERIFY(sim.start(radio));
        RadioTransfer t(true, "COM1", m_image, sim.appDirectory());
        QSignalSpy progress(&t, &RadioTransfer::progress);
        QCOMPARE(t.runHere(), RadioTransfer::Success);

        // The blocks the radio sent land in the transfer's copy of the image given; the rest
        // keeps the given bytes.
        const QByteArray image = t.image();
        for (int a = 0; a < int(RadioImageSize); ++a)
            QVERIFY2(image.at(a) == (transferred(a, true) ? radio.at(a) : char(0x5A)), qPrintable(QString::number(a, 16)));
        QCOMPARE(sim.received(), expectedRequests(true, image));
        QCOMPARE(progress.size(), RadioTransfer::ReadBlockCount);
        QCOMPARE(progress.first(), (QVariantList{1, 944}));
        QCOMPARE(progress.last(), (QVariantList{944, 944}));
        QCOMPARE(TransferBusy.load(), 0);
    }

    // A write leaves the radio equal to the image on the written ranges and untouched on
    // 0x1D50-0x1FCF and 0x1FF0-0x1FFF; the image does not change.
    void fullWrite()
    {
        const QByteArray radio = PatternMemory(1);
        const QByteArray image = PatternMemory(99);
        m_image = image;
        Kvt270Simulator sim;
        QVERIFY(sim.start(radio));
        RadioTransfer t(false, "COM1", m_image, sim.appDirectory());
        QSignalSpy progress(&t, &RadioTransfer::progress);
        QCOMPARE(t.runHere(), RadioTransfer::Success);

        QCOMPARE(t.image(), image);
        QCOMPARE(sim.received(), expectedRequests(false, image));
        const QByteArray after = sim.memoryAfter();
        QCOMPARE(after.size(), int(RadioImageSize));
        for (int a = 0; a < int(RadioImageSize); ++a)
            QVERIFY2(after.at(a) == (transferred(a, false) ? image.at(a) : radio.at(a)), qPrintable(QString::number(a, 16)));
        QCOMPARE(progress.last(), (QVariantList{942, 942}));
    }

    // The acknowledgement is any byte with 6 in its low four bits.
    void acknowledgement_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("result");
        QTest::newRow("0x16 read") << QStringList{"--ack", "16"} << true << int(RadioTransfer::Success);
        QTest::newRow("0x16 write") << QStringList{"--ack", "16"} << false << int(RadioTransfer::Success);
        QTest::newRow("0x07 refusal") << QStringList{"--refuse-greeting"} << true << int(RadioTransfer::CommunicationError);
    }
    void acknowledgement()
    {
        QFETCH(QStringList, faults);
        QFETCH(bool, read);
        QFETCH(int, result);
        const QByteArray radio = PatternMemory(1);
        Kvt270Simulator sim;
        QVERIFY(sim.start(radio, faults));
        RadioTransfer t(read, "COM1", m_image, sim.appDirectory());
        QCOMPARE(int(t.runHere()), result);
        if (result == RadioTransfer::Success && read)
            QCOMPARE(t.image().left(0x1D50), radio.left(0x1D50));
    }

    // A radio that never answers gets four greetings of seven bytes, and nothing else.
    void silentRadio()
    {
        Kvt270Simulator sim;
        QVERIFY(sim.start(PatternMemory(1), {"--silent"}));
        RadioTransfer t(true, "COM1", m_image, sim.appDirectory());
        QSignalSpy progress(&t, &RadioTransfer::progress);
        QCOMPARE(t.runHere(), RadioTransfer::CommunicationError);
        QCOMPARE(sim.received(), Greeting.repeated(4));
        QCOMPARE(progress.size(), 0);
        QCOMPARE(t.image(), QByteArray(int(RadioImageSize), char(0x5A)));
    }

    // A failure part-way leaves the image exactly as it was before the read, and ends soon
    // after the last block that went through; a line that closed (a cable pulled out) is told
    // apart from a radio that stopped answering.
    void failurePartWay_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("blocksDone");
        QTest::addColumn<QString>("detail");   // how the detail begins
        QTest::addColumn<bool>("lost");        // the line went away
        QTest::newRow("read, no reply from block 500") << true << QStringList{"--stop-at", "500"} << 499
                                                       << "block 500 of 944 at 0x0F98: the radio sent 0 of 12 bytes" << false;
        QTest::newRow("read, block 10 cut short") << true << QStringList{"--short-at", "10"} << 9
                                                  << "block 10 of 944 at 0x0048: the radio sent 7 of 12 bytes" << false;
        QTest::newRow("read, line gone at block 20") << true << QStringList{"--hang-up-at", "20"} << 19
                                                     << "block 20 of 944" << true;
        // A reply that is not this block's, well formed or noise, is not taken into the image.
        QTest::newRow("read, reply for another block at block 7")
            << true << QStringList{"--wrong-address-at", "7"} << 6
            << "block 7 of 944 at 0x0030: the reply is not for this block (57 00 38 08" << false;
        QTest::newRow("read, random bytes at block 12") << true << QStringList{"--garbage-at", "12"} << 11
                                                        << "block 12 of 944 at 0x0058: the reply is not for this block" << false;
        QTest::newRow("read, flood from block 3") << true << QStringList{"--flood-at", "3"} << 2 << "block 3 of 944" << false;
        QTest::newRow("write, no ack from block 5") << false << QStringList{"--stop-at", "5"} << 4
                                                    << "block 5 of 942 at 0x0020: not acknowledged (answer: nothing)" << false;
        QTest::newRow("write, line gone at block 30") << false << QStringList{"--hang-up-at", "30"} << 29
                                                      << "block 30 of 942" << true;
    }
    void failurePartWay()
    {
        QFETCH(bool, read);
        QFETCH(QStringList, faults);
        QFETCH(int, blocksDone);
        QFETCH(QString, detail);
        const QByteArray before = PatternMemory(42);
        m_image = before;
        Kvt270Simulator sim;
        QVERIFY(sim.start(PatternMemory(1), faults));
        RadioTransfer t(read, "COM1", m_image, sim.appDirectory());
        QSignalSpy progress(&t, &RadioTransfer::progress);
        QElapsedTimer clock;
        qint64 lastBlockAt = 0;
        connect(&t, &RadioTransfer::progress, this, [&] { lastBlockAt = clock.elapsed(); });
        clock.start();
        QCOMPARE(t.runHere(), RadioTransfer::CommunicationError);
        QVERIFY2(clock.elapsed() - lastBlockAt < 2000, qPrintable(QString::number(clock.elapsed() - lastBlockAt)));
        QCOMPARE(progress.size(), blocksDone);
        QCOMPARE(t.image(), before);
        QCOMPARE(TransferBusy.load(), 0);
        QVERIFY2(t.detail().startsWith(detail), qPrintable(t.detail()));
        QFETCH(bool, lost);
        QCOMPARE(t.deviceLost(), lost);
        QVERIFY(t.device().startsWith(QLatin1String("/dev/")));
    }

    void portCannotOpen_data()
    {
        QTest::addColumn<QString>("portName");
        QTest::newRow("empty") << "";
        QTest::newRow("no such device") << "COM7";
        QTest::newRow("not a port name") << "LPT1";
    }
    void portCannotOpen()
    {
        QFETCH(QString, portName);
        QTemporaryDir dir;
        QFile ini(dir.filePath("Program.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Ports]\nCOM7=/dev/no-such-radio\n");
        ini.close();
        RadioTransfer t(true, portName, m_image, dir.path());
        QSignalSpy opened(&t, &RadioTransfer::portOpened);
        QSignalSpy finished(&t, &RadioTransfer::finished);
        QCOMPARE(t.runHere(), RadioTransfer::PortOpenFailed);
        QCOMPARE(opened.size(), 0);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(TransferBusy.load(), 0);
    }

    // The worker thread reports to the thread that owns the transfer, and a second transfer
    // cannot start while one runs.
    void workerThread()
    {
        const QByteArray radio = PatternMemory(3);
        Kvt270Simulator sim;
        QVERIFY(sim.start(radio));
        RadioTransfer t(true, "COM1", m_image, sim.appDirectory());
        QList<Qt::HANDLE> threads;
        connect(&t, &RadioTransfer::progress, this, [&threads] { threads.append(QThread::currentThreadId()); },
                Qt::QueuedConnection);
        QSignalSpy finished(&t, &RadioTransfer::finished);
        QVERIFY(t.start());
        QVERIFY(!t.start());
        RadioTransfer second(false, "COM1", m_image, sim.appDirectory());
        QVERIFY(!second.start());
        QCOMPARE(second.runHere(), RadioTransfer::Busy);
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().value<RadioTransfer::Result>(), RadioTransfer::Success);
        QTRY_COMPARE(threads.size(), RadioTransfer::ReadBlockCount);
        QVERIFY(threads.count(QThread::currentThreadId()) == threads.size());
        // The image read comes back with the finished signal, in the receiver's thread.
        QCOMPARE(finished.first().at(1).toByteArray().mid(0x1FD0), radio.mid(0x1FD0));
        QCOMPARE(t.image(), finished.first().at(1).toByteArray());
        QCOMPARE(sim.memoryAfter(), radio);   // the second transfer never wrote
    }

    // A transfer asked to stop ends before its next block; a stopped read changes nothing.
    void stopRequested()
    {
        const QByteArray before = m_image;
        Kvt270Simulator sim;
        QVERIFY(sim.start(PatternMemory(3)));
        RadioTransfer t(true, "COM1", m_image, sim.appDirectory());
        connect(&t, &RadioTransfer::progress, &t, [&t](int position) {
            if (position == 10)
                t.requestStop();
        }, Qt::DirectConnection);
        QSignalSpy progress(&t, &RadioTransfer::progress);
        QCOMPARE(t.runHere(), RadioTransfer::Stopped);
        QCOMPARE(progress.size(), 10);
        QCOMPARE(t.image(), before);
        QCOMPARE(TransferBusy.load(), 0);
    }

    void texts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("commText");
        QTest::addColumn<QString>("readTitle");
        QTest::addColumn<QString>("writeTitle");
        QTest::newRow("English") << 0 << "Could not open the port" << "Communication error" << "Read Data" << "Write Data";
        QTest::newRow("Simplified") << 1 << "无法打开串口" << "通信出錯" << "读数据" << "写数据";
        QTest::newRow("Traditional") << 2 << "無法打開串口" << "通信出錯" << "讀數據" << "寫數據";
        QTest::newRow("other") << 7 << "Could not open the port" << "Communication error" << "Read Data" << "Write Data";
    }
    void texts()
    {
        QFETCH(int, language);
        QFETCH(QString, portText);
        QFETCH(QString, commText);
        QFETCH(QString, readTitle);
        QFETCH(QString, writeTitle);
        QCOMPARE(RadioTransfer::failureText(RadioTransfer::PortOpenFailed, language), portText);
        QCOMPARE(RadioTransfer::failureText(RadioTransfer::CommunicationError, language), commText);
        QCOMPARE(RadioTransfer::title(true, language), readTitle);
        QCOMPARE(RadioTransfer::title(false, language), writeTitle);
    }
};

REGISTER_TEST(TestRadioTransfer)
#include "tst_radiotransfer.moc"
