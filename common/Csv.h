#pragma once
// Comma-separated (RFC 4180) and tab-separated text: records of fields, a field quoted with
// double quotes when it holds the separator, a quote or a line break, a quote inside a
// quoted field doubled. Lines end with CR LF or LF; the last line may lack its end.
//
// The readers are strict: a quote inside an unquoted field, text after a closing quote or a
// quoted field that never closes is refused with the line it is on, so that a damaged file
// never turns into quietly shifted columns.
#include <QList>
#include <QString>
#include <QStringList>

namespace Csv {

struct Record {
    int line = 0;        // line of the file the record starts on, from 1
    QStringList fields;
};

struct ParseResult {
    QList<Record> records;   // empty lines are skipped
    QString error;           // empty when the whole text read
    int errorLine = 0;       // the line of the error
    bool ok() const { return error.isEmpty(); }
};

// Reads the whole text; `separator` is ',' for CSV and '\t' for tab-separated text. A byte
// order mark at the start is skipped.
ParseResult parse(const QString &text, QChar separator = QLatin1Char(','));

// One field as written: quoted when it holds the separator, a quote, CR or LF, or begins or
// ends with a blank (so that a reader that trims keeps it).
QString quoted(const QString &field, QChar separator = QLatin1Char(','));
// One record, without the line end.
QString line(const QStringList &fields, QChar separator = QLatin1Char(','));
// The records, each followed by CR LF for CSV; for tab-separated text (what a spreadsheet
// copies) each followed by LF.
QString write(const QList<QStringList> &records, QChar separator = QLatin1Char(','));

// The largest file readFile takes: a channel list is a few kilobytes, and a longer file is
// refused whole rather than read in part.
inline constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
// Reads a whole file as UTF-8 text (a byte order mark stays for parse to skip). False with
// the system's reason in *error when it cannot be read, or "The file is larger than 16 MB."
bool readFile(const QString &path, QString *text, QString *error);

} // namespace Csv
