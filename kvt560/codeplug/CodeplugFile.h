#pragma once
// The codeplug text file (extension "k56"): 187 lines with CR LF line ends. Line 1 is the
// header, lines 2 to 59 hold one setting each at the line the settings registry gives it
// (key, then the value), lines 60 to 187 hold the 128 channels, each "CH" + number followed
// by 17 fields separated by " | ". The reader does not look for keys: it takes every value
// at the fixed position behind its key, so writer and reader keep the layout exactly.
//
// Written in GBK, the code page that holds the marks of all three languages, or in UTF-8
// with a byte order mark when a text holds a character GBK lacks. Read: a byte order mark
// means UTF-8; otherwise each of GBK, UTF-8 and Big5 that reads the bytes without error is a
// candidate, and the one in whose channel cells the mark words of the three languages are
// recognised most often wins, GBK on a tie (then UTF-8): GBK bytes are often valid UTF-8
// too, so validity alone does not tell. A lone LF ends a line as well as CR LF.
#include "radiolink/Codeplug.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ToneList;

struct CodeplugReadResult {
    enum Status {
        Read,          // content holds the editor as the file leaves it
        NotACodeplug,  // line 1 is not the header: the file is not used and nothing is said
        BadValue,      // a value did not read; message tells which, and nothing is to change
    };
    Status status = NotACodeplug;
    // The settings (those without a line as they were), the four band range texts (empty
    // where the file holds none) and the channels.
    Codeplug content;
    QString message;
    int line = 0;   // the line of the bad value
};

namespace CodeplugFile {

inline constexpr int LineCount = 187;
inline constexpr int SettingsLineCount = 59;   // header and settings, before the channel lines
inline constexpr int FieldCount = 17;          // channel table columns 1-10, attributes 1-7

QString header();   // "KVT560 MEMORY CHANNEL"
QString suffix();   // "k56", without the dot
// The band lists in the order of Codeplug::bandRanges and of their lines: band 1 receive,
// band 1 transmit, band 2 receive, band 2 transmit.
QStringList bandListNames();

// The text of item `index` of the drop-down `name`, written after the index for a human
// reader. Without one, the built-in item texts of the settings registry are used.
using ItemText = std::function<QString(const QString &name, int index)>;

// The 187 lines of the file, without line ends.
QStringList lines(const Codeplug &content, const ItemText &itemText = {});
// The lines with CR LF after each, in GBK; in UTF-8 after a byte order mark when a text
// holds a character GBK lacks, so that nothing is lost.
QByteArray encode(const QStringList &lines);
QByteArray write(const Codeplug &content, const ItemText &itemText = {});

// The lines of a file's bytes in the encoding that reads them (see above).
QStringList decodeLines(const QByteArray &bytes);

// Reads a whole file into a fresh value that starts from the editor's current settings and
// channels: settings without a line keep their values, a band range the file does not hold
// is empty, columns 1-10 of every channel are emptied before the channel lines fill them (a row
// the file leaves empty keeps its attribute texts). Tone indexes (attributes 4 and 5) follow
// the tone texts of columns 2 and 4 when those are entries of `tones` (the program's list
// when none is given), so that the two cells always agree. Nothing is applied here: the
// caller applies content only when the status is Read.
CodeplugReadResult read(const QByteArray &bytes, const SettingsValues &settings, const ChannelCells &channels,
                        const ToneList *tones = nullptr);

// Writes the file through a temporary file in the same folder that replaces the old one
// only once every byte is checked on the disk: a failure (a full disk among them) leaves any
// existing file as it was. error receives the system's reason.
bool save(const QString &path, const QByteArray &bytes, QString *error = nullptr);
// The bytes of a file (at most the first megabyte: a codeplug file is a few kilobytes), or
// nothing with the reason in error.
std::optional<QByteArray> load(const QString &path, QString *error = nullptr);

// The notices of a file that cannot be written or read, with the reason from save or load.
QString saveFailedText(const QString &path, const QString &reason);
QString loadFailedText(const QString &path, const QString &reason);

} // namespace CodeplugFile
