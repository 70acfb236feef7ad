#include "settings/IniFile.h"
#include "common/CheckedSave.h"
#include <QFile>

namespace {
QString folded(const QString &name)
{
    return name.toCaseFolded();
}
} // namespace

bool IniFile::load(const QString &path)
{
    m_blocks.clear();
    m_firstSection.clear();
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
    m_blocks.clear();
    m_firstSection.clear();
    m_blocks.append(Block());   // the lines before the first section
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    QStringList raw = body.split(QLatin1Char('\n'));
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();   // the final line break ends the last line, it adds no line
    for (QString &r : raw) {
        if (r.endsWith(QLatin1Char('\r')))
            r.chop(1);
        Line line;
        line.raw = r;
        const QString t = r.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            line.kind = Line::Section;
            line.name = t.mid(1, t.size() - 2).trimmed();
            Block block;
            block.hasHeader = true;
            block.header = line;
            m_blocks.append(block);
            // A later section of the same name stays in the file but is never looked up.
            if (!m_firstSection.contains(folded(line.name)))
                m_firstSection.insert(folded(line.name), m_blocks.size() - 1);
            continue;
        }
        if (!t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#')) && t.contains(QLatin1Char('='))) {
            const qsizetype eq = t.indexOf(QLatin1Char('='));
            const QString key = t.left(eq).trimmed();
            if (!key.isEmpty()) {
                line.kind = Line::Entry;
                line.name = key;
                line.value = t.mid(eq + 1).trimmed();
            }
        }
        Block &block = m_blocks.last();
        if (line.kind == Line::Entry && !block.firstEntry.contains(folded(line.name)))
            block.firstEntry.insert(folded(line.name), block.lines.size());
        block.lines.append(std::move(line));
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
    for (const Block &b : m_blocks) {
        if (b.hasHeader) {
            out += render(b.header);
            out += QLatin1Char('\n');
        }
        for (const Line &l : b.lines) {
            out += render(l);
            out += QLatin1Char('\n');
        }
    }
    return out;
}

const IniFile::Block *IniFile::section(const QString &name) const
{
    const auto it = m_firstSection.constFind(folded(name));
    return it == m_firstSection.constEnd() ? nullptr : &m_blocks.at(*it);
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    const Block *b = this->section(section);
    if (!b)
        return std::nullopt;
    const auto it = b->firstEntry.constFind(folded(key));
    if (it == b->firstEntry.constEnd())
        return std::nullopt;
    return b->lines.at(*it).value;
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
    if (m_blocks.isEmpty())
        m_blocks.append(Block());
    qsizetype s = m_firstSection.value(folded(section), -1);
    if (s < 0) {
        Block block;
        block.hasHeader = true;
        block.header.kind = Line::Section;
        block.header.name = section;
        m_blocks.append(block);
        s = m_blocks.size() - 1;
        m_firstSection.insert(folded(section), s);
    }
    Block &b = m_blocks[s];
    if (const auto it = b.firstEntry.constFind(folded(key)); it != b.firstEntry.constEnd()) {
        Line &line = b.lines[*it];
        line.value = value;
        line.edited = true;
        return;
    }
    // Append after the section's last line that is not blank, before the blank lines that
    // separate it from the next section. Only blank lines follow, so no entry moves.
    qsizetype at = b.lines.size();
    while (at > 0 && b.lines.at(at - 1).kind == Line::Other && b.lines.at(at - 1).raw.trimmed().isEmpty())
        --at;
    Line entry;
    entry.kind = Line::Entry;
    entry.name = key;
    entry.value = value;
    entry.edited = true;
    b.lines.insert(at, entry);
    b.firstEntry.insert(folded(key), at);
}

bool IniFile::hasSection(const QString &section) const
{
    return this->section(section) != nullptr;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    if (const Block *b = this->section(section))
        for (const Line &l : b->lines)
            if (l.kind == Line::Entry)
                out << l.name;
    return out;
}
