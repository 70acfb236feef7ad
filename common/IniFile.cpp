#include "common/IniFile.h"

#include "common/CheckedSave.h"

#include <QFile>

namespace {
QString folded(const QString &name)
{
    return name.toCaseFolded();
}

const QByteArray ByteOrderMark("\xEF\xBB\xBF");
} // namespace

void IniFile::clear()
{
    m_blocks.clear();
    m_firstSection.clear();
    m_byteOrderMark.clear();
    m_eol = "\n";
}

bool IniFile::load(const QString &path, QString *reason)
{
    clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = f.errorString();
        return false;
    }
    parse(f.readAll());
    return true;
}

bool IniFile::save(const QString &path, QString *reason) const
{
    return CheckedSave::writeFile(path, toBytes(), reason);
}

void IniFile::parse(const QByteArray &bytes)
{
    clear();
    m_blocks.append(Block());   // the lines before the first section
    qsizetype pos = 0;
    if (bytes.startsWith(ByteOrderMark)) {
        m_byteOrderMark = ByteOrderMark;
        pos = ByteOrderMark.size();
    }
    bool eolSeen = false;
    while (pos < bytes.size()) {
        Line line;
        const qsizetype nl = bytes.indexOf('\n', pos);
        if (nl < 0) {
            line.raw = bytes.mid(pos);   // a last line without a line break
            pos = bytes.size();
        } else {
            line.raw = bytes.mid(pos, nl - pos);
            line.eol = "\n";
            if (line.raw.endsWith('\r')) {
                line.raw.chop(1);
                line.eol = "\r\n";
            }
            pos = nl + 1;
            if (!eolSeen) {
                m_eol = line.eol;
                eolSeen = true;
            }
        }
        const QString t = QString::fromUtf8(line.raw).trimmed();
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

QByteArray IniFile::render(const Line &line) const
{
    switch (line.kind) {
    case Line::Section:
        return line.raw.isEmpty() ? (QLatin1Char('[') + line.name + QLatin1Char(']')).toUtf8() : line.raw;
    case Line::Entry:
        if (!line.edited)
            return line.raw;
        return (line.name + QLatin1Char('=') + line.value).toUtf8();
    case Line::Other: break;
    }
    return line.raw;
}

QByteArray IniFile::toBytes() const
{
    QList<const Line *> lines;
    for (const Block &b : m_blocks) {
        if (b.hasHeader)
            lines << &b.header;
        for (const Line &l : b.lines)
            lines << &l;
    }
    QByteArray out = m_byteOrderMark;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line &l = *lines.at(i);
        out += render(l);
        // A line the file ended without a break gets one when lines follow it now; a line the
        // program added ends as the file's lines do.
        if (!l.eol.isEmpty())
            out += l.eol;
        else if (i + 1 < lines.size() || l.raw.isEmpty() || l.edited)
            out += m_eol;
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
        if (line.value == value)
            return;   // the line stays as it was written
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
