#pragma once
// Frames of the radio protocol as bytes and as text. Requests are composed as text of
// hexadecimal digit pairs without their check byte; replies are collected as upper-case
// hexadecimal text, check byte included.
#include <QByteArray>
#include <QString>

namespace RadioFrame {

// Bitwise exclusive OR of all bytes; 0 for no bytes.
quint8 CheckByte(const QByteArray &bytes);

// The bytes of `text` (N hexadecimal digit pairs, N >= 1, either case) followed by their
// check byte: N + 1 bytes. Text that is empty, of odd length or not hexadecimal gives an
// empty array, so that a malformed request is never put on the line.
QByteArray BuildFrame(const QString &text);

// Value 0-15 of one hexadecimal digit (either case), or -1 for any other character.
int hexValue(QChar c);

// Each byte as two upper-case hexadecimal digits, in order.
QString toHexText(const QByteArray &bytes);

} // namespace RadioFrame
