#pragma once
// Saving a simulated radio's memory to the file named by --save.
#include <QByteArray>
#include <QString>

// Writes the memory through a temporary file and a rename, so a reader never sees half a
// file, with every write checked (a full disk keeps the old file). Complains on standard
// error with the system's reason and returns false when it cannot.
bool SaveMemoryFile(const QString &path, const QByteArray &memory);
