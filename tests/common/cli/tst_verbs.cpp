// The verbs of the command-line kit as both programs offer them: each test runs over a table
// of the two (KVT560 with .k56 codeplugs, Program with .sin channel data files), the built
// executable as a separate process without a display, against the simulated radio of its
// family. What only one program does is tested in tests/kvt560/cli and tests/program/cli.
#include "ProgramRun.h"
#include "RadiosimProcess.h"
#include "SerialFixtures.h"
#include "TestRegistry.h"
#include "common/SerialPorts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

// What a row of the table stands for beyond its columns.
struct Target {
    QString executable;     // in the build's application folder
    QString suffix;         // of its files
    QString demoMemory;     // the memory of the demonstration radio (tools/radiosim/samples)
    QString mode;           // of radiosim
    QStringList libraries;  // beside the executable: its English words
    QString iniName;
    QString ini;            // the ini file: English, COM1 mapped to "%1"
    int ports = 0;          // of its port menu
    QString channel2Block;  // the record of channel 2 in memory
    int channels = 0;
    QString portNotice;     // the first line of the notice of a port that does not open
    QString linkNotice;     // the notice of a radio that does not answer
    QString hangUpAt;       // a block request some way into both a read and a write
    int hangUpWithinMs = 0; // how long a transfer takes at most to notice that
    QString chinese;        // a Chinese library beside the executable
    QString chineseIni;     // the ini file choosing it, COM1 mapped to "%1"
    QString busyLine;       // in that language: "%1" the device is held by "%2" (holdport)
};

const QList<Target> &targets()
{
    static const QList<Target> all{
        {QStringLiteral("KVT560"), QStringLiteral("k56"), QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt560-demo.bin"),
         QStringLiteral("kvt560"), {QStringLiteral("english.dll")}, QStringLiteral("myini.ini"),
         QStringLiteral("[open]\ncom=1\nlang=2\n[ports]\nCOM1=%1\n"), 4, QStringLiteral("0020"), 128,
         QStringLiteral("Communication error: The serial port cannot be opened."),
         QStringLiteral("Communication error: Communication with the radio failed. Check the connection and try again."),
         // The alias of channel 1 on a read, the record of channel 2 on a write: port reset,
         // greeting, enter and two blocks take about 0.6 s before the line goes.
         QStringLiteral("3"), 2600, QStringLiteral("chinese.dll"), QStringLiteral("[open]\ncom=1\nlang=1\n[ports]\nCOM1=%1\n"),
         QStringLiteral("%1 正被 holdport (PID %2) 占用。")},
        {QStringLiteral("Program"), QStringLiteral("sin"), QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt270-demo.bin"),
         QStringLiteral("kvt270"), {QStringLiteral("Eng.dll")}, QStringLiteral("Program.ini"),
         QStringLiteral("[Setup]\nLanguage=Eng\nCOM=COM1\n\n[Ports]\nCOM1=%1\n"), 8, QStringLiteral("0010"), 99,
         QStringLiteral("Could not open the port"), QStringLiteral("Communication error"), QStringLiteral("100"), 2000,
         QStringLiteral("Cht.dll"), QStringLiteral("[Setup]\nLanguage=Cht\nCOM=COM1\n[Ports]\nCOM1=%1\n"),
         QStringLiteral("%1 正被 holdport (PID %2) 佔用。")},
    };
    return all;
}

const Target &target(const QString &executable)
{
    for (const Target &t : targets())
        if (t.executable == executable)
            return t;
    return targets().constFirst();
}

// The columns every test of the table has, one row per program (`name` after the program).
void addPrograms(const char *name = nullptr)
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("sample");
    for (const Target &t : targets()) {
        const QString row = name ? t.executable + QLatin1Char(' ') + QLatin1String(name) : t.executable;
        QTest::newRow(qPrintable(row)) << t.executable << t.suffix << t.demoMemory;
    }
}

bool makeApp(AppFolder &app, const Target &t, const QString &device)
{
    return app.make(t.executable, t.libraries, t.iniName, t.ini.arg(device).toUtf8());
}

// A simulated radio of the program's family holding `memory`, with the options `more`.
bool startRadio(RadiosimProcess &radio, const Target &t, const QString &memory, const QStringList &more = {})
{
    return radio.start(t.mode, QStringList{QStringLiteral("--no-pacing"), QStringLiteral("--memory"), memory} + more);
}

