#pragma once
// Conversions between the texts the channel table and the settings show and the compact
// forms the radio stores: the 4-byte frequency field, the alias character codes and the
// DTMF digit nibbles. The radio side is upper-case hexadecimal text, two characters per
// byte, as the radio link composes its frames.
#include <QString>

namespace FieldEncoders {

// Frequency text (MHz, "." as separator, canonical form 438.00625) -> 8 hex characters:
// three integer MHz digits and three kHz digits as BCD, then the part below 1 kHz in 250 Hz
// steps times 4 (00 -> "00", 25 -> "04", 50 -> "08", 75 -> "0C"; other last two digits round
// down to the nearest of these). Shorter decimal forms such as "438.5" are read as the same
// frequency. An empty text is "FFFFFFFF". A text that is no frequency of at most three
// integer and five decimal digits also gives "FFFFFFFF", with *ok set to false.
QString WriteFre(const QString &frequencyText, bool *ok = nullptr);

// 8 hex characters -> frequency text: h1 h2 h3 "." h4 h5 h6, then byte 3 x 25 / 4
// (truncated) in decimal with at least two digits. *ok is false (and the result empty) when
// the input is not 8 hex characters or the six BCD characters are not decimal digits.
QString decodeFrequency(const QString &hex, bool *ok = nullptr);

// 8 hex characters -> the text of the nearest frequency the cell's form (nine characters,
// 438.00625) holds, for a field as a radio read finds it: a BCD character above 9 is read as
// 9, and byte 3 is rounded to the nearest 250 Hz step (a tie goes to the lower step),
// carrying into the kHz digits and stopping at 999.99975. For the bytes this program writes
// the result is decodeFrequency's. *exact is false when a value had to be changed; the result
// is empty (and *exact false) when the input is not 8 hex characters.
QString nearestFrequency(const QString &hex, bool *exact = nullptr);

// Alias text -> exactly 12 hex characters (6 character codes), padded with the blank code
// "0F". Lower-case letters are taken as their upper-case codes; other characters without a
// code are left out; characters beyond the sixth code are dropped.
QString StrToHEX(const QString &alias);

// 12 hex characters -> alias text, untrimmed. "FFFFFFFFFFFF" is the empty alias; a byte with
// no character (above 0x2A) adds nothing.
QString HexToStr(const QString &hex);

// The first count characters of a DTMF text -> one hex character each ("1"-"9" as
// themselves, "0" -> "A", "*" -> "B", "#" -> "C", "A"-"C" -> "D"-"F", "D" -> "0"). A character
// outside the sixteen digits, or a position beyond the end of the text, gives "F", so the
// following digits keep their places.
QString DTMFToHex(const QString &dtmf, int count);

// The first count hex characters -> one DTMF digit each (the reverse of DTMFToHex). A
// character that is not a hex digit is taken as "F" (the digit "C").
QString HexToDTMF(const QString &hex, int count);

} // namespace FieldEncoders
