#pragma once
// The command line both programs offer: one option table, one set of checks and one set of
// verbs, run over a small interface each program fills with its radio (CommandLineKit::Radio).
// Both programs thereby read the same options with the same spelling, end with the same exit
// status and print the same shape of messages:
//
//   PROGRAM --read-radio FILE  [--port P | --device PATH] [--verbose]
//   PROGRAM --write-radio FILE [--port P | --device PATH] [--verify] [--verbose]
//   PROGRAM --dump FILE
//   PROGRAM --export-csv FILE OUT.csv | --import-csv IN.csv FILE
//   PROGRAM --diff A B | --backups | --list-ports
//   PROGRAM --help | --version
//
// Exit status: 0 done, 1 failed (or, for --diff and --verify, the two differ), 2 a command
// line that does not read. Progress and failures go to standard error, results to standard
// output. A program may add options of its own (KVT560's --fast and --language).
//
// The kit holds no translation: the sentences a user sees come from each program's language
// or resource library through the interface; the kit's own texts are the English of the
// usage messages and of --help.
#include "common/Differences.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QCommandLineParser;

namespace CommandLineKit {

enum Status { Success = 0, Failure = 1, UsageError = 2 };

// Whether the arguments (program name first) ask for a run without windows: any argument
// beginning with "--", or -h, -v, -?. Single-dash options of the window system (such as
// -platform), a plain file name and no argument at all leave the windows in place.
bool wanted(const QStringList &arguments);

// The start of both programs: when argv asks for a run without windows, makes the
// QCoreApplication (named, with its version) and returns what `run` returns for the
// arguments; nothing when the windows are wanted.
std::optional<int> runIfWanted(int argc, char **argv, const QString &name, const QString &version,
                               const std::function<int(const QStringList &arguments)> &run);

// A line on standard error (flushed at once) or on standard output.
void printError(const QString &text);
void printLine(const QString &text);

// Text width in terminal columns: wide (East Asian) characters take two.
int displayWidth(const QString &text);
// A cell as one line of text: control characters (a name byte may hold any value) become "?".
QString printable(QString text);
// Lines of cells, each column as wide as its widest cell, two blanks between columns;
// trailing blanks are dropped.
QStringList alignedTable(const QList<QStringList> &rows);
// The text of --dump: the head (label, value), the channel table and the settings (group,
// label, value), each aligned as a table, with an empty line between them.
QString dumpText(const QList<QStringList> &head, const QList<QStringList> &channels,
                 const QList<QStringList> &settings);

// The words of a program's option table and messages.
struct Words {
    QString program;       // "KVT560": the name in usage messages and of the backups
    QString description;   // the first paragraph of --help
    QString file;          // the file a verb reads: "codeplug <file> (.k56)"
    QString fileNamedNext; // the same named after "the ... named next": "codeplug file"
    QString suffix;        // the file suffix without the dot: "k56"
    QString keeps;         // what an import leaves as it is: "settings"
    QString dumpWhat;      // what --dump prints: "channels and settings"
    QString portValue;     // the value name of --port: "n"
    QString portHelp;      // the help of --port
    QString deviceHelp;    // the help of --device
    QString listPortsHelp; // the help of --list-ports
};

// The options of a run that concern the radio.
struct Request {
    QString port;      // --port as given, empty when not given
    QString device;    // --device as given, empty when not given
    bool verbose = false;
};

// What the program read from the radio: the memory as it arrived and the file it makes of it.
struct RadioRead {
    QByteArray memory;
    QByteArray file;
};

// The radio of a program. Each function that fails prints its own message (in the words of
// the program's library) and returns false or nothing.
class Radio
{
public:
    virtual ~Radio() = default;

    virtual Words words() const = 0;
    // Options of the program's own, added to the table; checked by ownUsageProblem().
    virtual QList<QCommandLineOption> ownOptions() const { return {}; }
    // The line of --version.
    virtual QString versionLine() const;
    // Why the value of --port cannot be used (a usage message), or nothing.
    virtual QString portProblem(const QString &value) const = 0;
    // Why the program's own options cannot be used (a usage message), or nothing.
    virtual QString ownUsageProblem(const QCommandLineParser &parser) const;

    // --list-ports: the port entries of the program's preferences (port number -> device),
    // the number of ports its menu has, and the note when no device is present.
    struct PortListing {
        QMap<int, QString> mapped;
        int ports = 0;
        QString noDevice;
    };
    virtual PortListing portListing(const QCommandLineParser &parser) = 0;

    // After the checks, before any verb but --backups and --list-ports: the preferences and
    // the language of the run. False: the run fails (the reason printed).
    virtual bool prepare(const QCommandLineParser &parser, const Request &request) = 0;

    // --read-radio: the radio read; then the file saved (the kit keeps a backup between).
    virtual std::optional<RadioRead> readRadio() = 0;
    virtual bool saveRead(const QString &file, const RadioRead &read) = 0;
    // The value of the number of backups to keep as the preferences hold it (empty: none).
    virtual QString backupKeepSetting() const = 0;

    // The file of --write-radio, --dump, --export-csv and --import-csv opened as the window
    // opens it, for the functions below.
    virtual bool openFile(const QString &file) = 0;

    // --write-radio: the file written, and with --verify read back and compared.
    virtual bool writeRadio() = 0;
    virtual std::optional<QByteArray> readBack() = 0;
    virtual QList<Difference> compareWritten(const QByteArray &inRadio) = 0;
    // The heading above the differences a check found.
    virtual QString notVerifiedHeading() const = 0;

    // --dump: the file as text.
    virtual QString describe() = 0;
    // --export-csv: the channels of the file as CSV text.
    virtual QString exportCsv() = 0;
    // --import-csv: the channels of the CSV text into the file, saved as `file`. A refused
    // CSV text gives the reason in `refusal` (the kit prints it) and changes nothing.
    virtual bool importCsv(const QString &csvText, const QString &file, QString *refusal) = 0;
    // --diff: what differs between the two files, named by their file names.
    virtual std::optional<QList<Difference>> diff(const QString &first, const QString &second) = 0;
};

// Runs the command line given in arguments (program name first) over `radio` and returns
// the exit status. Needs a QCoreApplication.
int run(Radio &radio, const QStringList &arguments);

} // namespace CommandLineKit
