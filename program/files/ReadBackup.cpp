#include "files/ReadBackup.h"

#include "base/ProgramIni.h"
#include "common/Backups.h"

namespace ReadBackup {

QString keepSetting(const QString &appDirectory)
{
    return ProgramIni(appDirectory).read(QStringLiteral("Backups"), QStringLiteral("Keep"));
}

bool write(const QByteArray &asRead, const QByteArray &file, const QString &appDirectory, QString *error)
{
    return Backups::writeRead(QLatin1String(ProgramName), asRead, QStringLiteral("sin"), file,
                              keepSetting(appDirectory), error);
}

} // namespace ReadBackup
