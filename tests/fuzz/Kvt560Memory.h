#pragma once
// KVT560's memory as a whole, for the fuzz targets: what a radio read makes of the 4096
// bytes (the blocks decoded at their addresses, in the transfer's order) and what a radio
// write leaves in them (every block the write sends, in place).
#include "FuzzSupport.h"

#include "radiolink/Codeplug.h"
#include "radiolink/MemoryLayout.h"

#include <cstring>

namespace kvt560memory {

constexpr int MemorySize = 4096;

// The codeplug a read of `memory` gives, starting from `start` (the editor's codeplug):
// channels and the settings the radio holds are replaced, other settings are kept.
inline Codeplug decode(const QByteArray &memory, const Marks &marks, const Codeplug &start = Codeplug())
{
    using namespace MemoryLayout;
    const auto block = [&memory](int address, int length) { return memory.mid(address, length); };
    Codeplug c = start;
    c.bandRanges = bandRangesToAdd(block(BandAddress, BlockSize));
    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        for (int col = ChannelCells::FirstColumn; col <= ChannelCells::LastColumn; ++col)
            c.channels.setColumn(col, n, QString());
        for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
            c.channels.setAttribute(a, n, QString());
        decodeChannel(block(channelAddress(n), RecordSize), c.channels, n, marks);
        c.channels.setColumn(10, n, decodeAlias(block(aliasAddress(n), AliasSize)));
    }
    decodeSettings1(block(Settings1Address, BlockSize), c.settings);
    decodeSettings2(block(Settings2Address, BlockSize), c.settings);
    for (int k = 0; k < CallListBlocks; ++k)
        decodeCallList(block(callListAddress(k), BlockSize), k, c.settings);
    decodePttIdBlock(block(PttIdAddress, BlockSize), c.settings);
    c.settings.set(QStringLiteral("bsSkinEdit15"), decodePassword(block(PasswordAddress, BlockSize)));
    decodeIdBlock(block(IdAddress, BlockSize), c.settings);
    c.settings.applyProgramRules();
    return c;
}

inline void put(QByteArray &memory, int address, const QByteArray &bytes)
{
    FUZZ_CHECK(address >= 0 && address + bytes.size() <= memory.size());
    std::memcpy(memory.data() + address, bytes.constData(), size_t(bytes.size()));
}

// `memory` after a radio write of the codeplug.
inline QByteArray encode(QByteArray memory, const Codeplug &c, const Marks &marks, quint8 firstChannel)
{
    using namespace MemoryLayout;
    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        const QByteArray record = encodeChannel(c.channels, n, marks);
        FUZZ_CHECK(record.size() == RecordSize);
        put(memory, channelAddress(n), record);
        const QByteArray alias = encodeAlias(c.channels.column(10, n));
        FUZZ_CHECK(alias.size() == AliasSize);
        put(memory, aliasAddress(n), alias);
    }
    const QByteArray settings1 = encodeSettings1(c.settings, firstChannel);
    FUZZ_CHECK(settings1.size() == BlockSize);
    put(memory, Settings1Address, settings1);
    const QByteArray settings2 = encodeSettings2(c.settings);
    FUZZ_CHECK(settings2.size() == Settings2WrittenSize);
    put(memory, Settings2Address, settings2);
    for (int k = 0; k < CallListBlocks; ++k)
        put(memory, callListAddress(k), encodeCallList(c.settings, k));
    for (int k = 0; k < FillBlocks; ++k)
        put(memory, fillAddress(k), QByteArray(BlockSize, char(0xFF)));
    if (c.settings.number(QStringLiteral("bsSkinCheckRadioBox21")) == 1)
        put(memory, PasswordAddress, encodePassword(c.settings.text(QStringLiteral("bsSkinEdit15"))));
    put(memory, IdAddress, encodeIdBlock(c.settings));
    put(memory, PttIdAddress, encodePttIdBlock(c.settings));
    FUZZ_CHECK(memory.size() == MemorySize);
    return memory;
}

} // namespace kvt560memory
