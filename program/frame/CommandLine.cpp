#include "frame/CommandLine.h"

#include "common/ConsoleProgress.h"
#include "base/Globals.h"
#include "base/ResourceLibrary.h"
#include "common/SerialPorts.h"
#include "frame/Startup.h"
#include "common/Backups.h"
#include "common/CheckedSave.h"
#include "common/Csv.h"
#include "files/CProgramDoc.h"
#include "files/CsvChannels.h"
#include "files/ReadBackup.h"
#include "model/GridRules.h"
#include "model/GridContents.h"
#include "model/ImageComparison.h"
#include "model/OptionLists.h"
#include "radiolink/PortDevice.h"
#include "radiolink/PortMessages.h"
#include "radiolink/RadioTransfer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace {

// The form's labels of the model and band selectors (dialog 101).
constexpr int ModelSelectorId = 1017;
constexpr int BandSelectorId = 1011;

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

int usageError(const QString &text)
{
    printError(QStringLiteral("Program: %1").arg(text));
    printError(QStringLiteral("Try 'Program --help' for more information."));
    return CommandLine::UsageError;
}

// A cell as one line of text: control characters (a name byte may hold any value) become "?".
QString printable(QString text)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    return text;
}

QString padded(const QString &text, int width)
{
    return text + QString(qMax(0, width - CommandLine::displayWidth(text)), QLatin1Char(' '));
}

// Lines of cells, each column as wide as its widest cell, two blanks between columns;
// trailing blanks are dropped.
QStringList alignedTable(const QList<QStringList> &rows)
{
    QList<int> widths;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths.append(0);
            widths[c] = qMax(widths.at(c), CommandLine::displayWidth(row.at(c)));
        }
    QStringList lines;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += padded(row.at(c), c + 1 < row.size() ? widths.at(c) + 2 : 0);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        lines.append(line);
    }
    return lines;
}

// The document as the window shows it: model and band, the channel grid, then every field of
// the Option, PTT ID and PCBA dialogs.
QString dumpText(const CProgramDoc &document)
{
    const GridContents &grid = document.contents();
    const ResourceLibrary &res = resources();
    QList<QStringList> head{
        {res.labelText(ResId::FormDialog, ModelSelectorId), grid.modelText()},
        {res.labelText(ResId::FormDialog, BandSelectorId), grid.bandText()},
    };
    QList<QStringList> channels{GridRules::headerTexts(LanguageIndex)};
    for (int n = 1; n <= grid.channels.size(); ++n) {
        QStringList row{GridRules::rowNumberText(n, LanguageIndex)};
        for (int c = ChannelTexts::FirstColumn; c <= ChannelTexts::LastColumn; ++c)
            row.append(printable(grid.channels.at(n - 1).text(c)));
        channels.append(row);
    }
    QList<QStringList> settings;
    for (const ShownSetting &s : shownSettings(document.RadioImage(), LanguageIndex))
        settings.append({s.dialog, s.label, printable(s.text)});

    QStringList out = alignedTable(head);
    out << QString() << alignedTable(channels) << QString() << alignedTable(settings);
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// One transfer of `image` in this thread with the progress on standard error; a failure
// prints the message of the windows and what went wrong. A read gives the image read.
bool transfer(bool read, const QString &portName, const QString &appDirectory, const QByteArray &image,
              QByteArray *readImage = nullptr)
{
    RadioTransfer radio(read, portName, image, appDirectory);
    ConsoleProgress progress(RadioTransfer::title(read, LanguageIndex), RadioTransfer::blockCount(read));
    QObject::connect(&radio, &RadioTransfer::portOpened, [&progress] { progress.setValue(0); });
    QObject::connect(&radio, &RadioTransfer::progress, [&progress](int position, int) { progress.setValue(position); });
    const RadioTransfer::Result result = radio.runHere();
    progress.finish();
    if (result == RadioTransfer::Success) {
        if (readImage)
            *readImage = radio.image();
        return true;
    }
    printError(transferFailureMessage(radio, LanguageIndex));
    if (!radio.detail().isEmpty())
        printError(QStringLiteral("(%1)").arg(radio.detail()));
    return false;
}

// --list-ports: the devices present, with the Port entries of Program.ini that map to them.
// The words are those of the resource library of Program.ini's language (English without one).
int listPorts(const QString &applicationDir)
{
    QString failText;
    loadLanguageSetup(applicationDir, &failText);
    const QList<SerialDevice> present = SerialPorts::available();
    const QStringList lines = SerialPorts::listLines(present, mappedPorts(applicationDir), PortCount);
    for (const QString &line : lines)
        std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
    if (lines.isEmpty())
        printError(portMessages().noDevice);
    return CommandLine::Success;
}

// The serial device given with --device: a path, absolute or from the working directory, which
// may be a link to a device lying anywhere; a bare name such as "ttyUSB0" that names no file in
// the working directory means /dev/ttyUSB0.
QString devicePath(const QString &value)
{
#ifdef Q_OS_WIN
    return value;
#else
    if (QDir::isAbsolutePath(value))
        return value;
    if (QFileInfo::exists(value) || value.contains(QLatin1Char('/')))
        return QFileInfo(value).absoluteFilePath();
    return QStringLiteral("/dev/") + value;
#endif
}


void printLine(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
}

// A channel data file into the document as Open does; false with the message printed.
bool openDocument(CProgramDoc &document, const QString &file)
{
    QString error;
    if (!document.openDocument(file, &error)) {
        printError(error);
        return false;
    }
    return true;
}

// Each difference on one line, its block on the next, indented.
void printDifferences(const QList<ImageDifference> &differences, bool toStandardError)
{
    for (const ImageDifference &d : differences) {
        const QString text = d.text + QStringLiteral("\n    ") + d.detail();
        if (toStandardError)
            printError(text);
        else
            printLine(text);
    }
}

int exportCsv(const QString &codeplug, const QString &out)
{
    CProgramDoc document;
    if (!openDocument(document, codeplug))
        return CommandLine::Failure;
    const QString text = CsvChannels::exportText(document.contents().channels);
    QString reason;
    if (!CheckedSave::writeFile(out, text.toUtf8(), &reason)) {
        printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(out), reason));
        return CommandLine::Failure;
    }
    return CommandLine::Success;
}

