#pragma once
// KVT560's channels as comma-separated text (common/ChannelCsv.h gives the columns and their
// values) and back: File > Export channels / Import channels, --export-csv and --import-csv,
// and the grid's copy and paste (the same rows separated by tabs, without the header line).
//
// After the standard columns come KVT560's own, each "On" or "Off" unless said otherwise:
// "BusyLock", "DTMF", "PTTID", "SquelchTail" (squelch tail elimination), "VOX",
// "VoiceMode" ("Off", "Compander" or "Scrambler") and "ShowName" (the radio shows the alias).
// An import is checked whole before anything changes: a channel number 1-128 (each once),
// frequencies inside one band's receive range (`receiveRanges`, the selected receive range
// of band 1 and of band 2, "400-470MHz") and on the 5 kHz or 6.25 kHz raster,
// tones of the tone list, an alias of at most six characters the radio can show (small
// letters become capitals, as in the alias editor); the first line that does not pass is
// refused with its number and the reason. Missing columns take the new-channel defaults.
#include "channels/ChannelCells.h"
#include "channels/Marks.h"

#include <QList>
#include <QString>
#include <QStringList>

class ToneList;

namespace CsvChannels {

QStringList columns();

// The used channels, one line each after the header.
QString exportText(const ChannelCells &cells, const ToneList &tones);
// The used channels among `rows`, tab-separated, without header: what the grid copies.
QString copyText(const ChannelCells &cells, const QList<int> &rows, const ToneList &tones);

struct Import {
    QString error;          // empty when every line was taken
    QList<int> rows;        // the rows to replace (every row for a file)
    ChannelCells cells;     // their new cells, in the marks given
    bool ok() const { return error.isEmpty(); }
};

// A whole file: every channel is replaced, those the file does not hold become empty.
Import importText(const QString &text, const QStringList &receiveRanges, const Marks &marks, const ToneList &tones);
// Pasted rows go to firstRow, firstRow + 1, ... whatever their Location says; a row past
// channel 128, or text that is not such rows, is refused.
Import pasteText(const QString &text, int firstRow, const QStringList &receiveRanges, const Marks &marks,
                 const ToneList &tones);

} // namespace CsvChannels
