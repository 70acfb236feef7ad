#include "PortDevice.h"

#include "base/ProgramIni.h"

#include <QDir>
#include <QRegularExpression>

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
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]{0,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comName.match(portName);
    if (!m.hasMatch())
        return QString();
    return QStringLiteral("/dev/ttyUSB%1").arg(m.captured(1).toInt() - 1);
#endif
}
