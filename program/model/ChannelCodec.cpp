#include "ChannelCodec.h"

#include "base/Globals.h"
#include "DecimalText.h"
#include "MemoryImage.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

constexpr int LanguageCount = 3;

// Words by ChannelWord, then by language: English, Simplified Chinese, Traditional Chinese.
const char16_t *const Words[][LanguageCount] = {
    {u"Off", u"关", u"關"},
    {u"Carrier", u"载波", u"載波"},
    {u"QDT", u"信令", u"信令"},
    {u"High", u"高", u"高"},
    {u"Low", u"低", u"低"},
    {u"Add", u"添加", u"添加"},
    {u"Del", u"删除", u"刪除"},
    {u"Wide", u"宽", u"寬"},
    {u"Narrow", u"窄", u"窄"},
};

// Texts are compared exactly with the word of every language, so an image shown in one
// language and stored in another keeps its values.
bool isWord(const QString &text, ChannelWord word)
{
    for (const char16_t *w : Words[int(word)])
        if (text == QStringView(w))
            return true;
    return false;
}

const char *const CtcssTexts[] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1",
};

const char *const DcsCodes[] = {
    "017", "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053", "054",
    "065", "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134",
    "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225",
    "226", "243", "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271",
    "274", "306", "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365",
    "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462",
    "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612",
    "624", "627", "631", "632", "645", "654", "662", "664", "703", "712", "723", "731", "732",
    "734", "743", "754",
};

template <typename Image>
auto record(Image &image, int channel)
{
    return image.data() + ImageMap::ChannelRecords + (channel - 1) * ImageMap::ChannelRecordSize;
}

template <typename Image>
auto nameSlot(Image &image, int channel)
{
    return image.data() + ImageMap::ChannelNames + (channel - 1) * ImageMap::ChannelNameSize;
}

bool validChannel(int channel)
{
    return channel >= 1 && channel <= ImageMap::ChannelCount;
}

// Eight BCD digits hold at most 999.99999 MHz. A larger value (read from a record whose
// nibbles are not digits) leaves the bytes as they were, as an unencodable tone does,
// instead of being cut to its last eight digits.
void writeFrequency(std::uint8_t *bytes, std::uint32_t units)
{
    if (units > 99999999)
        return;
    for (int i = 0; i < 4; ++i) {
        bytes[i] = bcd(units % 100);
        units /= 100;
    }
}

std::uint32_t readFrequency(const std::uint8_t *bytes)
{
    std::uint32_t units = 0;
    for (int i = 3; i >= 0; --i)
        units = units * 100 + dec(bytes[i]);
    return units;
}

// Writes a tone text into its two bytes (low, high). Texts whose code the radio's encoding
// cannot hold (a D text without N or I, a DCS code above 999, a CTCSS tone below 0 or from
// 800.0 Hz up, which would read back as a DCS code) leave the bytes as they were.
void writeTone(std::uint8_t *low, std::uint8_t *high, const QString &text)
{
    if (isWord(text, ChannelWord::Off)) {
        *low = 0xFF;
        *high = 0xFF;
        return;
    }
    if (text.startsWith(QLatin1Char('D'))) {
        const QString rest = text.mid(1);
        std::uint8_t polarity;
        if (rest.contains(QLatin1Char('N')))
            polarity = 0x80;
        else if (rest.contains(QLatin1Char('I')))
            polarity = 0xC0;
        else
            return;
        const std::int64_t code = scaleDecimalText(rest, 0);
        if (code < 0 || code > 999)
            return;
        *high = std::uint8_t(polarity + code / 100);
        *low = bcd(unsigned(code % 100));
        return;
    }
    const std::int64_t tenths = scaleDecimalText(text, 1);
    if (tenths < 0 || tenths > 7999)
        return;
    *high = bcd(unsigned(tenths / 100));
    *low = bcd(unsigned(tenths % 100));
}

QString readTone(std::uint8_t low, std::uint8_t high)
{
    if (high == 0xFF || high == 0x00)
        return channelWordText(ChannelWord::Off);
    if (high >= 0xC0)
        return QString::asprintf("D%03dI", int(dec(high - 0xC0) * 100 + dec(low)));
    if (high >= 0x80)
        return QString::asprintf("D%03dN", int(dec(high - 0x80) * 100 + dec(low)));
    return formatScaled(dec(high) * 100 + dec(low), 1);
}

} // namespace

QString ChannelTexts::text(int column) const
{
    switch (column) {
    case RxFreq: return rxFreq;
    case TxFreq: return txFreq;
    case RxTone: return rxTone;
    case TxTone: return txTone;
    case BusyLock: return busyLock;
    case Power: return power;
    case ScanAdd: return scanAdd;
    case Bandwidth: return bandwidth;
    case Name: return name;
    default: return QString();
    }
}

void ChannelTexts::setText(int column, const QString &value)
{
    switch (column) {
    case RxFreq: rxFreq = value; break;
    case TxFreq: txFreq = value; break;
    case RxTone: rxTone = value; break;
    case TxTone: txTone = value; break;
    case BusyLock: busyLock = value; break;
    case Power: power = value; break;
    case ScanAdd: scanAdd = value; break;
    case Bandwidth: bandwidth = value; break;
    case Name: name = value; break;
    default: break;
    }
}

