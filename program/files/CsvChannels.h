#pragma once
// Program's channels as comma-separated text (common/ChannelCsv.h gives the columns and
// their values) and back: File > Export channels / Import channels, the command line's
// --export-csv and --import-csv, and the grid's copy and paste (the same rows, separated by
// tabs, without the header line).
//
// After the standard columns comes Program's own "BusyLock" ("Off", "Carrier" or "QDT").
// An import is checked whole before anything changes: every line must hold a channel
// number 1-99 (each once), frequencies inside the band and on the 5 kHz or 6.25 kHz raster,
// tones of ToneChoices and a name of at most six characters one byte each; the first line
// that does not is refused with its number and the reason.
#include "model/ChannelCodec.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace CsvChannels {

// The standard columns, then "BusyLock".
QStringList columns();

// A channel numbered `location` as the fields of one line in the order of columns().
QStringList fields(int location, const ChannelTexts &texts);

// The used channels of 1-99 (channels.at(n-1) is channel n), one line each after the header.
QString exportText(const QList<ChannelTexts> &channels);
// Channels as tab-separated lines without header, as the grid copies them; locations are
// the channel numbers given.
QString copyText(const QList<QPair<int, ChannelTexts>> &channels);

struct Import {
    QString error;                            // empty when every line was taken
    QList<QPair<int, ChannelTexts>> channels; // channel number, texts in the current language
    bool ok() const { return error.isEmpty(); }
};

// Reads a whole file. Frequencies must lie in [low, high] (10 Hz units, the model's band).
Import importText(const QString &text, std::uint32_t low, std::uint32_t high);
// Reads pasted tab-separated rows (an optional header line is skipped). The channels go to
// firstChannel, firstChannel + 1, ... whatever their Location column says; a row past
// channel 99 is refused. Text that is not such rows is refused.
Import pasteText(const QString &text, int firstChannel, std::uint32_t low, std::uint32_t high);

// The channels 1-99 after an import: the imported ones in their place, every other empty.
QList<ChannelTexts> replacedChannels(const QList<QPair<int, ChannelTexts>> &imported);

} // namespace CsvChannels
