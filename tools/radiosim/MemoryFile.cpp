#include "MemoryFile.h"

#include <QSaveFile>

#include <cstdio>

bool SaveMemoryFile(const QString &path, const QByteArray &memory)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(memory) != memory.size() || !f.commit()) {
        std::fprintf(stderr, "radiosim: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
