#pragma once
// Helpers of the files tests: a throw-away folder standing in for the application
// directory, images to put into files, and the answer to a modal dialog.
#include "base/Globals.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "model/RadioImage.h"

#include <QApplication>
#include <QByteArray>
#include <QTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <functional>

// A channel data file whose bytes a store of the grid would rewrite in many places (fixed
// fields, bits a store clears), with three channels and the model KVT270U09, so that an undo
// that only gave back part of a change would show.
inline QByteArray storeRewritesFile()
{
    ImageBytes image;
    NewImage(image);
    for (int n = 1; n <= 3; ++n) {
        ChannelTexts t = newChannelTexts(QStringLiteral("41%1.12500").arg(n));
        t.name = QStringLiteral("CH%1").arg(n);
        StoreChannel(image, n, t);
    }
    for (int a = 0x1D14; a <= 0x1D2F; ++a)
        image[a] = std::uint8_t(a * 13);
    image[0x0630] = 0x12;
    image[0x1D10] = 0x55;
    image[0x1817] = 0x77;
    image[0x1811] = 0xFF;
    image[ImageMap::ModelIndex] = 3;  // KVT270U09
    image[ImageMap::PcbaText] = 0xFF;
    return toByteArray(image);
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
