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
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (CommandLineKit::wanted(arguments)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Program"));
        QCoreApplication::setApplicationVersion(QStringLiteral(PROGRAM_VERSION));
        return CommandLine::run(arguments, applicationDirectory());
    }

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
