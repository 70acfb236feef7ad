#include "settings/BandRanges.h"

namespace {
std::optional<double> readLimit(const QString &part)
{
    bool ok = false;
    const double v = part.trimmed().toDouble(&ok);   // C locale: "." whatever the user's locale
    if (!ok)
        return std::nullopt;
    return v;
}
} // namespace

std::optional<RangeLimits> parseRangeLimits(const QString &rangeText, QString *offending)
{
    const QString lowText = rangeText.mid(0, 3);
    const QString highText = rangeText.mid(4, 3);
    const auto low = readLimit(lowText);
    if (!low) {
        if (offending)
            *offending = lowText;
        return std::nullopt;
    }
    const auto high = readLimit(highText);
    if (!high) {
        if (offending)
            *offending = highText;
        return std::nullopt;
    }
    return RangeLimits{*low, *high};
}

std::optional<WholeRangeLimits> parseWholeRangeLimits(const QString &range)
{
    if (range.size() < 7 || range.at(3) != QLatin1Char('-'))
        return std::nullopt;
    for (int i : {0, 1, 2, 4, 5, 6})
        if (range.at(i).unicode() < '0' || range.at(i).unicode() > '9')
            return std::nullopt;
    return WholeRangeLimits{range.left(3).toInt(), range.mid(4, 3).toInt()};
}

int addOrSelectRange(QStringList &items, const QString &text)
{
    const int found = items.indexOf(text);
    if (found >= 0)
        return found;
    items.append(text);
    return items.size() - 1;
}
