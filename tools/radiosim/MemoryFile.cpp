#include "MemoryFile.h"

#include "common/CheckedSave.h"

#include <cstdio>

bool SaveMemoryFile(const QString &path, const QByteArray &memory)
{
    QString reason;
    if (!CheckedSave::writeFile(path, memory, &reason)) {
        std::fprintf(stderr, "radiosim: cannot write %s: %s\n", qPrintable(path), qPrintable(reason));
        return false;
    }
    return true;
}
