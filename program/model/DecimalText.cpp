#include "DecimalText.h"

#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::int64_t scaleDecimalText(QStringView text, int decimals)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }

    // Significant digits of the mantissa, and how many of them stand before the point.
    QString digits;
    qsizetype integerDigits = 0;
    bool anyDigit = false;
    while (i < n && isDigit(text.at(i))) {
        anyDigit = true;
        if (!digits.isEmpty() || text.at(i) != QLatin1Char('0')) {
            digits.append(text.at(i));
            ++integerDigits;
        }
        ++i;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && isDigit(text.at(i))) {
            anyDigit = true;
            if (digits.isEmpty() && text.at(i) == QLatin1Char('0'))
                --integerDigits; // a leading zero of the fraction moves the point
            else
                digits.append(text.at(i));
            ++i;
        }
    }
    if (!anyDigit || digits.isEmpty())
        return 0;

    // The exponent counts only when it is complete ("1e" is the number 1 followed by text).
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        bool expNegative = false;
        if (j < n && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-'))) {
            expNegative = text.at(j) == QLatin1Char('-');
            ++j;
        }
        if (j < n && isDigit(text.at(j))) {
            std::int64_t exponent = 0;
            while (j < n && isDigit(text.at(j))) {
                if (exponent < 100000)
                    exponent = exponent * 10 + text.at(j).unicode() - '0';
                ++j;
            }
            integerDigits += expNegative ? -exponent : exponent;
        }
    }

    // Scaling by 10^decimals moves the point right; the digits left of it form the result.
    const std::int64_t wholeDigits = std::int64_t(integerDigits) + decimals;
    if (wholeDigits <= 0)
        return 0;
    const std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    if (wholeDigits > 19)
        return negative ? -limit : limit;
    std::uint64_t value = 0;
    for (std::int64_t k = 0; k < wholeDigits; ++k) {
        const unsigned digit = k < digits.size() ? unsigned(digits.at(k).unicode() - '0') : 0u;
        value = value * 10 + digit;
    }
    if (value > std::uint64_t(limit))
        value = std::uint64_t(limit);
    return negative ? -std::int64_t(value) : std::int64_t(value);
}

QString formatScaled(std::int64_t units, int decimals)
{
    const bool negative = units < 0;
    std::uint64_t magnitude = negative ? 0 - std::uint64_t(units) : std::uint64_t(units);
    std::uint64_t divisor = 1;
    for (int k = 0; k < decimals; ++k)
        divisor *= 10;
    QString text = QString::number(magnitude / divisor);
    if (decimals > 0)
        text += QLatin1Char('.')
              + QStringLiteral("%1").arg(magnitude % divisor, decimals, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}
