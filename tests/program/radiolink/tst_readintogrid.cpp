// Program > Read in the running application: the channels, the model and the band that the
// radio sends appear in the channel view and can be undone; a read that fails leaves view
// and image alone.
#include "Kvt270Simulator.h"
#include "TestRegistry.h"
#include "base/Globals.h"
#include "base/ResourceLibrary.h"
#include "frame/ui/CMainFrame.h"
#include "files/CProgramDoc.h"
#include "frame/ui/ProgramApp.h"
#include "model/ui/CProgramView.h"
#include "radiolink/ui/CReadWriteDlg.h"
#include "radiolink/ui/RadioCommands.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QByteArray sampleMemory()
{
    QFile f(QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt270-demo.bin"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QStringList> gridTexts(const CProgramView &view)
{
    QList<QStringList> rows;
    for (int r = 1; r <= 99; ++r) {
        QStringList row;
        for (int c = 1; c <= 9; ++c)
            row << view.cellText(r, c);
        rows << row;
    }
    return rows;
}

// The application started on a directory whose COM1 is the simulated radio; Read is
// answered with Start, notices are collected.
struct RunningProgram {
    ProgramApp app;
    QStringList notices;
    QByteArray imageAtStart;   // the document's image when the dialog opened (values stored)

    bool start(Kvt270Simulator &sim)
    {
        if (!QFile::copy(QStringLiteral(SOURCE_DIR "/resources/Eng.dll"), sim.dir.filePath("Eng.dll")))
            return false;
        app.showMessage = [this](const QString &, const QString &text) { notices << text; };
        if (!app.initInstance({QStringLiteral("Program")}, sim.appDirectory()))
            return false;
        app.radioCommands()->dialogCreated = [this](CReadWriteDlg &dialog) {
            imageAtStart = image();
            dialog.showMessage = [this](const QString &, const QString &text) { notices << text; };
            QTimer::singleShot(0, dialog.startButton, &QPushButton::click);
        };
        return true;
    }
    void read() { app.mainFrame()->action(ResId::Read)->trigger(); }
    QByteArray image() const { return app.document()->imageBytes(); }
};

} // namespace

class TestReadIntoGrid : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        LanguageIndex = LanguageEnglish;
        installResources(ResourceLibrary());
    }

    void readShowsChannelsModelAndBand()
    {
        const QByteArray radio = sampleMemory();
        QCOMPARE(radio.size(), int(RadioImageSize));
        QCOMPARE(int(radio.at(0x1FE0)), 3);
        Kvt270Simulator sim;
        QVERIFY(sim.start(radio));
        RunningProgram program;
        QVERIFY(program.start(sim));
        CProgramView *view = program.app.view();
        QCOMPARE(view->cellText(1, 1), QString());
        const QByteArray beforeRead = program.image();

        program.read();
        QCOMPARE(program.notices, QStringList());
        // The image read counts as saved; the read is one undo step.
        QVERIFY(!program.app.document()->isModified());
        const QByteArray read = program.image();
        program.app.mainFrame()->action(ResId::EditUndo)->trigger();
        QCOMPARE(program.image(), beforeRead);
        QCOMPARE(view->cellText(1, 1), QString());
        program.app.mainFrame()->action(ResId::EditRedo)->trigger();
        QCOMPARE(program.image(), read);
        QVERIFY(!program.app.document()->isModified());
        QCOMPARE(view->modelText(), QString("KVT270U09"));
        QCOMPARE(view->findChild<QComboBox *>("bandSelector")->currentIndex(), 0);
        const QList<QStringList> rows = gridTexts(*view);
        QCOMPARE(rows.at(0), (QStringList{"446.00625", "446.00625", "67.0", "67.0", "Off", "High", "Add", "Wide", "DEMO01"}));
        QCOMPARE(rows.at(3), (QStringList{"446.04375", "446.04375", "D205I", "D205I", "Off", "High", "Add", "Narrow", "DEMO04"}));
        QCOMPARE(rows.at(15), (QStringList{"446.19375", "451.19375", "D023I", "D023I", "Off", "Low", "Del", "Narrow", "DEMO16"}));
        for (int r = 16; r < 99; ++r)
            QVERIFY2(rows.at(r).join(QString()).isEmpty(), qPrintable(QString::number(r + 1)));
        program.app.exitInstance();
    }

    void failedReadChangesNothing()
    {
        Kvt270Simulator sim;
        QVERIFY(sim.start(sampleMemory(), {"--stop-at", "500"}));
        RunningProgram program;
        QVERIFY(program.start(sim));
        CProgramView *view = program.app.view();
        const QList<QStringList> before = gridTexts(*view);
        const QString modelBefore = view->modelText();

        program.read();
        QCOMPARE(program.notices, QStringList{"Communication error"});
        QCOMPARE(program.image(), program.imageAtStart);
        QCOMPARE(gridTexts(*view), before);
        QCOMPARE(view->modelText(), modelBefore);
        program.app.exitInstance();
    }
};

REGISTER_TEST(TestReadIntoGrid)
#include "tst_readintogrid.moc"
