#include "radiolink/MemoryImage.h"

#include "channels/ChannelTable.h"
#include "settings/SettingsRegistry.h"

namespace MemoryLayout {

MemoryImage encodeMemory(const Codeplug &codeplug, quint8 firstChannel, const Marks &marks)
{
    MemoryImage image;
    auto put = [&image](int address, BlockKind kind, const QByteArray &data) {
        image.bytes.replace(address, data.size(), data);
        image.blocks.append({address, int(data.size()), kind});
    };
    const SettingsValues &s = codeplug.settings;
    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        put(channelAddress(n), BlockKind::Channel, encodeChannel(codeplug.channels, n, marks));
        put(aliasAddress(n), BlockKind::Alias, encodeAlias(codeplug.channels.column(ChannelTable::AliasColumn, n)));
    }
    put(Settings1Address, BlockKind::Settings1, encodeSettings1(s, firstChannel));
    put(Settings2Address, BlockKind::Settings2, encodeSettings2(s));
    for (int k = 0; k < CallListBlocks; ++k)
        put(callListAddress(k), BlockKind::CallList, encodeCallList(s, k));
    for (int k = 0; k < FillBlocks; ++k)
        put(fillAddress(k), BlockKind::Fill, QByteArray(BlockSize, char(0xFF)));
    if (s.number(SettingKey::ChangePassword) == 1)
        put(PasswordAddress, BlockKind::Password, encodePassword(s.text(SettingKey::Password)));
    put(IdAddress, BlockKind::Id, encodeIdBlock(s));
    put(PttIdAddress, BlockKind::PttId, encodePttIdBlock(s));
    return image;
}

MemoryBlocks readBlocks()
{
    MemoryBlocks blocks{{BandAddress, BlockSize, BlockKind::BandLimits}};
    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        blocks.append({channelAddress(n), RecordSize, BlockKind::Channel});
        blocks.append({aliasAddress(n), AliasSize, BlockKind::Alias});
    }
    blocks.append({Settings1Address, BlockSize, BlockKind::Settings1});
    blocks.append({Settings2Address, BlockSize, BlockKind::Settings2});
    for (int k = 0; k < CallListBlocks; ++k)
        blocks.append({callListAddress(k), BlockSize, BlockKind::CallList});
    blocks.append({PttIdAddress, BlockSize, BlockKind::PttId});
    blocks.append({PasswordAddress, BlockSize, BlockKind::Password});
    blocks.append({IdAddress, BlockSize, BlockKind::Id});
    return blocks;
}

MemoryBlocks readBackBlocks(const MemoryBlocks &written)
{
    MemoryBlocks blocks;
    for (const MemoryBlock &b : written)
        if (b.kind != BlockKind::Fill)
            blocks.append(b);
    return blocks;
}

void decodeMemory(const QByteArray &image, Codeplug &c, const Marks &marks, const ToneList &tones,
                  QList<Correction> *corrections)
{
    const auto block = [&image](int address, int length) { return image.mid(address, length); };
    // Band limits: a radio whose first range is unprogrammed changes no band list.
    c.bandRanges = bandRangesToAdd(block(BandAddress, BlockSize));
    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        for (int col = ChannelCells::FirstColumn; col <= ChannelCells::LastColumn; ++col)
            c.channels.setColumn(col, n, QString());
        for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
            c.channels.setAttribute(a, n, QString());
        decodeChannel(block(channelAddress(n), RecordSize), c.channels, n, marks, tones, corrections);
        c.channels.setColumn(ChannelTable::AliasColumn, n, decodeAlias(block(aliasAddress(n), AliasSize)));
    }
    decodeSettings1(block(Settings1Address, BlockSize), c.settings);
    decodeSettings2(block(Settings2Address, BlockSize), c.settings);
    for (int k = 0; k < CallListBlocks; ++k)
        decodeCallList(block(callListAddress(k), BlockSize), k, c.settings);
    decodePttIdBlock(block(PttIdAddress, BlockSize), c.settings);
    // A password that is not six digits (an unprogrammed radio) keeps the editor's.
    c.settings.set(SettingKey::Password, decodePassword(block(PasswordAddress, BlockSize)));
    decodeIdBlock(block(IdAddress, BlockSize), c.settings);
    c.settings.applyProgramRules();
}

} // namespace MemoryLayout
