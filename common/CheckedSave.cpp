#include "common/CheckedSave.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace CheckedSave {

namespace {

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool writeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        setReason(reason, file.errorString());
        return false;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            setReason(reason, file.errorString());
            file.cancelWriting();
            return false;
        }
        done += n;
    }
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        setReason(reason, file.errorString());
        file.cancelWriting();
        return false;
    }
    // A file system may accept the writes and fail only when the data goes to the disk.
    if (::fsync(file.handle()) != 0) {
        const int error = errno;
        // Some file systems (pipes, some FUSE mounts) cannot sync; that is no failure of ours.
        if (error != EINVAL && error != EROFS && error != ENOTSUP) {
            setReason(reason, systemReason(error));
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        setReason(reason, file.errorString());
        return false;
    }
    return true;
}

} // namespace CheckedSave
