// KVT560 run from the command line: the built executable as a separate process, without a
// display, against the simulated radio on a pseudo-terminal.
#include "../radiolink/RadioSimulator.h"
#include "SmallDisk.h"
#include "SerialFixtures.h"
#include "TestRegistry.h"
#include "radiolink/MemoryLayout.h"
#include "common/ConsoleProgress.h"
#include "common/SerialPorts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

const QString DemoMemory = QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt560-demo.bin");
// Channel records (16 bytes per channel from 0x0010) and aliases (8 bytes per channel from
// 0x0810) of the radio's memory.
constexpr int ChannelsStart = 0x0010, AliasesEnd = 0x0C10;

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program without any display: neither DISPLAY nor a platform plugin is set.
// The data folder of the runs (backups of reads go there), never the user's own.
QString testDataHome()
{
    static QTemporaryDir dir;
    return dir.path();
}

Run runProgram(const QString &program, const QStringList &arguments, int timeoutMs = 60000,
               const QString &workingDirectory = QString(), const QString &dataHome = QString())
{
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.isEmpty() ? testDataHome() : dataHome);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run r;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        r.err = QStringLiteral("timed out");
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QString kvt560()
{
    return QStringLiteral(APP_DIR "/KVT560");
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// An application folder of its own: the executable, the English library and a myini.ini.
bool makeApplicationFolder(const QTemporaryDir &dir, const QByteArray &ini)
{
    for (const char *name : {"KVT560", "english.dll", "chinese.dll"})
        if (!QFile::copy(QStringLiteral(APP_DIR "/") + QLatin1String(name), dir.filePath(QLatin1String(name))))
            return false;
    return QFile::setPermissions(dir.filePath(QStringLiteral("KVT560")),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
           && writeFile(dir.filePath(QStringLiteral("myini.ini")), ini);
}

// The channel table as a read of this memory fills it.
ChannelCells channelsOf(const QByteArray &memory)
{
    ChannelCells cells;
    const Marks marks = Marks::forLanguage(1);
    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        MemoryLayout::decodeChannel(memory.mid(MemoryLayout::channelAddress(n), MemoryLayout::RecordSize), cells, n,
                                    marks);
        cells.setColumn(10, n, MemoryLayout::decodeAlias(memory.mid(MemoryLayout::aliasAddress(n), 8)));
    }
    return cells;
}

} // namespace

class TestKvt560CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void readsRadioIntoFileWithPortAndLanguageOfIni();
    void writesFileIntoRadio();
    void strayValuesNamedAndUnwritableChannelRefused();
    void deviceRelativeToWorkingDirectory();
    void fastLinkLearnsTheRadiosGap();
    void silentRadioFailsWithoutFile();
    void readOntoAFullDiskFailsAndKeepsTheOldFile();
    void missingPortFailsWithoutFile();
    void permissionNoticeForAnUnprivilegedUser();
    void busyPortNamesItsHolder();
    void cablePulledOut_data();
    void cablePulledOut();
    void listPorts();
    void fileThatIsNotACodeplugIsNotWritten();
    void usage_data();
    void usage();
    void progressRewritesOneLineOnTerminal();
    void readLeavesBackupAndSurvivesUnwritableFolder();
    void verifyAfterWrite();
    void diffNamesChangedFields_data();
    void diffNamesChangedFields();
    void csvExportImportRoundTrip();
    void csvImportRefusals_data();
    void csvImportRefusals();
};

