// Runs every test class registered in this executable. The first argument may name one
// class (or several, separated by commas) to run only those; the remaining arguments go to
// QTest as usual (test function names, -v2, ...).
#include "TestRegistry.h"
#include <QApplication>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <memory>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Whatever a test writes into the user's folders (backups of reads, say) goes to a test
    // location instead.
    QStandardPaths::setTestModeEnabled(true);
    QStringList args = app.arguments();
    QStringList only;
    if (args.size() > 1 && !args.at(1).startsWith(QLatin1Char('-'))) {
        bool names = false;
        for (const auto &e : testsupport::registry())
            if (args.at(1).split(QLatin1Char(',')).contains(QLatin1String(e.name)))
                names = true;
        if (names)
            only = args.takeAt(1).split(QLatin1Char(','));
    }
    int failures = 0;
    for (const auto &e : testsupport::registry()) {
        if (!only.isEmpty() && !only.contains(QLatin1String(e.name)))
            continue;
        std::unique_ptr<QObject> test(e.make());
        failures += QTest::qExec(test.get(), args);
    }
    return failures == 0 ? 0 : 1;
}
