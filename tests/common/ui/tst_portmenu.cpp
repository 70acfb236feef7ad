// The port menu both programs' windows show: what each entry maps to, the device list, what
// choosing a device stores, and the menu opened again, over a fake program side and a device
// listing the test supplies (the system lists no pseudo-terminal) with a pseudo-terminal as
// the cable.
#include "SerialFixtures.h"
#include "TestRegistry.h"

#include "common/PortEntries.h"
#include "common/ui/PortMenu.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A program with entries "P&1" … and a mapping it keeps in memory.
struct FakePorts : PortEntries
{
    QMap<int, QString> mapped;
    int marked = 2;
    bool storable = true;
    QList<std::pair<int, QString>> remembered;

    QString caption(int number) const override { return QStringLiteral("P&%1").arg(number); }
    QString device(int number, const QList<SerialDevice> &present) const override
    {
        return SerialPorts::deviceFor(number, mapped, present);
    }
    int chosen() override { return marked; }
    bool remember(int number, const QString &device) override
    {
        remembered.append({number, device});
        if (storable)
            mapped.insert(number, device);
        return storable;
    }
    PortProblemTexts texts() const override
    {
        PortProblemTexts t = PortProblemTexts::english();
        t.notConnected = QStringLiteral("absent");
        return t;
    }
};

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

class TestPortMenu : public QObject
{
    Q_OBJECT

    QTemporaryDir byId;
    std::unique_ptr<QMenu> qmenu;
    QList<QAction *> entries;
    FakePorts *ports = nullptr;   // owned by the port menu
    PortMenu *menu = nullptr;

    void build(int count)
    {
        qmenu = std::make_unique<QMenu>();
        entries.clear();
        QMap<int, QAction *> byNumber;
        for (int n = 1; n <= count; ++n)
            byNumber.insert(n, entries.emplace_back(qmenu->addAction(QStringLiteral("P%1").arg(n))));
        auto fake = std::make_unique<FakePorts>();
        ports = fake.get();
        menu = new PortMenu(qmenu.get(), byNumber, std::move(fake), qmenu.get());
    }
    void open() { emit qmenu->aboutToShow(); }

private slots:
    void cleanup()
    {
        qmenu.reset();
        entries.clear();
    }

    void entriesShowTheirDevices()
    {
        Cable cable(byId.path(), QStringLiteral("usb-Maker_R&D_Cable-if00-port0"));
        QVERIFY(!cable.device.path.isEmpty());
        cable.device.description = QStringLiteral("R&D Serial");
        DeviceListing listing({cable.device});
        build(3);
        ports->mapped = {{1, QStringLiteral("/dev/ttyUSB9")}, {3, cable.device.stableName}};
        open();

        QCOMPARE(entries.at(0)->text(), QStringLiteral("P&1  /dev/ttyUSB9 – absent"));
        QCOMPARE(entries.at(1)->text(), QStringLiteral("P&2  /dev/ttyUSB1 – absent"));
        // Found by its stable name; an ampersand of the device's words is no mnemonic.
        QCOMPARE(entries.at(2)->text(), QStringLiteral("P&3  %1 – R&&D Serial (1a86:7523)").arg(cable.device.path));
        QCOMPARE(menu->deviceActions().size(), 1);
        QAction *device = menu->deviceActions().first();
        QCOMPARE(device->text(), QStringLiteral("%1 – R&&D Serial, QinHeng Electronics (1a86:7523)").arg(cable.device.path));
        QCOMPARE(device->statusTip(), cable.device.stableName);
        QCOMPARE(device->objectName(), QStringLiteral("portDevice"));
        QVERIFY(qmenu->actions().contains(device));
        QVERIFY(qmenu->findChild<QAction *>(QStringLiteral("portDeviceSeparator")));
    }

    // The chosen entry gets the device by its stable name, or by its path when it has none;
    // the entry shows it at once. A mapping the program could not store is reported false.
    void choosingADeviceMapsTheChosenEntry()
    {
        Cable cable(byId.path(), QStringLiteral("usb-Only_Cable-if00-port0"));
        Cable bare(byId.path(), QStringLiteral("unused"));
        bare.device.stableName.clear();
        DeviceListing listing({cable.device, bare.device});
        build(4);
        open();
        const QList<QAction *> devices = menu->deviceActions();
        QCOMPARE(devices.size(), 2);
        const int cableAt = devices.at(0)->text().startsWith(cable.device.path) ? 0 : 1;

        devices.at(cableAt)->trigger();
        ports->marked = 4;
        QVERIFY(menu->choose(bare.device));
        const QList<std::pair<int, QString>> expected{{2, cable.device.stableName}, {4, bare.device.path}};
        QCOMPARE(ports->remembered, expected);
        QCOMPARE(withoutMnemonic(entries.at(1)->text()), QStringLiteral("P2  %1 – USB Serial (1a86:7523)").arg(cable.device.path));
        QVERIFY(entries.at(3)->text().startsWith(QStringLiteral("P&4  ") + bare.device.path));

        ports->storable = false;
        ports->marked = 1;
        QVERIFY(!menu->choose(cable.device));
        QCOMPARE(entries.at(0)->text(), QStringLiteral("P&1  /dev/ttyUSB0 – absent"));
    }

    void noDeviceAtAll()
    {
        DeviceListing listing;
        build(2);
        open();
        QCOMPARE(menu->deviceActions().size(), 1);
        QVERIFY(!menu->deviceActions().first()->isEnabled());
        QCOMPARE(menu->deviceActions().first()->text(), QStringLiteral("No serial device is connected"));
        // Opening the menu again does not pile up lists.
        open();
        open();
        QCOMPARE(menu->deviceActions().size(), 1);
        QCOMPARE(qmenu->actions().size(), 2 + 1 + 1);
    }

    // A menu the program could not find (a translated one without the entries) does nothing.
    void withoutAMenu()
    {
        DeviceListing listing;
        auto fake = std::make_unique<FakePorts>();
        FakePorts *raw = fake.get();
        QObject owner;
        PortMenu none(nullptr, {}, std::move(fake), &owner);
        none.refresh();
        QVERIFY(none.deviceActions().isEmpty());
        QVERIFY(raw->remembered.isEmpty());
    }
};

REGISTER_TEST(TestPortMenu)
#include "tst_portmenu.moc"