void TestKvt560CommandLine::readsRadioIntoFileWithPortAndLanguageOfIni()
{
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory}));
    QTemporaryDir app;
    QVERIFY(makeApplicationFolder(
        app, QStringLiteral("[open]\ncom=2\nlang=2\n[ports]\nCOM2=%1\n").arg(sim.device()).toUtf8()));
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("radio.k56"));

    const Run r = runProgram(app.filePath(QStringLiteral("KVT560")), {QStringLiteral("--read-radio"), file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    // Plain progress lines on a pipe, ending at the full gauge.
    QVERIFY(r.err.contains(QStringLiteral("Reading radio: 0%\n")));
    QVERIFY(r.err.endsWith(QStringLiteral("Reading radio: 100%\n")));

    const QStringList lines = QString::fromLatin1(readFile(file)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 188);   // 187 lines, each ending in CR LF
    QCOMPARE(lines.at(0), QStringLiteral("KVT560 MEMORY CHANNEL"));
    // The radio's band limits and channels, in the English words of the ini's language.
    QCOMPARE(lines.at(3), QStringLiteral("BAND_Rx 400-470MHz"));
    QCOMPARE(lines.at(59), QStringLiteral("CH001 | 430.00000 | 63.0 | 430.00000 | D017N | High | Wide | ON | OFF "
                                          "| OFF | UHF 01 | ON | OFF | OFF | 1 | 52 | Comp | OFF | "));
    // Nothing but the file is left in its folder.
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("radio.k56")});
}

void TestKvt560CommandLine::writesFileIntoRadio()
{
    // A file read from the demonstration radio is written into a radio whose channels and
    // aliases are blank; afterwards that radio holds the demonstration channels.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("demo.k56"));
    {
        RadioSimulator source;
        QVERIFY(source.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory}));
        const Run r = runProgram(kvt560(), {QStringLiteral("--read-radio"), file, QStringLiteral("--device"),
                                            source.device(), QStringLiteral("--language"), QStringLiteral("chinese"),
                                            QStringLiteral("--fast")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    }
    const QByteArray demo = readFile(DemoMemory);
    QByteArray blank = demo;
    blank.replace(ChannelsStart, AliasesEnd - ChannelsStart, QByteArray(AliasesEnd - ChannelsStart, '\xFF'));
    const QString blankPath = dir.filePath(QStringLiteral("blank.bin"));
    const QString savedPath = dir.filePath(QStringLiteral("saved.bin"));
    QVERIFY(writeFile(blankPath, blank));

    RadioSimulator target;
    QVERIFY(target.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), blankPath,
                          QStringLiteral("--save"), savedPath}));
    const Run r = runProgram(kvt560(), {QStringLiteral("--write-radio"), file, QStringLiteral("--device"),
                                        target.device(), QStringLiteral("--fast")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.err.endsWith(QStringLiteral("Writing radio: 100%\n")));
    target.stop();

    // The radio now holds the channels of the demonstration radio, as the editor reads them
    // (a voice-mode value the editor shows as off is written back in its own form).
    const QByteArray saved = readFile(savedPath);
    QCOMPARE(saved.size(), demo.size());
    QCOMPARE(channelsOf(saved), channelsOf(demo));
    QVERIFY(channelsOf(saved) != channelsOf(blank));
}

// A radio holding a value it should not: the read names the channel and field on standard
// error and still succeeds; a file whose frequency has no form in memory is not written, and
// the radio keeps every byte.
void TestKvt560CommandLine::strayValuesNamedAndUnwritableChannelRefused()
{
    QTemporaryDir dir;
    QByteArray memory = readFile(DemoMemory);
    memory[0x0010 + 16 * 4 + 3] = char(0x50);   // channel 5, byte 3 of the receive frequency
    const QString memoryPath = dir.filePath(QStringLiteral("stray.bin"));
    const QString savedPath = dir.filePath(QStringLiteral("saved.bin"));
    QVERIFY(writeFile(memoryPath, memory));
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), memoryPath, QStringLiteral("--save"),
                       savedPath}));
    const QString file = dir.filePath(QStringLiteral("radio.k56"));
    Run r = runProgram(kvt560(), {QStringLiteral("--read-radio"), file, QStringLiteral("--device"), sim.device(),
                                  QStringLiteral("--language"), QStringLiteral("english")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("Channel 5: receive frequency stored as ")), qPrintable(r.err));

    QByteArray text = readFile(file);
    const qsizetype at = text.indexOf("CH012 | ") + 8;
    QVERIFY(at > 8);
    text.replace(at, 9, "43x.12500");
    QVERIFY(writeFile(file, text));
    r = runProgram(kvt560(), {QStringLiteral("--write-radio"), file, QStringLiteral("--device"), sim.device()});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Channel 12: the receive frequency \"43x.12500\"")), qPrintable(r.err));
    sim.stop();
    QCOMPARE(readFile(savedPath).toHex(), memory.toHex());
}

