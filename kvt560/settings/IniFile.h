#pragma once
// A small INI-style profile file that keeps the file as the user wrote it: sections and keys
// stay in their order, comments, blank lines and keys this program does not know survive a
// load/save cycle. Section and key names match case-insensitively, as profile files do on
// the platform the preferences come from. Values are trimmed of surrounding blanks. When a
// section or a key appears more than once, the first one counts (for reading and for
// setValue); the later ones are kept in the file as they stand.
//
// The file is parsed once into its sections, each with an index of its keys, so that a
// lookup costs the same in a file of a few lines and in one of megabytes.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class IniFile
{
public:
    // Reads the file (UTF-8). A missing file gives an empty profile and returns false.
    bool load(const QString &path);
    // Writes the whole profile, replacing the file atomically with every write checked: a
    // failure (a full disk among them) leaves the old file whole, returns false and gives the
    // system's reason.
    bool save(const QString &path, QString *reason = nullptr) const;

    void parse(const QString &text);
    QString toText() const;

    std::optional<QString> value(const QString &section, const QString &key) const;
    // The value read as a whole decimal number; a missing key or a value that is not a whole
    // number gives the default.
    int intValue(const QString &section, const QString &key, int defaultValue) const;
    // Updates the first line of the key in place, or appends the key at the end of its
    // section (a new section is appended at the end of the file).
    void setValue(const QString &section, const QString &key, const QString &value);

    bool hasSection(const QString &section) const;
    QStringList keys(const QString &section) const;

private:
    struct Line {
        enum Kind { Other, Section, Entry } kind = Other;
        QString raw;      // the line as read, for Other lines
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
    QString render(const Line &line) const;

    QList<Block> m_blocks;
    QHash<QString, qsizetype> m_firstSection;   // folded section name -> index in m_blocks
};
