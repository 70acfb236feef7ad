#pragma once
// Helpers shared by the fuzz targets: quiet Qt, files for readers that take a path, and the
// check that turns a broken property into a crash the fuzzer records.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

// Drops Qt's warnings: a damaged input makes the readers warn on every run, and the output
// would slow the fuzzer down and bury its own report.
inline void quietQt()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

// A folder of the process's own, removed when the process ends.
inline QString scratchDirectory()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/kvt-fuzz-XXXXXX"));
    return dir.path();
}

// Writes bytes to a file named `name` in the scratch folder and returns its path.
inline QString scratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchDirectory() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

[[noreturn]] inline void fail(const char *file, int line, const char *what)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

} // namespace fuzzsupport

// A property every input must keep; a broken one aborts, so the fuzzer keeps the input.
#define FUZZ_CHECK(cond) ((cond) ? void(0) : fuzzsupport::fail(__FILE__, __LINE__, #cond))
