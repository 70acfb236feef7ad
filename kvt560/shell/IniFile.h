#pragma once
// A small INI-style profile file that keeps the file as the user wrote it: sections and keys
// stay in their order, comments, blank lines and keys this program does not know survive a
// load/save cycle. Section and key names match case-insensitively, as profile files do on
// the platform the preferences come from. Values are trimmed of surrounding blanks.
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
    int sectionLine(const QString &section) const;   // index of the [section] line, or -1
    int sectionEnd(int sectionLineIndex) const;      // index after the section's last line
    QString render(const Line &line) const;

    QList<Line> lines_;
};
