#pragma once
// The preferences file Program.ini in the application directory: an INI file with the
// section "Setup" and the keys "Language" and "COM", read and written through the ini engine
// (common/IniFile.h), which keeps every line it does not change as it stands. Section and key
// names match without regard to case, as in any profile file. When the application directory cannot be written,
// or is an installed one (common/InstalledLayout.h), values are written to a Program.ini in
// the per-user configuration folder instead, and values found there take precedence when
// reading; a key the user's file lacks is read from the shipped file.
#include <QString>

class ProgramIni
{
public:
    // appDirectory ends with a separator or not; userFallbackPath empty means the standard
    // per-user configuration location.
    explicit ProgramIni(const QString &appDirectory, const QString &userFallbackPath = QString());

    QString path() const { return m_path; }
    bool exists() const;

    // The value, or an empty text when the file, the section or the key is missing. Values
    // are cut to 255 characters, as the reading buffer holds 256 including its terminator.
    QString read(const QString &section, const QString &key) const;
    // Writes one value, keeping every other line of the file. An empty value is not written.
    // Returns false when the file could not be written (a full disk among the reasons), with
    // the old file whole and the reason in reason.
    bool write(const QString &section, const QString &key, const QString &value, QString *reason = nullptr) const;
    // Whether the preferences are the user's own file, not the one beside the program.
    bool usesUserFile() const { return !appFileWritable() && !m_userPath.isEmpty(); }
    // The value of the user's own file only; empty when usesUserFile() is false.
    QString readUser(const QString &section, const QString &key) const;

private:
    bool appFileWritable() const;
    QString m_path;
    QString m_userPath;
};
