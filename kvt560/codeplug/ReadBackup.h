#pragma once
// The copy of a successful radio read kept in the backups folder (common/Backups.h): the
// memory as it was read ("KVT560-<date>T<time>.bin", 4096 bytes, 0xFF where nothing is read)
// and the codeplug file of the read (".k56"). The number kept is the key Keep of the section
// [Backups] in myini.ini (50 when missing).
#include <QByteArray>
#include <QString>

namespace ReadBackup {

// Writes the backup; false with the file and the reason in error. A failure changes nothing
// else and must not fail the read.
bool write(const QByteArray &memory, const QByteArray &codeplugFile, const QString &iniPath, QString *error);

// The notice of a backup that failed.
QString failureText(const QString &error);

} // namespace ReadBackup
