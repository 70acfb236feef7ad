// Finding serial devices and saying why one does not open, against pseudo-terminals and a
// listing the test supplies in place of the system's.
#include "SerialFixtures.h"
#include "TestRegistry.h"
#include "common/PortDiagnosis.h"
#include "common/SerialPorts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>


namespace {

SerialDevice usbCable(const QString &path, const QString &stable = QString())
{
    SerialDevice d;
    d.path = path;
    d.stableName = stable;
    d.description = QStringLiteral("USB Serial");
    d.manufacturer = QStringLiteral("QinHeng Electronics");
    d.vendorId = 0x1a86;
    d.productId = 0x7523;
    return d;
}

SerialDevice builtInPort(const QString &path)
{
    SerialDevice d;
    d.path = path;
    d.description = QStringLiteral("16550A");
    return d;
}

} // namespace

using Devices = QList<SerialDevice>;
using Mapping = QMap<int, QString>;

class TestSerialPorts : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SerialPorts::setListing({}); }

    void deviceFor_data();
    void deviceFor();
    void entryText_data();
    void entryText();
    void stableNamesFollowLinks();
    void listLinesNameTheirEntries();
    void missingDeviceNamesThosePresent_data();
    void missingDeviceNamesThosePresent();
    void busyDeviceNamesItsHolder();
    void texts_data();
    void texts();
};

void TestSerialPorts::deviceFor_data()
{
    QTest::addColumn<Devices>("present");
    QTest::addColumn<Mapping>("mapped");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("oneCable");

    const Devices one{usbCable(QStringLiteral("/dev/ttyACM0"))};
    const Devices two{usbCable(QStringLiteral("/dev/ttyACM0")), usbCable(QStringLiteral("/dev/ttyUSB3"))};
    const Devices oneAndBuiltIn{builtInPort(QStringLiteral("/dev/ttyS0")), usbCable(QStringLiteral("/dev/ttyACM0"))};
    const Mapping com2{{2, QStringLiteral("/dev/serial/by-id/usb-cable")}};

    QTest::newRow("entry") << two << com2 << 2 << "/dev/serial/by-id/usb-cable" << false;
    QTest::newRow("no entry, no device") << Devices() << Mapping() << 1 << "/dev/ttyUSB0" << false;
    QTest::newRow("fresh install, one cable") << one << Mapping() << 1 << "/dev/ttyACM0" << true;
    QTest::newRow("one cable beside a built-in port") << oneAndBuiltIn << Mapping() << 1 << "/dev/ttyACM0" << true;
    QTest::newRow("one cable, COM2 keeps its default") << one << Mapping() << 2 << "/dev/ttyUSB1" << false;
    QTest::newRow("two cables: the default") << two << Mapping() << 1 << "/dev/ttyUSB0" << false;
    QTest::newRow("any entry ends the fresh install") << one << com2 << 1 << "/dev/ttyUSB0" << false;
}

void TestSerialPorts::deviceFor()
{
    QFETCH(Devices, present);
    QFETCH(Mapping, mapped);
    QFETCH(int, number);
    QFETCH(QString, device);
    QFETCH(bool, oneCable);
    QCOMPARE(SerialPorts::deviceFor(number, mapped, present), device);
    QCOMPARE(SerialPorts::isOneCableDefault(number, mapped, present), oneCable);
}

void TestSerialPorts::entryText_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("text");

    QTest::newRow("present by path") << "/dev/ttyUSB0" << "/dev/ttyUSB0 – USB Serial (1a86:7523)";
    QTest::newRow("present by stable name") << "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"
                                            << "/dev/ttyUSB0 – USB Serial (1a86:7523)";
    QTest::newRow("built-in port") << "/dev/ttyS0" << "/dev/ttyS0 – 16550A";
    QTest::newRow("missing") << "/dev/ttyUSB1" << "/dev/ttyUSB1 – not connected";
    QTest::newRow("missing stable name") << "/dev/serial/by-id/usb-gone" << "/dev/serial/by-id/usb-gone – not connected";
    // A node that exists but is no listed serial device (a pseudo-terminal) is shown bare.
    QTest::newRow("unlisted node") << "/dev/null" << "/dev/null";
}

void TestSerialPorts::entryText()
{
    QFETCH(QString, device);
    QFETCH(QString, text);
    const Devices present{usbCable(QStringLiteral("/dev/ttyUSB0"),
                                   QStringLiteral("/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0")),
                          builtInPort(QStringLiteral("/dev/ttyS0"))};
    QCOMPARE(SerialPorts::entryText(device, present, QStringLiteral("not connected")), text);
}

void TestSerialPorts::stableNamesFollowLinks()
{
    PseudoTerminal a, b;
    QVERIFY(!a.path.isEmpty() && !b.path.isEmpty());
    QTemporaryDir byId;
    QVERIFY(QFile::link(a.path, byId.filePath(QStringLiteral("usb-Maker_Cable_A-if00-port0"))));
    QVERIFY(QFile::link(b.path, byId.filePath(QStringLiteral("usb-Maker_Cable_B-if00-port0"))));
    QVERIFY(QFile::link(QStringLiteral("/dev/no-such-tty"), byId.filePath(QStringLiteral("usb-gone"))));

    const QMap<QString, QString> names = SerialPorts::stableNames(byId.path());
    QCOMPARE(names.size(), 2);   // the dangling link leads nowhere
    QCOMPARE(names.value(a.path), byId.filePath(QStringLiteral("usb-Maker_Cable_A-if00-port0")));
    QCOMPARE(names.value(b.path), byId.filePath(QStringLiteral("usb-Maker_Cable_B-if00-port0")));

    // A device is found again by any link to it, as a stored stable name finds the cable.
    SerialDevice d;
    d.path = a.path;
    QVERIFY(d.matches(names.value(a.path)));
    QVERIFY(!d.matches(names.value(b.path)));
}