int importCsv(const QString &in, const QString &codeplug)
{
    QString text, reason;
    if (!Csv::readFile(in, &text, &reason)) {
        printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(in), reason));
        printError(QStringLiteral("Nothing was changed."));
        return CommandLine::Failure;
    }
    CProgramDoc document;
    if (!openDocument(document, codeplug))
        return CommandLine::Failure;
    std::uint32_t low = 0, high = 0;
    GridRules::parseBandText(document.bandText(), &low, &high);
    const CsvChannels::Import import = CsvChannels::importText(text, low, high);
    if (!import.ok()) {
        printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(in), import.error));
        printError(QStringLiteral("Nothing was changed."));
        return CommandLine::Failure;
    }
    // As Import channels does: the channels go into the image with the model and band.
    GridContents grid = document.contents();
    grid.channels = CsvChannels::replacedChannels(import.channels);
    document.editImage([&grid](ImageBytes &image) { gridContentsToImage(image, grid); });
    QString error;
    if (!document.saveDocument(codeplug, &error)) {
        printError(error);
        return CommandLine::Failure;
    }
    return CommandLine::Success;
}

int diffFiles(const QString &a, const QString &b)
{
    CProgramDoc first, second;
    if (!openDocument(first, a) || !openDocument(second, b))
        return CommandLine::Failure;
    const QList<ImageDifference> differences = compareImages(first.imageBytes(), second.imageBytes(),
                                                             QFileInfo(a).fileName(), QFileInfo(b).fileName());
    printDifferences(differences, false);
    std::fflush(stdout);
    return differences.isEmpty() ? CommandLine::Success : CommandLine::Failure;
}

int listBackups()
{
    for (const QString &path : Backups::list(QLatin1String(ReadBackup::ProgramName), QStringLiteral("sin")))
        printLine(QDir::toNativeSeparators(path));
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? CommandLine::Success : CommandLine::Failure;
}
} // namespace

bool CommandLine::wanted(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a.startsWith(QLatin1String("--")) || a == QLatin1String("-h") || a == QLatin1String("-v")
            || a == QLatin1String("-?"))
            return true;
    }
    return false;
}

