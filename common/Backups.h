#pragma once
// A copy of every successful radio read, kept in the user's data folder
// (QStandardPaths::AppDataLocation, then "backups"), so that nothing read from a radio is
// ever lost to a later edit, a failed write or a file saved over.
//
// One backup is a set of files with one name and different extensions, written at one
// moment: "KVT560-2026-12-10T14-03-22.k56" and "KVT560-2026-12-10T14-03-22.bin", say (the
// program, the local date and time; a second backup within the same second gets "-2",
// "-3", ... after the time). Every file is written atomically. After a backup, only the
// newest `keep` backups of that program are kept.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace Backups {

inline constexpr int DefaultKeep = 50;

// The folder of the backups: AppDataLocation + "/backups" (not created here).
QString folder();

// The name of a backup's file without the folder: program, "-", date "T" time with "-"
// between hours, minutes and seconds, the sequence "-n" when n > 1, then "." + suffix.
QString fileName(const QString &program, const QDateTime &when, const QString &suffix, int sequence = 1);

struct WriteResult {
    bool ok = false;
    QStringList paths;   // the files written (all of them when ok)
    QString error;       // file and reason when not ok
};

// Writes one backup of `program` into `dir` (the folder above when empty), creating the
// folder when needed: each (suffix, bytes) pair becomes one file. Then deletes the files of
// all but the newest `keep` backups of that program (keep < 1 keeps every backup). A failure
// deletes what this backup wrote so far and reports the file and the reason; it never
// touches other backups.
WriteResult write(const QString &program, const QList<QPair<QString, QByteArray>> &files,
                  const QDateTime &when = QDateTime::currentDateTime(), int keep = DefaultKeep,
                  const QString &dir = QString());

// The files of `program`'s backups with the extension `suffix` ("k56"), full paths, newest
// first; other files in the folder are ignored.
QStringList list(const QString &program, const QString &suffix, const QString &dir = QString());

// The number of backups to keep from an ini value: a whole number, default DefaultKeep for
// anything that is not one; 0 or less keeps every backup.
int keepFromSetting(const QString &value);

// The backup of a successful radio read: the memory as it arrived ("<program>-<time>.bin")
// and the file the program makes of it (fileSuffix), keeping as many backups as the
// program's setting `keepSetting` says (keepFromSetting). False with the file and the reason
// in `error`; a failed backup changes nothing else and must not fail the read.
bool writeRead(const QString &program, const QByteArray &memory, const QString &fileSuffix, const QByteArray &file,
               const QString &keepSetting, QString *error);

// The notice of a read's backup that failed ("%1" of readFailureText is the error above).
QString readFailureText(const QString &error);

} // namespace Backups
