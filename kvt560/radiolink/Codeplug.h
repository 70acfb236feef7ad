#pragma once
// Everything a radio read produces and a radio write sends, as one plain value: the channel
// cells, the setting values (function settings, call list, PTT ID codes, own ID, remote
// control code, password) and the band range texts the radio holds. A read fills a copy and
// hands it over only when the whole transfer succeeded, so a failed read leaves the editor
// as it was.
#include "channels/ChannelCells.h"
#include "settings/SettingsValues.h"

#include <QStringList>

struct Codeplug
{
    ChannelCells channels;
    SettingsValues settings;
    // The range texts of the radio's band limits, in the order band 1 receive, band 1
    // transmit, band 2 receive, band 2 transmit ("400-470MHz"). Empty when the read found the
    // limits unprogrammed; an entry is empty when that range is unprogrammed. Each non-empty
    // entry is added to (or selected in) its band drop-down.
    QStringList bandRanges;

    bool operator==(const Codeplug &other) const
    {
        return channels == other.channels && settings == other.settings && bandRanges == other.bandRanges;
    }
    bool operator!=(const Codeplug &other) const { return !(*this == other); }
};
