#pragma once
// The map of the memory image and the operations on the image as a whole: a new image and the
// fixed values written on every store of the grid.
//
// Map (addresses in the image):
//   0x0000-0x062F  99 channel records of 16 bytes, channel n at (n-1) * 16 (ChannelCodec.h)
//   0x0630-0x063F  trailing record slot; only fixed values are written to it
//   0x0C90-0x0FA7  99 channel names of 8 bytes, channel n at 0x0C90 + (n-1) * 8
//   0x1810-0x184D  function settings (SettingFields.h)
//   0x1D10-0x1D13  cleared on every store
//   0x1D30-0x1D3F  PTT ID code; 0x1D40 bits 0-1 PTT ID mode
//   0x1FD0-0x1FDF  PCBA text; 0x1FE0 model index; 0x1FE1 band index
//   0x1FF0-0x1FFF  read from the radio, never written to it
// Every other byte is carried through unchanged.
#include "model/RadioImage.h"

#include <array>
#include <cstdint>

namespace ImageMap {
constexpr int ChannelCount = 99;
constexpr int ChannelRecords = 0x0000;
constexpr int ChannelRecordSize = 16;
constexpr int TrailingRecord = 0x0630;
constexpr int ChannelNames = 0x0C90;
constexpr int ChannelNameSize = 8;
constexpr int ChannelNameLength = 6; // characters that fit in a name slot
constexpr int Settings = 0x1810;
constexpr int ClearedOnStore = 0x1D10; // four bytes
constexpr int PttIdCode = 0x1D30;      // 16 bytes
constexpr int PttIdMode = 0x1D40;
constexpr int PcbaText = 0x1FD0;       // 16 bytes
constexpr int ModelIndex = 0x1FE0;
constexpr int BandIndex = 0x1FE1;
} // namespace ImageMap

// Packed decimal of 0-99: BCD(45) = 0x45.
constexpr std::uint8_t bcd(unsigned value)
{
    return std::uint8_t((value / 10) * 16 + value % 10);
}

// Reads a packed decimal byte back without checking its nibbles: DEC(0x45) = 45, DEC(0x1F) = 25.
constexpr unsigned dec(std::uint8_t byte)
{
    return unsigned(byte / 16) * 10 + byte % 16;
}

// The power-on password of a new image: 1 2 3 4 5 6, one digit value per byte (0x1848-0x184D).
constexpr std::array<std::uint8_t, 6> DefaultPowerOnPassword = {1, 2, 3, 4, 5, 6};

// Fills `image` for a new document: every byte 0xFF, then the default function settings,
// the model word "KVT270", the default power-on password, PTT ID off and the trailing
// record's flags. Every channel of the result is empty.
void NewImage(ImageBytes &image);

// Writes the values that every store of the grid puts into the image, after all channels
// have been stored: 0x1D10-0x1D13 and 0x1817 cleared, bits 0-2 and 7 of 0x1811 cleared, the
// trailing record's frequencies set to 435.00000 MHz and bits 6-7 of its flags cleared.
void WriteFixedFields(ImageBytes &image);
