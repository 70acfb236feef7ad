#pragma once
// KVT560 without windows: reads the radio into a codeplug file or writes a codeplug file
// into the radio, through the same transfer, transport, settings and file code as the
// main window, and ends with exit status 0 on success and 1 on any failure (2 for a
// command line that does not read). Progress goes to standard error; a failure prints the
// notice the windows would show, in the language of the run.
//
//   KVT560 --read-radio FILE.k56  [--port N | --device PATH] [--language NAME]
//   KVT560 --write-radio FILE.k56 [--port N | --device PATH] [--language NAME] [--verify]
//   KVT560 --export-csv FILE.k56 OUT.csv | --import-csv IN.csv FILE.k56
//   KVT560 --diff A.k56 B.k56 | --backups
//   KVT560 --help | --version
#include <QStringList>

namespace CommandLine {

// Exit statuses.
enum Status { Success = 0, Failure = 1, UsageError = 2 };

// Whether the arguments (program name first) ask for a run without windows: any argument
// beginning with "--", or -h, -v, -?. Single-dash options of the window system (such as
// -platform) leave the windows in place, as does no argument at all.
bool wanted(const QStringList &arguments);

// Runs the command line given in arguments (program name first) and returns the exit
// status. Needs a QCoreApplication; the preferences and language libraries are read from
// `applicationDir` (myini.ini is read, never written).
int run(const QStringList &arguments, const QString &applicationDir);

} // namespace CommandLine
