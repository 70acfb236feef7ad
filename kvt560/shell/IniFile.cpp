#include "shell/IniFile.h"
#include "common/CheckedSave.h"
#include <QFile>

bool IniFile::load(const QString &path)
{
    lines_.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    parse(QString::fromUtf8(f.readAll()));
    return true;
}

bool IniFile::save(const QString &path, QString *reason) const
{
    return CheckedSave::writeFile(path, toText().toUtf8(), reason);
}

void IniFile::parse(const QString &text)
{
    lines_.clear();
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    QStringList raw = body.split(QLatin1Char('\n'));
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();   // the final line break ends the last line, it adds no line
    for (QString r : raw) {
        if (r.endsWith(QLatin1Char('\r')))
            r.chop(1);
        Line line;
        line.raw = r;
        const QString t = r.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            line.kind = Line::Section;
            line.name = t.mid(1, t.size() - 2).trimmed();
        } else if (!t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#'))
                   && t.contains(QLatin1Char('='))) {
            const int eq = t.indexOf(QLatin1Char('='));
            const QString key = t.left(eq).trimmed();
            if (!key.isEmpty()) {
                line.kind = Line::Entry;
                line.name = key;
                line.value = t.mid(eq + 1).trimmed();
            }
        }
        lines_.append(line);
    }
}

QString IniFile::render(const Line &line) const
{
    switch (line.kind) {
    case Line::Section:
        return line.raw.isEmpty() ? QLatin1Char('[') + line.name + QLatin1Char(']') : line.raw;
    case Line::Entry:
        if (!line.edited)
            return line.raw;
        return line.name + QLatin1Char('=') + line.value;
    case Line::Other: break;
    }
    return line.raw;
}

QString IniFile::toText() const
{
    QString out;
    for (const Line &l : lines_) {
        out += render(l);
        out += QLatin1Char('\n');
    }
    return out;
}

int IniFile::sectionLine(const QString &section) const
{
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Section && lines_[i].name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int IniFile::sectionEnd(int sectionLineIndex) const
{
    int i = sectionLineIndex + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Section)
        ++i;
    return i;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    const int s = sectionLine(section);
    if (s < 0)
        return std::nullopt;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i)
        if (lines_[i].kind == Line::Entry && lines_[i].name.compare(key, Qt::CaseInsensitive) == 0)
            return lines_[i].value;
    return std::nullopt;
}

int IniFile::intValue(const QString &section, const QString &key, int defaultValue) const
{
    const auto v = value(section, key);
    if (!v)
        return defaultValue;
    bool ok = false;
    const int n = v->toInt(&ok, 10);
    return ok ? n : defaultValue;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    int s = sectionLine(section);
    if (s < 0) {
        Line head;
        head.kind = Line::Section;
        head.name = section;
        lines_.append(head);
        s = lines_.size() - 1;
    }
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i) {
        if (lines_[i].kind == Line::Entry && lines_[i].name.compare(key, Qt::CaseInsensitive) == 0) {
            lines_[i].value = value;
            lines_[i].edited = true;
            return;
        }
    }
    // Append after the section's last entry, before trailing blank lines that separate it
    // from the next section.
    int at = end;
    while (at > s + 1 && lines_[at - 1].kind == Line::Other && lines_[at - 1].raw.trimmed().isEmpty())
        --at;
    Line entry;
    entry.kind = Line::Entry;
    entry.name = key;
    entry.value = value;
    entry.edited = true;
    lines_.insert(at, entry);
}

bool IniFile::hasSection(const QString &section) const
{
    return sectionLine(section) >= 0;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    const int s = sectionLine(section);
    if (s < 0)
        return out;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i)
        if (lines_[i].kind == Line::Entry)
            out << lines_[i].name;
    return out;
}