void TestKvt560CommandLine::deviceRelativeToWorkingDirectory()
{
    // --device with a link to the radio named relative to the working directory.
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory}));
    QTemporaryDir work;
    QVERIFY(QFile::link(sim.device(), work.filePath(QStringLiteral("radio-link"))));
    const QString file = work.filePath(QStringLiteral("radio.k56"));

    const Run r = runProgram(kvt560(),
                             {QStringLiteral("--read-radio"), file, QStringLiteral("--device"),
                              QStringLiteral("radio-link"), QStringLiteral("--language"), QStringLiteral("english"),
                              QStringLiteral("--fast")},
                             60000, work.path());
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(readFile(file).startsWith("KVT560 MEMORY CHANNEL\r\n"));
}

// A radio that needs 30 ms after each reply: the fast link learns the gap, says so with
// --verbose, and reads the same file as without a gap.
void TestKvt560CommandLine::fastLinkLearnsTheRadiosGap()
{
    QTemporaryDir out;
    QByteArray files[2];
    QString err;
    for (int gap : {0, 30}) {
        RadioSimulator sim;
        QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory,
                           QStringLiteral("--min-gap"), QString::number(gap)}));
        const QString file = out.filePath(QStringLiteral("gap%1.k56").arg(gap));
        const Run r = runProgram(kvt560(), {QStringLiteral("--read-radio"), file, QStringLiteral("--device"),
                                            sim.device(), QStringLiteral("--language"), QStringLiteral("english"),
                                            QStringLiteral("--fast"), QStringLiteral("--verbose")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.err.contains(QStringLiteral("fast link: no reply")), gap != 0);
        err = r.err;
        files[gap ? 1 : 0] = readFile(file);
    }
    QVERIFY(err.contains(QStringLiteral("ms after each reply from now on")));
    QVERIFY(files[0].startsWith("KVT560 MEMORY CHANNEL\r\n"));
    QCOMPARE(files[1], files[0]);
}

void TestKvt560CommandLine::silentRadioFailsWithoutFile()
{
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--silent")}));
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("radio.k56"));

    const Run r = runProgram(kvt560(), {QStringLiteral("--read-radio"), file, QStringLiteral("--device"),
                                        sim.device(), QStringLiteral("--language"), QStringLiteral("english"),
                                        QStringLiteral("--fast")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral(
                 "Communication error: Communication with the radio failed. Check the connection and try again.")),
             qPrintable(r.err));
    QVERIFY(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestKvt560CommandLine::readOntoAFullDiskFailsAndKeepsTheOldFile()
{
    SmallDisk disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.whyNot()));
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing")}));   // a blank radio: a file of some 12 KB
    const QByteArray old = "KVT560 MEMORY CHANNEL\r\nold\r\n";
    QVERIFY(disk.put(QStringLiteral("radio.k56"), old));
    QVERIFY(disk.fill(4096));

    const Run r = runProgram(kvt560(), {QStringLiteral("--read-radio"), disk.filePath(QStringLiteral("radio.k56")),
                                        QStringLiteral("--device"), sim.device(), QStringLiteral("--language"),
                                        QStringLiteral("english")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("radio.k56")) && r.err.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(r.err));
    QCOMPARE(readFile(disk.filePath(QStringLiteral("radio.k56"))), old);
    QCOMPARE(disk.files(), QStringList{QStringLiteral("radio.k56")});
}