// The program of the running test's row.
const Target &row()
{
    QFETCH(QString, executable);
    return target(executable);
}

// A simulated radio of the program's family holding its demonstration memory (with `faults`),
// and an application folder whose COM1 is that radio.
struct Bench {
    RadiosimProcess radio;
    AppFolder app;

    bool start(const Target &t, const QStringList &faults = {})
    {
        return startRadio(radio, t, t.demoMemory, faults) && makeApp(app, t, radio.device());
    }
};

// The file each program makes of its demonstration radio, read once.
QString demoFile(const Target &t)
{
    static QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("demo.") + t.suffix);
    if (QFile::exists(file))
        return file;
    RadiosimProcess radio;
    AppFolder app;
    if (!startRadio(radio, t, t.demoMemory) || !makeApp(app, t, radio.device()))
        return QString();
    return app.run({QStringLiteral("--read-radio"), file}).exitCode == 0 ? file : QString();
}

} // namespace

class TestCommandLineVerbs : public QObject
{
    Q_OBJECT

private slots:
    void helpListsEveryVerb_data() { addPrograms(); }
    void helpListsEveryVerb();
    void usage_data();
    void usage();
    void ownWords_data();
    void ownWords();
    void readRadioKeepsBackup_data() { addPrograms(); }
    void readRadioKeepsBackup();
    void readSurvivesUnwritableBackupFolder_data() { addPrograms(); }
    void readSurvivesUnwritableBackupFolder();
    void silentRadioFailsWithoutFile_data() { addPrograms(); }
    void silentRadioFailsWithoutFile();
    void cablePulledOut_data();
    void cablePulledOut();
    void busyPortNamesItsHolder_data() { addPrograms(); }
    void busyPortNamesItsHolder();
    void permissionNoticeForAnUnprivilegedUser_data() { addPrograms(); }
    void permissionNoticeForAnUnprivilegedUser();
    void writeRadioVerified_data() { addPrograms(); }
    void writeRadioVerified();
    void dumpPrintsChannelsAndSettings_data() { addPrograms(); }
    void dumpPrintsChannelsAndSettings();
    void dumpRefusesWhatIsNotAFile_data() { addPrograms(); }
    void dumpRefusesWhatIsNotAFile();
    void csvRoundTripAndDiff_data() { addPrograms(); }
    void csvRoundTripAndDiff();
    void importRefusals_data();
    void importRefusals();
    void listPorts_data() { addPrograms(); }
    void listPorts();
};

void TestCommandLineVerbs::helpListsEveryVerb()
{
    const Run r = runProgram(QStringLiteral(APP_DIR "/") + row().executable, {QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    for (const char *option : {"--read-radio <file>", "--write-radio <file>", "--dump <file>", "--export-csv <file>",
                               "--import-csv <file>", "--diff <file>", "--backups", "--port <", "--device <path>",
                               "--verify", "--verbose", "--list-ports", "--version"})
        QVERIFY2(r.out.contains(QLatin1String(option)), option);
}

// The command lines that do not read, with the same words from both programs; nothing is
// created where the program runs.
void TestCommandLineVerbs::usage_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    struct Case {
        const char *name;
        QStringList arguments;   // "F" stands for a file name of the program
        QString message;
    };
    const QString f = QStringLiteral("F");
    const QList<Case> cases{
        {"no verb", {QStringLiteral("--verify")},
         QStringLiteral("give one of --read-radio, --write-radio, --dump, --export-csv, --import-csv, --diff or --backups")},
        {"two verbs", {QStringLiteral("--dump"), f, QStringLiteral("--read-radio"), f}, QStringLiteral("give one of")},
        {"port and device",
         {QStringLiteral("--write-radio"), f, QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("--device"),
          QStringLiteral("/dev/null")},
         QStringLiteral("give either --port or --device, not both")},
        {"port with dump", {QStringLiteral("--dump"), f, QStringLiteral("--device"), QStringLiteral("/dev/null")},
         QStringLiteral("--port and --device go with --read-radio or --write-radio")},
        {"port with diff", {QStringLiteral("--diff"), f, f, QStringLiteral("--device"), QStringLiteral("/dev/null")},
         QStringLiteral("--port and --device go with --read-radio or --write-radio")},
        {"verify with read", {QStringLiteral("--read-radio"), f, QStringLiteral("--verify")},
         QStringLiteral("--verify goes with --write-radio")},
        {"diff of one file", {QStringLiteral("--diff"), f}, QStringLiteral("--diff needs two file names")},
        {"stray argument", {QStringLiteral("--read-radio"), f, QStringLiteral("extra")},
         QStringLiteral("unexpected argument 'extra'")},
        {"list and read", {QStringLiteral("--list-ports"), QStringLiteral("--read-radio"), f},
         QStringLiteral("--list-ports goes alone")},
        {"empty file name", {QStringLiteral("--read-radio"), QString()}, QStringLiteral("the file name is empty")},
        {"empty device", {QStringLiteral("--read-radio"), f, QStringLiteral("--device"), QString()},
         QStringLiteral("--device needs a path")},
        {"unknown option", {QStringLiteral("--frobnicate")}, QStringLiteral("Unknown option 'frobnicate'")},
    };
    for (const Target &t : targets())
        for (const Case &c : cases) {
            QStringList arguments = c.arguments;
            arguments.replaceInStrings(QRegularExpression(QStringLiteral("^F$")), QStringLiteral("x.") + t.suffix);
            QTest::newRow(qPrintable(t.executable + QLatin1Char(' ') + QLatin1String(c.name)))
                << t.executable << arguments << t.executable + QStringLiteral(": ") + c.message;
        }
}

void TestCommandLineVerbs::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Target &t = row();
    AppFolder app;
    QVERIFY(makeApp(app, t, QStringLiteral("/dev/null/none")));
    const QStringList before = QDir(app.dir()).entryList(QDir::Files);
    const Run r = app.run(arguments);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.startsWith(message), qPrintable(r.err));
    QVERIFY(r.err.endsWith(QStringLiteral("Try '%1 --help' for more information.\n").arg(t.executable)));
    QVERIFY(r.out.isEmpty());
    QCOMPARE(QDir(app.dir()).entryList(QDir::Files), before);
}

