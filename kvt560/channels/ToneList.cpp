#include "channels/ToneList.h"

namespace {

// Tenths of hertz, in list order.
constexpr int kCtcssTenths[ToneList::CtcssCount] = {
    630,  670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,
    1000, 1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514,
    1567, 1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928,
    1966, 1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541};

// The octal code digits read as a decimal number, in DCS order.
constexpr int kDcsNumbers[ToneList::DcsCount] = {
    17,  23,  25,  26,  31,  32,  36,  43,  47,  50,  51,  53,  54,  65,  71,  72,
    73,  74,  114, 115, 116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162,
    165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246, 251, 252, 255, 261,
    263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364,
    365, 371, 411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465,
    466, 503, 506, 516, 523, 526, 532, 546, 565, 606, 612, 624, 627, 631, 632, 645,
    654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

QString dcsText(int position, QChar polarity)
{
    return QStringLiteral("D%1").arg(kDcsNumbers[position - 1], 3, 10, QLatin1Char('0')) + polarity;
}

} // namespace

QString ToneList::defaultOffWord()
{
    return QStringLiteral("禁用");
}

QString ToneList::ctcssText(int position)
{
    if (position < 1 || position > CtcssCount)
        return QString();
    const int tenths = kCtcssTenths[position - 1];
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

int ToneList::dcsNumber(int position)
{
    return position >= 1 && position <= DcsCount ? kDcsNumbers[position - 1] : 0;
}

ToneList::ToneList(const QString &offWord, QObject *parent) : QObject(parent)
{
    m_entries.reserve(Count);
    m_entries << offWord;
    for (int p = 1; p <= CtcssCount; ++p)
        m_entries << ctcssText(p);
    for (int p = 1; p <= DcsCount; ++p)
        m_entries << dcsText(p, QLatin1Char('N'));
    for (int p = 1; p <= DcsCount; ++p)
        m_entries << dcsText(p, QLatin1Char('I'));
}

ToneList &ToneList::instance()
{
    static ToneList list;
    return list;
}

QString ToneList::at(int index) const
{
    return index >= 0 && index < Count ? m_entries.at(index) : QString();
}

int ToneList::indexOf(const QString &text) const
{
    return m_entries.indexOf(text);
}

void ToneList::setOffWord(const QString &word)
{
    if (word == m_entries.constFirst())
        return;
    m_entries[0] = word;
    ++m_revision;
    emit entriesChanged();
}

// Compiled here rather than in the shared moc unit, so that linking the tone list does not
// pull in every other class of the library.
#include "moc_ToneList.cpp"