void TestKvt560CommandLine::missingPortFailsWithoutFile()
{
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("radio.k56"));
    const Run r = runProgram(kvt560(), {QStringLiteral("--read-radio"), file, QStringLiteral("--device"),
                                        out.filePath(QStringLiteral("no-such-tty")), QStringLiteral("--language"),
                                        QStringLiteral("english")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Communication error: The serial port cannot be opened.")),
             qPrintable(r.err));
    // The second line: which device is not there.
    QVERIFY2(r.err.contains(out.filePath(QStringLiteral("no-such-tty")) + QStringLiteral(" is not there")),
             qPrintable(r.err));
    QVERIFY(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The open as it really fails for a user who may not use the device: the program runs as
// nobody (without groups) against a pseudo-terminal made like a cable's node, which only root
// and the group dialout may open.
void TestKvt560CommandLine::permissionNoticeForAnUnprivilegedUser()
{
    const QStringList asNobody = unprivilegedPrefix();
    if (asNobody.isEmpty())
        QSKIP("needs root and setpriv to run the program as an unprivileged user");
    PseudoTerminal pty;
    QVERIFY(!pty.path.isEmpty());
    QVERIFY(likeASerialCable(pty.path));
    QTemporaryDir app;
    QVERIFY(makeApplicationFolder(app, "[open]\ncom=1\n"));
    QVERIFY(openToEveryone(app.path()));

    const Run r = runProgram(asNobody.first(),
                             asNobody.mid(1) + QStringList{app.filePath(QStringLiteral("KVT560")), QStringLiteral("--read-radio"),
                                                           app.filePath(QStringLiteral("radio.k56")), QStringLiteral("--device"),
                                                           pty.path, QStringLiteral("--language"), QStringLiteral("english")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Communication error: The serial port cannot be opened.")), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("%1 may be used only by members of the group dialout, and nobody is not one of "
                                           "them. Run: sudo usermod -aG dialout nobody, then log out and in again.")
                                .arg(pty.path)),
             qPrintable(r.err));
}

void TestKvt560CommandLine::busyPortNamesItsHolder()
{
    PseudoTerminal pty;
    QVERIFY(!pty.path.isEmpty());
    PortHolder holder;
    QVERIFY(holder.hold(pty.path));
    QTemporaryDir out;
    const Run r = runProgram(kvt560(), {QStringLiteral("--write-radio"), QStringLiteral(SOURCE_DIR "/tests/kvt560/codeplug/data/start-settings.k56"),
                                        QStringLiteral("--device"), pty.path, QStringLiteral("--language"),
                                        QStringLiteral("chinese")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("%1 正被 holdport (PID %2) 占用。").arg(pty.path).arg(holder.pid())),
             qPrintable(r.err));
}

// The radio's line closes in the middle of the transfer, as a cable pulled out: the link
// notice and the line about the device, well within two seconds, and no file.
void TestKvt560CommandLine::cablePulledOut_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("line");
    QTest::newRow("read") << true << "%1 went away during the transfer; nothing was changed.";
    QTest::newRow("write") << false << "%1 went away during the transfer; the radio may be partly written.";
}