// What each program says in its own words: its version, its own options, the port names it
// takes, and the options the other program has and it has not.
void TestCommandLineVerbs::ownWords_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");   // expected in standard output (0) or standard error
    const QString k56 = QStringLiteral("x.k56"), sin = QStringLiteral("x.sin");
    const QString kvt560 = QStringLiteral("KVT560"), program = QStringLiteral("Program");
    QTest::newRow("KVT560 help") << kvt560 << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("--fast");
    QTest::newRow("KVT560 version") << kvt560 << QStringList{QStringLiteral("--version")} << 0 << QStringLiteral("KVT560 1.");
    QTest::newRow("KVT560 port 5") << kvt560
                                   << QStringList{QStringLiteral("--read-radio"), k56, QStringLiteral("--port"), QStringLiteral("5")}
                                   << 2 << QStringLiteral("--port needs a number from 1 to 4");
    QTest::newRow("KVT560 language") << kvt560
                                     << QStringList{QStringLiteral("--read-radio"), k56, QStringLiteral("--language"),
                                                    QStringLiteral("french")}
                                     << 2 << QStringLiteral("--language needs chinese, english or taiwan");
    QTest::newRow("Program help") << program << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("Serial port <COMn>");
    QTest::newRow("Program version") << program << QStringList{QStringLiteral("--version")} << 0 << QStringLiteral("KVT270 1.");
    QTest::newRow("Program port name") << program
                                       << QStringList{QStringLiteral("--read-radio"), sin, QStringLiteral("--port"), QStringLiteral("3")}
                                       << 2 << QStringLiteral("--port needs a port name such as COM3");
    QTest::newRow("Program has no --language") << program << QStringList{QStringLiteral("--language"), QStringLiteral("english")}
                                               << 2 << QStringLiteral("Unknown option 'language'");
    QTest::newRow("Program has no --fast") << program << QStringList{QStringLiteral("--read-radio"), sin, QStringLiteral("--fast")}
                                           << 2 << QStringLiteral("Unknown option 'fast'");
}

void TestCommandLineVerbs::ownWords()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    AppFolder app;
    QVERIFY(makeApp(app, row(), QStringLiteral("/dev/null/none")));
    const QStringList before = QDir(app.dir()).entryList(QDir::Files);
    const Run r = app.run(arguments);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? r.out : r.err).contains(output), qPrintable(r.out + r.err));
    QCOMPARE(QDir(app.dir()).entryList(QDir::Files), before);
}