int CommandLine::displayWidth(const QString &text)
{
    int width = 0;
    for (const uint c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F)
                          || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
                          || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
                          || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

int CommandLine::run(const QStringList &arguments, const QString &applicationDir)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads a KVT270 radio into a channel data file, writes a channel data file into the radio, or "
        "prints a file as text, without opening a window. Without options, or with only a file name, the "
        "program starts its window."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption readOption(QStringLiteral("read-radio"),
                                        QStringLiteral("Read the radio and save it as the channel data <file> (.sin)."),
                                        QStringLiteral("file"));
    const QCommandLineOption writeOption(QStringLiteral("write-radio"),
                                         QStringLiteral("Write the channel data <file> (.sin) into the radio."),
                                         QStringLiteral("file"));
    const QCommandLineOption dumpOption(QStringLiteral("dump"),
                                        QStringLiteral("Print the channels, options, PTT ID and PCBA text of the "
                                                       "channel data <file> (.sin) as text."),
                                        QStringLiteral("file"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Serial port <COMn> (default: the port saved in Program.ini)."),
                                        QStringLiteral("COMn"));
    const QCommandLineOption deviceOption(QStringLiteral("device"),
                                          QStringLiteral("Serial device <path> to use instead of a port name."),
                                          QStringLiteral("path"));
    const QCommandLineOption listPortsOption(
        QStringLiteral("list-ports"),
        QStringLiteral("List the serial devices present, one a line: path, stable name, description, USB ids "
                       "and the port (COM1 to COM8) that maps to it."));
    const QCommandLineOption verifyOption(
        QStringLiteral("verify"),
        QStringLiteral("With --write-radio: read the written blocks back and list every difference."));
    const QCommandLineOption exportOption(
        QStringLiteral("export-csv"),
        QStringLiteral("Write the channels of the channel data <file> (.sin) as CSV into the file named next."),
        QStringLiteral("file"));
    const QCommandLineOption importOption(
        QStringLiteral("import-csv"),
        QStringLiteral("Replace the channels of the channel data file named next with the channels of the CSV "
                       "<file>; the options stay. Nothing changes when a line is refused."),
        QStringLiteral("file"));
    const QCommandLineOption diffOption(
        QStringLiteral("diff"),
        QStringLiteral("Compare the channel data <file> with the one named next; exit status 1 when they differ."),
        QStringLiteral("file"));
    const QCommandLineOption backupsOption(QStringLiteral("backups"),
                                           QStringLiteral("List the backups of radio reads, newest first."));
    parser.addOptions({readOption, writeOption, dumpOption, portOption, deviceOption, verifyOption, exportOption,
                       importOption, diffOption, backupsOption, listPortsOption});

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return Success;
    }
    if (parser.isSet(versionOption)) {
        std::printf("%s\n", qPrintable(versionLine()));
        return Success;
    }
    const int commands = int(parser.isSet(readOption)) + int(parser.isSet(writeOption)) + int(parser.isSet(dumpOption))
                         + int(parser.isSet(exportOption)) + int(parser.isSet(importOption))
                         + int(parser.isSet(diffOption)) + int(parser.isSet(backupsOption));
    if (parser.isSet(listPortsOption)) {
        if (commands != 0 || parser.isSet(portOption) || parser.isSet(deviceOption) || parser.isSet(verifyOption)
            || !parser.positionalArguments().isEmpty())
            return usageError(QStringLiteral("--list-ports goes alone"));
        return listPorts(applicationDir);
    }
    if (commands != 1)
        return usageError(QStringLiteral(
            "give one of --read-radio, --write-radio, --dump, --export-csv, --import-csv, --diff or --backups"));
    const QStringList positional = parser.positionalArguments();
    // The commands on two files take the second one as the argument after their own.
    const QCommandLineOption *twoFiles = parser.isSet(exportOption)   ? &exportOption
                                         : parser.isSet(importOption) ? &importOption
                                         : parser.isSet(diffOption)   ? &diffOption
                                                                      : nullptr;
    if (twoFiles) {
        if (positional.size() != 1 || positional.constFirst().isEmpty() || parser.value(*twoFiles).isEmpty())
            return usageError(QStringLiteral("--%1 needs two file names").arg(twoFiles->names().constFirst()));
        if (parser.isSet(portOption) || parser.isSet(deviceOption) || parser.isSet(verifyOption))
            return usageError(QStringLiteral("--port, --device and --verify go with the radio commands"));
    } else if (!positional.isEmpty()) {
        return usageError(QStringLiteral("unexpected argument '%1'").arg(positional.constFirst()));
    }
    if (parser.isSet(verifyOption) && !parser.isSet(writeOption))
        return usageError(QStringLiteral("--verify goes with --write-radio"));
    if (parser.isSet(backupsOption)) {
        if (parser.isSet(portOption) || parser.isSet(deviceOption))
            return usageError(QStringLiteral("--port and --device go with --read-radio or --write-radio"));
        return listBackups();
    }
    const bool dump = parser.isSet(dumpOption);
    const bool read = parser.isSet(readOption);
    const QString file = twoFiles ? parser.value(*twoFiles) : parser.value(dump ? dumpOption : read ? readOption : writeOption);
    if (file.isEmpty())
        return usageError(QStringLiteral("the file name is empty"));
    if (parser.isSet(portOption) && parser.isSet(deviceOption))
        return usageError(QStringLiteral("give either --port or --device, not both"));
    if (dump && (parser.isSet(portOption) || parser.isSet(deviceOption)))
        return usageError(QStringLiteral("--port and --device go with --read-radio or --write-radio"));
    static const QRegularExpression comName(QStringLiteral("^COM[1-9][0-9]{0,2}$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (parser.isSet(portOption) && !comName.match(parser.value(portOption)).hasMatch())
        return usageError(QStringLiteral("--port needs a port name such as COM3"));
    if (parser.isSet(deviceOption) && parser.value(deviceOption).isEmpty())
        return usageError(QStringLiteral("--device needs a path"));

    // Start-up as the window has it: Program.ini, LanguageIndex, PortName, resource library.
    QString failText, detail;
    if (!loadLanguageSetup(applicationDir, &failText, &detail)) {
        printError(failText);
        if (!detail.isEmpty())
            printError(QStringLiteral("(%1)").arg(detail));
        return Failure;
    }
    if (parser.isSet(exportOption))
        return exportCsv(file, positional.constFirst());
    if (parser.isSet(importOption))
        return importCsv(file, positional.constFirst());
    if (parser.isSet(diffOption))
        return diffFiles(file, positional.constFirst());
    QString portName = PortName;
    if (parser.isSet(portOption))
        portName = parser.value(portOption);
    else if (parser.isSet(deviceOption))
        portName = devicePath(parser.value(deviceOption));

    // The document of start-up: a new image.
    CProgramDoc document;
    if ((dump || !read) && !openDocument(document, file))
        return Failure;
    if (dump) {
        std::fputs(dumpText(document).toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? Success : Failure;
    }

    // Read and Write store the values into the image before the transfer.
    const QByteArray sent = document.imageForWrite();
    QByteArray asRead;
    if (!transfer(read, portName, applicationDir, sent, read ? &asRead : nullptr))
        return Failure;
    if (!read) {
        if (!parser.isSet(verifyOption))
            return Success;
        // The radio read back and compared with what was sent.
        QByteArray inRadio;
        if (!transfer(true, portName, applicationDir, sent, &inRadio))
            return Failure;
        const QList<ImageDifference> differences = compareImages(
            sent, inRadio, writtenImageName(LanguageIndex), radioMemoryName(LanguageIndex), writtenRanges());
        if (differences.isEmpty())
            return Success;
        printError(notVerifiedHeading(LanguageIndex));
        printDifferences(differences, true);
        return Failure;
    }
    // The read becomes the document; Save stores its values and writes the file, through a
    // temporary file that replaces it only when complete.
    document.applyRead(asRead);
    document.storeValues();
    // First a copy of the read in the backups folder, so that the read survives even a file
    // that cannot be written; a backup that fails does not fail the read.
    QString backupError;
    if (!ReadBackup::write(asRead, document.imageBytes(), applicationDir, &backupError))
        printError(ReadBackup::failureText(backupError));
    QString error;
    if (!document.saveDocument(file, &error)) {
        printError(error);
        return Failure;
    }
    return Success;
}
