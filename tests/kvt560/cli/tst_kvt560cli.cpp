// KVT560 run from the command line: the built executable as a separate process, without a
// display, against the simulated radio on a pseudo-terminal.
#include "../radiolink/RadioSimulator.h"
#include "ProgramRun.h"
#include "SmallDisk.h"
#include "SerialFixtures.h"
#include "TestRegistry.h"
#include "radiolink/MemoryLayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString DemoMemory = QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt560-demo.bin");
// Channel records (16 bytes per channel from 0x0010) and aliases (8 bytes per channel from
// 0x0810) of the radio's memory.
constexpr int ChannelsStart = 0x0010, AliasesEnd = 0x0C10;

QString kvt560()
{
    return QStringLiteral(APP_DIR "/KVT560");
}

// An application folder of its own: the executable, the English and Chinese libraries and a
// myini.ini.
bool makeApplicationFolder(AppFolder &app, const QByteArray &ini)
{
    return app.make(QStringLiteral("KVT560"), {QStringLiteral("english.dll"), QStringLiteral("chinese.dll")},
                    QStringLiteral("myini.ini"), ini);
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
    void readOntoAFullDiskFailsAndKeepsTheOldFile();
    void missingPortFailsWithoutFile();
    void fileThatIsNotACodeplugIsNotWritten();
    void diffNamesChangedFields_data();
    void diffNamesChangedFields();
    void csvExportImportRoundTrip();
    void dumpsChannelsAndSettings();
};

void TestKvt560CommandLine::readsRadioIntoFileWithPortAndLanguageOfIni()
{
    RadioSimulator sim;
    QVERIFY(sim.start({QStringLiteral("--no-pacing"), QStringLiteral("--memory"), DemoMemory}));
    AppFolder app;
    QVERIFY(makeApplicationFolder(
        app, QStringLiteral("[open]\ncom=2\nlang=2\n[ports]\nCOM2=%1\n").arg(sim.device()).toUtf8()));
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("radio.k56"));

    const Run r = app.run({QStringLiteral("--read-radio"), file});
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
                             {work.path()});
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

} // namespace

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
                                {dir.path()});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(same.out, QString());
    const Run r = runProgram(kvt560(), {QStringLiteral("--diff"), QStringLiteral("a.k56"), QStringLiteral("b.k56")},
                             {dir.path()});
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
                                          QStringLiteral("ch.csv")}, {dir.path()});
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
                                         QStringLiteral("other.k56")}, {dir.path()});
    QVERIFY2(in.exitCode == 0, qPrintable(in.err));
    const Run diff = runProgram(kvt560(), {QStringLiteral("--diff"), QStringLiteral("full.k56"),
                                           QStringLiteral("other.k56")}, {dir.path()});
    QCOMPARE(diff.out, QStringLiteral("Setting Squelch level: %1 / %2\n    block 0x0C80\n")
                           .arg(QString::fromUtf8(readFile(full)).split(QStringLiteral("\r\n")).at(12).mid(8, 1))
                           .arg(level));
}

// --dump in the words of the run's language: the band ranges, the channel table with its
// attributes under the table's headers, then each setting of the pages with its group.
void TestKvt560CommandLine::dumpsChannelsAndSettings()
{
    const QString file = demoCodeplug();
    QVERIFY(!file.isEmpty());
    AppFolder app;
    QVERIFY(makeApplicationFolder(app, "[open]\ncom=1\nlang=1\n"));
    for (const bool english : {false, true}) {
        const Run r = app.run(english ? QStringList{QStringLiteral("--dump"), file, QStringLiteral("--language"),
                                                    QStringLiteral("english")}
                                      : QStringList{QStringLiteral("--dump"), file});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QStringList lines = r.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.at(0), english ? QStringLiteral("Band 1 RX range  400-470MHz") : QStringLiteral("频段1 接收频段  400-470MHz"));
        QCOMPARE(lines.at(3), english ? QStringLiteral("Band 2 TX range  136-174MHz") : QStringLiteral("频段2 发射频段  136-174MHz"));
        QVERIFY(lines.at(5).startsWith(english ? QStringLiteral("CH   RX Freq    RX QT/DQT") : QStringLiteral("信道  接收频率   QT/DQT解码")));
        QCOMPARE(lines.at(6).simplified(), QStringLiteral("001 430.00000 63.0 430.00000 D017N High Wide ON OFF OFF UHF 01 ON "
                                                          "OFF OFF 1 52 Comp OFF"));
        QCOMPARE(lines.at(6 + 128), QString());
        // The squelch level of the file, under the caption of its page.
        const QString squelch = QString::fromUtf8(readFile(file)).split(QStringLiteral("\r\n")).at(12).section(QLatin1Char(' '), 1, 1);
        QVERIFY2(r.out.contains(QRegularExpression(
                     (english ? QStringLiteral("\nFunctions  Squelch level[^\n]*  %1\n") : QStringLiteral("\n功能选项  静噪等级\\(SQL\\) +%1\n"))
                         .arg(squelch))),
                 qPrintable(r.out.right(3000)));
        QVERIFY(r.out.contains(english ? QStringLiteral("\nFunctions  Power-on password") : QStringLiteral("\n功能选项  Power-on password")));
    }
}

REGISTER_TEST(TestKvt560CommandLine)
#include "tst_kvt560cli.moc"
