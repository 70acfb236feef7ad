#pragma once
// KVT560's backups of radio reads (common/Backups.h): the memory as it was read
// ("KVT560-<date>T<time>.bin", 4096 bytes, 0xFF where nothing is read) and the codeplug file
// of the read (".k56"). The number kept is the key Keep of the section [Backups] in
// myini.ini (50 when missing).
#include <QByteArray>
#include <QString>

namespace ReadBackup {

// The value of [Backups] Keep in the ini file at `iniPath` (empty when missing).
QString keepSetting(const QString &iniPath);

// Writes the backup; false with the file and the reason in error (the notice:
// Backups::readFailureText). A failure changes nothing else and must not fail the read.
bool write(const QByteArray &memory, const QByteArray &codeplugFile, const QString &iniPath, QString *error);

} // namespace ReadBackup