// A read through the port of the ini file: the file, the progress on standard error, a
// backup of the memory and of the file, and --backups lists it.
void TestCommandLineVerbs::readRadioKeepsBackup()
{
    const Target &t = row();
    Bench bench;
    QVERIFY(bench.start(t));
    const AppFolder &app = bench.app;
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("radio.") + t.suffix);

    const Run r = app.run({QStringLiteral("--read-radio"), file, QStringLiteral("--verbose")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains(QRegularExpression(QStringLiteral("^[^\n]+: 0%$"), QRegularExpression::MultilineOption)),
             qPrintable(r.err));
    QVERIFY(r.err.contains(QRegularExpression(QStringLiteral(": 100%\n"))));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(file).fileName()});

    const QString backups = app.path(QStringLiteral("data/%1/backups").arg(t.executable));
    const QStringList memory = filesIn(backups, t.executable + QStringLiteral("-*.bin"));
    const QStringList files = filesIn(backups, t.executable + QStringLiteral("-*.") + t.suffix);
    QCOMPARE(memory.size(), 1);
    QCOMPARE(files.size(), 1);
    QVERIFY(QFileInfo(memory.first()).fileName().contains(QRegularExpression(
        QStringLiteral("^%1-\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d\\.bin$").arg(t.executable))));
    QCOMPARE(readFile(memory.first()).size(), readFile(t.demoMemory).size());
    QCOMPARE(readFile(files.first()), readFile(file));

    const Run list = app.run({QStringLiteral("--backups")});
    QCOMPARE(list.exitCode, 0);
    QCOMPARE(list.out, files.first() + QLatin1Char('\n'));
}

// A data folder below a plain file cannot be made, not even by root: the read still
// succeeds and says why there is no backup.
void TestCommandLineVerbs::readSurvivesUnwritableBackupFolder()
{
    const Target &t = row();
    Bench bench;
    QVERIFY(bench.start(t));
    AppFolder &app = bench.app;
    QVERIFY(writeFile(app.path(QStringLiteral("blocker")), "x"));
    app.dataHome = app.path(QStringLiteral("blocker/data"));
    const QString file = app.path(QStringLiteral("radio.") + t.suffix);

    const Run r = app.run({QStringLiteral("--read-radio"), file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("The backup of the read could not be written (")), qPrintable(r.err));
    QVERIFY(!readFile(file).isEmpty());
}

void TestCommandLineVerbs::silentRadioFailsWithoutFile()
{
    const Target &t = row();
    Bench bench;
    QVERIFY(bench.start(t, {QStringLiteral("--silent")}));
    QTemporaryDir out;

    const Run r = bench.app.run({QStringLiteral("--read-radio"), out.filePath(QStringLiteral("radio.") + t.suffix)});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(t.linkNotice + QLatin1Char('\n')), qPrintable(r.err));
    QVERIFY(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The radio's line closes in the middle of the transfer, as a cable pulled out: the link
// notice and the line about the device, well within two seconds, and no file.
void TestCommandLineVerbs::cablePulledOut_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("line");
    for (const Target &t : targets()) {
        QTest::newRow(qPrintable(t.executable + QStringLiteral(" read")))
            << t.executable << true << QStringLiteral("%1 went away during the transfer; nothing was changed.");
        QTest::newRow(qPrintable(t.executable + QStringLiteral(" write")))
            << t.executable << false << QStringLiteral("%1 went away during the transfer; the radio may be partly written.");
    }
}

void TestCommandLineVerbs::cablePulledOut()
{
    QFETCH(bool, reading);
    QFETCH(QString, line);
    const Target &t = row();
    const QString source = reading ? QString() : demoFile(t);
    QVERIFY(reading || !source.isEmpty());
    Bench bench;
    QVERIFY(bench.start(t, {QStringLiteral("--hang-up-at"), t.hangUpAt}));
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("radio.") + t.suffix);
    QElapsedTimer clock;
    clock.start();
    const Run r = bench.app.run({reading ? QStringLiteral("--read-radio") : QStringLiteral("--write-radio"),
                                 reading ? file : source});
    QVERIFY2(clock.elapsed() < t.hangUpWithinMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(t.linkNotice + QLatin1Char('\n') + line.arg(bench.radio.device()) + QLatin1Char('\n')),
             qPrintable(r.err));
    QVERIFY(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// A port another program holds: the notice names that program and its process, here in the
// Chinese words of the program's library.
void TestCommandLineVerbs::busyPortNamesItsHolder()
{
    const Target &t = row();
    PseudoTerminal pty;
    QVERIFY(!pty.path.isEmpty());
    PortHolder holder;
    QVERIFY(holder.hold(pty.path));
    AppFolder app;
    QVERIFY(app.make(t.executable, {t.chinese}, t.iniName, t.chineseIni.arg(pty.path).toUtf8()));
    const Run r = app.run({QStringLiteral("--read-radio"), app.path(QStringLiteral("radio.") + t.suffix)});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(t.busyLine.arg(pty.path).arg(holder.pid()) + QLatin1Char('\n')), qPrintable(r.err));
    QVERIFY(!QFile::exists(app.path(QStringLiteral("radio.") + t.suffix)));
}

