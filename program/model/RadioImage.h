#pragma once
// The one codeplug of Program: the radio's memory byte for byte. A plain global on purpose:
// there is exactly one image per run, and the document, the view, the dialogs, the file code
// and the radio link all work on it.
#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Size of the radio's programmable memory, addresses 0x0000-0x1FFF.
constexpr std::size_t RadioImageSize = 8192;

// Zero-filled at start-up, filled by NewImage when the first document is created.
extern std::uint8_t RadioImage[RadioImageSize];

// A copy of the whole image.
QByteArray radioImageBytes();
// Copies bytes into the image from address 0: at most RadioImageSize of them.
void setRadioImageBytes(const QByteArray &bytes);
