#pragma once
// One channel of a memory image as the nine texts the grid shows, and back.
//
// Channel record, 16 bytes at (n-1) * 16:
//   0-3   receive frequency, 8 BCD digits in units of 10 Hz, lowest pair first
//   4-7   transmit frequency, the same
//   8-9   receive tone code, byte 8 low part L, byte 9 high part H
//   10-11 transmit tone code, byte 10 low, byte 11 high
//   12    flags: bits 0-1 busy lock (0 off, 1 carrier, 2 QDT), bit 2 wide, bit 4 scan add,
//         bit 5 high power; bits 3, 6, 7 are kept
//   13-15 kept
// Tone code: off is H = L = 0xFF (H = 0x00 also reads as off); a CTCSS tone of T tenths of
// a hertz is H = BCD(T / 100), L = BCD(T mod 100); a DCS code d1 d2 d3 is H = 0x80 + d1
// (normal) or 0xC0 + d1 (inverted), L = BCD(d2 d3).
// An empty channel is 16 bytes 0xFF; a record whose byte 3 is 0xFF reads as empty.
// Name, 8 bytes at 0x0C90 + (n-1) * 8: up to six characters one byte each, 0xFF after the
// last; bytes 6-7 are kept.
#include "model/RadioImage.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The texts of one channel, as the grid's columns 1-9 show them. All empty: no channel.
struct ChannelTexts {
    QString rxFreq;    // receive frequency in MHz, "145.12500"
    QString txFreq;    // transmit frequency in MHz
    QString rxTone;    // receive tone: off word, "67.0", "D023N" or "D754I"
    QString txTone;    // transmit tone
    QString busyLock;  // off, carrier or QDT word
    QString power;     // high or low word
    QString scanAdd;   // add or deleted word
    QString bandwidth; // wide or narrow word
    QString name;      // up to six characters

    enum Column { RxFreq = 1, TxFreq, RxTone, TxTone, BusyLock, Power, ScanAdd, Bandwidth, Name };
    static constexpr int FirstColumn = RxFreq;
    static constexpr int LastColumn = Name;

    // Text of grid column 1-9; an empty text for any other column.
    QString text(int column) const;
    // Sets the text of grid column 1-9; any other column is ignored.
    void setText(int column, const QString &value);

    bool operator==(const ChannelTexts &other) const;
    bool operator!=(const ChannelTexts &other) const { return !(*this == other); }
};

// The words a channel's texts use, in each language.
enum class ChannelWord { Off, Carrier, Qdt, High, Low, Add, Del, Wide, Narrow };

// The word in `language` (0 English, 1 Simplified Chinese, 2 Traditional Chinese; any other
// value English).
QString channelWordText(ChannelWord word, int language);
// The word in the current LanguageIndex.
QString channelWordText(ChannelWord word);

// The 265 tone choices: the off word of `language`, the 50 CTCSS tones ("67.0" ... "254.1"),
// the 107 DCS codes normal ("D017N" ... "D754N"), then the same inverted ("D017I" ...).
QStringList ToneChoices(int language);
// The same with the off word of the current LanguageIndex.
QStringList ToneChoices();

// The texts of a channel started with `frequency`: the same receive and transmit frequency,
// both tones off, busy lock off, high power, scan add, wide, in the words of the current
// LanguageIndex; no name.
ChannelTexts newChannelTexts(const QString &frequency);

// Writes channel n (1-99) of `image` from its texts. An empty Rx Freq empties the record (all 0xFF) and
// leaves the name bytes as they were. The words of all three languages are understood,
// whatever the current language. A frequency above 999.99999 MHz, more than the eight
// digits hold, keeps its bytes. A channel number outside 1-99 writes nothing.
void StoreChannel(ImageBytes &image, int channel, const ChannelTexts &texts);

// The texts of channel n (1-99) of `image`, in the words of the current LanguageIndex; all empty for
// an empty record or a channel number outside 1-99. A busy-lock value of 3 has no word and
// shows as an empty text (it is stored back as off).
ChannelTexts LoadChannel(const ImageBytes &image, int channel);

// A frequency text in MHz as a whole number of 10 Hz units ("145.125" -> 14512500), exact
// and truncated; 0 for text without a number or a negative number.
std::uint32_t frequencyUnits(const QString &text);
// 10 Hz units as the frequency text the grid shows (14512500 -> "145.12500").
QString frequencyText(std::uint32_t units);
