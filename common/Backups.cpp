#include "common/Backups.h"

#include "common/CheckedSave.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace Backups {

namespace {

// A backup's name without the suffix: its time and sequence, so that names sort by age.
struct Stem {
    QString name;        // "KVT560-2026-12-10T14-03-22-2"
    QString time;        // "2026-12-10T14-03-22"
    int sequence = 1;
};

QRegularExpression namePattern(const QString &program)
{
    return QRegularExpression(QStringLiteral("^%1-(\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d)(?:-(\\d+))?\\.([^.]+)$")
                                  .arg(QRegularExpression::escape(program)));
}

// Every backup of the program in the folder, newest first, with the files of each.
QList<QPair<Stem, QStringList>> backupsIn(const QString &dir, const QString &program)
{
    const QRegularExpression pattern = namePattern(program);
    QMap<QString, QPair<Stem, QStringList>> byStem;
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        Stem stem;
        stem.time = m.captured(1);
        stem.sequence = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        stem.name = name.left(name.size() - m.captured(3).size() - 1);
        auto &entry = byStem[stem.name];
        entry.first = stem;
        entry.second.append(name);
    }
    QList<QPair<Stem, QStringList>> all = byStem.values();
    std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) {
        if (a.first.time != b.first.time)
            return a.first.time > b.first.time;
        return a.first.sequence > b.first.sequence;
    });
    return all;
}

} // namespace

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

QString fileName(const QString &program, const QDateTime &when, const QString &suffix, int sequence)
{
    QString name = program + QLatin1Char('-') + when.toString(QStringLiteral("yyyy-MM-dd'T'HH-mm-ss"));
    if (sequence > 1)
        name += QLatin1Char('-') + QString::number(sequence);
    return name + QLatin1Char('.') + suffix;
}

WriteResult write(const QString &program, const QList<QPair<QString, QByteArray>> &files, const QDateTime &when,
                  int keep, const QString &dirIn)
{
    WriteResult result;
    const QString dir = dirIn.isEmpty() ? folder() : dirIn;
    if (!QDir().mkpath(dir)) {
        result.error = QStringLiteral("%1: the folder cannot be created").arg(QDir::toNativeSeparators(dir));
        return result;
    }
    // The first sequence number none of whose files exist yet.
    int sequence = 1;
    for (;; ++sequence) {
        bool taken = false;
        for (const auto &f : files)
            taken = taken || QFile::exists(dir + QLatin1Char('/') + fileName(program, when, f.first, sequence));
        if (!taken)
            break;
    }
    for (const auto &f : files) {
        const QString path = dir + QLatin1Char('/') + fileName(program, when, f.first, sequence);
        QString reason;
        if (!CheckedSave::writeFile(path, f.second, &reason)) {
            for (const QString &written : std::as_const(result.paths))
                QFile::remove(written);
            result.paths.clear();
            result.error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
            return result;
        }
        result.paths.append(path);
    }
    result.ok = true;
    if (keep >= 1) {
        const auto all = backupsIn(dir, program);
        for (int i = keep; i < all.size(); ++i)
            for (const QString &name : all.at(i).second)
                QFile::remove(dir + QLatin1Char('/') + name);
    }
    return result;
}

QStringList list(const QString &program, const QString &suffix, const QString &dirIn)
{
    const QString dir = dirIn.isEmpty() ? folder() : dirIn;
    QStringList paths;
    for (const auto &backup : backupsIn(dir, program)) {
        const QString name = backup.first.name + QLatin1Char('.') + suffix;
        if (backup.second.contains(name))
            paths.append(dir + QLatin1Char('/') + name);
    }
    return paths;
}

int keepFromSetting(const QString &value)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    return ok ? n : DefaultKeep;
}

bool writeRead(const QString &program, const QByteArray &memory, const QString &fileSuffix, const QByteArray &file,
               const QString &keepSetting, QString *error)
{
    const WriteResult result = write(program, {{QStringLiteral("bin"), memory}, {fileSuffix, file}},
                                     QDateTime::currentDateTime(), keepFromSetting(keepSetting));
    if (!result.ok && error)
        *error = result.error;
    return result.ok;
}

QString readFailureText(const QString &error)
{
    return QStringLiteral("The backup of the read could not be written (%1).").arg(error);
}

} // namespace Backups
