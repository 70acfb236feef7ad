// What Program's Port menu adds to the common one (tests/common/ui): the COM1 … COM8 entries
// with the captions and words of the resource library, the [Ports] mapping written to
// Program.ini at once, COM1 when no entry is marked, and the one-cable default, with a device
// listing the test supplies and a pseudo-terminal as the cable.
#include "FrameFixture.h"
#include "SerialFixtures.h"
#include "TestRegistry.h"

#include "common/PortDiagnosis.h"
#include "common/SerialPorts.h"
#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "frame/Startup.h"
#include "frame/ui/CMainFrame.h"
#include "common/ui/PortMenu.h"
#include "radiolink/PortDevice.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The adapter of the cables in these tests.
struct Cp2102Cable : Cable {
    Cp2102Cable(const QString &byIdDir, const QString &stableLeaf) : Cable(byIdDir, stableLeaf)
    {
        device.description = QStringLiteral("CP2102 USB to UART Bridge Controller");
        device.manufacturer = QStringLiteral("Silicon Labs");
        device.vendorId = 0x10c4;
        device.productId = 0xea60;
    }
};

} // namespace

class TestProgramPortMenu : public QObject
{
    Q_OBJECT

    std::unique_ptr<DeviceListing> listing;
    std::unique_ptr<AppDirFixture> fx;
    std::unique_ptr<CMainFrame> frame;
    PortMenu *menu = nullptr;
    QStringList messages;

    void start(const QString &ini, const QList<SerialDevice> &present)
    {
        listing = std::make_unique<DeviceListing>(present);
        fx = std::make_unique<AppDirFixture>(ini);
        QString fail;
        QVERIFY(loadLanguageSetup(fx->path(), &fail));
        frame = std::make_unique<CMainFrame>();
        frame->showMessage = [this](const QString &text) { messages << text; };
        menu = frame->findChild<PortMenu *>();
        QVERIFY(menu && menu->menu());
        emit menu->menu()->aboutToShow();
    }
    QString entry(int n) const { return frame->action(ResId::Com1 + n - 1)->text(); }

private slots:
    void cleanup()
    {
        frame.reset();
        fx.reset();
        listing.reset();
    }

    void entriesShowTheirDevices_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("notConnected");
        QTest::newRow("Eng") << "Eng" << "not connected";
        QTest::newRow("Chs") << "Chs" << "未连接";
        QTest::newRow("Cht") << "Cht" << "未連接";
    }
    void entriesShowTheirDevices()
    {
        QFETCH(QString, language);
        QFETCH(QString, notConnected);
        QTemporaryDir byId;
        Cp2102Cable cable(byId.path(), QStringLiteral("usb-Silicon_Labs_CP2102-if00-port0"));
        start(QStringLiteral("[Setup]\nLanguage=%1\nCOM=COM3\n[Ports]\nCOM1=/dev/ttyUSB9\nCOM3=%2\n")
                  .arg(language, cable.device.stableName),
              {cable.device});
        QCOMPARE(entry(1), QStringLiteral("COM1  /dev/ttyUSB9 – ") + notConnected);
        QCOMPARE(entry(2), QStringLiteral("COM2  /dev/ttyUSB1 – ") + notConnected);
        QCOMPARE(entry(3), QStringLiteral("COM3  %1 – CP2102 USB to UART Bridge Controller (10c4:ea60)")
                               .arg(cable.device.path));
        QVERIFY(frame->action(ResId::Com1 + 2)->isChecked());
        QCOMPARE(menu->deviceActions().size(), 1);
        QCOMPARE(menu->deviceActions().first()->text(),
                 QStringLiteral("%1 – CP2102 USB to UART Bridge Controller, Silicon Labs (10c4:ea60)")
                     .arg(cable.device.path));
        QCOMPARE(menu->deviceActions().first()->statusTip(), cable.device.stableName);
    }

    void choosingADeviceMapsTheMarkedEntry()
    {
        QTemporaryDir byId;
        Cp2102Cable cable(byId.path(), QStringLiteral("usb-Silicon_Labs_CP2102-if00-port0"));
        start(QStringLiteral("[Setup]\nLanguage=Eng\nCOM=COM2\n"), {cable.device});
        menu->deviceActions().first()->trigger();
        QVERIFY(messages.isEmpty());
        QCOMPARE(ProgramIni(fx->path()).read(QStringLiteral("Ports"), QStringLiteral("COM2")), cable.device.stableName);
        QCOMPARE(portDevice(QStringLiteral("COM2"), fx->path()), cable.device.stableName);
        QVERIFY(!PortDiagnosis::tryOpen(portDevice(QStringLiteral("COM2"), fx->path())).isProblem());
        QCOMPARE(entry(2), QStringLiteral("COM2  %1 – CP2102 USB to UART Bridge Controller (10c4:ea60)")
                               .arg(cable.device.path));
        QCOMPARE(PortName, QStringLiteral("COM2"));
    }

    // With no entry marked (an empty COM key), the device goes to COM1, which becomes marked.
    void choosingWithNoEntryMarkedUsesCom1()
    {
        QTemporaryDir byId;
        Cp2102Cable cable(byId.path(), QStringLiteral("usb-cable"));
        cable.device.stableName.clear();   // a device without a stable name is stored by its path
        start(QStringLiteral("[Setup]\nLanguage=Eng\n"), {cable.device});
        QCOMPARE(PortName, QString());
        menu->deviceActions().first()->trigger();
        QCOMPARE(PortName, QStringLiteral("COM1"));
        QVERIFY(frame->action(ResId::Com1)->isChecked());
        QCOMPARE(ProgramIni(fx->path()).read(QStringLiteral("Ports"), QStringLiteral("COM1")), cable.device.path);
    }

    void oneCableOnAFreshInstallIsCom1()
    {
        QTemporaryDir byId;
        Cp2102Cable cable(byId.path(), QStringLiteral("usb-cable"));
        SerialDevice builtIn;
        builtIn.path = QStringLiteral("/dev/ttyS0");
        start(QStringLiteral("[Setup]\nLanguage=Eng\nCOM=COM1\n"), {builtIn, cable.device});
        QCOMPARE(portDevice(QStringLiteral("COM1"), fx->path()), cable.device.path);
        QCOMPARE(portDevice(QStringLiteral("COM2"), fx->path()), QStringLiteral("/dev/ttyUSB1"));
        QVERIFY(entry(1).startsWith(QStringLiteral("COM1  ") + cable.device.path + QStringLiteral(" – CP2102")));
        QCOMPARE(menu->deviceActions().size(), 2);
    }

    void noDeviceAtAll()
    {
        start(QStringLiteral("[Setup]\nLanguage=Chs\nCOM=COM1\n"), {});
        QCOMPARE(menu->deviceActions().size(), 1);
        QVERIFY(!menu->deviceActions().first()->isEnabled());
        QCOMPARE(menu->deviceActions().first()->text(), QStringLiteral("没有连接串口设备"));
        emit menu->menu()->aboutToShow();
        QCOMPARE(menu->menu()->actions().size(), 8 + 1 + 1);
    }
};

REGISTER_TEST(TestProgramPortMenu)
#include "tst_portmenu.moc"
