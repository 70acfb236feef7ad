#pragma once
// A file system of a few kilobytes (tmpfs on a temporary folder) for tests of saving onto a
// full disk. Mounting needs the superuser (CI runs as root); a test that gets no disk skips:
//     SmallDisk disk;
//     if (!disk.isMounted())
//         QSKIP(qPrintable(disk.whyNot()));
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class SmallDisk
{
public:
    explicit SmallDisk(int kilobytes = 32)
    {
        if (::geteuid() != 0) {
            m_whyNot = QStringLiteral("mounting a small file system needs the superuser");
            return;
        }
        if (!m_dir.isValid()) {
            m_whyNot = QStringLiteral("no temporary folder");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.constData())
            != 0) {
            m_whyNot = QStringLiteral("cannot mount a tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString whyNot() const { return m_whyNot; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes a file directly (no temporary file): the old file a save is to keep.
    bool put(const QString &name, const QByteArray &bytes) const
    {
        QFile f(filePath(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
    }

    // Fills the disk with the file "filler" until no more than `leave` bytes are free.
    bool fill(qint64 leave = 0) const
    {
        const QByteArray path = QFile::encodeName(filePath(QStringLiteral("filler")));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        const QByteArray chunk(1024, 'x');
        qint64 size = 0;
        for (;;) {
            const ssize_t n = ::write(fd, chunk.constData(), size_t(chunk.size()));
            if (n <= 0)
                break;
            size += n;
        }
        const bool full = errno == ENOSPC;
        const bool ok = full && ::ftruncate(fd, qMax<qint64>(0, size - leave)) == 0;
        ::close(fd);
        return ok;
    }

    // The names in the folder other than the filler: what a failed save must not leave.
    QStringList files() const
    {
        QStringList names = QDir(path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("filler"));
        return names;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_whyNot;
};
