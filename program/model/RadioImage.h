#pragma once
// The radio's memory byte for byte, as one value: 8192 bytes, addresses 0x0000-0x1FFF. The
// document (files/CProgramDoc.h) owns the one the user edits; the codec, the dialogs' fields,
// the transfer and the comparisons work on the image they are given.
#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>

// Size of the radio's programmable memory, addresses 0x0000-0x1FFF.
constexpr std::size_t RadioImageSize = 8192;

using ImageBytes = std::array<std::uint8_t, RadioImageSize>;

// The image as bytes.
QByteArray toByteArray(const ImageBytes &image);
// Copies bytes into the image from address 0: at most RadioImageSize of them; the rest of the
// image keeps its bytes.
void copyIntoImage(ImageBytes &image, const QByteArray &bytes);
// An image of `bytes` from address 0; bytes the array does not hold are `fill`.
ImageBytes imageFromBytes(const QByteArray &bytes, std::uint8_t fill = 0xFF);