// The open as it really fails for a user who may not use the device: the program runs as
// nobody (without groups) against a pseudo-terminal made like a cable's node, which only root
// and the group dialout may open.
void TestCommandLineVerbs::permissionNoticeForAnUnprivilegedUser()
{
    const QStringList asNobody = unprivilegedPrefix();
    if (asNobody.isEmpty())
        QSKIP("needs root and setpriv to run the program as an unprivileged user");
    const Target &t = row();
    PseudoTerminal pty;
    QVERIFY(!pty.path.isEmpty());
    QVERIFY(likeASerialCable(pty.path));
    AppFolder app;
    QVERIFY(makeApp(app, t, pty.path));
    QVERIFY(openToEveryone(app.dir()));

    const Run r = app.run({QStringLiteral("--read-radio"), app.path(QStringLiteral("radio.") + t.suffix)}, asNobody);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.startsWith(t.portNotice), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("%1 may be used only by members of the group dialout, and nobody is not one of "
                                           "them. Run: sudo usermod -aG dialout nobody, then log out and in again.\n")
                                .arg(pty.path)),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(app.path(QStringLiteral("radio.") + t.suffix)));
}

// A write checked by a read-back: a radio that stores what it gets passes; a radio that
// changes the first byte of channel 2's record after storing it fails the check, and the
// check names that channel and its block, once.
void TestCommandLineVerbs::writeRadioVerified()
{
    const Target &t = row();
    const QString file = demoFile(t);
    QVERIFY(!file.isEmpty());
    AppFolder app;
    QVERIFY(makeApp(app, t, QStringLiteral("/dev/null/none")));
    {
        RadiosimProcess radio;
        QVERIFY(startRadio(radio, t, t.demoMemory));
        const Run r = app.run({QStringLiteral("--write-radio"), file, QStringLiteral("--verify"), QStringLiteral("--device"),
                               radio.device()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY2(r.err.endsWith(QStringLiteral(": 100%\n")), qPrintable(r.err));
    }
    RadiosimProcess radio;
    QVERIFY(startRadio(radio, t, t.demoMemory, {QStringLiteral("--corrupt-write"), t.channel2Block}));
    const Run r = app.run({QStringLiteral("--write-radio"), file, QStringLiteral("--verify"), QStringLiteral("--device"),
                           radio.device()});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QRegularExpression(
                 QStringLiteral("\nThe radio does not hold what was written:\nChannel 2: [^\n]* in the file, [^\n]* in the "
                                "radio\n    block 0x%1\n")
                     .arg(t.channel2Block))),
             qPrintable(r.err));
    QCOMPARE(r.err.count(QStringLiteral("    block ")), 1);
}

