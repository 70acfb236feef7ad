// The .sin loader and the channel codec over any bytes: a file of 8192 bytes or more loads
// (a shorter one is refused and changes nothing), every channel loads into texts, and
// storing the texts back changes no byte of a channel that holds valid values, nor any
// byte outside the channels; once stored, the image is a fixed point of load and store.
// The grid shows what the image holds and saves exactly that.
#include "FuzzSupport.h"

#include "base/Globals.h"
#include "files/CProgramDoc.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "model/RadioImage.h"

#include <algorithm>
#include <cstring>

namespace {

// The image of one run.
ImageBytes runImage;

QByteArray image()
{
    return toByteArray(runImage);
}

QList<ChannelTexts> loadAll()
{
    QList<ChannelTexts> channels;
    for (int n = 1; n <= ImageMap::ChannelCount; ++n)
        channels.append(LoadChannel(runImage, n));
    return channels;
}

void storeAll(const QList<ChannelTexts> &channels)
{
    for (int n = 1; n <= ImageMap::ChannelCount; ++n)
        StoreChannel(runImage, n, channels.at(n - 1));
}

bool bcd(std::uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; }

// A tone code the radio writes: off (FF FF), a CTCSS tone (high byte below 0x80) or a DCS
// code of three octal-range digits, normal (0x80 + d1) or inverted (0xC0 + d1), in BCD.
bool validTone(std::uint8_t low, std::uint8_t high)
{
    if (low == 0xFF && high == 0xFF)
        return true;
    if (high >= 0x01 && high < 0x80)
        return bcd(high) && bcd(low);
    const bool normal = high >= 0x80 && high <= 0x87, inverted = high >= 0xC0 && high <= 0xC7;
    return (normal || inverted) && bcd(low);
}

// Channel n holds only values the program itself would write: an empty record (all 0xFF)
// or BCD frequencies, tone codes of the radio's forms, a busy-lock value 0-2, and a name of
// characters followed by 0xFF only.
bool validChannel(const QByteArray &image, int n)
{
    const auto rec = reinterpret_cast<const std::uint8_t *>(image.constData()) + (n - 1) * ImageMap::ChannelRecordSize;
    if (std::all_of(rec, rec + ImageMap::ChannelRecordSize, [](std::uint8_t b) { return b == 0xFF; }))
        return true;
    if (rec[3] == 0xFF || !std::all_of(rec, rec + 8, bcd) || !validTone(rec[8], rec[9]) || !validTone(rec[10], rec[11])
        || (rec[12] & 0x03) == 3)
        return false;
    const auto name = reinterpret_cast<const std::uint8_t *>(image.constData()) + ImageMap::ChannelNames
                      + (n - 1) * ImageMap::ChannelNameSize;
    const auto end = std::find(name, name + ImageMap::ChannelNameLength, std::uint8_t(0xFF));
    return std::all_of(end, name + ImageMap::ChannelNameLength, [](std::uint8_t b) { return b == 0xFF; });
}

// The record and name bytes of channel n.
QByteArray channelBytes(const QByteArray &image, int n)
{
    return image.mid((n - 1) * ImageMap::ChannelRecordSize, ImageMap::ChannelRecordSize)
           + image.mid(ImageMap::ChannelNames + (n - 1) * ImageMap::ChannelNameSize, ImageMap::ChannelNameSize);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzsupport::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The words of the last byte's language: 0 English, 1 and 2 Chinese.
    LanguageIndex = size > 0 ? data[size - 1] % 3 : 0;
    const QString path = fuzzsupport::scratchFile(QStringLiteral("fuzz.sin"), fuzzsupport::bytesOf(data, size));
    std::memset(runImage.data(), 0x5A, RadioImageSize);
    const QByteArray before = image();
    QString error;
    if (!CProgramDoc::readImageFile(path, &runImage, &error)) {
        FUZZ_CHECK(size < RadioImageSize);
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(image() == before);
        return 0;
    }
    FUZZ_CHECK(std::memcmp(runImage.data(), data, RadioImageSize) == 0);

    const QByteArray opened = image();
    const QList<ChannelTexts> loaded = loadAll();
    storeAll(loaded);
    const QByteArray stored = image();
    // Outside the channels' records and names a store changes nothing at all, and a
    // channel of valid values keeps every byte.
    for (int n = 1; n <= ImageMap::ChannelCount; ++n) {
        if (validChannel(opened, n) && channelBytes(stored, n) != channelBytes(opened, n)) {
            std::fprintf(stderr, "channel %d: %s stored as %s\n", n, channelBytes(opened, n).toHex(' ').constData(),
                         channelBytes(stored, n).toHex(' ').constData());
            FUZZ_CHECK(!"a valid channel changed through load and store");
        }
    }
    QByteArray outside = stored, openedOutside = opened;
    for (int n = 1; n <= ImageMap::ChannelCount; ++n) {
        for (QByteArray *b : {&outside, &openedOutside}) {
            b->replace((n - 1) * ImageMap::ChannelRecordSize, ImageMap::ChannelRecordSize,
                       QByteArray(ImageMap::ChannelRecordSize, 0));
            b->replace(ImageMap::ChannelNames + (n - 1) * ImageMap::ChannelNameSize, ImageMap::ChannelNameSize,
                       QByteArray(ImageMap::ChannelNameSize, 0));
        }
    }
    FUZZ_CHECK(outside == openedOutside);
    // A store brings what it cannot keep to a form it can (busy lock 3 to off, say); after
    // that the image is a fixed point: loading and storing again changes no byte and no text.
    const QList<ChannelTexts> reloaded = loadAll();
    storeAll(reloaded);
    FUZZ_CHECK(image() == stored);
    for (int n = 1; n <= ImageMap::ChannelCount; ++n) {
        if (LoadChannel(runImage, n) != reloaded.at(n - 1)) {
            std::fprintf(stderr, "channel %d changed through a second store and load\n", n);
            FUZZ_CHECK(!"a stored channel's texts changed through store and load");
        }
    }

    // The saved file holds the image byte for byte.
    const QString saved = fuzzsupport::scratchDirectory() + QStringLiteral("/saved.sin");
    FUZZ_CHECK(CProgramDoc::writeImageFile(saved, runImage, &error));
    QFile f(saved);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    FUZZ_CHECK(f.readAll() == stored);
    return 0;
}
