#include "radiolink/ToneCode.h"

#include "channels/ToneList.h"

namespace ToneCode {

namespace {

constexpr quint8 kOffPosition = 0xFF;
constexpr quint8 kKindCtcss = 0x8, kKindDcsNormal = 0xC, kKindDcsInverted = 0xE;

QString twoHexDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

quint8 fromHex(const QString &twoDigits)
{
    return quint8(twoDigits.toUInt(nullptr, 16));
}

QByteArray code(quint8 position, quint8 kindByte)
{
    QByteArray bytes(2, '\0');
    bytes[0] = char(position);
    bytes[1] = char(kindByte);
    return bytes;
}

ToneCell offCell(const ToneList &list)
{
    return {list.offWord(), QStringLiteral("0")};
}

// A static list with the built-in off word: the entries 1 to 265 are the same in every
// language, and only they are looked up when encoding.
const ToneList &languageIndependentEntries()
{
    static const ToneList list;
    return list;
}

} // namespace

ToneCell sendCTC(quint8 position, quint8 kind, const ToneList &list)
{
    int index = -1;
    switch (kind >> 4) {
    case kKindCtcss:
        if (position >= 1 && position <= ToneList::CtcssCount)
            index = position;
        break;
    case kKindDcsNormal:
        if (position >= 1 && position <= ToneList::DcsCount)
            index = ToneList::DcsNormalBase + position;
        break;
    case kKindDcsInverted:
        if (position >= 1 && position <= ToneList::DcsCount)
            index = ToneList::DcsInvertedBase + position;
        break;
    default:   // 0x0 and 0xF are off; other kinds are never written and read as off
        break;
    }
    if (index < 0)
        return offCell(list);
    return {list.at(index), QString::number(index)};
}

bool isListed(const QByteArray &code)
{
    if (code.size() != 2)
        return false;
    const int position = quint8(code.at(0));
    switch (quint8(code.at(1)) >> 4) {
    case 0x0:
    case 0xF:
        return true;   // off
    case kKindCtcss:
        return position >= 1 && position <= ToneList::CtcssCount;
    case kKindDcsNormal:
    case kKindDcsInverted:
        return position >= 1 && position <= ToneList::DcsCount;
    default:
        return false;
    }
}

ToneCell sendCTC(const QByteArray &code, const ToneList &list)
{
    if (code.size() != 2)
        return offCell(list);
    return sendCTC(quint8(code.at(0)), quint8(code.at(1)), list);
}

QByteArray encode(const QString &toneText, Direction direction)
{
    const bool rx = direction == Direction::Receive;
    const QString text = toneText.trimmed();
    const int index = languageIndependentEntries().indexOf(text);
    if (index < 1)   // empty, an off word or not an entry at all
        return code(kOffPosition, 0x00);

    // The text is an entry, so the calculators below always find its position.
    if (text.endsWith(QLatin1Char('I')))
        return code(fromHex(CAL_dcs(text.mid(1, 3).toInt())), rx ? 0xE4 : 0xE3);
    if (text.endsWith(QLatin1Char('N')))
        return code(fromHex(CAL_dcs(text.mid(1, 3).toInt())), rx ? 0xC4 : 0xC3);
    const int integerPart = text.left(text.size() == 5 ? 3 : 2).toInt();
    return code(fromHex(CAL_ctc(integerPart)), rx ? 0x82 : 0x81);
}

QByteArray writeRxcode(const QString &toneText)
{
    return encode(toneText, Direction::Receive);
}

QByteArray writeTxcode(const QString &toneText)
{
    return encode(toneText, Direction::Transmit);
}

QString CAL_ctc(int integerPart)
{
    for (int p = 1; p <= ToneList::CtcssCount; ++p)
        if (ToneList::ctcssText(p).section(QLatin1Char('.'), 0, 0).toInt() == integerPart)
            return twoHexDigits(p);
    return QStringLiteral("00");
}

QString CAL_dcs(int codeNumber)
{
    for (int p = 1; p <= ToneList::DcsCount; ++p)
        if (ToneList::dcsNumber(p) == codeNumber)
            return twoHexDigits(p);
    return QStringLiteral("00");
}

} // namespace ToneCode
