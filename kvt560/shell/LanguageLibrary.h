#pragma once
// A language library: the numbered interface texts of one language, read from a UTF-8 text
// file beside the program ("chinese.dll", "english.dll", "taiwan.dll"; the format is
// described in resources/README.md). The file is read whole by load() and not kept open.
#include <QHash>
#include <QString>
#include <QVector>

class LanguageLibrary
{
public:
    // Bytes of UTF-8 kept of each text; a longer text is cut before the character that
    // would cross the limit.
    static constexpr int MaxTextBytes = 253;

    // Reads the library at path. On failure (no file, unreadable, not a valid library) it
    // returns false, keeps what it held before and says why in errorString().
    bool load(const QString &path);

    bool isLoaded() const { return m_loaded; }
    bool contains(int id) const { return m_texts.contains(id); }
    // The text of a string id; empty when the library lacks it.
    QString text(int id) const { return m_texts.value(id); }
    const QHash<int, QString> &texts() const { return m_texts; }
    QString errorString() const { return m_error; }

    // The file of a library: directory, name ("chinese", "english", "taiwan"), ".dll".
    static QString pathOf(const QString &directory, const QString &name);

    // Every string id the interface takes from a library, in the order they are applied
    // (88 and 89 appear twice: once for the active-band list, once for the band groups).
    static const QVector<int> &appliedIds();

    // The longest start of text whose UTF-8 form fits in maxBytes, never splitting a character.
    static QString truncatedToBytes(const QString &text, int maxBytes);

private:
    QHash<int, QString> m_texts;
    QString m_error;
    bool m_loaded = false;
};
