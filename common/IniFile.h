#pragma once
// The ini engine of both programs' preferences (myini.ini, Program.ini): a small INI-style
// profile file that keeps the file as the user wrote it. Sections and keys stay in their
// order and their spelling; comments, blank lines and keys the program does not know survive
// a load/save cycle byte for byte, with their line endings, a byte order mark and a last line
// without a line break. A file nothing changed in is written back as it was read.
//
// Section and key names match case-insensitively, as profile files do on the platform the
// preferences come from. Values are trimmed of surrounding blanks. When a section or a key
// appears more than once, the first one counts (for reading and for setValue); the later ones
// are kept in the file as they stand.
//
// The text is UTF-8 (both files are read and written so). A line that is not valid UTF-8 is
// still written back with its own bytes as long as the program does not change it.
//
// The file is parsed once into its sections, each with an index of its keys, so that a
// lookup costs the same in a file of a few lines and in one of megabytes.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class IniFile
{
public:
    // Reads the file. A missing or unreadable file gives an empty profile and returns false,
    // with the system's reason in `reason` when given.
    bool load(const QString &path, QString *reason = nullptr);
    // Writes the whole profile, replacing the file atomically with every write checked: a
    // failure (a full disk among them) leaves the old file whole, returns false and gives the
    // system's reason.
    bool save(const QString &path, QString *reason = nullptr) const;

    void parse(const QByteArray &bytes);
    void parse(const QString &text) { parse(text.toUtf8()); }
    // The file's bytes: as read, with the lines the program set written as key=value.
    QByteArray toBytes() const;
    QString toText() const { return QString::fromUtf8(toBytes()); }

    std::optional<QString> value(const QString &section, const QString &key) const;
    // The value read as a whole decimal number; a missing key or a value that is not a whole
    // number gives the default.
    int intValue(const QString &section, const QString &key, int defaultValue) const;
    // Updates the first line of the key in place (keeping the key's spelling; a line that
    // already holds the value stays as it is), or appends the key at the end of its section (a new section is appended at the end of the file). New
    // lines end as the file's first line does.
    void setValue(const QString &section, const QString &key, const QString &value);

    bool hasSection(const QString &section) const;
    QStringList keys(const QString &section) const;

private:
    struct Line {
        enum Kind { Other, Section, Entry } kind = Other;
        QByteArray raw;   // the line as read, without its line ending
        QByteArray eol;   // its line ending as read: "\n", "\r\n", or none for a last line
        QString name;     // section name or key
        QString value;    // entry value
        bool edited = false;  // an entry set by the program is written as key=value
    };
    // A [section] line with the lines after it up to the next one. The lines before the
    // first section form a block without a header, which no lookup reaches.
    struct Block {
        bool hasHeader = false;
        Line header;
        QList<Line> lines;
        QHash<QString, qsizetype> firstEntry;   // folded key -> index in lines of its first entry
    };
    const Block *section(const QString &name) const;   // the first section of that name, or null
    QByteArray render(const Line &line) const;
    void clear();

    QList<Block> m_blocks;
    QHash<QString, qsizetype> m_firstSection;   // folded section name -> index in m_blocks
    QByteArray m_byteOrderMark;                 // kept in front of the first line when read
    QByteArray m_eol = "\n";                    // the file's own line ending, for new lines
};
