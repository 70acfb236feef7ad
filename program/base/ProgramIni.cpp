#include "ProgramIni.h"

#include "common/InstalledLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr int MaxValueLength = 255;

// The key as written in the file ("Setup/COM"), found without regard to case; the canonical
// spelling when absent.
QString findKey(QSettings &s, const QString &section, const QString &key)
{
    QString group = section;
    const QStringList groups = s.childGroups();
    for (const QString &g : groups) {
        if (g.compare(section, Qt::CaseInsensitive) == 0) {
            group = g;
            break;
        }
    }
    s.beginGroup(group);
    QString found = key;
    const QStringList keys = s.childKeys();
    for (const QString &k : keys) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) {
            found = k;
            break;
        }
    }
    s.endGroup();
    return group + QLatin1Char('/') + found;
}

bool readFrom(const QString &file, const QString &section, const QString &key, QString *value)
{
    if (!QFileInfo::exists(file))
        return false;
    QSettings s(file, QSettings::IniFormat);
    const QString k = findKey(s, section, key);
    if (!s.contains(k))
        return false;
    const QVariant v = s.value(k);
    // An unquoted comma makes the INI reader split the value into a list; join it back.
    *value = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
    return true;
}

} // namespace

ProgramIni::ProgramIni(const QString &appDirectory, const QString &userFallbackPath)
    : m_path(QDir(appDirectory).filePath(QStringLiteral("Program.ini")))
    , m_userPath(userFallbackPath)
{
    if (m_userPath.isEmpty()) {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        if (!dir.isEmpty())
            m_userPath = QDir(dir).filePath(QStringLiteral("Program.ini"));
    }
}

bool ProgramIni::exists() const
{
    return QFileInfo::exists(m_path);
}

bool ProgramIni::appFileWritable() const
{
    const QFileInfo fi(m_path);
    if (InstalledLayout::isInstalled(fi.absolutePath()))
        return false;   // an installed folder is never written, not even by root
    if (fi.exists())
        return fi.isWritable();
    return QFileInfo(fi.absolutePath()).isWritable();
}

QString ProgramIni::read(const QString &section, const QString &key) const
{
    QString value;
    if (!(!appFileWritable() && !m_userPath.isEmpty() && readFrom(m_userPath, section, key, &value)))
        readFrom(m_path, section, key, &value);
    return value.left(MaxValueLength);
}

bool ProgramIni::write(const QString &section, const QString &key, const QString &value) const
{
    if (value.isEmpty())
        return true;
    QString file = m_path;
    if (!appFileWritable()) {
        if (m_userPath.isEmpty())
            return false;
        QDir().mkpath(QFileInfo(m_userPath).absolutePath());
        file = m_userPath;
    }
    QSettings s(file, QSettings::IniFormat);
    s.setValue(findKey(s, section, key), value);
    s.sync();
    return s.status() == QSettings::NoError;
}
