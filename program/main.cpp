#include "common/CommandLineKit.h"
#include "frame/CommandLine.h"
#include "frame/Startup.h"
#include "common/TerminationSignals.h"
#include "frame/ui/ProgramApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // Options run the program without windows, and without needing a display; a plain file
    // name still opens the window with that file.
    if (const std::optional<int> status = CommandLineKit::runIfWanted(
            argc, argv, QStringLiteral("Program"), QStringLiteral(PROGRAM_VERSION),
            [](const QStringList &arguments) { return CommandLine::run(arguments, applicationDirectory()); }))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Program"));
    QApplication::setApplicationVersion(QStringLiteral(PROGRAM_VERSION));

    // SIGINT and SIGTERM leave every event loop, so the program ends through ExitInstance.
    TerminationSignals signals_;
    QObject::connect(&signals_, &TerminationSignals::terminationRequested, &app,
                     [] { QCoreApplication::exit(0); });

    ProgramApp program;
    if (!program.initInstance(QApplication::arguments()))
        return 1;
    return program.exitInstance(app.exec());
}
