#pragma once
// Helpers of the files tests: a throw-away folder standing in for the application
// directory, and the image as bytes.
#include "frame/FrameGlobals.h"
#include "model/AppGlobals.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

inline QByteArray imageBytes()
{
    return QByteArray(reinterpret_cast<const char *>(RadioImage), int(RadioImageSize));
}

inline void setImage(const QByteArray &bytes)
{
    std::memcpy(RadioImage, bytes.constData(), std::min<size_t>(RadioImageSize, size_t(bytes.size())));
}

// A recognisable pattern of n bytes: byte i is (i * mul + add) & 0xFF.
inline QByteArray pattern(int n, int mul = 7, int add = 3)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * mul + add) & 0xFF);
    return b;
}

struct FilesDir {
    QTemporaryDir dir;
    QString savedAppDirectory = AppDirectory;

    FilesDir() { AppDirectory = dir.path() + QLatin1Char('/'); }
    ~FilesDir() { AppDirectory = savedAppDirectory; }

    QString path(const QString &name) const { return dir.filePath(name); }
    bool write(const QString &name, const QByteArray &data) const
    {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
    }
    QByteArray read(const QString &name) const
    {
        QFile f(name.startsWith(QLatin1Char('/')) ? name : path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
