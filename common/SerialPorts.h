#pragma once
// The serial devices the system has now, and which device a port entry "COMn" of a program's
// port menu stands for.
//
// Devices come from QSerialPortInfo (ttyUSB, ttyACM, and ttyS with hardware behind them),
// each with the stable name udev gives it under /dev/serial/by-id/ when there is one: that
// name stays the same when the cable is plugged into another socket or the machine restarts,
// while /dev/ttyUSB0 may become /dev/ttyUSB1. A port entry maps to the device its [ports]
// entry names; without one, COMn means /dev/ttyUSB(n-1), except on a fresh install (no entry
// at all) with exactly one USB serial device present, where COM1 means that device.
//
// Tests replace the listing with setListing(), so that menus and diagnoses can be checked
// against pseudo-terminals, which the system never lists.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

struct SerialDevice
{
    QString path;           // the device node, /dev/ttyUSB0
    QString stableName;     // /dev/serial/by-id/usb-…, empty when the device has none
    QString description;    // "USB Serial"
    QString manufacturer;   // "QinHeng Electronics"
    QString serialNumber;
    int vendorId = -1;      // USB ids; -1 when the device is not on USB
    int productId = -1;

    bool isUsb() const { return vendorId >= 0 && productId >= 0; }
    // "1a86:7523"; empty for a device that is not on USB.
    QString usbIds() const;
    // The name a mapping stores: the stable name when there is one, else the path.
    QString preferredName() const { return stableName.isEmpty() ? path : stableName; }
    // True when `name` (a path, a stable name, or any link to the device) means this device.
    bool matches(const QString &name) const;
    // "USB Serial (1a86:7523)": description and ids, as a port entry shows its device.
    QString summary() const;
    // "/dev/ttyUSB0 – USB Serial, QinHeng Electronics (1a86:7523)": a line of the device list.
    QString menuText() const;
};

namespace SerialPorts {

using Listing = std::function<QList<SerialDevice>()>;

// The serial devices present now, sorted by path.
QList<SerialDevice> available();
// Replaces the system's listing (tests); an empty function gives the system's back.
void setListing(Listing listing);
// The system's own listing, whatever setListing() installed.
QList<SerialDevice> systemListing();

// The links under `directory` (default /dev/serial/by-id), by the device path they lead to.
QMap<QString, QString> stableNames(const QString &directory = QString());

// The device of `present` that `name` means, or nullptr.
const SerialDevice *find(const QList<SerialDevice> &present, const QString &name);

// The device port entry COM`number` stands for. `mapped` holds the non-empty entries of the
// program's [ports] section by port number; `present` is the current listing.
QString deviceFor(int number, const QMap<int, QString> &mapped, const QList<SerialDevice> &present);
// True when the device was found through the fresh-install rule rather than an entry.
bool isOneCableDefault(int number, const QMap<int, QString> &mapped, const QList<SerialDevice> &present);
QString defaultDevice(int number);   // /dev/ttyUSB(number-1)

// What a port entry shows after its name: "/dev/ttyUSB0 – USB Serial (1a86:7523)",
// "/dev/ttyUSB1 – " + notConnected, or the bare device when its node exists but the system
// does not list it (a pseudo-terminal).
QString entryText(const QString &device, const QList<SerialDevice> &present, const QString &notConnected);

// One line of --list-ports, fields separated by tabs: path, stable name, description, USB
// ids, and the port entries that map to the device ("-" for an empty field).
QString listLine(const SerialDevice &device, const QStringList &entries);
// Every line of --list-ports for the ports COM1 … COM`ports`.
QStringList listLines(const QList<SerialDevice> &present, const QMap<int, QString> &mapped, int ports);

} // namespace SerialPorts
