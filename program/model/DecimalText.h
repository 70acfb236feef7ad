#pragma once
// Exact decimal scaling of number texts. Frequencies and tones are typed and shown as decimal
// texts ("145.12500" MHz, "67.0" Hz) but stored as whole numbers of small units (10 Hz,
// 0.1 Hz). Scaling the text itself, digit by digit, avoids the binary rounding of doubles:
// 145.125 MHz is exactly 14512500 units of 10 Hz, never 14512499.
#include <QString>
#include <QStringView>
#include <cstdint>

// Reads the leading decimal number of `text` the way a standard decimal conversion does
// (leading white space, an optional sign, digits with an optional "." and fraction, an
// optional exponent "e-3") and returns it multiplied by 10^`decimals`, with the fractional
// part of the product dropped (towards zero). Text without a leading number gives 0; a value
// beyond the 64-bit range saturates at its limit. The separator is always ".", whatever the
// user's locale.
std::int64_t scaleDecimalText(QStringView text, int decimals);

// The whole number `units` divided by 10^`decimals`, written with exactly `decimals` digits
// after the "." ("%3.5f" of the quotient, without its rounding): (14512500, 5) -> "145.12500".
QString formatScaled(std::int64_t units, int decimals);
