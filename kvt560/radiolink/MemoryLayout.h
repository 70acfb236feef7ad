#pragma once
// The map of the radio's memory: the address of every block the program reads or writes
// and, for each block, how its bytes correspond to channel cells and setting values. The
// functions are pure: decoders write into a ChannelCells row or a SettingsValues, encoders
// read from them and return the block's bytes.
//
//   0x0010 + 16 (n-1)   16   channel record of channel n (n = 1..128)
//   0x0810 + 8 (n-1)     8   alias of channel n
//   0x0C80              16   settings block 1
//   0x0C90              16   settings block 2 (11 bytes written)
//   0x0CC0              16   band limits (read only)
//   0x0CD0              16   power-on password (bytes 0-5)
//   0x0D00-0x0D7F      128   fill area, written as 0xFF
//   0x0D80 + 16 k       16   DTMF call list entries 2k and 2k+1 (k = 0..4)
//   0x0E00              16   own ID and remote-control code
//   0x0E80              16   PTT ID codes at start and end of transmission
#include "channels/ChannelCells.h"
#include "channels/Marks.h"
#include "channels/ToneList.h"
#include "settings/SettingsValues.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace MemoryLayout {

constexpr int RecordSize = 16;
constexpr int AliasSize = 8;
constexpr int Settings1Address = 0x0C80;
constexpr int Settings2Address = 0x0C90;
constexpr int Settings2WrittenSize = 11;
constexpr int BandAddress = 0x0CC0;
constexpr int PasswordAddress = 0x0CD0;
constexpr int PasswordSize = 6;
constexpr int FillAddress = 0x0D00;
constexpr int FillBlocks = 8;
constexpr int CallListAddress = 0x0D80;
constexpr int CallListBlocks = 5;
constexpr int IdAddress = 0x0E00;
constexpr int PttIdAddress = 0x0E80;
constexpr int BlockSize = 16;
constexpr int DtmfFieldSize = 8;
constexpr int DtmfMaxDigits = 15;

inline int channelAddress(int channel) { return 16 * channel; }
inline int aliasAddress(int channel) { return 0x0808 + 8 * channel; }
inline int callListAddress(int block) { return CallListAddress + 16 * block; }
inline int fillAddress(int block) { return FillAddress + 16 * block; }

// The range text of an unprogrammed band.
QString unprogrammedRange();

// ---- Channel record ----

// A channel field whose bytes hold no value the radio should hold (a BCD digit above 9, a
// part below 1 kHz that is no 250 Hz step, a tone code outside the list), read as the
// nearest valid value so that the user sees what will be written back.
struct Correction {
    int channel = 0;
    QString field;    // "receive frequency", "transmit frequency", "receive tone", "transmit tone"
    QString stored;   // the field's bytes as upper-case hexadecimal text
    QString readAs;   // the cell text it was read as
    // "Channel 5: receive frequency stored as 14525050 was read as 145.25500"
    QString text() const;
};

// Decodes a 16-byte record into row `row`, which the caller has emptied. A record whose
// first byte is 0xFF is an empty channel and leaves the row empty; any other record fills
// the row, each field with the nearest valid value; a field that needed that is appended to
// `corrections` when given.
void decodeChannel(const QByteArray &record, ChannelCells &cells, int row, const Marks &marks,
                   const ToneList &tones = ToneList::instance(), QList<Correction> *corrections = nullptr);
// Encodes row `row` as a 16-byte record; sixteen 0xFF bytes for an empty channel. Mark cells
// are recognised in the current marks and in the written forms of every language. A row
// must pass unwritableFields first: a frequency text with no form in the radio's memory
// would be written as 0xFF bytes, and the channel would vanish from the radio.
QByteArray encodeChannel(const ChannelCells &cells, int row, const Marks &marks);
// One text per channel field that cannot be written (a receive or transmit frequency text
// that is no frequency of at most three integer and five decimal digits), naming the channel:
// a write must refuse them all rather than empty the channel in the radio. Empty when every
// channel can be written.
QStringList unwritableFields(const ChannelCells &cells);

// Byte 14's high nibble: power, bandwidth, fixed 1, busy lockout (read and write).
void sendcan(quint8 nibble, ChannelCells &cells, int row, const Marks &marks);
quint8 writecan(const ChannelCells &cells, int row, const Marks &marks);

// The low nibble of byte 15: 0 same frequencies (or no transmit frequency), 1 transmit
// above receive, 2 transmit below receive.
quint8 offsetDirection(const QString &receive, const QString &transmit);

// ---- Alias ----
QString decodeAlias(const QByteArray &block);            // trimmed; empty for 0xFF bytes
QByteArray encodeAlias(const QString &alias);            // 6 codes, then 0xFF 0xFF

// ---- Settings ----
// Block 1 (16 bytes). Values outside a control's range are brought to its nearest bound.
void decodeSettings1(const QByteArray &block, SettingsValues &settings);
QByteArray encodeSettings1(const SettingsValues &settings, quint8 firstChannel);
// Byte 4 of block 1: scan mode, VFO/MR, battery save, key beep.
void sendchan(quint8 byte, SettingsValues &settings);
quint8 writexuan(const SettingsValues &settings);

// Block 2: 16 bytes read, the first 11 written.
void decodeSettings2(const QByteArray &block, SettingsValues &settings);
QByteArray encodeSettings2(const SettingsValues &settings);

// ---- Band limits ----
// The four range texts, band 1 receive, band 1 transmit, band 2 receive, band 2 transmit
// ("400-470MHz"; "FFF-FFFMHz" for an unprogrammed range).
QStringList decodeBandLimits(const QByteArray &block);
// True for a range text of the form "400-470MHz" whose limits are decimal digits.
bool isProgrammedRange(const QString &range);
// The range texts a read adds to the four band lists: none when the first range is
// unprogrammed; otherwise the four texts, an unprogrammed one as an empty text (a radio with
// a single band must not put "FFF-FFFMHz" into the other band's lists).
QStringList bandRangesToAdd(const QByteArray &block);

// ---- Power-on password ----
QString decodePassword(const QByteArray &block);         // the low nibbles of bytes 0-5 as hex digits
QByteArray encodePassword(const QString &password);      // 6 bytes; the default password unless 6 hex digits

// ---- DTMF code fields ----
QString decodeDtmfField(const QByteArray &field);        // 8 bytes
QByteArray encodeDtmfField(const QString &code);         // 8 bytes; at most 15 digits are kept

// Blocks of two DTMF fields: call list block k (entries 2k, 2k+1), the ID block (own ID,
// remote-control code) and the PTT ID block (start code, end code).
void decodeCallList(const QByteArray &block, int k, SettingsValues &settings);
QByteArray encodeCallList(const SettingsValues &settings, int k);
void decodeIdBlock(const QByteArray &block, SettingsValues &settings);
QByteArray encodeIdBlock(const SettingsValues &settings);
void decodePttIdBlock(const QByteArray &block, SettingsValues &settings);
QByteArray encodePttIdBlock(const SettingsValues &settings);

// ---- First channel in band ----
// The number (1-128) of the first channel whose receive frequency lies in the range text
// (lower limit <= frequency < upper limit), or 0xFF when none does or the range has no
// readable limits.
quint8 firstChannelInRange(const ChannelCells &cells, const QString &range);
// The same as two upper-case hexadecimal digits ("01".."80", "FF").
QString firstChannelText(const ChannelCells &cells, const QString &range);

} // namespace MemoryLayout
