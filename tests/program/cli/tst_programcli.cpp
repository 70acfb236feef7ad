// Program run from the command line: the built executable as a separate process, without a
// display, against the simulated KVT270 radio on a pseudo-terminal.
#include "RadiosimProcess.h"
#include "ProgramRun.h"
#include "SmallDisk.h"
#include "SerialFixtures.h"
#include "TestRegistry.h"
#include "model/RadioImage.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "model/SettingFields.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <unistd.h>

namespace {

// The image the helpers below build a file in.
ImageBytes fileImage;

QByteArray image()
{
    return toByteArray(fileImage);
}

ChannelTexts channel(const QString &rx, const QString &tx, const QString &rxTone, const QString &name)
{
    ChannelTexts t = newChannelTexts(rx);
    t.txFreq = tx;
    t.rxTone = rxTone;
    t.name = name;
    return t;
}

// A channel data file as the window saves it: a new image with a few channels.
QByteArray savedImage()
{
    NewImage(fileImage);
    StoreChannel(fileImage, 1, channel(QStringLiteral("430.12500"), QStringLiteral("435.12500"), QStringLiteral("67.0"),
                            QStringLiteral("RPT1")));
    StoreChannel(fileImage, 2, channel(QStringLiteral("446.00625"), QStringLiteral("446.00625"), QStringLiteral("D023N"),
                            QStringLiteral("PMR")));
    StoreChannel(fileImage, 99, channel(QStringLiteral("469.99000"), QStringLiteral("469.99000"), QStringLiteral("Off"),
                             QString()));
    WriteFixedFields(fileImage);
    fileImage[ImageMap::ModelIndex] = 0;
    fileImage[ImageMap::BandIndex] = 0;
    return image();
}

// An application folder of its own: the program, its English library, Program.ini mapping
// COM1 to `device`.
class ProgramFolder : public AppFolder
{
public:
    bool make(const QString &device)
    {
        return AppFolder::make(QStringLiteral("Program"), {QStringLiteral("Eng.dll")}, QStringLiteral("Program.ini"),
                               QStringLiteral("[Setup]\nLanguage=Eng\nCOM=COM1\n\n[Ports]\nCOM1=%1\n").arg(device).toUtf8());
    }
};

// A radio holding `memory`, saving what it holds at the end into `saved`.
bool startRadio(RadiosimProcess &radio, const QTemporaryDir &dir, const QByteArray &memory,
                const QStringList &faults = {})
{
    const QString memoryPath = dir.filePath(QStringLiteral("radio.bin"));
    return writeFile(memoryPath, memory)
           && radio.start(QStringLiteral("kvt270"), QStringList{QStringLiteral("--no-pacing"), QStringLiteral("--memory"),
                                                                memoryPath, QStringLiteral("--save"),
                                                                dir.filePath(QStringLiteral("after.bin"))}
                                                        + faults);
}

} // namespace

class TestProgramCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void readsRadioIntoFile();
    void writesFileAsTheWindowWould();
    void deviceGivenAsPath_data();
    void deviceGivenAsPath();
    void readOntoAFullDiskFailsAndKeepsTheOldFile();
    void missingPortFailsWithoutFile();
    void shortFileIsRefused();
    void dumpsFactoryDefaultFile();
    void diffNamesChangedFields_data();
    void diffNamesChangedFields();
    void csvExportImportRoundTrip();
};

void TestProgramCommandLine::readsRadioIntoFile()
{
    // The radio holds a file saved by the window; read back through the port of Program.ini,
    // the file is that image again.
    QTemporaryDir work;
    const QByteArray memory = savedImage();
    RadiosimProcess radio;
    QVERIFY(startRadio(radio, work, memory));
    ProgramFolder app;
    QVERIFY(app.make(radio.device()));
    const QString file = work.filePath(QStringLiteral("read.sin"));

    const Run r = app.run({QStringLiteral("--read-radio"), file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("Read Data: 0%\n")));
    QVERIFY(r.err.endsWith(QStringLiteral("Read Data: 100%\n")));
    QCOMPARE(readFile(file).toHex(), memory.toHex());
}