void TestSerialPorts::listLinesNameTheirEntries()
{
    SerialPorts::setListing([] {
        return Devices{usbCable(QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/serial/by-id/usb-b")),
                       builtInPort(QStringLiteral("/dev/ttyS0")), usbCable(QStringLiteral("/dev/ttyUSB0"))};
    });
    const Devices present = SerialPorts::available();
    QCOMPARE(present.first().path, QStringLiteral("/dev/ttyS0"));   // sorted by path
    // COM3 and COM4 name the cable on ttyUSB1 by its stable name and by its path; COM1 keeps
    // its default, ttyUSB0; COM2 is mapped to a device that is not there.
    const Mapping mapped{{2, QStringLiteral("/dev/ttyACM7")},
                         {3, QStringLiteral("/dev/serial/by-id/usb-b")},
                         {4, QStringLiteral("/dev/ttyUSB1")}};
    QCOMPARE(SerialPorts::listLines(present, mapped, 4),
             (QStringList{QStringLiteral("/dev/ttyS0\t-\t16550A\t-\t-"),
                          QStringLiteral("/dev/ttyUSB0\t-\tUSB Serial\t1a86:7523\tCOM1"),
                          QStringLiteral("/dev/ttyUSB1\t/dev/serial/by-id/usb-b\tUSB Serial\t1a86:7523\tCOM3,COM4")}));
}

void TestSerialPorts::missingDeviceNamesThosePresent_data()
{
    QTest::addColumn<Devices>("present");
    QTest::addColumn<QString>("line");
    QTest::newRow("others there") << Devices{usbCable(QStringLiteral("/dev/ttyACM0")), builtInPort(QStringLiteral("/dev/ttyS0"))}
                                  << "/dev/ttyUSB7 is not there. Serial devices present: /dev/ttyACM0, /dev/ttyS0.";
    QTest::newRow("none there") << Devices() << "/dev/ttyUSB7 is not there, and no serial device is connected.";
}

void TestSerialPorts::missingDeviceNamesThosePresent()
{
    QFETCH(Devices, present);
    QFETCH(QString, line);
    SerialPorts::setListing([present] { return present; });
    const PortProblem p = PortDiagnosis::tryOpen(QStringLiteral("/dev/ttyUSB7"));
    QCOMPARE(p.kind, PortProblem::Missing);
    QCOMPARE(PortProblemTexts::english().describe(p), line);
}

void TestSerialPorts::busyDeviceNamesItsHolder()
{
    PseudoTerminal pty;
    QVERIFY(!pty.path.isEmpty());
    QVERIFY(!PortDiagnosis::tryOpen(pty.path).isProblem());

    PortHolder holder;
    QVERIFY(holder.hold(pty.path));

    const PortProblem p = PortDiagnosis::tryOpen(pty.path);
    QCOMPARE(p.kind, PortProblem::Busy);
    const QString expected = QStringLiteral("holdport (PID %1)").arg(holder.pid());
    QCOMPARE(p.holder, expected);
    QCOMPARE(PortProblemTexts::english().describe(p), QStringLiteral("%1 is in use by %2.").arg(pty.path, expected));

    holder.release();
    QVERIFY(!PortDiagnosis::tryOpen(pty.path).isProblem());
}

void TestSerialPorts::texts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("line");
    QTest::newRow("permission") << int(PortProblem::NoPermission) << ""
                                << "/dev/ttyUSB0 may be used only by members of the group dialout, and alice is not one "
                                   "of them. Run: sudo usermod -aG dialout alice, then log out and in again.";
    QTest::newRow("busy, unnamed") << int(PortProblem::Busy) << "" << "/dev/ttyUSB0 is in use by another program.";
    QTest::newRow("busy, named") << int(PortProblem::Busy) << "minicom (PID 42)"
                                 << "/dev/ttyUSB0 is in use by minicom (PID 42).";
    QTest::newRow("other") << int(PortProblem::Other) << "" << "/dev/ttyUSB0: Input/output error";
    QTest::newRow("none") << int(PortProblem::None) << "" << "";
}

void TestSerialPorts::texts()
{
    QFETCH(int, kind);
    QFETCH(QString, holder);
    QFETCH(QString, line);
    PortProblem p;
    p.kind = PortProblem::Kind(kind);
    p.device = QStringLiteral("/dev/ttyUSB0");
    p.group = QStringLiteral("dialout");
    p.user = QStringLiteral("alice");
    p.holder = holder;
    p.systemText = QStringLiteral("Input/output error");
    QCOMPARE(PortProblemTexts::english().describe(p), line);
}

REGISTER_TEST(TestSerialPorts)
#include "tst_serialports.moc"
