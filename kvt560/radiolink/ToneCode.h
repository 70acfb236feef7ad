#pragma once
// The two-byte code by which the radio stores a receive or transmit tone, in both
// directions. Byte 0 is the position of the tone within its kind (CTCSS 1-51, DCS 1-107);
// the high nibble of byte 1 names the kind, the low nibble differs between receive and
// transmit and is ignored when decoding.
//
//   tone           byte 0    byte 1 receive  byte 1 transmit
//   off            0xFF      0x00            0x00
//   CTCSS          1-51      0x82            0x81
//   DCS normal     1-107     0xC4            0xC3
//   DCS inverted   1-107     0xE4            0xE3
#include "channels/ToneList.h"

#include <QByteArray>
#include <QString>

namespace ToneCode {

enum class Direction { Receive, Transmit };

// What a tone code becomes in the channel table: the tone cell text (column 2 or 4) and
// the tone index as decimal text (attribute 4 or 5).
struct ToneCell {
    QString text;
    QString index;
};

// Decodes a tone code into its entry of the list. Kind 0x0 or 0xF, any other unknown kind,
// a position outside the range of its kind, or a code that is not two bytes long all give
// the off entry with index "0": a stray code never fails a read.
// The program's list is used unless another is given.
ToneCell sendCTC(quint8 position, quint8 kind, const ToneList &list = ToneList::instance());
ToneCell sendCTC(const QByteArray &code, const ToneList &list = ToneList::instance());

// True when the code is one the radio should hold: off (kind 0x0 or 0xF), or a kind of tone
// with a position inside its range. Any other code is read as off by sendCTC.
bool isListed(const QByteArray &code);

// Encodes a tone cell text (blanks around it are ignored) as exactly two bytes. An empty
// text, the off word of any language, and any text that is not one of the tone entries
// encode as off (0xFF 0x00).
QByteArray writeRxcode(const QString &toneText);
QByteArray writeTxcode(const QString &toneText);
QByteArray encode(const QString &toneText, Direction direction);

// The position (1-51) of a CTCSS tone, from the integer part of its frequency (63 for
// "63.0", 254 for "254.1"), as two upper-case hexadecimal digits; "00" for an integer part
// that belongs to no tone.
QString CAL_ctc(int integerPart);
// The position (1-107) of a DCS code, from its three digits read as a decimal number (17
// for "017"), as two upper-case hexadecimal digits; "00" for a number that is not a code.
QString CAL_dcs(int codeNumber);

} // namespace ToneCode