void TestProgramCommandLine::writesFileAsTheWindowWould()
{
    // A file whose bytes the window rewrites when it shows and stores the grid: a model byte
    // naming no model and the bytes at 0x1D10 that every store clears.
    QByteArray file = savedImage();
    file[ImageMap::ModelIndex] = char(9);
    file[ImageMap::ClearedOnStore] = char(0x55);
    QByteArray expected = file;
    expected[ImageMap::ModelIndex] = char(0);
    expected[ImageMap::ClearedOnStore] = char(0);

    QTemporaryDir work;
    const QString filePath = work.filePath(QStringLiteral("codeplug.sin"));
    QVERIFY(writeFile(filePath, file));
    const QByteArray before(int(RadioImageSize), char(0x33));
    RadiosimProcess radio;
    QVERIFY(startRadio(radio, work, before));
    ProgramFolder app;
    QVERIFY(app.make(QStringLiteral("/dev/null/none")));   // COM1 is not the radio: --device is

    const Run r = app.run({QStringLiteral("--write-radio"), filePath, QStringLiteral("--device"), radio.device()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.err.endsWith(QStringLiteral("Write Data: 100%\n")));
    radio.stop();

    const QByteArray after = readFile(work.filePath(QStringLiteral("after.bin")));
    QCOMPARE(after.size(), int(RadioImageSize));
    // Written: 0x0000-0x1D4F and 0x1FD0-0x1FEF; the rest of the radio keeps its bytes.
    QCOMPARE(after.left(0x1D50).toHex(), expected.left(0x1D50).toHex());
    QCOMPARE(after.mid(0x1FD0, 0x20).toHex(), expected.mid(0x1FD0, 0x20).toHex());
    QCOMPARE(after.mid(0x1D50, 0x1FD0 - 0x1D50), before.mid(0x1D50, 0x1FD0 - 0x1D50));
    QCOMPARE(after.mid(0x1FF0), before.mid(0x1FF0));
}

void TestProgramCommandLine::deviceGivenAsPath_data()
{
    QTest::addColumn<bool>("relative");
    QTest::newRow("link in the working directory") << true;
    QTest::newRow("absolute link outside /dev") << false;
}

void TestProgramCommandLine::deviceGivenAsPath()
{
    // --device takes any path to the device, as a shell user gives it: here a link to the
    // radio's pseudo-terminal in the program's working directory.
    QFETCH(bool, relative);
    QTemporaryDir work;
    const QByteArray memory = savedImage();
    RadiosimProcess radio;
    QVERIFY(startRadio(radio, work, memory));
    ProgramFolder app;
    QVERIFY(app.make(QStringLiteral("/dev/null/none")));
    QVERIFY(QFile::link(radio.device(), app.path(QStringLiteral("radio-link"))));
    const QString device = relative ? QStringLiteral("radio-link") : app.path(QStringLiteral("radio-link"));
    const QString file = work.filePath(QStringLiteral("read.sin"));

    const Run r = app.run({QStringLiteral("--read-radio"), file, QStringLiteral("--device"), device});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(readFile(file).toHex(), memory.toHex());
}

void TestProgramCommandLine::readOntoAFullDiskFailsAndKeepsTheOldFile()
{
    SmallDisk disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.whyNot()));
    QTemporaryDir work;
    RadiosimProcess radio;
    QVERIFY(startRadio(radio, work, savedImage()));
    ProgramFolder app;
    QVERIFY(app.make(radio.device()));
    const QByteArray old(8192, '\x5A');
    QVERIFY(disk.put(QStringLiteral("radio.sin"), old));
    QVERIFY(disk.fill(4096));   // room for half the image

    const Run r = app.run({QStringLiteral("--read-radio"), disk.filePath(QStringLiteral("radio.sin"))});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Could not save ")) && r.err.contains(QStringLiteral("radio.sin"))
                 && r.err.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(r.err));
    QCOMPARE(readFile(disk.filePath(QStringLiteral("radio.sin"))), old);
    QCOMPARE(disk.files(), QStringList{QStringLiteral("radio.sin")});
}

