#include "ProgramIni.h"

#include "common/CheckedSave.h"
#include "common/InstalledLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <optional>

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

// The value as the INI reader gives it back unchanged: as it stands when it holds nothing the
// reader treats specially, otherwise in double quotes with backslash escapes.
QString iniValueText(const QString &value)
{
    QString text = value;
    if (text.startsWith(QLatin1Char('@')))
        text.prepend(QLatin1Char('@'));   // a leading "@" would name a variant type
    static const QString special = QStringLiteral("\\\";,=#");
    bool quote = text != text.trimmed();
    for (QChar c : text)
        quote = quote || special.contains(c);
    if (!quote)
        return text;
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c.unicode() < 0x20)
            continue;   // a line break would end the line; no setting holds control characters
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

// The file's text with key set to value in section: the key's line replaced where it stands
// (its spelling kept), else a new line after the section's last entry, else a new section at
// the end. Every other line (comments, other keys) stays as the user wrote it.
QByteArray withValue(const QByteArray &old, const QString &section, const QString &key, const QString &value)
{
    QString text = QString::fromUtf8(old);
    const bool byteOrderMark = text.startsWith(QChar(0xFEFF));
    if (byteOrderMark)
        text.remove(0, 1);
    const QString eol = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);

    auto sectionName = [](const QString &line) -> std::optional<QString> {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
            return t.mid(1, t.size() - 2).trimmed();
        return std::nullopt;
    };
    // The reader takes, among the sections whose names differ from `section` only in case,
    // the first in sorted order (findKey walks QSettings' sorted groups); write into that one.
    qsizetype head = -1;
    QString chosen;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (const auto name = sectionName(lines.at(i)); name && name->compare(section, Qt::CaseInsensitive) == 0
                                                         && (head < 0 || *name < chosen)) {
            head = i;
            chosen = *name;
        }
    if (head < 0) {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + iniValueText(value);
    } else {
        qsizetype end = head + 1;
        while (end < lines.size() && !sectionName(lines.at(end)))
            ++end;
        // Likewise the key: the first in sorted order of those that differ only in case.
        qsizetype at = -1, lastEntry = head;
        QString chosenKey;
        for (qsizetype i = head + 1; i < end; ++i) {
            const QString t = lines.at(i).trimmed();
            if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
                continue;
            lastEntry = i;
            const qsizetype eq = t.indexOf(QLatin1Char('='));
            const QString name = eq > 0 ? t.left(eq).trimmed() : QString();
            if (eq > 0 && name.compare(key, Qt::CaseInsensitive) == 0 && (at < 0 || name < chosenKey)) {
                at = i;
                chosenKey = name;
            }
        }
        if (at >= 0) {
            const QString t = lines.at(at).trimmed();
            lines[at] = t.left(t.indexOf(QLatin1Char('='))).trimmed() + QLatin1Char('=') + iniValueText(value);
        } else {
            lines.insert(lastEntry + 1, key + QLatin1Char('=') + iniValueText(value));
        }
    }
    return ((byteOrderMark ? QString(QChar(0xFEFF)) : QString()) + lines.join(eol) + eol).toUtf8();
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
    QByteArray old;
    if (QFileInfo::exists(file)) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly)) {
            if (reason)
                *reason = in.errorString();
            return false;
        }
        old = in.readAll();
    }
    return CheckedSave::writeFile(file, withValue(old, section, key, value), reason);
}
