#pragma once
// The one list of tone choices that every tone selector offers: entry 0 is the current
// off word (MarkOff), then the 51 CTCSS tones, the 107 DCS codes with normal polarity and
// the same codes inverted. Only entry 0 depends on the interface language.
//
// The program uses the single instance ToneList::instance(); the language loader calls
// setOffWord() on it and the selectors refill themselves on entriesChanged() (or compare
// revision() with the value they filled from). Tests may build their own lists.
#include <QObject>
#include <QString>
#include <QStringList>

class ToneList : public QObject
{
    Q_OBJECT
public:
    static constexpr int Count = 266;
    static constexpr int CtcssCount = 51;        // indexes 1 to 51
    static constexpr int DcsCount = 107;         // positions 1 to 107 in the DCS order
    static constexpr int DcsNormalBase = 51;     // index = DcsNormalBase + position
    static constexpr int DcsInvertedBase = 158;  // index = DcsInvertedBase + position

    // Built-in off word, used until a language library supplies its own.
    static QString defaultOffWord();

    explicit ToneList(const QString &offWord = defaultOffWord(), QObject *parent = nullptr);

    // The program-wide list.
    static ToneList &instance();

    // Entry text, or an empty text when index is outside 0 to 265.
    QString at(int index) const;
    // Index of the entry whose text is exactly this text, or -1.
    int indexOf(const QString &text) const;
    const QStringList &entries() const { return m_entries; }

    QString offWord() const { return m_entries.constFirst(); }
    // Replaces entry 0; emits entriesChanged() when the word actually changes.
    void setOffWord(const QString &word);
    // Grows by one with every change of the entries.
    int revision() const { return m_revision; }

    // The language-independent entries: CTCSS texts by position 1 to 51 ("63.0" ...),
    // DCS code numbers by position 1 to 107 (17 for "017" ... 754).
    static QString ctcssText(int position);
    static int dcsNumber(int position);

signals:
    void entriesChanged();

private:
    QStringList m_entries;
    int m_revision = 0;
};
