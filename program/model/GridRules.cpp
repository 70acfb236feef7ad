#include "GridRules.h"

#include "MemoryImage.h"

#include <algorithm>

namespace GridRules {

namespace {

constexpr int LanguageCount = 3;

int language(int index)
{
    return index >= 0 && index < LanguageCount ? index : 0;
}

// Header row, by column then language.
const char16_t *const Headers[ColumnCount][LanguageCount] = {
    {u"CH", u"信道", u"信道"},
    {u"Rx Freq", u"接收频率", u"接收頻率"},
    {u"Tx Freq", u"发射频率", u"發射頻率"},
    {u"Rx Tone", u"接收亚音", u"接收信令"},
    {u"Tx Tone", u"发射亚音", u"發射信令"},
    {u"Busy Lock", u"繁忙锁定", u"繁忙鎖定"},
    {u"Power", u"功率", u"功率"},
    {u"Scan Add", u"扫描添加", u"掃描添加"},
    {u"Bandwidth", u"带宽", u"帶寬"},
    {u"Name", u"信道名称", u"信道名稱"},
};

// The busy-lock words of the list editor; the other list columns use the channel words.
const char16_t *const BusyLockWords[LanguageCount][3] = {
    {u"Off", u"Carrier", u"QDT"},
    {u"关闭", u"载波", u"信令"},
    {u"關閉", u"載波", u"信令"},
};

// A frequency record holds eight decimal digits of 10 Hz: below 1000 MHz.
constexpr std::uint32_t MaxUnits = 99999999;

} // namespace

QString headerText(int column, int lang)
{
    if (column < 0 || column >= ColumnCount)
        return QString();
    return QString::fromUtf16(Headers[column][language(lang)]);
}

QStringList headerTexts(int lang)
{
    QStringList texts;
    for (int c = 0; c < ColumnCount; ++c)
        texts << headerText(c, lang);
    return texts;
}

QString rowNumberText(int row, int lang)
{
    return row == 0 ? headerText(ChannelColumn, lang) : QString::asprintf("%d", row);
}

QStringList listEditorWords(int column, int lang)
{
    lang = language(lang);
    switch (column) {
    case ChannelTexts::BusyLock: {
        QStringList words;
        for (const char16_t *w : BusyLockWords[lang])
            words << QString::fromUtf16(w);
        return words;
    }
    case ChannelTexts::Power:
        return {channelWordText(ChannelWord::High, lang), channelWordText(ChannelWord::Low, lang)};
    case ChannelTexts::ScanAdd:
        return {channelWordText(ChannelWord::Add, lang), channelWordText(ChannelWord::Del, lang)};
    case ChannelTexts::Bandwidth:
        return {channelWordText(ChannelWord::Wide, lang), channelWordText(ChannelWord::Narrow, lang)};
    default:
        return {};
    }
}

const QList<RadioModel> &radioModels()
{
    static const QList<RadioModel> models = {
        {QStringLiteral("KVT270U01"), QStringLiteral("400-470MHz"), 40000000, 47000000},
        {QStringLiteral("KVT270V01"), QStringLiteral("136-174MHz"), 13600000, 17400000},
        {QStringLiteral("KVT270U04"), QStringLiteral("330-400MHz"), 33000000, 40000000},
        {QStringLiteral("KVT270U09"), QStringLiteral("400-470MHz"), 40000000, 47000000},
        {QStringLiteral("KVT270U10"), QStringLiteral("450-520MHz"), 45000000, 52000000},
    };
    return models;
}

QStringList radioModelNames()
{
    QStringList names;
    for (const RadioModel &m : radioModels())
        names << m.name;
    return names;
}

QString bandTextOfModel(const QString &modelName)
{
    for (const RadioModel &m : radioModels())
        if (m.name == modelName)
            return m.band;
    return radioModels().first().band;
}

int modelIndexFromByte(std::uint8_t byte)
{
    return byte < radioModels().size() ? int(byte) : 0;
}

bool parseBandText(const QString &band, std::uint32_t *low, std::uint32_t *high)
{
    std::uint64_t numbers[2] = {0, 0};
    int found = 0;
    auto digit = [&band](int i) { return band.at(i) >= QLatin1Char('0') && band.at(i) <= QLatin1Char('9'); };
    for (int i = 0; i < band.size() && found < 2;) {
        if (!digit(i)) {
            ++i;
            continue;
        }
        std::uint64_t n = 0;
        for (; i < band.size() && digit(i); ++i)
            n = std::min<std::uint64_t>(n * 10 + (band.at(i).unicode() - '0'), 1000000);
        numbers[found++] = n * 100000;
    }
    if (found < 2 || numbers[0] >= numbers[1] || numbers[1] > MaxUnits + 1)
        return false;
    *low = std::uint32_t(numbers[0]);
    *high = std::uint32_t(std::min<std::uint64_t>(numbers[1], MaxUnits));
    return true;
}

std::uint32_t snapFrequencyUnits(const QString &typed, std::uint32_t low, std::uint32_t high)
{
    std::uint32_t v = frequencyUnits(typed);
    if (v != 0) {
        if (v > high)
            v = high;
        if (v < low)
            v = low;
    }
    const std::uint32_t r5 = v % 500;
    const std::uint32_t r6 = v % 625;
    if (r5 != 0 && r6 != 0)
        v -= r5 > r6 ? r6 : r5;
    return v;
}

QString snapFrequencyText(const QString &typed, std::uint32_t low, std::uint32_t high)
{
    const std::uint32_t v = snapFrequencyUnits(typed, low, high);
    return v == 0 ? QString() : frequencyText(v);
}

ChannelTexts commitCell(const ChannelTexts &row, int column, const QString &editorText,
                        std::uint32_t low, std::uint32_t high)
{
    ChannelTexts result = row;
    const bool empty = row.rxFreq.isEmpty();
    switch (column) {
    case ChannelTexts::RxFreq: {
        const QString text = snapFrequencyText(editorText, low, high);
        if (text.isEmpty()) {
            result = ChannelTexts();
        } else if (empty) {
            result = newChannelTexts(text);
            result.name = row.name;
        } else {
            result.rxFreq = text;
        }
        break;
    }
    case ChannelTexts::TxFreq:
        result.txFreq = empty ? QString() : snapFrequencyText(editorText, low, high);
        break;
    case ChannelTexts::Name:
        result.name = empty ? QString() : editorText.left(ImageMap::ChannelNameLength);
        break;
    default:
        if (column >= ChannelTexts::FirstColumn && column <= ChannelTexts::LastColumn)
            result.setText(column, empty ? QString() : editorText);
        break;
    }
    return result;
}

} // namespace GridRules