void TestKvt560CommandLine::cablePulledOut()
{
    QFETCH(bool, reading);
    QFETCH(QString, line);
    RadioSimulator sim;
    // The third block request is the alias of channel 1 on a read, the record of channel 2 on a write.
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory, QStringLiteral("--hang-up-at"),
                       QStringLiteral("3")}));
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("radio.k56"));
    const QString source = QStringLiteral(SOURCE_DIR "/tests/kvt560/codeplug/data/start-settings.k56");
    QElapsedTimer clock;
    clock.start();
    const Run r = runProgram(kvt560(), {reading ? QStringLiteral("--read-radio") : QStringLiteral("--write-radio"),
                                        reading ? file : source, QStringLiteral("--device"), sim.device(),
                                        QStringLiteral("--language"), QStringLiteral("english")});
    // Port reset, greeting, enter and two blocks take about 0.6 s before the line goes.
    QVERIFY2(clock.elapsed() < 2600, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral(
                 "Communication error: Communication with the radio failed. Check the connection and try again.\n")
                 + line.arg(sim.device())),
             qPrintable(r.err));
    QVERIFY(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// One line per device the system lists, with the port that maps to it; none here means a
// note on standard error and still success.
void TestKvt560CommandLine::listPorts()
{
    QTemporaryDir app;
    QVERIFY(makeApplicationFolder(app, "[open]\ncom=1\nlang=2\n[ports]\nCOM3=/dev/ttyS0\n"));
    const Run r = runProgram(app.filePath(QStringLiteral("KVT560")), {QStringLiteral("--list-ports")});
    QCOMPARE(r.exitCode, 0);
    const QList<SerialDevice> present = SerialPorts::systemListing();
    QStringList expected = SerialPorts::listLines(present, {{3, QStringLiteral("/dev/ttyS0")}}, 4);
    QCOMPARE(r.out, expected.isEmpty() ? QString() : expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    if (present.isEmpty())
        QCOMPARE(r.err, QStringLiteral("No serial device is connected\n"));
}

void TestKvt560CommandLine::fileThatIsNotACodeplugIsNotWritten()
{
    // The radio is never spoken to: its memory file stays as it was loaded.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("notes.k56"));
    QVERIFY(writeFile(file, "KVT560 memory channel\r\n"));
    const QString savedPath = dir.filePath(QStringLiteral("saved.bin"));
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory,
                       QStringLiteral("--save"), savedPath}));
    const Run r = runProgram(kvt560(), {QStringLiteral("--write-radio"), file, QStringLiteral("--device"),
                                        sim.device()});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains(QStringLiteral("is not a codeplug file")));
    QVERIFY(!r.err.contains(QStringLiteral("Writing radio")));
}

void TestKvt560CommandLine::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");   // expected in standard output (0) or standard error
    const QString f = QStringLiteral("x.k56");
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("--write-radio <file>");
    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0 << QStringLiteral("KVT560 1.");
    QTest::newRow("no command") << QStringList{QStringLiteral("--port"), QStringLiteral("1")} << 2
                                << QStringLiteral("give one of --read-radio, --write-radio, --export-csv, --import-csv, --diff or --backups");
    QTest::newRow("both commands") << QStringList{QStringLiteral("--read-radio"), f, QStringLiteral("--write-radio"), f}
                                   << 2 << QStringLiteral("give one of");
    QTest::newRow("port 5") << QStringList{QStringLiteral("--read-radio"), f, QStringLiteral("--port"), QStringLiteral("5")}
                            << 2 << QStringLiteral("--port needs a number from 1 to 4");
    QTest::newRow("port and device")
        << QStringList{QStringLiteral("--read-radio"), f, QStringLiteral("--port"), QStringLiteral("1"),
                       QStringLiteral("--device"), QStringLiteral("/dev/null")}
        << 2 << QStringLiteral("not both");
    QTest::newRow("language") << QStringList{QStringLiteral("--read-radio"), f, QStringLiteral("--language"),
                                             QStringLiteral("french")}
                              << 2 << QStringLiteral("--language needs chinese, english or taiwan");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--dump"), f} << 2
                                    << QStringLiteral("Unknown option 'dump'");
    QTest::newRow("list and read") << QStringList{QStringLiteral("--list-ports"), QStringLiteral("--read-radio"), f}
                                   << 2 << QStringLiteral("--list-ports goes alone");
    QTest::newRow("stray argument") << QStringList{QStringLiteral("--read-radio"), f, QStringLiteral("extra")} << 2
                                    << QStringLiteral("unexpected argument 'extra'");
}