void TestProgramCommandLine::missingPortFailsWithoutFile()
{
    ProgramFolder app;
    QVERIFY(app.make(QStringLiteral("/dev/null/none")));
    QTemporaryDir out;
    for (const QStringList &port : {QStringList{}, QStringList{QStringLiteral("--port"), QStringLiteral("COM1")},
                                    QStringList{QStringLiteral("--device"), out.filePath(QStringLiteral("tty"))}}) {
        const Run r = app.run(QStringList{QStringLiteral("--read-radio"), out.filePath(QStringLiteral("read.sin"))}
                              + port);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith(QStringLiteral("Could not open the port\n")), qPrintable(r.err));
    }
    QVERIFY(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestProgramCommandLine::shortFileIsRefused()
{
    // Nothing reaches the radio from a file that is not a whole image.
    QTemporaryDir work;
    const QString file = work.filePath(QStringLiteral("short.sin"));
    QVERIFY(writeFile(file, savedImage().left(8191)));
    RadiosimProcess radio;
    const QByteArray before(int(RadioImageSize), char(0x33));
    QVERIFY(startRadio(radio, work, before));
    ProgramFolder app;
    QVERIFY(app.make(radio.device()));

    for (const char *command : {"--dump", "--write-radio"}) {
        const Run r = app.run({QLatin1String(command), file});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QDir::toNativeSeparators(file)), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }
    radio.stop();
    QCOMPARE(readFile(work.filePath(QStringLiteral("after.bin"))), before);
}

void TestProgramCommandLine::dumpsFactoryDefaultFile()
{
    ProgramFolder app;
    QVERIFY(app.make(QString()));
    const QString file = QStringLiteral(APP_DIR "/Default1.sin");
    const Run r = app.run({QStringLiteral("--dump"), file});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.err.isEmpty());

    const QStringList lines = r.out.split(QLatin1Char('\n'));
    QVERIFY(lines.size() > 104);
    QCOMPARE(lines.at(0), QStringLiteral("Model            KVT270U01"));
    QCOMPARE(lines.at(1), QStringLiteral("Frequency Range  400-470MHz"));
    QVERIFY(lines.at(3).startsWith(QStringLiteral("CH  Rx Freq    Tx Freq    Rx Tone  Tx Tone  Busy Lock")));
    // Channels 1 to 99 in the English words, each under its header, an empty channel as its
    // number alone.
    QCOMPARE(lines.at(4), QStringLiteral("1   400.12500  400.12500  Off      Off      Off        High   Add       Wide       CH1"));
    const int rxColumn = int(lines.at(3).indexOf(QStringLiteral("Rx Freq")));
    for (int n = 1; n <= 99; ++n) {
        const QString &line = lines.at(3 + n);
        QVERIFY2(line == QString::number(n) || line.startsWith(QString::number(n) + QLatin1Char(' ')), qPrintable(line));
        QVERIFY2(line.size() <= rxColumn || (line.at(rxColumn - 1) == QLatin1Char(' ') && line.at(rxColumn) != QLatin1Char(' ')),
                 qPrintable(line));
    }
    QCOMPARE(lines.at(103), QString());
    // Then the options, the PTT ID fields and the PCBA text, one per line.
    const QString settings = lines.mid(104).join(QLatin1Char('\n'));
    for (const char *label : {"Option  SQL ", "Option  Power-On Password", "PTT ID  PTT ID ", "PTT ID  Code", "PCBA    PCBA"})
        QVERIFY2(settings.contains(QLatin1String(label)), label);
}

namespace {

// A codeplug of every kind of channel: each tone pairing, duplex, power, scan, bandwidth,
// busy lock and name, on all 99 channels.
QByteArray fullImage()
{
    NewImage(fileImage);
    const QStringList tones{QStringLiteral("Off"), QStringLiteral("67.0"), QStringLiteral("254.1"),
                            QStringLiteral("D023N"), QStringLiteral("D754I"), QStringLiteral("100.0"),
                            QStringLiteral("D023I")};
    const QStringList busy{QStringLiteral("Off"), QStringLiteral("Carrier"), QStringLiteral("QDT")};
    for (int n = 1; n <= 99; ++n) {
        const std::uint32_t rx = 40000000 + std::uint32_t(n) * 62500 / 10 * 10;
        ChannelTexts t = newChannelTexts(frequencyText(rx - rx % 625));
        const int kind = n % 4;
        t.txFreq = kind == 0 ? t.rxFreq
                   : kind == 1 ? frequencyText(rx - rx % 625 + 500000)
                   : kind == 2 ? frequencyText(rx - rx % 625 + 2500)
                               : QString();
        t.rxTone = tones.at(n % tones.size());
        t.txTone = tones.at((n / tones.size()) % tones.size());
        t.busyLock = busy.at(n % 3);
        t.power = n % 2 ? QStringLiteral("High") : QStringLiteral("Low");
        t.scanAdd = n % 5 ? QStringLiteral("Add") : QStringLiteral("Del");
        t.bandwidth = n % 3 ? QStringLiteral("Wide") : QStringLiteral("Narrow");
        t.name = n % 6 ? QStringLiteral("CH%1").arg(n) : QStringLiteral("A b-%1").arg(n % 10);
        StoreChannel(fileImage, n, t);
    }
    WriteFixedFields(fileImage);
    fileImage[ImageMap::ModelIndex] = 0;
    fileImage[ImageMap::BandIndex] = 0;
    return image();
}

} // namespace

