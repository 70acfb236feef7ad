#pragma once
// The words the channel table (and several setting lists) hold for yes/no and choice
// values. They are words of the current interface language, so a language switch rewrites
// them; the three built-in written forms let the switch recognise a mark of any language.
#include <QString>
#include <optional>

enum class Mark { Off, On, High, Low, Wide, Narrow, Compander, Scrambler };

struct Marks {
    QString off;        // MarkOff, also entry 0 of the tone list
    QString on;         // MarkOn
    QString high;       // MarkHigh
    QString low;        // MarkLow
    QString wide;       // MarkWide
    QString narrow;     // MarkNarrow
    QString compander;  // MarkCompander
    QString scrambler;  // MarkScrambler

    QString text(Mark m) const;
    void set(Mark m, const QString &text);

    // The written forms of language 1 (Simplified Chinese), 2 (English) or 3 (Traditional
    // Chinese); any other number gives the Simplified Chinese forms.
    static Marks forLanguage(int language);
    // The mark whose form in any of the three languages is exactly this text.
    static std::optional<Mark> recognise(const QString &text);
};
