#include "PortDevice.h"

#include "base/ProgramIni.h"
#include "common/SerialPorts.h"

#include <QDir>
#include <QRegularExpression>

int portNumber(const QString &portName)
{
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]{0,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comName.match(portName);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QMap<int, QString> mappedPorts(const QString &appDirectory)
{
    const ProgramIni ini(appDirectory);
    QMap<int, QString> mapped;
    for (int n = 1; n <= PortCount; ++n) {
        const QString device = ini.read(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(n)).trimmed();
        if (!device.isEmpty())
            mapped.insert(n, device);
    }
    return mapped;
}

QString portDevice(const QString &portName, const QString &appDirectory)
{
    if (portName.isEmpty())
        return QString();
#ifdef Q_OS_WIN
    Q_UNUSED(appDirectory);
    return portName;
#else
    const QString mapped = ProgramIni(appDirectory).read(QStringLiteral("Ports"), portName).trimmed();
    if (!mapped.isEmpty())
        return mapped;
    // A device path stands for itself, wherever it lies (a link to a device, say).
    if (QDir::isAbsolutePath(portName))
        return portName;
    const int number = portNumber(portName);
    if (number == 0)
        return QString();
    return SerialPorts::deviceFor(number, mappedPorts(appDirectory), SerialPorts::available());
#endif
}
