#pragma once
// Program without windows: the verbs of the command-line kit (common/CommandLineKit.h) over
// the KVT270 radio: reads the radio into a channel data file, writes a channel data file into
// the radio, prints a file as text, exports and imports its channels, compares two files,
// through the same image, grid conversion, transfer and file code as the main window.
// Progress goes to standard error; a failure prints the message the windows would show, in
// the language of Program.ini.
//
//   Program --read-radio FILE.sin  [--port COMn | --device PATH] [--verbose]
//   Program --write-radio FILE.sin [--port COMn | --device PATH] [--verify] [--verbose]
//   Program --dump FILE.sin
//   Program --export-csv FILE.sin OUT.csv | --import-csv IN.csv FILE.sin
//   Program --diff A.sin B.sin | --backups | --list-ports
//   Program --help | --version
#include <QStringList>

namespace CommandLine {

// Runs the command line and returns the exit status (CommandLineKit::Status). Needs a
// QCoreApplication; Program.ini and the resource library are read from `applicationDir`
// (nothing is written there).
int run(const QStringList &arguments, const QString &applicationDir);

} // namespace CommandLine
