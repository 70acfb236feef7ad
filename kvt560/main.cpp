// KVT560 start-up: the windows are created once, in order, and kept until the program ends.
// Closing the main window (also on SIGINT/SIGTERM) writes the preferences and ends the run.
// With options it runs without windows (shell/CommandLine.h); a file name alone opens that
// codeplug file in the window.
#include "codeplug/ui/CodeplugFiles.h"
#include "radiolink/ui/RadioCommands.h"
#include "radiolink/ui/TR_and_W.h"
#include "common/CommandLineKit.h"
#include "shell/CommandLine.h"
#include "shell/Preferences.h"
#include "common/TerminationSignals.h"
#include "common/ui/ChineseFonts.h"
#include "shell/ui/TaboutForm.h"
#include "shell/ui/Tform1.h"
#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char **argv)
{
    // Options run the program without windows, and without needing a display.
    if (const std::optional<int> status = CommandLineKit::runIfWanted(
            argc, argv, QStringLiteral("KVT560"), QStringLiteral(KVT560_VERSION),
            [](const QStringList &arguments) { return CommandLine::run(arguments, QCoreApplication::applicationDirPath()); }))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVT560"));   // the task bar title
    QApplication::setApplicationVersion(QStringLiteral(KVT560_VERSION));

    // 1. The main window, with the confirmation and notice dialog; it reads myini.ini as it
    // is created.
    Tform1 form1(PreferencesPaths::forApplication());
    form1.setChineseFontCheck(&ChineseFonts::installed);
    // 2. The about box.
    auto *aboutForm = new TaboutForm(&form1);
    form1.setAboutForm(aboutForm);
    // 3. The read/write dialog, driven by the main window's read and write commands.
    auto *R_and_W = new TR_and_W(&form1);
    RadioCommands radioCommands(form1.document(), form1.radioCommandWindow(), *R_and_W);
    form1.setRadioCommands(&radioCommands);

    TerminationSignals signals_;
    QObject::connect(&signals_, &TerminationSignals::terminationRequested, &form1, [&form1] {
        // Leave any modal dialog first, then take the normal way out through the main window.
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible())
                dialog->reject();
        form1.closeWithoutQuestion();   // nobody may be there to answer
        QCoreApplication::quit();
    });

    form1.show();
    // A codeplug file named on the command line (the desktop's "open with") is read into the
    // window once it is shown and its language loaded, as Open reads a file.
    const QStringList files = QApplication::arguments().mid(1);
    if (!files.isEmpty())
        QTimer::singleShot(0, &form1, [&form1, file = files.constFirst()] { form1.codeplugFiles()->openFrom(file); });
    return app.exec();
}
