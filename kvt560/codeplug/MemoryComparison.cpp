#include "codeplug/MemoryComparison.h"

#include "channels/ChannelTable.h"
#include "radiolink/MemoryLayout.h"
#include "settings/SettingsRegistry.h"

namespace {

using namespace MemoryLayout;

QString hex(int value, int digits)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString shown(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("(none)") : text;
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

struct Field {
    bool attribute;
    int number;
    const char *name;
};
const Field ChannelFields[] = {
    {false, ChannelTable::RxFreqColumn, "receive frequency"},  {false, ChannelTable::RxToneColumn, "receive tone"},
    {false, ChannelTable::TxFreqColumn, "transmit frequency"}, {false, ChannelTable::TxToneColumn, "transmit tone"},
    {false, ChannelTable::PowerColumn, "power"},               {false, ChannelTable::BandwidthColumn, "bandwidth"},
    {false, ChannelTable::ScanColumn, "scan add"},             {false, ChannelTable::DtmfColumn, "DTMF"},
    {false, ChannelTable::PttIdColumn, "PTT ID"},              {true, ChannelTable::TailAttribute, "squelch tail elimination"},
    {true, ChannelTable::VoxAttribute, "VOX"},                 {true, ChannelTable::BusyLockAttribute, "busy lock"},
    {true, ChannelTable::VoiceModeAttribute, "voice mode"},    {true, ChannelTable::ShowAliasAttribute, "show name"},
};

QString settingText(const SettingDef &def, const SettingsValues &values, const CodeplugFile::ItemText &itemText)
{
    switch (def.kind) {
    case SettingKind::Index: {
        const int index = values.number(def.name);
        const QString item = itemText ? itemText(def.name, index) : QString();
        return item.isEmpty() ? def.itemTexts().value(index, QString::number(index)) : item;
    }
    case SettingKind::Check:
        return values.number(def.name) ? QStringLiteral("on") : QStringLiteral("off");
    case SettingKind::Spin:
        return QString::number(values.number(def.name));
    default:
        return values.text(def.name);
    }
}

// Decodes a settings block of either image into a fresh set of values; false for an
// address that holds no settings.
bool decodeSettingsBlock(int address, const QByteArray &block, SettingsValues &values)
{
    if (address == Settings1Address)
        decodeSettings1(block.leftJustified(BlockSize, char(0xFF)), values);
    else if (address == Settings2Address)
        decodeSettings2(block.leftJustified(BlockSize, char(0xFF)), values);
    else if (address >= CallListAddress && address < CallListAddress + CallListBlocks * BlockSize)
        decodeCallList(block, (address - CallListAddress) / BlockSize, values);
    else if (address == IdAddress)
        decodeIdBlock(block, values);
    else if (address == PttIdAddress)
        decodePttIdBlock(block, values);
    else
        return false;
    return true;
}

} // namespace

QString MemoryDifference::detail() const
{
    return QStringLiteral("block %1").arg(hex(address, 4));
}

QString MemoryDifference::withDetail() const
{
    return text + QStringLiteral("\n    ") + detail();
}

QList<MemoryDifference> compareMemory(const QByteArray &first, const QByteArray &second, const MemoryBlocks &blocks,
                                      const QString &firstName, const QString &secondName, const Marks &marks,
                                      const CodeplugFile::ItemText &itemText)
{
    QList<MemoryDifference> result;
    for (const MemoryBlock &block : blocks) {
        const int address = block.address;
        const QByteArray a = first.mid(address, block.length);
        const QByteArray b = second.mid(address, block.length);
        if (a == b)
            continue;
        const int before = result.size();
        auto add = [&](const QString &text) { result.append({text, address}); };
        const int channel = address / RecordSize;
        if (address % RecordSize == 0 && channel >= 1 && channel <= ChannelCells::Channels && block.length == RecordSize) {
            ChannelCells x, y;
            decodeChannel(a, x, channel, marks);
            decodeChannel(b, y, channel, marks);
            const QString rxA = x.column(ChannelTable::RxFreqColumn, channel);
            const QString rxB = y.column(ChannelTable::RxFreqColumn, channel);
            if (rxA.isEmpty() != rxB.isEmpty()) {
                add(QStringLiteral("Channel %1: %2 in %3, %4 in %5")
                        .arg(channel)
                        .arg(rxA.isEmpty() ? QStringLiteral("empty") : rxA, firstName,
                             rxB.isEmpty() ? QStringLiteral("empty") : rxB, secondName));
            } else {
                for (const Field &f : ChannelFields) {
                    const QString ta = f.attribute ? x.attribute(f.number, channel) : x.column(f.number, channel);
                    const QString tb = f.attribute ? y.attribute(f.number, channel) : y.column(f.number, channel);
                    if (ta != tb)
                        add(QStringLiteral("Channel %1: %2 %3 in %4, %5 in %6")
                                .arg(channel)
                                .arg(QLatin1String(f.name), shown(ta), firstName, shown(tb), secondName));
                }
            }
        } else if (block.length == AliasSize && address >= aliasAddress(1) && address <= aliasAddress(ChannelCells::Channels)
                   && (address - aliasAddress(1)) % AliasSize == 0) {
            const int n = (address - aliasAddress(1)) / AliasSize + 1;
            const QString ta = decodeAlias(a), tb = decodeAlias(b);
            if (ta != tb)
                add(QStringLiteral("Channel %1: name %2 in %3, %4 in %5").arg(n).arg(shown(ta), firstName, shown(tb), secondName));
        } else if (address == PasswordAddress) {
            const QString ta = decodePassword(a.leftJustified(BlockSize, char(0xFF)));
            const QString tb = decodePassword(b.leftJustified(BlockSize, char(0xFF)));
            if (ta != tb)
                add(QStringLiteral("Setting Power-on password: %1 / %2").arg(shown(ta), shown(tb)));
        } else {
            SettingsValues x, y;
            if (decodeSettingsBlock(address, a, x) && decodeSettingsBlock(address, b, y))
                for (const SettingDef &def : SettingsRegistry::all())
                    if (def.isValue() && x.value(def.name) != y.value(def.name))
                        add(QStringLiteral("Setting %1: %2 / %3")
                                .arg(capitalised(def.meaning), shown(settingText(def, x, itemText)),
                                     shown(settingText(def, y, itemText))));
        }
        if (result.size() == before) {
            int i = 0;
            while (i < a.size() && a.at(i) == b.at(i))
                ++i;
            result.append({QStringLiteral("Memory at %1: %2 in %3, %4 in %5")
                               .arg(hex(address + i, 4), hex(quint8(a.at(i)), 2), firstName,
                                    hex(quint8(i < b.size() ? b.at(i) : char(0xFF)), 2), secondName),
                           address});
        }
    }
    return result;
}
