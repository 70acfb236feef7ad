#include "common/SerialPorts.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace {

SerialPorts::Listing &installedListing()
{
    static SerialPorts::Listing listing;
    return listing;
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

QString field(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

QString SerialDevice::usbIds() const
{
    if (!isUsb())
        return QString();
    return QStringLiteral("%1:%2").arg(vendorId, 4, 16, QLatin1Char('0')).arg(productId, 4, 16, QLatin1Char('0'));
}

bool SerialDevice::matches(const QString &name) const
{
    if (name.isEmpty())
        return false;
    if (name == path || name == stableName)
        return true;
    const QString target = canonical(name);
    return !target.isEmpty() && target == canonical(path);
}

QString SerialDevice::summary() const
{
    QString text = description;
    if (isUsb())
        text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("(%1)").arg(usbIds());
    return text;
}

QString SerialDevice::menuText() const
{
    QString about = description;
    if (!manufacturer.isEmpty() && manufacturer != description)
        about += (about.isEmpty() ? QString() : QStringLiteral(", ")) + manufacturer;
    if (isUsb())
        about += (about.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("(%1)").arg(usbIds());
    return about.isEmpty() ? path : path + QStringLiteral(" – ") + about;
}

namespace SerialPorts {

void setListing(Listing listing)
{
    installedListing() = std::move(listing);
}

QMap<QString, QString> stableNames(const QString &directory)
{
    const QDir dir(directory.isEmpty() ? QStringLiteral("/dev/serial/by-id") : directory);
    QMap<QString, QString> names;
    const QFileInfoList links = dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty() && !names.contains(target))
            names.insert(target, link.absoluteFilePath());
    }
    return names;
}

QList<SerialDevice> systemListing()
{
    const QMap<QString, QString> stable = stableNames();
    QList<SerialDevice> devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        SerialDevice d;
        d.path = info.systemLocation();
        d.stableName = stable.value(canonical(d.path));
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        d.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            d.vendorId = info.vendorIdentifier();
            d.productId = info.productIdentifier();
        }
        devices.append(d);
    }
    return devices;
}

QList<SerialDevice> available()
{
    QList<SerialDevice> devices = installedListing() ? installedListing()() : systemListing();
    std::sort(devices.begin(), devices.end(),
              [](const SerialDevice &a, const SerialDevice &b) { return a.path < b.path; });
    return devices;
}

const SerialDevice *find(const QList<SerialDevice> &present, const QString &name)
{
    for (const SerialDevice &d : present)
        if (d.matches(name))
            return &d;
    return nullptr;
}

QString defaultDevice(int number)
{
    return QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
}

namespace {
const SerialDevice *onlyUsbDevice(const QList<SerialDevice> &present)
{
    const SerialDevice *only = nullptr;
    for (const SerialDevice &d : present) {
        if (!d.isUsb())
            continue;
        if (only)
            return nullptr;
        only = &d;
    }
    return only;
}
} // namespace

bool isOneCableDefault(int number, const QMap<int, QString> &mapped, const QList<SerialDevice> &present)
{
    return number == 1 && mapped.isEmpty() && onlyUsbDevice(present);
}

QString deviceFor(int number, const QMap<int, QString> &mapped, const QList<SerialDevice> &present)
{
    const QString entry = mapped.value(number).trimmed();
    if (!entry.isEmpty())
        return entry;
    if (isOneCableDefault(number, mapped, present))
        return onlyUsbDevice(present)->path;
    return defaultDevice(number);
}

QString entryText(const QString &device, const QList<SerialDevice> &present, const QString &notConnected)
{
    if (const SerialDevice *d = find(present, device)) {
        const QString about = d->summary();
        return about.isEmpty() ? d->path : d->path + QStringLiteral(" – ") + about;
    }
    if (QFileInfo::exists(device))
        return device;
    return device + QStringLiteral(" – ") + notConnected;
}

QString listLine(const SerialDevice &device, const QStringList &entries)
{
    return QStringList{device.path, field(device.stableName), field(device.description), field(device.usbIds()),
                       field(entries.join(QLatin1Char(',')))}
        .join(QLatin1Char('\t'));
}

QStringList listLines(const QList<SerialDevice> &present, const QMap<int, QString> &mapped, int ports)
{
    QStringList lines;
    for (const SerialDevice &d : present) {
        QStringList entries;
        for (int n = 1; n <= ports; ++n)
            if (d.matches(deviceFor(n, mapped, present)))
                entries << QStringLiteral("COM%1").arg(n);
        lines << listLine(d, entries);
    }
    return lines;
}

} // namespace SerialPorts
