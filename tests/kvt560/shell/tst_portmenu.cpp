// What KVT560's port menu adds to the common one (tests/common/ui): the entries COM11 …
// COM41 of gsegs1, the [ports] mapping kept with the preferences and written at exit, the
// one-cable default, and the words of the language library, with a device listing the test
// supplies and a pseudo-terminal as the cable.
#include "Controls.h"
#include "SerialFixtures.h"
#include "TestRegistry.h"
#include "common/PortDiagnosis.h"
#include "common/SerialPorts.h"
#include "radiolink/SerialTransport.h"
#include "common/IniFile.h"
#include "common/ui/PortMenu.h"
#include "shell/ui/Tform1.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

QStringList texts(const QList<QAction *> &actions)
{
    QStringList out;
    for (const QAction *a : actions)
        out << withoutMnemonic(a->text());
    return out;
}

} // namespace

class TestPortMenu : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath;
    std::unique_ptr<DeviceListing> listing;
    std::unique_ptr<Tform1> form;

    void start(const QString &ini, const QList<SerialDevice> &present)
    {
        listing = std::make_unique<DeviceListing>(present);
        iniPath = dir.filePath(QStringLiteral("myini.ini"));
        QFile f(iniPath);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ini.toUtf8());
        f.close();
        form = std::make_unique<Tform1>(PreferencesPaths::single(iniPath));
        form->setExecutableDir(QStringLiteral(APP_DIR));
        // The menu fills itself as it opens.
        emit control<QMenu>(*form, "gsegs1")->aboutToShow();
    }

private slots:
    void cleanup()
    {
        form.reset();
        listing.reset();
    }

    void entriesShowTheirDevices()
    {
        Cable cable(dir.path(), QStringLiteral("usb-QinHeng_USB_Serial-if00-port0"));
        QVERIFY(!cable.device.path.isEmpty());
        start(QStringLiteral("[open]\ncom=2\nlang=2\n[ports]\nCOM1=/dev/ttyUSB9\nCOM3=%1\nCOM4=%2\n")
                  .arg(cable.device.stableName, cable.device.path),
              {cable.device});
        form->LoadLanguage(QStringLiteral("english"));
        emit control<QMenu>(*form, "gsegs1")->aboutToShow();

        const QString present = cable.device.path + QStringLiteral(" – USB Serial (1a86:7523)");
        QCOMPARE(withoutMnemonic(control<QAction>(*form, "COM11")->text()), QStringLiteral("COM1  /dev/ttyUSB9 – not connected"));
        QCOMPARE(withoutMnemonic(control<QAction>(*form, "COM21")->text()), QStringLiteral("COM2  /dev/ttyUSB1 – not connected"));
        QCOMPARE(withoutMnemonic(control<QAction>(*form, "COM31")->text()), QStringLiteral("COM3  ") + present);   // by its stable name
        QCOMPARE(withoutMnemonic(control<QAction>(*form, "COM41")->text()), QStringLiteral("COM4  ") + present);
        QVERIFY(control<QAction>(*form, "COM21")->isChecked());
        QCOMPARE(texts(form->portMenu->deviceActions()),
                 QStringList{cable.device.path + QStringLiteral(" – USB Serial, QinHeng Electronics (1a86:7523)")});
        QVERIFY(control<QMenu>(*form, "gsegs1")->actions().contains(form->portMenu->deviceActions().first()));
    }

    void choosingADeviceMapsTheMarkedEntryByItsStableName()
    {
        Cable cable(dir.path(), QStringLiteral("usb-Maker_Cable-if00-port0"));
        SerialDevice builtIn;
        builtIn.path = QStringLiteral("/dev/ttyS0");
        builtIn.description = QStringLiteral("16550A");
        start(QStringLiteral("[open]\ncom=2\n; the user's own note\n"), {builtIn, cable.device});
        // Listed by path: the pseudo-terminal (/dev/pts/…) before /dev/ttyS0.
        QCOMPARE(form->portMenu->deviceActions().size(), 2);
        QCOMPARE(withoutMnemonic(form->portMenu->deviceActions().at(1)->text()), QStringLiteral("/dev/ttyS0 – 16550A"));

        form->portMenu->deviceActions().at(0)->trigger();
        QCOMPARE(form->preferencesFile().value(QStringLiteral("ports"), QStringLiteral("COM2")),
                 std::optional<QString>(cable.device.stableName));
        QCOMPARE(withoutMnemonic(control<QAction>(*form, "COM21")->text()),
                 QStringLiteral("COM2  ") + cable.device.path + QStringLiteral(" – USB Serial (1a86:7523)"));
        // A transfer now opens the cable through its stable name.
        const QMap<int, QString> ports = SerialTransport::portsOf(form->preferencesFile());
        QCOMPARE(SerialTransport::portDeviceName(2, ports), cable.device.stableName);
        QVERIFY(!PortDiagnosis::tryOpen(cable.device.stableName).isProblem());

        // Saved with the other preferences when the program ends; the rest of the file stays.
        form.reset();
        IniFile saved;
        QVERIFY(saved.load(iniPath));
        QCOMPARE(saved.value(QStringLiteral("ports"), QStringLiteral("COM2")), std::optional<QString>(cable.device.stableName));
        QCOMPARE(saved.value(QStringLiteral("open"), QStringLiteral("com")), std::optional<QString>(QStringLiteral("2")));
        QFile f(iniPath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("; the user's own note"));
    }

    void oneCableOnAFreshInstallIsCom1()
    {
        Cable cable(dir.path(), QStringLiteral("usb-Only_Cable-if00-port0"));
        start(QStringLiteral("[open]\ncom=1\n"), {cable.device});
        QCOMPARE(withoutMnemonic(control<QAction>(*form, "COM11")->text()),
                 QStringLiteral("COM1  ") + cable.device.path + QStringLiteral(" – USB Serial (1a86:7523)"));
        QCOMPARE(SerialTransport::portDeviceName(1, SerialTransport::portsOf(form->preferencesFile())),
                 cable.device.path);
        // Nothing is written for it: the default follows whichever single cable is there.
        QVERIFY(!form->preferencesFile().hasSection(QStringLiteral("ports")));
    }

    void noDeviceAtAll()
    {
        start(QStringLiteral("[open]\ncom=1\n"), {});
        const QList<QAction *> devices = form->portMenu->deviceActions();
        QCOMPARE(devices.size(), 1);
        QVERIFY(!devices.first()->isEnabled());
        // The words of the language in use (1, Simplified Chinese, from chinese.dll).
        QCOMPARE(devices.first()->text(), QStringLiteral("没有连接串口设备"));
        QCOMPARE(withoutMnemonic(control<QAction>(*form, "COM11")->text()), QStringLiteral("COM1  /dev/ttyUSB0 – 未连接"));
        QCOMPARE(control<QMenu>(*form, "gsegs1")->actions().size(), 4 + 1 + 1);
    }

    // Without a library for its language the menu speaks English.
    void noLibraryGivesEnglish()
    {
        start(QStringLiteral("[open]\ncom=1\n"), {});
        form->setExecutableDir(dir.path());
        emit control<QMenu>(*form, "gsegs1")->aboutToShow();
        QCOMPARE(form->portMenu->deviceActions().first()->text(), PortProblemTexts::english().noDevice);
    }
};

REGISTER_TEST(TestPortMenu)
#include "tst_portmenu.moc"
