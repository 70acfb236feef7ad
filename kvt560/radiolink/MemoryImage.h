#pragma once
// The codeplug as the radio's 4096-byte memory: where each block lies, in which order a
// write sends the blocks and a read asks for them, and the codeplug encoded into the image
// or decoded from it. This is the one place that knows the block order and which blocks a
// write sends (the password block only when the password is to be changed); the transfer
// moves the blocks it is given, the check after a write and the comparison of two files
// compare images.
#include "channels/Marks.h"
#include "radiolink/Codeplug.h"
#include "radiolink/MemoryLayout.h"

#include <QByteArray>
#include <QList>

namespace MemoryLayout {

constexpr int MemorySize = 4096;

enum class BlockKind { BandLimits, Channel, Alias, Settings1, Settings2, CallList, Fill, Password, Id, PttId };

struct MemoryBlock {
    int address = 0;
    int length = 0;
    BlockKind kind = BlockKind::Fill;
    bool operator==(const MemoryBlock &o) const { return address == o.address && length == o.length && kind == o.kind; }
};
using MemoryBlocks = QList<MemoryBlock>;

// The image a write leaves in the radio (0xFF where it writes nothing) and the blocks it
// sends, in the order it sends them.
struct MemoryImage {
    QByteArray bytes = QByteArray(MemorySize, char(0xFF));
    MemoryBlocks blocks;
    QByteArray block(const MemoryBlock &b) const { return bytes.mid(b.address, b.length); }
};

// The codeplug encoded for a write; firstChannel goes into byte 0 of settings block 1.
MemoryImage encodeMemory(const Codeplug &codeplug, quint8 firstChannel, const Marks &marks);

// The blocks a read asks for, in order: band limits, each channel record with its alias,
// the settings, the call list, the PTT ID codes, the password and the ID block.
MemoryBlocks readBlocks();

// The blocks a read brings back among `written`: all but the fill area.
MemoryBlocks readBackBlocks(const MemoryBlocks &written);

// What a read of `image` makes of `codeplug`: every channel row and the radio's band
// ranges are replaced, the settings the radio holds are replaced and the others keep their
// values; the box rules then run as when the program sets a box. Channel fields read as
// the nearest valid value are appended to `corrections` when given.
void decodeMemory(const QByteArray &image, Codeplug &codeplug, const Marks &marks,
                  const ToneList &tones = ToneList::instance(), QList<Correction> *corrections = nullptr);

} // namespace MemoryLayout
