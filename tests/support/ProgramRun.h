#pragma once
// A built program run as a separate process without any display, for the tests of the
// command lines: its exit status and both outputs (Run), and an application folder of its
// own (AppFolder) with a copy of the executable, the libraries it needs and its ini file, so
// that a test chooses the preferences and the program reads nothing of the user's. Backups
// of reads go to a data folder of the test (XDG_DATA_HOME), never the user's own.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct Run {
    int exitCode = -1;   // -1: timed out or crashed
    QString out;
    QString err;
};

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// How a program is run: where, with which data folder, behind which command (a prefix such
// as unprivilegedPrefix() of SerialFixtures.h), for how long at most.
struct RunOptions {
    QString workingDirectory;
    QString dataHome;
    QStringList prefix;
    int timeoutMs = 60000;
};

// The data folder of runs that name none.
inline QString testDataHome()
{
    static QTemporaryDir dir;
    return dir.path();
}

inline Run runProgram(const QString &program, const QStringList &arguments, const RunOptions &options = {})
{
    QProcess process;
    if (!options.workingDirectory.isEmpty())
        process.setWorkingDirectory(options.workingDirectory);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), options.dataHome.isEmpty() ? testDataHome() : options.dataHome);
    process.setProcessEnvironment(env);
    if (options.prefix.isEmpty())
        process.start(program, arguments);
    else
        process.start(options.prefix.first(), options.prefix.mid(1) + QStringList{program} + arguments);
    Run r;
    if (!process.waitForFinished(options.timeoutMs)) {
        process.kill();
        process.waitForFinished();
        r.err = QStringLiteral("timed out");
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// An application folder of its own: the executable `program` and the `files` beside it,
// copied from the build's application folder (APP_DIR), and the ini file `iniName` with
// `ini`. Runs start in this folder, with "data" in it as their data folder unless dataHome
// says otherwise.
class AppFolder
{
public:
    bool make(const QString &program, const QStringList &files, const QString &iniName, const QByteArray &ini)
    {
        m_program = program;
        for (const QString &name : QStringList{program} + files)
            if (!QFile::copy(QStringLiteral(APP_DIR "/") + name, path(name)))
                return false;
        return QFile::setPermissions(path(program), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
               && writeFile(path(iniName), ini);
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString dir() const { return m_dir.path(); }
    QString executable() const { return path(m_program); }

    Run run(const QStringList &arguments, const QStringList &prefix = {}) const
    {
        RunOptions options;
        options.workingDirectory = dir();
        options.dataHome = dataHome.isEmpty() ? path(QStringLiteral("data")) : dataHome;
        options.prefix = prefix;
        return runProgram(executable(), arguments, options);
    }

    QString dataHome;   // XDG_DATA_HOME of the runs; empty: "data" in this folder

private:
    QTemporaryDir m_dir;
    QString m_program;
};

// The files in `dir` whose names match `pattern`, full paths, by name.
inline QStringList filesIn(const QString &dir, const QString &pattern)
{
    QStringList paths;
    for (const QString &name : QDir(dir).entryList({pattern}, QDir::Files, QDir::Name))
        paths << QDir(dir).filePath(name);
    return paths;
}
