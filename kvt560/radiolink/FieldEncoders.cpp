#include "radiolink/FieldEncoders.h"
#include "radiolink/RadioFrame.h"

#include <QRegularExpression>

namespace FieldEncoders {

using RadioFrame::hexValue;

namespace {

const QString kEmptyFrequency = QStringLiteral("FFFFFFFF");

// Alias character codes 0x00 to 0x2A, by code.
const QString kAliasAlphabet = QStringLiteral("0123456789-+_/. ABCDEFGHIJKLMNOPQRSTUVWXYZ*");

// DTMF digits by nibble 0x0 to 0xF.
const QString kDtmfByNibble = QStringLiteral("D1234567890*#ABC");

QString hexDigits(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString WriteFre(const QString &frequencyText, bool *ok)
{
    if (ok)
        *ok = true;
    const QString text = frequencyText.trimmed();
    if (text.isEmpty())
        return kEmptyFrequency;

    static const QRegularExpression form(QStringLiteral("^(\\d{1,3})(?:\\.(\\d{0,5}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) {
        if (ok)
            *ok = false;
        return kEmptyFrequency;
    }
    const QString mhz = m.captured(1).rightJustified(3, QLatin1Char('0'));
    const QString decimals = m.captured(2).leftJustified(5, QLatin1Char('0'));
    const int tensOfHertz = decimals.mid(3, 2).toInt();   // 0 to 99
    const int quarterKilohertz = tensOfHertz / 25;         // rounds down to 00/25/50/75
    return mhz + decimals.left(3) + hexDigits(quarterKilohertz * 4, 2);
}

QString decodeFrequency(const QString &hex, bool *ok)
{
    bool valid = hex.size() == 8;
    for (int i = 0; valid && i < 8; ++i)
        valid = hexValue(hex.at(i)) >= 0 && (i >= 6 || hex.at(i).isDigit());
    if (ok)
        *ok = valid;
    if (!valid)
        return QString();
    const int byte3 = hexValue(hex.at(6)) * 16 + hexValue(hex.at(7));
    return hex.left(3) + QLatin1Char('.') + hex.mid(3, 3)
           + QStringLiteral("%1").arg(byte3 * 25 / 4, 2, 10, QLatin1Char('0'));
}

QString nearestFrequency(const QString &hex, bool *exact)
{
    if (exact)
        *exact = false;
    if (hex.size() != 8)
        return QString();
    bool same = true;
    int kilohertz = 0;   // the six BCD digits, each above 9 read as 9
    for (int i = 0; i < 6; ++i) {
        const int digit = hexValue(hex.at(i));
        if (digit < 0)
            return QString();
        same = same && digit <= 9;
        kilohertz = kilohertz * 10 + qMin(digit, 9);
    }
    const int high = hexValue(hex.at(6)), low = hexValue(hex.at(7));
    if (high < 0 || low < 0)
        return QString();
    const int byte3 = high * 16 + low;   // steps of 62.5 Hz
    same = same && byte3 % 4 == 0 && byte3 <= 0x0C;
    int quarters = (byte3 + 1) / 4;        // nearest 250 Hz step, a tie to the lower one
    kilohertz += quarters / 4;
    quarters %= 4;
    constexpr int MaxKilohertz = 999999;
    if (kilohertz > MaxKilohertz) {
        kilohertz = MaxKilohertz;
        quarters = 3;
    }
    if (exact)
        *exact = same;
    const QString digits = QStringLiteral("%1").arg(kilohertz, 6, 10, QLatin1Char('0'));
    return digits.left(3) + QLatin1Char('.') + digits.mid(3) + QStringLiteral("%1").arg(quarters * 25, 2, 10, QLatin1Char('0'));
}

QString StrToHEX(const QString &alias)
{
    QString result;
    for (const QChar c : alias) {
        if (result.size() == 12)
            break;
        const int code = kAliasAlphabet.indexOf(c.toUpper());
        if (code >= 0)
            result += hexDigits(code, 2);
    }
    while (result.size() < 12)
        result += QStringLiteral("0F");
    return result;
}

QString HexToStr(const QString &hex)
{
    if (hex.compare(QStringLiteral("FFFFFFFFFFFF"), Qt::CaseInsensitive) == 0)
        return QString();
    QString alias;
    for (int i = 0; i + 1 < hex.size() && i < 12; i += 2) {
        const int high = hexValue(hex.at(i)), low = hexValue(hex.at(i + 1));
        if (high < 0 || low < 0)
            continue;
        const int code = high * 16 + low;
        if (code < kAliasAlphabet.size())
            alias += kAliasAlphabet.at(code);
    }
    return alias;
}

QString DTMFToHex(const QString &dtmf, int count)
{
    QString result;
    for (int i = 0; i < count; ++i) {
        const QChar c = i < dtmf.size() ? dtmf.at(i).toUpper() : QChar();
        const int nibble = kDtmfByNibble.indexOf(c);
        result += nibble >= 0 ? QString::number(nibble, 16).toUpper() : QStringLiteral("F");
    }
    return result;
}

QString HexToDTMF(const QString &hex, int count)
{
    QString dtmf;
    for (int i = 0; i < count && i < hex.size(); ++i) {
        const int nibble = hexValue(hex.at(i));
        dtmf += kDtmfByNibble.at(nibble >= 0 ? nibble : 0xF);
    }
    return dtmf;
}

} // namespace FieldEncoders
