#include "MemoryImage.h"

#include "SettingFields.h"

#include <cstring>

namespace {

// The trailing record's receive and transmit frequency: 435.00000 MHz in BCD, low pair first.
constexpr std::uint8_t TrailingFrequency[4] = {0x00, 0x00, 0x50, 0x43};

struct ByteValue {
    int address;
    std::uint8_t value;
};

// Default function settings of a new image. In terms of the settings: PTT ID display off,
// key lock manual, backlight auto, scan mode CO, channel names off, battery save, beep and
// single radio on, STE 120 degrees, reverse off, emergency call off, SQL 5, VOX off, step
// 25 kHz, manual power switch on, password switch off, frequency mode on, radio on, APO off,
// priority channel off, TOT 60 s, receive alarm continuous. Roger (0x1820) stays 0xFF.
constexpr ByteValue NewSettings[] = {
    {0x1810, 0x94}, {0x1811, 0xFF}, {0x1812, 0xF9}, {0x1813, 0xFC}, {0x1814, 0x05},
    {0x1815, 0x00}, {0x1816, 0x04}, {0x1818, 0xFD}, {0x1821, 0x00}, {0x1822, 0x00},
    {0x1824, 0x02}, {0x1829, 0xFF}, {0x182D, 0xFF},
};

constexpr int ModelWord = 0x1840;
constexpr char ModelWordText[] = "KVT270";
constexpr int UnusedSettingsByte = 0x1817;
constexpr int StoreMaskedSettingsByte = 0x1811;

} // namespace

void NewImage(ImageBytes &image)
{
    image.fill(0xFF);
    for (const ByteValue &b : NewSettings)
        image[b.address] = b.value;
    std::memcpy(image.data() + ModelWord, ModelWordText, 6);
    std::memcpy(image.data() + Setting::PowerOnPasswordAddress, DefaultPowerOnPassword.data(),
                DefaultPowerOnPassword.size());
    image[ImageMap::PttIdMode] = 0xFC;
    image[ImageMap::TrailingRecord + 12] = 0x3C;
}

void WriteFixedFields(ImageBytes &image)
{
    std::memset(image.data() + ImageMap::ClearedOnStore, 0x00, 4);
    image[StoreMaskedSettingsByte] &= 0x78;
    image[UnusedSettingsByte] = 0x00;
    std::memcpy(image.data() + ImageMap::TrailingRecord, TrailingFrequency, 4);
    std::memcpy(image.data() + ImageMap::TrailingRecord + 4, TrailingFrequency, 4);
    image[ImageMap::TrailingRecord + 12] &= 0x3F;
}
