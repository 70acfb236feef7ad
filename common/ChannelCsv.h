#pragma once
// Channels as comma-separated text in the column layout other radio programming tools read
// and write, so that channels move between the two programs, spreadsheets and those tools:
//
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
//
// followed by each program's own columns. This file holds what does not depend on a radio:
// the columns, the meaning of their values, and the reading of a whole file into rows by
// column name. Each program maps its channels onto Channel and checks the values against
// its own tone list, band and character set.
//
// Values: Frequency in MHz with six decimals. Duplex "" (simplex), "+" or "-" with Offset
// the difference in MHz, "split" with Offset the transmit frequency, "off" for receive
// only. Tone "" (none), "Tone" (transmit CTCSS in rToneFreq), "TSQL" (both CTCSS,
// cToneFreq), "DTCS" (both DCS, DtcsCode, polarity pair in DtcsPolarity, transmit first,
// "N" normal or "R" reversed) or "Cross" with CrossMode one of "Tone->Tone", "Tone->DTCS",
// "DTCS->Tone", "->Tone", "->DTCS", "DTCS->", "DTCS->DTCS" (transmit before the arrow;
// RxDtcsCode for the receive DCS). Mode "FM" (wide) or "NFM" (narrow); Power "High" or
// "Low"; Skip "" or "S" (not in the scan list). CTCSS with one decimal, DCS three octal
// digits; unused columns empty.
#include "common/Csv.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace ChannelCsv {

// The 21 columns every file starts with, in order.
const QStringList &standardColumns();

struct Tone {
    enum Kind { None, Ctcss, Dcs };
    Kind kind = None;
    int tenths = 0;         // CTCSS in tenths of a hertz (670 for 67.0)
    int code = 0;           // DCS code as written, read as a decimal number (23 for "023")
    bool inverted = false;  // DCS polarity: reversed ("R" in DtcsPolarity)

    static Tone ctcss(int tenths) { Tone t; t.kind = Ctcss; t.tenths = tenths; return t; }
    static Tone dcs(int code, bool inverted) { Tone t; t.kind = Dcs; t.code = code; t.inverted = inverted; return t; }
    bool operator==(const Tone &o) const
    {
        return kind == o.kind && (kind != Ctcss || tenths == o.tenths)
               && (kind != Dcs || (code == o.code && inverted == o.inverted));
    }
    bool operator!=(const Tone &o) const { return !(*this == o); }
};

// The meaning of the standard columns for one channel.
struct Channel {
    int location = 0;
    QString name;
    qint64 rxHz = 0;
    qint64 txHz = 0;        // ignored when receiveOnly
    bool receiveOnly = false;
    Tone txTone;            // encode
    Tone rxTone;            // decode
    bool narrow = false;
    bool lowPower = false;
    bool skip = false;      // not in the scan list
};

// A row by column name (the header's names); a missing column reads as absent, not empty.
using Row = QHash<QString, QString>;

// "438.500000" for 438500000 Hz.
QString frequencyText(qint64 hz);
// A number in MHz ("438.5", "438.500000"): digits, an optional "." and up to six decimals.
bool parseFrequency(const QString &text, qint64 *hz);
// "67.0" for 670.
QString ctcssText(int tenths);

// The standard columns of a channel, as a row.
Row standardRow(const Channel &channel);
// The standard columns of a row back into a channel; absent or empty columns give the
// defaults of a new channel (simplex, no tones, FM, High, scanned). Location and Frequency
// must be present. False with the reason in plain words for a value that does not read.
bool readStandard(const Row &row, Channel *channel, QString *reason);

// Rows of a whole text: the first record is the header, each later record a row by the
// header's names (surplus fields of a record are ignored, missing ones absent).
struct Table {
    QStringList header;
    QList<QPair<int, Row>> rows;   // line number, row
    QString error;                 // empty when the text read
    int errorLine = 0;
    bool ok() const { return error.isEmpty(); }
};
// `header` false: the records have no header line and use `columns` in order; a first record
// that is a header anyway (it begins with "Location") is skipped.
Table readTable(const QString &text, QChar separator = QLatin1Char(','), bool header = true,
                const QStringList &columns = QStringList());

// The text of rows in the order of `columns`, with or without a header line.
QString writeTable(const QStringList &columns, const QList<Row> &rows, QChar separator = QLatin1Char(','),
                   bool header = true);

// The refusal of a file or paste: "Line 4: the frequency 512.000000 is outside 400-470 MHz."
QString refusal(int line, const QString &reason);

} // namespace ChannelCsv