void TestProgramCommandLine::diffNamesChangedFields_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("line");
    QTest::newRow("receive frequency") << 0x0011 << 0x01 << "Channel 2: receive frequency 446.00625 in a.sin, 446.00125 in b.sin\n    block 0x0010";
    QTest::newRow("tone") << 0x0019 << 0xC0 << "Channel 2: receive tone D023N in a.sin, D023I in b.sin\n    block 0x0018";
    QTest::newRow("power") << 0x001C << 0x14 << "Channel 2: power High in a.sin, Low in b.sin\n    block 0x0018";
    QTest::newRow("name") << 0x0C98 << int('Q') << "Channel 2: name PMR in a.sin, QMR in b.sin\n    block 0x0C98";
    QTest::newRow("channel emptied") << 0x0623 << 0xFF << "Channel 99: 469.99000 in a.sin, empty in b.sin\n    block 0x0620";
    QTest::newRow("setting") << 0x1814 << 0x03 << "Setting SQL: 5 / 3\n    block 0x1810";
    QTest::newRow("carried byte") << 0x1000 << 0x12 << "Memory at 0x1000: 0xFF in a.sin, 0x12 in b.sin\n    block 0x1000";
}

void TestProgramCommandLine::diffNamesChangedFields()
{
    QFETCH(int, address);
    QFETCH(int, value);
    QFETCH(QString, line);
    ProgramFolder app;
    QVERIFY(app.make(QStringLiteral("/dev/null/none")));
    const QByteArray a = savedImage();
    QByteArray b = a;
    b[address] = char(value);
    QVERIFY(writeFile(app.path(QStringLiteral("a.sin")), a));
    QVERIFY(writeFile(app.path(QStringLiteral("b.sin")), b));

    const Run same = app.run({QStringLiteral("--diff"), QStringLiteral("a.sin"), QStringLiteral("a.sin")});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(same.out, QString());
    const Run r = app.run({QStringLiteral("--diff"), QStringLiteral("a.sin"), QStringLiteral("b.sin")});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, line + QLatin1Char('\n'));
}

void TestProgramCommandLine::csvExportImportRoundTrip()
{
    ProgramFolder app;
    QVERIFY(app.make(QStringLiteral("/dev/null/none")));
    const QByteArray full = fullImage();
    QVERIFY(writeFile(app.path(QStringLiteral("full.sin")), full));
    const Run out = app.run({QStringLiteral("--export-csv"), QStringLiteral("full.sin"), QStringLiteral("ch.csv")});
    QVERIFY2(out.exitCode == 0, qPrintable(out.err));
    const QByteArray csv = readFile(app.path(QStringLiteral("ch.csv")));
    QVERIFY(csv.startsWith("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                           "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,"
                           "BusyLock\r\n"));
    QCOMPARE(csv.count("\r\n"), 100);

    // Into a codeplug with other channels and other settings: the channels become those of
    // the export, the settings stay.
    NewImage(fileImage);
    StoreChannel(fileImage, 50, newChannelTexts(QStringLiteral("440.00000")));
    fileImage[0x1814] = 2;
    WriteFixedFields(fileImage);
    fileImage[ImageMap::ModelIndex] = 0;
    QByteArray other = image();
    QVERIFY(writeFile(app.path(QStringLiteral("other.sin")), other));
    const Run in = app.run({QStringLiteral("--import-csv"), QStringLiteral("ch.csv"), QStringLiteral("other.sin")});
    QVERIFY2(in.exitCode == 0, qPrintable(in.err));
    const QByteArray after = readFile(app.path(QStringLiteral("other.sin")));
    QCOMPARE(after.at(0x1814), char(2));
    const Run diff = app.run({QStringLiteral("--diff"), QStringLiteral("full.sin"), QStringLiteral("other.sin")});
    QCOMPARE(diff.out, QStringLiteral("Setting SQL: 5 / 2\n    block 0x1810\n"));
}

REGISTER_TEST(TestProgramCommandLine)
#include "tst_programcli.moc"
