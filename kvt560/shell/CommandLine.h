#pragma once
// KVT560 without windows: the verbs of the command-line kit (common/CommandLineKit.h) over
// KVT560's radio: reads the radio into a codeplug file, writes a codeplug file into the
// radio, prints a codeplug as text, exports and imports its channels, compares two files,
// through the same transfer, transport, settings and file code as the main window. Progress
// goes to standard error; a failure prints the notice the windows would show, in the
// language of the run. Options of its own: --language NAME and --fast.
//
//   KVT560 --read-radio FILE.k56  [--port N | --device PATH] [--language NAME] [--fast] [--verbose]
//   KVT560 --write-radio FILE.k56 [--port N | --device PATH] [--language NAME] [--verify] [--fast] [--verbose]
//   KVT560 --dump FILE.k56
//   KVT560 --export-csv FILE.k56 OUT.csv | --import-csv IN.csv FILE.k56
//   KVT560 --diff A.k56 B.k56 | --backups | --list-ports
//   KVT560 --help | --version
#include <QStringList>

namespace CommandLine {

// Runs the command line given in arguments (program name first) and returns the exit
// status (CommandLineKit::Status). Needs a QCoreApplication; the preferences and language
// libraries are read from `applicationDir` (myini.ini is read, never written).
int run(const QStringList &arguments, const QString &applicationDir);

} // namespace CommandLine
