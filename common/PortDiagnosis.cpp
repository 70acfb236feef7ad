#include "common/PortDiagnosis.h"

#include "common/SerialPorts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

PortProblemTexts PortProblemTexts::english()
{
    PortProblemTexts t;
    t.missing = QStringLiteral("%1 is not there. Serial devices present: %2.");
    t.missingNone = QStringLiteral("%1 is not there, and no serial device is connected.");
    t.noPermission = QStringLiteral("%1 may be used only by members of the group %2, and %3 is not one of them. "
                                    "Run: sudo usermod -aG %2 %3, then log out and in again.");
    t.busy = QStringLiteral("%1 is in use by %2.");
    t.anotherProgram = QStringLiteral("another program");
    t.other = QStringLiteral("%1: %2");
    t.lostRead = QStringLiteral("%1 went away during the transfer; nothing was changed.");
    t.lostWrite = QStringLiteral("%1 went away during the transfer; the radio may be partly written.");
    t.notConnected = QStringLiteral("not connected");
    t.noDevice = QStringLiteral("No serial device is connected");
    return t;
}

namespace {
// The sentences in the order the libraries number them.
QString PortProblemTexts::*const Sentences[] = {
    &PortProblemTexts::missing,  &PortProblemTexts::missingNone,    &PortProblemTexts::noPermission,
    &PortProblemTexts::busy,     &PortProblemTexts::anotherProgram, &PortProblemTexts::other,
    &PortProblemTexts::lostRead, &PortProblemTexts::lostWrite,      &PortProblemTexts::notConnected,
    &PortProblemTexts::noDevice};
} // namespace

PortProblemTexts PortProblemTexts::fromLibrary(const std::function<QString(int id)> &text, int firstId)
{
    PortProblemTexts t;
    int id = firstId;
    for (auto m : Sentences)
        t.*m = text(id++);
    return t.completedBy(english());
}

PortProblemTexts PortProblemTexts::completedBy(const PortProblemTexts &fallback) const
{
    PortProblemTexts t = *this;
    for (auto m : Sentences)
        if ((t.*m).isEmpty())
            t.*m = fallback.*m;
    return t;
}

QString PortProblemTexts::describe(const PortProblem &p) const
{
    switch (p.kind) {
    case PortProblem::None:
        return QString();
    case PortProblem::Missing:
        return p.present.isEmpty() ? missingNone.arg(p.device)
                                   : missing.arg(p.device, p.present.join(QStringLiteral(", ")));
    case PortProblem::NoPermission:
        return noPermission.arg(p.device, p.group, p.user);
    case PortProblem::Busy:
        return busy.arg(p.device, p.holder.isEmpty() ? anotherProgram : p.holder);
    case PortProblem::Other:
        break;
    }
    return other.arg(p.device, p.systemText);
}

QString PortProblemTexts::lost(const QString &device, bool writing) const
{
    return (writing ? lostWrite : lostRead).arg(device);
}

namespace {

QString systemPath(const QString &device)
{
    // QSerialPort takes a bare name such as "ttyUSB0" as /dev/ttyUSB0.
    if (device.isEmpty() || QDir::isAbsolutePath(device))
        return device;
    return QStringLiteral("/dev/") + device;
}

#ifdef Q_OS_UNIX
// The group of the device node and whether this process may act as its member; false when
// there is nothing to tell the user (no group, the node's group is root's).
bool groupAdvice(const QString &path, PortProblem &p)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || st.st_gid == 0)
        return false;
    if (const group *g = ::getgrgid(st.st_gid))
        p.group = QString::fromLocal8Bit(g->gr_name);
    else
        return false;
    if (const passwd *pw = ::getpwuid(::geteuid()))
        p.user = QString::fromLocal8Bit(pw->pw_name);
    else
        p.user = QString::number(::geteuid());
    // The groups of this process, not of the user's account: a user just added to the group
    // gets it only after logging in again.
    if (::getegid() == st.st_gid)
        return false;
    const int n = ::getgroups(0, nullptr);
    QList<gid_t> groups(qMax(n, 0));
    if (n > 0 && ::getgroups(n, groups.data()) == n && groups.contains(st.st_gid))
        return false;
    return true;
}

// The process, other than this one, that has `canonical` open.
QString holderFromProc(const QString &canonical)
{
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric || pid == self)
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        const QStringList entries = fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : entries) {
            if (QFile::symLinkTarget(fds.filePath(fd)) == canonical) {
                QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
                const QString name = comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                                                                    : QString();
                return name.isEmpty() ? QStringLiteral("PID %1").arg(pid)
                                      : QStringLiteral("%1 (PID %2)").arg(name, pid);
            }
        }
    }
    return QString();
}

// The process named in the device's lock file, as serial programs on this system write it
// (LCK..ttyUSB0, LCK..pts_5 in one of the usual lock folders, the process id on its first line).
QString holderFromLockFile(const QString &path)
{
    QString name = path;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const char *const folders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                   "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};
    for (const char *folder : folders) {
        QFile lock(QLatin1String(folder) + QStringLiteral("/LCK..") + name);
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        const QString pid = QString::fromLatin1(lock.readLine()).trimmed();
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric || pid == QString::number(QCoreApplication::applicationPid())
            || !QFileInfo::exists(QStringLiteral("/proc/") + pid))
            continue;
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        const QString program = comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                                                               : QString();
        return program.isEmpty() ? QStringLiteral("PID %1").arg(pid)
                                 : QStringLiteral("%1 (PID %2)").arg(program, pid);
    }
    return QString();
}
#endif

} // namespace

namespace PortDiagnosis {

PortProblem tryOpen(const QString &device)
{
    QSerialPort port(device);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return PortProblem();
    }
    return diagnose(device, port.error(), port.errorString());
}

QString holderOf(const QString &device)
{
#ifdef Q_OS_UNIX
    const QString path = systemPath(device);
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty()) {
        const QString holder = holderFromProc(canonical);
        if (!holder.isEmpty())
            return holder;
    }
    QString holder = holderFromLockFile(path);
    if (holder.isEmpty() && !canonical.isEmpty() && canonical != path)
        holder = holderFromLockFile(canonical);
    return holder;
#else
    Q_UNUSED(device);
    return QString();
#endif
}

PortProblem diagnose(const QString &device, QSerialPort::SerialPortError error, const QString &errorText)
{
    PortProblem p;
    p.device = device;
    p.systemText = errorText;
    const QString path = systemPath(device);

    if (device.isEmpty() || !QFileInfo::exists(path) || error == QSerialPort::DeviceNotFoundError) {
        p.kind = PortProblem::Missing;
        for (const SerialDevice &d : SerialPorts::available())
            p.present << d.path;
        return p;
    }
#ifdef Q_OS_UNIX
    // The node is there: either this user may not open it, or someone else has it.
    if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM)) {
        p.kind = groupAdvice(path, p) ? PortProblem::NoPermission : PortProblem::Other;
        return p;
    }
#endif
    if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError) {
        // A lock file or an exclusive open by another program (QSerialPort reports both,
        // and a busy device, as a permission error).
        p.kind = PortProblem::Busy;
        p.holder = holderOf(device);
        return p;
    }
    p.kind = PortProblem::Other;
    return p;
}

} // namespace PortDiagnosis
