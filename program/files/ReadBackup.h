#pragma once
// Program's backups of radio reads (common/Backups.h): the memory as it arrived
// ("Program-<date>T<time>.bin") and the channel data file Save would write from it (".sin").
// The number kept is the key Keep of the section [Backups] in Program.ini (50 when missing).
#include <QByteArray>
#include <QString>

namespace ReadBackup {

inline constexpr const char *ProgramName = "Program";

// The value of [Backups] Keep in Program.ini in `appDirectory` (empty when missing).
QString keepSetting(const QString &appDirectory);

// Writes the backup: `asRead` the bytes the radio sent, `file` the channel data file's
// bytes. Returns false with the file and the reason in `error` (the notice:
// Backups::readFailureText); a failed backup changes nothing else.
bool write(const QByteArray &asRead, const QByteArray &file, const QString &appDirectory, QString *error);

} // namespace ReadBackup
