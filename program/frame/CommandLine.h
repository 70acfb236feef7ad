#pragma once
// Program without windows: reads the radio into a channel data file, writes a channel data
// file into the radio, or prints a file as text, through the same image, grid conversion,
// transfer and file code as the main window. Ends with exit status 0 on success, 1 on any
// failure and 2 for a command line that does not read. Progress goes to standard error; a
// failure prints the message the windows would show, in the language of Program.ini.
//
//   Program --read-radio FILE.sin  [--port COMn | --device PATH]
//   Program --write-radio FILE.sin [--port COMn | --device PATH] [--verify]
//   Program --dump FILE.sin
//   Program --export-csv FILE.sin OUT.csv | --import-csv IN.csv FILE.sin
//   Program --diff A.sin B.sin | --backups
//   Program --help | --version
#include <QStringList>

namespace CommandLine {

enum Status { Success = 0, Failure = 1, UsageError = 2 };

// Whether the arguments (program name first) ask for a run without windows: any argument
// beginning with "--", or -h, -v, -?. A plain file name opens the window with that file.
bool wanted(const QStringList &arguments);

// Runs the command line and returns the exit status. Needs a QCoreApplication; Program.ini
// and the resource library are read from `applicationDir` (nothing is written there).
int run(const QStringList &arguments, const QString &applicationDir);

// Text width in terminal columns: wide (East Asian) characters take two.
int displayWidth(const QString &text);

} // namespace CommandLine