void TestKvt560CommandLine::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QTemporaryDir dir;   // a file name given relative to here is never created
    const Run r = [&] {
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Run run = runProgram(kvt560(), arguments);
        QDir::setCurrent(cwd);
        return run;
    }();
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2((exitCode == 0 ? r.out : r.err).contains(output), qPrintable(r.out + r.err));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestKvt560CommandLine::progressRewritesOneLineOnTerminal()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    std::FILE *terminal = std::fopen(::ptsname(master), "w");
    QVERIFY(terminal);
    {
        ConsoleProgress progress(QStringLiteral("Reading radio"), 138, terminal);
        for (int v = 0; v <= 138; ++v)
            progress.setValue(v);
    }
    std::fclose(terminal);
    QByteArray shown;
    char buffer[4096];
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, int(n));
    ::close(master);
    // Every percentage once, each rewriting the line, and one line end at the finish.
    QCOMPARE(shown.count("\r"), 101 + 1);   // the terminal turns the final "\n" into "\r\n"
    QVERIFY(shown.contains("\rReading radio: 57%\033[K"));
    QVERIFY(shown.endsWith("\rReading radio: 100%\033[K\r\n"));
}

namespace {

// The codeplug file of the demonstration radio, read once for the tests that need one.
QString demoCodeplug()
{
    static QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("demo.k56"));
    if (!QFile::exists(file)) {
        RadioSimulator radio;
        if (!radio.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory}))
            return QString();
        const Run r = runProgram(kvt560(), {QStringLiteral("--read-radio"), file, QStringLiteral("--device"),
                                            radio.device(), QStringLiteral("--language"), QStringLiteral("english")});
        if (r.exitCode != 0)
            return QString();
    }
    return file;
}

// The demonstration codeplug with one line replaced (0-based line index).
QByteArray demoWithLine(int index, const QString &line)
{
    QStringList lines = QString::fromUtf8(readFile(demoCodeplug())).split(QStringLiteral("\r\n"));
    lines[index] = line;
    return lines.join(QStringLiteral("\r\n")).toUtf8();
}

QStringList filesIn(const QString &dir, const QString &pattern)
{
    QStringList paths;
    for (const QString &name : QDir(dir).entryList({pattern}, QDir::Files))
        paths << QDir(dir).filePath(name);
    return paths;
}

} // namespace

void TestKvt560CommandLine::readLeavesBackupAndSurvivesUnwritableFolder()
{
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory}));
    QTemporaryDir work;
    const QString data = work.filePath(QStringLiteral("data"));
    const QString file = work.filePath(QStringLiteral("radio.k56"));
    const QStringList read{QStringLiteral("--read-radio"), file, QStringLiteral("--device"), sim.device()};

    Run r = runProgram(kvt560(), read, 60000, QString(), data);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString backups = data + QStringLiteral("/KVT560/backups");
    const QStringList raw = filesIn(backups, QStringLiteral("KVT560-*.bin"));
    const QStringList k56 = filesIn(backups, QStringLiteral("KVT560-*.k56"));
    QCOMPARE(raw.size(), 1);
    QCOMPARE(k56.size(), 1);
    // The memory as it was read: channel records and aliases byte for byte.
    const QByteArray demo = readFile(DemoMemory);
    QCOMPARE(readFile(raw.first()).size(), 4096);
    QCOMPARE(readFile(raw.first()).mid(ChannelsStart, AliasesEnd - ChannelsStart).toHex(),
             demo.mid(ChannelsStart, AliasesEnd - ChannelsStart).toHex());
    QCOMPARE(readFile(k56.first()), readFile(file));
    const Run list = runProgram(kvt560(), {QStringLiteral("--backups")}, 60000, QString(), data);
    QCOMPARE(list.exitCode, 0);
    QCOMPARE(list.out, k56.first() + QLatin1Char('\n'));

    // A data folder below a plain file cannot be made, not even by root: the read still
    // succeeds and says why there is no backup.
    QFile::remove(file);
    QVERIFY(writeFile(work.filePath(QStringLiteral("blocker")), "x"));
    r = runProgram(kvt560(), read, 60000, QString(), work.filePath(QStringLiteral("blocker/data")));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("The backup of the read could not be written")), qPrintable(r.err));
    QVERIFY(QFile::exists(file));
}