// --dump: the head, the channel table under its header with every channel by its number,
// then the settings, each part aligned, an empty line between them.
void TestCommandLineVerbs::dumpPrintsChannelsAndSettings()
{
    const Target &t = row();
    const QString file = demoFile(t);
    QVERIFY(!file.isEmpty());
    AppFolder app;
    QVERIFY(makeApp(app, t, QStringLiteral("/dev/null/none")));
    const QByteArray before = readFile(file);

    const Run r = app.run({QStringLiteral("--dump"), file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(r.err, QString());
    QVERIFY(r.out.endsWith(QLatin1Char('\n')));
    const QStringList parts = r.out.chopped(1).split(QStringLiteral("\n\n"));
    QCOMPARE(parts.size(), 3);
    const QStringList head = parts.at(0).split(QLatin1Char('\n'));
    const QStringList channels = parts.at(1).split(QLatin1Char('\n'));
    const QStringList settings = parts.at(2).split(QLatin1Char('\n'));
    QVERIFY(!head.isEmpty());
    QCOMPARE(channels.size(), 1 + t.channels);
    for (int n = 1; n <= t.channels; ++n)
        QVERIFY2(channels.at(n).contains(QRegularExpression(QStringLiteral("^0*%1(  |$)").arg(n))),
                 qPrintable(channels.at(n)));
    // Channel 1 of the demonstration radio is programmed: its line holds more than its number.
    QVERIFY2(channels.at(1).contains(QRegularExpression(QStringLiteral("\\d{3}\\.\\d{5}"))), qPrintable(channels.at(1)));
    QVERIFY(settings.size() >= 10);
    for (const QString &line : settings)
        QVERIFY2(line.contains(QStringLiteral("  ")) && !line.endsWith(QLatin1Char(' ')), qPrintable(line));
    QCOMPARE(readFile(file), before);
}

void TestCommandLineVerbs::dumpRefusesWhatIsNotAFile()
{
    const Target &t = row();
    const QString suffix = t.suffix;
    AppFolder app;
    QVERIFY(makeApp(app, t, QStringLiteral("/dev/null/none")));
    for (const QByteArray &content : {QByteArray("notes\r\n"), QByteArray()}) {
        const QString file = app.path(QStringLiteral("notes.") + suffix);
        QVERIFY(writeFile(file, content));
        const Run r = app.run({QStringLiteral("--dump"), file});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("notes.") + suffix), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }
    const Run missing = app.run({QStringLiteral("--dump"), app.path(QStringLiteral("none.") + suffix)});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY2(missing.err.contains(QStringLiteral("none.") + suffix), qPrintable(missing.err));
}

// The channels out as CSV and into another file, which then differs from the first in just
// the channel changed on the way; a file compared with itself shows nothing.
void TestCommandLineVerbs::csvRoundTripAndDiff()
{
    const Target &t = row();
    const QString suffix = t.suffix;
    const QString demo = demoFile(t);
    QVERIFY(!demo.isEmpty());
    AppFolder app;
    QVERIFY(makeApp(app, t, QStringLiteral("/dev/null/none")));
    const QString a = QStringLiteral("a.") + suffix, b = QStringLiteral("b.") + suffix;
    QVERIFY(QFile::copy(demo, app.path(a)));
    QVERIFY(QFile::copy(demo, app.path(b)));

    const Run out = app.run({QStringLiteral("--export-csv"), a, QStringLiteral("ch.csv")});
    QVERIFY2(out.exitCode == 0, qPrintable(out.err));
    QStringList lines = QString::fromUtf8(readFile(app.path(QStringLiteral("ch.csv")))).split(QStringLiteral("\r\n"));
    QVERIFY(lines.first().startsWith(QStringLiteral("Location,Name,Frequency,")));
    QVERIFY(lines.size() > 2 && lines.at(1).startsWith(QStringLiteral("1,")));
    QStringList channel1 = lines.at(1).split(QLatin1Char(','));
    channel1[2] = QStringLiteral("441.250000");
    lines[1] = channel1.join(QLatin1Char(','));
    QVERIFY(writeFile(app.path(QStringLiteral("ch.csv")), lines.join(QStringLiteral("\r\n")).toUtf8()));

    const Run in = app.run({QStringLiteral("--import-csv"), QStringLiteral("ch.csv"), b});
    QVERIFY2(in.exitCode == 0, qPrintable(in.err));
    const Run same = app.run({QStringLiteral("--diff"), a, a});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(same.out, QString());
    const Run diff = app.run({QStringLiteral("--diff"), a, b});
    QCOMPARE(diff.exitCode, 1);
    QVERIFY2(diff.out.startsWith(QStringLiteral("Channel 1: receive frequency ")), qPrintable(diff.out));
    QVERIFY2(diff.out.contains(QStringLiteral("441.25000 in %1\n    block 0x").arg(b)), qPrintable(diff.out));
    for (const QString &line : diff.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QVERIFY2(line.startsWith(QStringLiteral("Channel 1: ")) || line.startsWith(QStringLiteral("    block ")),
                 qPrintable(line));
}

// A CSV file with a line the program refuses: the file and the line's reason, "Nothing was
// changed.", and the codeplug keeps every byte.
void TestCommandLineVerbs::importRefusals_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason");
    const QList<std::tuple<const char *, const char *, QString, QString>> rows{
        {"KVT560", "frequency outside the band", QStringLiteral("3,X,520.000000,,,,,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the receive frequency 520.000000 is outside 400-470 MHz and 136-174 MHz.")},
        {"KVT560", "unknown tone", QStringLiteral("3,X,440.000000,,,Tone,62.5,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the transmit CTCSS tone 62.5 is not in the tone list.")},
        {"KVT560", "channel 129", QStringLiteral("129,X,440.000000,,,,,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the location 129 is not a channel from 1 to 128.")},
        {"KVT560", "name character", QStringLiteral("3,A|B,440.000000,,,,,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the name \"A|B\" holds the character \"|\", which the radio cannot show.")},
        {"KVT560", "off the raster", QStringLiteral("3,X,440.001000,,,,,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the receive frequency 440.001000 is on neither the 5 kHz nor the 6.25 kHz raster.")},
        {"Program", "frequency outside the band", QStringLiteral("3,X,520.000000,,,,,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the receive frequency 520.000000 is outside 400-470 MHz.")},
        {"Program", "unknown tone", QStringLiteral("3,X,440.000000,,,Tone,62.5,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the transmit CTCSS tone 62.5 is not one the radio offers.")},
        {"Program", "channel 100", QStringLiteral("100,X,440.000000,,,,,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the location 100 is not a channel from 1 to 99.")},
        {"Program", "name character", QString::fromUtf8("3,Ωmega,440.000000,,,,,,,,,,FM,,,High"),
         QString::fromUtf8("Line 3: the name \"Ωmega\" holds the character \"Ω\", which the radio cannot hold.")},
        {"Program", "not a frequency", QStringLiteral("3,X,four,,,,,,,,,,FM,,,High"),
         QStringLiteral("Line 3: the frequency \"four\" is not a frequency in MHz.")},
        // Refused whole, not read in part.
        {"Program", "file too large",
         QStringLiteral("3,X,440.000000,,,,,,,,,,FM,,,High,") + QString(16 << 20, QLatin1Char('x')),
         QStringLiteral("The file is larger than 16 MB.")},
    };
    for (const auto &[executable, name, line, reason] : rows)
        QTest::newRow(qPrintable(QLatin1String(executable) + QLatin1Char(' ') + QLatin1String(name)))
            << QString::fromLatin1(executable) << line << reason;
}

void TestCommandLineVerbs::importRefusals()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    const Target &t = row();
    const QString demo = demoFile(t);
    QVERIFY(!demo.isEmpty());
    AppFolder app;
    QVERIFY(makeApp(app, t, QStringLiteral("/dev/null/none")));
    const QString file = QStringLiteral("c.") + t.suffix;
    QVERIFY(QFile::copy(demo, app.path(file)));
    const QByteArray before = readFile(app.path(file));
    const QString csv = QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                       "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power\r\n"
                                       "1,OK,440.000000,,,,,,,,,,FM,,,High\r\n")
                        + line + QStringLiteral("\r\n4,OK,441.000000,,,,,,,,,,FM,,,High\r\n");
    QVERIFY(writeFile(app.path(QStringLiteral("in.csv")), csv.toUtf8()));

    const Run r = app.run({QStringLiteral("--import-csv"), QStringLiteral("in.csv"), file});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("in.csv: ") + reason + QStringLiteral("\nNothing was changed.\n")),
             qPrintable(r.err.left(500)));
    QCOMPARE(readFile(app.path(file)), before);
}

// One line per device the system lists, with the port of the ini file that maps to it; none
// here means a note on standard error and still success.
void TestCommandLineVerbs::listPorts()
{
    const Target &t = row();
    AppFolder app;
    QVERIFY(makeApp(app, t, QStringLiteral("/dev/ttyS0")));
    const Run r = app.run({QStringLiteral("--list-ports")});
    QCOMPARE(r.exitCode, 0);
    const QList<SerialDevice> present = SerialPorts::systemListing();
    const QStringList expected = SerialPorts::listLines(present, {{1, QStringLiteral("/dev/ttyS0")}}, t.ports);
    QCOMPARE(r.out, expected.isEmpty() ? QString() : expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    if (present.isEmpty())
        QCOMPARE(r.err, QStringLiteral("No serial device is connected\n"));
}

REGISTER_TEST(TestCommandLineVerbs)
#include "tst_verbs.moc"
