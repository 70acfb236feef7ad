#include "codeplug/ReadBackup.h"

#include "codeplug/CodeplugFile.h"
#include "common/Backups.h"
#include "common/IniFile.h"

namespace ReadBackup {

QString keepSetting(const QString &iniPath)
{
    IniFile ini;
    ini.load(iniPath);
    return ini.value(QStringLiteral("Backups"), QStringLiteral("Keep")).value_or(QString());
}

bool write(const QByteArray &memory, const QByteArray &codeplugFile, const QString &iniPath, QString *error)
{
    return Backups::writeRead(QStringLiteral("KVT560"), memory, CodeplugFile::suffix(), codeplugFile,
                              keepSetting(iniPath), error);
}

} // namespace ReadBackup
