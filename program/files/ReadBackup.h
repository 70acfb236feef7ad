#pragma once
// The copy of a successful radio read kept in the backups folder (common/Backups.h): the
// memory as it arrived ("Program-<date>T<time>.bin") and the channel data file Save would
// write from it (".sin"). The number kept is the key Keep of the section [Backups] in
// Program.ini (50 when missing).
#include <QByteArray>
#include <QString>

namespace ReadBackup {

inline constexpr const char *ProgramName = "Program";

// The number of backups to keep from Program.ini in `appDirectory`.
int keepCount(const QString &appDirectory);

// Writes the backup: `asRead` the bytes the radio sent, `file` the channel data file's
// bytes. Returns false with the file and the reason in `error`; a failed backup changes
// nothing else.
bool write(const QByteArray &asRead, const QByteArray &file, const QString &appDirectory, QString *error);

// The notice of a backup that failed, for the status bar or standard error.
QString failureText(const QString &error);

} // namespace ReadBackup