void TestKvt560CommandLine::verifyAfterWrite()
{
    const QString file = demoCodeplug();
    QVERIFY(!file.isEmpty());
    {
        RadioSimulator radio;
        QVERIFY(radio.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory}));
        const Run r = runProgram(kvt560(), {QStringLiteral("--write-radio"), file, QStringLiteral("--verify"),
                                            QStringLiteral("--device"), radio.device()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    }
    // The radio inverts the first byte of channel 2's record after storing it; that channel
    // is the one difference.
    RadioSimulator radio;
    QVERIFY(radio.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory,
                         QStringLiteral("--corrupt-write"), QStringLiteral("0020")}));
    const Run r = runProgram(kvt560(), {QStringLiteral("--write-radio"), file, QStringLiteral("--verify"),
                                        QStringLiteral("--device"), radio.device()});
    QCOMPARE(r.exitCode, 1);
    // The changed byte leaves no decimal frequency: the radio's channel 2 reads as empty.
    QVERIFY2(r.err.contains(QStringLiteral("\nChannel 2: ")), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral(" in the file, ")) && r.err.contains(QStringLiteral(" in the radio\n    block 0x0020\n")),
             qPrintable(r.err));
    QCOMPARE(r.err.count(QStringLiteral("    block ")), 1);
}

void TestKvt560CommandLine::diffNamesChangedFields_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected");
    QTest::newRow("setting") << 12 << "Squelch " << "Squelch %1 %1"
                             << "Setting Squelch level: %1 / %2\n    block 0x0C80";
    QTest::newRow("receive frequency") << 60 << "CH002 | " << "CH002 | 431.00000"
                                       << "Channel 2: receive frequency %1 in a.k56, 431.00000 in b.k56\n    block 0x0020";
    QTest::newRow("alias") << 59 << "| UHF 01 |" << "| NEW |"
                           << "Channel 1: name UHF 01 in a.k56, NEW in b.k56\n    block 0x0810";
}

void TestKvt560CommandLine::diffNamesChangedFields()
{
    QFETCH(int, line);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QByteArray a = readFile(demoCodeplug());
    QVERIFY(!a.isEmpty());
    const QStringList lines = QString::fromUtf8(a).split(QStringLiteral("\r\n"));
    QString changed = lines.at(line);
    QString old;
    if (from.endsWith(QLatin1Char(' ')) && !from.startsWith(QLatin1Char('|'))) {
        // The value after the key (a setting) or the first field (a channel).
        const int start = changed.indexOf(from) + from.size();
        const int end = changed.indexOf(QLatin1Char(' '), start);
        old = changed.mid(start, end - start);
        if (to.contains(QLatin1String("%1"))) {
            // Another squelch level than the file's.
            const QString level = QString::number((old.toInt() + 1) % 10);
            changed = to.arg(level);
            expected = expected.arg(old, level);
        } else {
            changed = to + changed.mid(end);
        }
    } else {
        changed.replace(from, to);
    }
    QVERIFY(writeFile(dir.filePath(QStringLiteral("a.k56")), a));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("b.k56")), demoWithLine(line, changed)));

    const Run same = runProgram(kvt560(), {QStringLiteral("--diff"), QStringLiteral("a.k56"), QStringLiteral("a.k56")},
                                60000, dir.path());
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(same.out, QString());
    const Run r = runProgram(kvt560(), {QStringLiteral("--diff"), QStringLiteral("a.k56"), QStringLiteral("b.k56")},
                             60000, dir.path());
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, (expected.contains(QLatin1String("%1")) ? expected.arg(old) : expected) + QLatin1Char('\n'));
}

