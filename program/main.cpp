#include "frame/TerminationSignals.h"
#include "frame/ui/ProgramApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Program"));

    // SIGINT and SIGTERM leave every event loop, so the program ends through ExitInstance.
    TerminationSignals signals_;
    QObject::connect(&signals_, &TerminationSignals::terminationRequested, &app,
                     [] { QCoreApplication::exit(0); });

    ProgramApp program;
    if (!program.InitInstance(QApplication::arguments()))
        return 1;
    return program.ExitInstance(app.exec());
}
