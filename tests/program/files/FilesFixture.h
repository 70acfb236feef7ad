#pragma once
// Helpers of the files tests: a throw-away folder standing in for the application
// directory, and the image as bytes.
#include "base/Globals.h"
#include "model/RadioImage.h"

#include <QApplication>
#include <QByteArray>
#include <QTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <functional>

inline QByteArray imageBytes()
{
    return QByteArray(reinterpret_cast<const char *>(RadioImage.data()), int(RadioImageSize));
}

inline void setImage(const QByteArray &bytes)
{
    std::memcpy(RadioImage.data(), bytes.constData(), std::min<size_t>(RadioImageSize, size_t(bytes.size())));
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

// Answers the next modal dialog of type T once it is shown; never blocks a test on exec().
template <class T>
inline void answerModal(std::function<void(T *)> answer, int triesLeft = 300)
{
    QTimer::singleShot(10, [answer, triesLeft] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            answer(dialog);
            return;
        }
        if (triesLeft > 0)
            answerModal<T>(answer, triesLeft - 1);
    });
}