bool ChannelTexts::operator==(const ChannelTexts &other) const
{
    for (int c = FirstColumn; c <= LastColumn; ++c)
        if (text(c) != other.text(c))
            return false;
    return true;
}

QString channelWordText(ChannelWord word, int language)
{
    if (language < 0 || language >= LanguageCount)
        language = LanguageEnglish;
    return QString::fromUtf16(Words[int(word)][language]);
}

QString channelWordText(ChannelWord word)
{
    return channelWordText(word, LanguageIndex);
}

QStringList ToneChoices(int language)
{
    QStringList choices;
    choices.reserve(1 + std::size(CtcssTexts) + 2 * std::size(DcsCodes));
    choices.append(channelWordText(ChannelWord::Off, language));
    for (const char *tone : CtcssTexts)
        choices.append(QLatin1String(tone));
    for (const char *code : DcsCodes)
        choices.append(QLatin1Char('D') + QLatin1String(code) + QLatin1Char('N'));
    for (const char *code : DcsCodes)
        choices.append(QLatin1Char('D') + QLatin1String(code) + QLatin1Char('I'));
    return choices;
}

QStringList ToneChoices()
{
    return ToneChoices(LanguageIndex);
}

std::uint32_t frequencyUnits(const QString &text)
{
    const std::int64_t units = scaleDecimalText(text, 5);
    if (units <= 0)
        return 0;
    if (units > std::int64_t(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return std::uint32_t(units);
}

QString frequencyText(std::uint32_t units)
{
    return formatScaled(units, 5);
}

ChannelTexts newChannelTexts(const QString &frequency)
{
    ChannelTexts texts;
    texts.rxFreq = frequency;
    texts.txFreq = frequency;
    texts.rxTone = channelWordText(ChannelWord::Off);
    texts.txTone = texts.rxTone;
    texts.busyLock = texts.rxTone;
    texts.power = channelWordText(ChannelWord::High);
    texts.scanAdd = channelWordText(ChannelWord::Add);
    texts.bandwidth = channelWordText(ChannelWord::Wide);
    return texts;
}

void StoreChannel(ImageBytes &image, int channel, const ChannelTexts &texts)
{
    if (!validChannel(channel))
        return;
    std::uint8_t *bytes = record(image, channel);
    if (texts.rxFreq.isEmpty()) {
        std::fill(bytes, bytes + ImageMap::ChannelRecordSize, std::uint8_t(0xFF));
        return;
    }
    writeFrequency(bytes, frequencyUnits(texts.rxFreq));
    writeFrequency(bytes + 4, frequencyUnits(texts.txFreq));
    writeTone(bytes + 8, bytes + 9, texts.rxTone);
    writeTone(bytes + 10, bytes + 11, texts.txTone);

    std::uint8_t flags = bytes[12] & ~0x03;
    if (isWord(texts.busyLock, ChannelWord::Carrier))
        flags |= 0x01;
    else if (isWord(texts.busyLock, ChannelWord::Qdt))
        flags |= 0x02;
    if (isWord(texts.power, ChannelWord::High))
        flags |= 0x20;
    else
        flags &= ~0x20;
    if (isWord(texts.scanAdd, ChannelWord::Del))
        flags &= ~0x10;
    else
        flags |= 0x10;
    if (isWord(texts.bandwidth, ChannelWord::Wide))
        flags |= 0x04;
    else
        flags &= ~0x04;
    bytes[12] = flags;

    std::uint8_t *name = nameSlot(image, channel);
    for (int i = 0; i < ImageMap::ChannelNameLength; ++i)
        name[i] = i < texts.name.size() ? std::uint8_t(texts.name.at(i).unicode() & 0xFF)
                                        : std::uint8_t(0xFF);
}

ChannelTexts LoadChannel(const ImageBytes &image, int channel)
{
    ChannelTexts texts;
    if (!validChannel(channel))
        return texts;
    const std::uint8_t *bytes = record(image, channel);
    if (bytes[3] == 0xFF)
        return texts;

    texts.rxFreq = frequencyText(readFrequency(bytes));
    texts.txFreq = frequencyText(readFrequency(bytes + 4));
    texts.rxTone = readTone(bytes[8], bytes[9]);
    texts.txTone = readTone(bytes[10], bytes[11]);

    const std::uint8_t flags = bytes[12];
    switch (flags & 0x03) {
    case 0: texts.busyLock = channelWordText(ChannelWord::Off); break;
    case 1: texts.busyLock = channelWordText(ChannelWord::Carrier); break;
    case 2: texts.busyLock = channelWordText(ChannelWord::Qdt); break;
    default: break; // 3 has no meaning: left empty
    }
    texts.power = channelWordText(flags & 0x20 ? ChannelWord::High : ChannelWord::Low);
    texts.scanAdd = channelWordText(flags & 0x10 ? ChannelWord::Add : ChannelWord::Del);
    texts.bandwidth = channelWordText(flags & 0x04 ? ChannelWord::Wide : ChannelWord::Narrow);

    const std::uint8_t *name = nameSlot(image, channel);
    for (int i = 0; i < ImageMap::ChannelNameLength && name[i] != 0xFF; ++i)
        texts.name.append(QChar(name[i]));
    return texts;
}
