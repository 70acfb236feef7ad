#include "files/ReadBackup.h"

#include "common/Backups.h"
#include "base/ProgramIni.h"


namespace ReadBackup {

int keepCount(const QString &appDirectory)
{
    return Backups::keepFromSetting(ProgramIni(appDirectory).read(QStringLiteral("Backups"), QStringLiteral("Keep")));
}

bool write(const QByteArray &asRead, const QByteArray &file, const QString &appDirectory, QString *error)
{
    const Backups::WriteResult result =
        Backups::write(QLatin1String(ProgramName), {{QStringLiteral("bin"), asRead}, {QStringLiteral("sin"), file}},
                       QDateTime::currentDateTime(), keepCount(appDirectory));
    if (!result.ok && error)
        *error = result.error;
    return result.ok;
}

QString failureText(const QString &error)
{
    return QStringLiteral("The backup of the read could not be written (%1).").arg(error);
}

} // namespace ReadBackup