void TestKvt560CommandLine::csvExportImportRoundTrip()
{
    QTemporaryDir dir;
    const QString full = demoCodeplug();
    QVERIFY(!full.isEmpty());
    QVERIFY(QFile::copy(full, dir.filePath(QStringLiteral("full.k56"))));
    const Run out = runProgram(kvt560(), {QStringLiteral("--export-csv"), QStringLiteral("full.k56"),
                                          QStringLiteral("ch.csv")}, 60000, dir.path());
    QVERIFY2(out.exitCode == 0, qPrintable(out.err));
    const QByteArray csv = readFile(dir.filePath(QStringLiteral("ch.csv")));
    QVERIFY(csv.startsWith("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                           "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,"
                           "BusyLock,DTMF,PTTID,SquelchTail,VOX,VoiceMode,ShowName\r\n"));
    QCOMPARE(csv.count("\r\n"), 129);

    // Into a codeplug whose channel 2 differs and whose squelch is another: the channels
    // become those of the export, the setting stays.
    QStringList lines = QString::fromUtf8(readFile(full)).split(QStringLiteral("\r\n"));
    const int level = (lines.at(12).mid(8, 1).toInt() + 1) % 10;
    lines[12] = QStringLiteral("Squelch %1 %1").arg(level);
    lines[60] = QStringLiteral("CH002 | 431.00000") + lines.at(60).mid(lines.at(60).indexOf(QLatin1String(" | "), 8));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("other.k56")), lines.join(QStringLiteral("\r\n")).toUtf8()));
    const Run in = runProgram(kvt560(), {QStringLiteral("--import-csv"), QStringLiteral("ch.csv"),
                                         QStringLiteral("other.k56")}, 60000, dir.path());
    QVERIFY2(in.exitCode == 0, qPrintable(in.err));
    const Run diff = runProgram(kvt560(), {QStringLiteral("--diff"), QStringLiteral("full.k56"),
                                           QStringLiteral("other.k56")}, 60000, dir.path());
    QCOMPARE(diff.out, QStringLiteral("Setting Squelch level: %1 / %2\n    block 0x0C80\n")
                           .arg(QString::fromUtf8(readFile(full)).split(QStringLiteral("\r\n")).at(12).mid(8, 1))
                           .arg(level));
}

void TestKvt560CommandLine::csvImportRefusals_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("frequency outside the band") << "3,X,520.000000,,,,,,,,,,FM,,,High"
                                                << "Line 3: the receive frequency 520.000000 is outside 400-470 MHz and 136-174 MHz.";
    QTest::newRow("unknown tone") << "3,X,440.000000,,,Tone,62.5,,,,,,FM,,,High"
                                  << "Line 3: the transmit CTCSS tone 62.5 is not in the tone list.";
    QTest::newRow("channel 129") << "129,X,440.000000,,,,,,,,,,FM,,,High"
                                 << "Line 3: the location 129 is not a channel from 1 to 128.";
    QTest::newRow("name character") << "3,A|B,440.000000,,,,,,,,,,FM,,,High"
                                    << "Line 3: the name \"A|B\" holds the character \"|\", which the radio cannot show.";
    QTest::newRow("off the raster") << "3,X,440.001000,,,,,,,,,,FM,,,High"
                                    << "Line 3: the receive frequency 440.001000 is on neither the 5 kHz nor the 6.25 kHz raster.";
}

void TestKvt560CommandLine::csvImportRefusals()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("c.k56"));
    QVERIFY(QFile::copy(demoCodeplug(), file));
    const QByteArray before = readFile(file);
    const QString csv = QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                       "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power\r\n"
                                       "1,OK,440.000000,,,,,,,,,,FM,,,High\r\n")
                        + line + QStringLiteral("\r\n4,OK,441.000000,,,,,,,,,,FM,,,High\r\n");
    QVERIFY(writeFile(dir.filePath(QStringLiteral("in.csv")), csv.toUtf8()));
    const Run r = runProgram(kvt560(), {QStringLiteral("--import-csv"), QStringLiteral("in.csv"), QStringLiteral("c.k56")},
                             60000, dir.path());
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(reason), qPrintable(r.err));
    QCOMPARE(readFile(file), before);
}

REGISTER_TEST(TestKvt560CommandLine)
#include "tst_kvt560cli.moc"
