#include "ProgramIni.h"

#include "common/IniFile.h"
#include "common/InstalledLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr int MaxValueLength = 255;

// A value in double quotes reads without them, backslash escapes resolved, as the program
// wrote values that would otherwise lose blanks at their ends.
QString unquoted(const QString &value)
{
    if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) || !value.endsWith(QLatin1Char('"')))
        return value;
    QString out;
    const QString inner = value.mid(1, value.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner.at(i) == QLatin1Char('\\') && i + 1 < inner.size())
            ++i;
        out += inner.at(i);
    }
    return out;
}

// The value as it reads back unchanged: as it stands, or in double quotes when reading would
// trim its blanks or take its own quotes away. No setting holds control characters; a line
// break would end the line, so they are dropped.
QString valueText(const QString &value)
{
    QString text;
    for (QChar c : value)
        if (c.unicode() >= 0x20)
            text += c;
    const bool quote = text != text.trimmed() || (text.size() >= 2 && text.startsWith(QLatin1Char('"'))
                                                  && text.endsWith(QLatin1Char('"')));
    if (!quote)
        return text;
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

bool readFrom(const QString &file, const QString &section, const QString &key, QString *value)
{
    IniFile ini;
    if (!ini.load(file))
        return false;
    const std::optional<QString> v = ini.value(section, key);
    if (!v)
        return false;
    *value = unquoted(*v);
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

QString ProgramIni::readUser(const QString &section, const QString &key) const
{
    QString value;
    if (usesUserFile())
        readFrom(m_userPath, section, key, &value);
    return value.left(MaxValueLength);
}

bool ProgramIni::write(const QString &section, const QString &key, const QString &value, QString *reason) const
{
    if (value.isEmpty())
        return true;
    QString file = m_path;
    if (!appFileWritable()) {
        if (m_userPath.isEmpty()) {
            if (reason)
                *reason = QStringLiteral("The folder of %1 cannot be written.").arg(QDir::toNativeSeparators(m_path));
            return false;
        }
        QDir().mkpath(QFileInfo(m_userPath).absolutePath());
        file = m_userPath;
    }
    IniFile ini;
    // A file that is there but cannot be read is not replaced by one that holds this key only.
    if (QFileInfo::exists(file) && !ini.load(file, reason))
        return false;
    // A value the file holds already leaves its line, and so the file's bytes, as they are.
    ini.setValue(section, key, valueText(value));
    return ini.save(file, reason);
}
