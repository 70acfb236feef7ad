#pragma once
// Two images of the radio's memory compared block by block in the words of the window: a
// channel's field, a function setting; with the address of the block that differs. Serves
// the check after a write (what was sent against what the radio holds when read back) and the
// comparison of two codeplug files (each as the memory a write of it would send).
//
//   Channel 12: receive frequency 438.50000 in the file, 438.52500 in the radio
//   Setting Squelch level: 3 / 5
//
// A block whose bytes differ where no field shows it is listed as memory, so that no
// difference goes unreported.
#include "channels/Marks.h"
#include "codeplug/CodeplugFile.h"
#include "radiolink/MemoryImage.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct MemoryDifference {
    QString text;
    int address = 0;   // the block's address
    QString detail() const;   // "block 0x00C0"
    // The text, and the detail on an indented line below it.
    QString withDetail() const;
};

using MemoryLayout::MemoryBlocks;

// Compares the blocks of two 4096-byte images. itemText gives the words of drop-down items
// (the registry's built-in items when empty).
QList<MemoryDifference> compareMemory(const QByteArray &first, const QByteArray &second, const MemoryBlocks &blocks,
                                      const QString &firstName, const QString &secondName, const Marks &marks,
                                      const CodeplugFile::ItemText &itemText = {});
