#include "channels/Marks.h"

#include <array>

namespace {

constexpr int MarkCount = 8;

// The written form of every mark in language 1 (Simplified Chinese), 2 (English) and 3
// (Traditional Chinese), in the order of the Mark enum.
struct Forms {
    const char *simplified;
    const char *english;
    const char *traditional;
};

const std::array<Forms, MarkCount> &forms()
{
    static const std::array<Forms, MarkCount> table = {{
        {"禁用", "OFF", "禁用"},          // Off
        {"启用", "ON", "啟用"},           // On
        {"高功率", "High", "高功率"},     // High
        {"低功率", "Low", "低功率"},      // Low
        {"宽带", "Wide", "寬帶"},         // Wide
        {"窄带", "Narrow", "窄帶"},       // Narrow
        {"压扩", "Comp", "壓擴"},         // Compander
        {"扰频", "scrambler", "擾頻"},    // Scrambler
    }};
    return table;
}

} // namespace

QString Marks::text(Mark m) const
{
    switch (m) {
    case Mark::Off: return off;
    case Mark::On: return on;
    case Mark::High: return high;
    case Mark::Low: return low;
    case Mark::Wide: return wide;
    case Mark::Narrow: return narrow;
    case Mark::Compander: return compander;
    case Mark::Scrambler: return scrambler;
    }
    return QString();
}

void Marks::set(Mark m, const QString &text)
{
    switch (m) {
    case Mark::Off: off = text; break;
    case Mark::On: on = text; break;
    case Mark::High: high = text; break;
    case Mark::Low: low = text; break;
    case Mark::Wide: wide = text; break;
    case Mark::Narrow: narrow = text; break;
    case Mark::Compander: compander = text; break;
    case Mark::Scrambler: scrambler = text; break;
    }
}

Marks Marks::forLanguage(int language)
{
    Marks marks;
    for (int i = 0; i < MarkCount; ++i) {
        const Forms &f = forms()[static_cast<size_t>(i)];
        const char *form = language == 2 ? f.english : language == 3 ? f.traditional : f.simplified;
        marks.set(static_cast<Mark>(i), QString::fromUtf8(form));
    }
    return marks;
}

std::optional<Mark> Marks::recognise(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    for (int i = 0; i < MarkCount; ++i) {
        const Forms &f = forms()[static_cast<size_t>(i)];
        if (text == QString::fromUtf8(f.simplified) || text == QString::fromUtf8(f.english)
            || text == QString::fromUtf8(f.traditional))
            return static_cast<Mark>(i);
    }
    return std::nullopt;
}
