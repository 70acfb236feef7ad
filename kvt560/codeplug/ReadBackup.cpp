#include "codeplug/ReadBackup.h"

#include "codeplug/CodeplugFile.h"
#include "common/Backups.h"
#include "settings/IniFile.h"

namespace ReadBackup {

bool write(const QByteArray &memory, const QByteArray &codeplugFile, const QString &iniPath, QString *error)
{
    IniFile ini;
    ini.load(iniPath);
    const int keep = Backups::keepFromSetting(ini.value(QStringLiteral("Backups"), QStringLiteral("Keep")).value_or(QString()));
    const Backups::WriteResult result =
        Backups::write(QStringLiteral("KVT560"), {{QStringLiteral("bin"), memory}, {CodeplugFile::suffix(), codeplugFile}},
                       QDateTime::currentDateTime(), keep);
    if (!result.ok && error)
        *error = result.error;
    return result.ok;
}

QString failureText(const QString &error)
{
    return QStringLiteral("The backup of the read could not be written (%1).").arg(error);
}

} // namespace ReadBackup
