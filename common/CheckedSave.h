#pragma once
// Writing a whole file so that a failure can never pass for success or cost the old file.
//
// The bytes go to a temporary file beside the target (QSaveFile) without Qt's write buffer,
// so that every write is checked as it happens; the data is then synced to the disk, and only
// after all of that succeeded is the temporary file renamed over the target. Any failure
// cancels the save: the old file stays whole and the caller gets the system's reason.
// (QSaveFile alone is not enough: with its buffer, "no space left" only shows up when
// commit() flushes, and commit() in Qt 6.4 can still report success after that.)
#include <QByteArray>
#include <QString>

namespace CheckedSave {

// Writes `bytes` to `path` atomically. On failure returns false, leaves the old file as it
// was and, when `reason` is given, stores the system's reason (for example "No space left on
// device").
bool writeFile(const QString &path, const QByteArray &bytes, QString *reason = nullptr);

} // namespace CheckedSave
