#pragma once
// Pieces for tests of what happens around a serial port: a pseudo-terminal nobody serves, a
// USB cable made of one, the device listing a test supplies, a second process that holds a
// device as another serial program would (HOLDPORT_PATH), and the way to run a program as an
// unprivileged user.
#include "common/SerialPorts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

// A pseudo-terminal whose device side is free for the program under test to open.
struct PseudoTerminal {
    int master = -1;
    QString path;
    PseudoTerminal()
    {
        int slave = -1;
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            ::close(slave);
            path = QString::fromLocal8Bit(name);
        }
    }
    ~PseudoTerminal()
    {
        if (master >= 0)
            ::close(master);
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;
};

// A USB programming cable as the system lists one: a pseudo-terminal with a stable name (a
// link in `byIdDir`, as /dev/serial/by-id has) and a USB adapter's words and ids. A test may
// change the words of `device` before it lists it.
struct Cable {
    PseudoTerminal pty;
    SerialDevice device;
    Cable(const QString &byIdDir, const QString &stableLeaf)
    {
        if (pty.path.isEmpty())
            return;
        device.path = pty.path;
        device.stableName = QDir(byIdDir).filePath(stableLeaf);
        QFile::link(device.path, device.stableName);
        device.description = QStringLiteral("USB Serial");
        device.manufacturer = QStringLiteral("QinHeng Electronics");
        device.vendorId = 0x1a86;
        device.productId = 0x7523;
    }
};

// The devices the system lists while the object lives (it lists no pseudo-terminal itself).
class DeviceListing
{
public:
    explicit DeviceListing(const QList<SerialDevice> &present = {})
    {
        SerialPorts::setListing([present] { return present; });
    }
    ~DeviceListing() { SerialPorts::setListing({}); }
    DeviceListing(const DeviceListing &) = delete;
    DeviceListing &operator=(const DeviceListing &) = delete;
};

#ifdef HOLDPORT_PATH
// Another program that has the device open, with its lock file, exclusively.
class PortHolder
{
public:
    ~PortHolder() { release(); }
    bool hold(const QString &device)
    {
        process_.start(QStringLiteral(HOLDPORT_PATH), {device});
        return process_.waitForReadyRead(5000) && process_.readLine().trimmed() == "held";
    }
    qint64 pid() const { return process_.processId(); }
    void release()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }

private:
    QProcess process_;
};
#endif

// The command prefix that runs a program as the user nobody, with no supplementary group;
// empty when this process may not change its user (it is not root) or setpriv is missing.
inline QStringList unprivilegedPrefix()
{
    if (::geteuid() != 0)
        return {};
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        return {};
    return {setpriv, QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
            QStringLiteral("--")};
}

// Makes `device` a node as udev makes a serial cable's: root's, read and written by the group
// dialout only. False when there is no such group or the node cannot be changed.
inline bool likeASerialCable(const QString &device)
{
    const group *dialout = ::getgrnam("dialout");
    const QByteArray path = QFile::encodeName(device);
    return dialout && ::chown(path.constData(), 0, dialout->gr_gid) == 0 && ::chmod(path.constData(), 0660) == 0;
}

// Lets every user enter `dir` and read (and run) its files: a temporary folder is its
// owner's alone.
inline bool openToEveryone(const QString &dir)
{
    const QFile::Permissions all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                   | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    if (!QFile::setPermissions(dir, all))
        return false;
    const QStringList files = QDir(dir).entryList(QDir::Files);
    for (const QString &f : files)
        if (!QFile::setPermissions(QDir(dir).filePath(f), all))
            return false;
    return true;
}
