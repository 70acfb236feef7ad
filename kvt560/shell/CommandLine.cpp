#include "shell/CommandLine.h"

#include "channels/ChannelTable.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/CsvChannels.h"
#include "codeplug/MemoryComparison.h"
#include "codeplug/ReadBackup.h"
#include "radiolink/Codeplug.h"
#include "radiolink/RadioTransfer.h"
#include "radiolink/SerialTransport.h"
#include "channels/ToneList.h"
#include "settings/SettingsStore.h"
#include "common/Backups.h"
#include "common/CheckedSave.h"
#include "common/Csv.h"
#include "common/ConsoleProgress.h"
#include "common/SerialPorts.h"
#include "shell/LanguageNames.h"
#include "settings/IniFile.h"
#include "shell/LanguageTexts.h"
#include "shell/PortTexts.h"
#include "shell/Preferences.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// A notice of the windows as a line of standard error: "caption: text".
void printNotice(const QString &caption, const QString &text)
{
    printError(caption.isEmpty() ? text : caption + QStringLiteral(": ") + text);
}

int usageError(const QString &text)
{
    printError(QStringLiteral("KVT560: %1").arg(text));
    printError(QStringLiteral("Try 'KVT560 --help' for more information."));
    return CommandLine::UsageError;
}

// Runs one transfer with the progress on standard error; the notice of a failure is printed.
// The memory a transfer saw: what a read brought, what a write sent and its blocks.
struct TransferMemory {
    QByteArray read;
    QByteArray written;
    MemoryBlocks blocksWritten;
};

// The link of every transfer of the run: --fast, and --verbose for what it learns.
struct LinkChoice {
    bool fast = false;
    bool verbose = false;
};
LinkChoice linkChoice;

RadioTransfer::Outcome transfer(SerialTransport &transport, const LanguageTexts &texts,
                                const PortProblemTexts &portTexts, int kind, Codeplug &codeplug,
                                quint8 firstChannel, TransferMemory *memory = nullptr)
{
    const bool reading = kind == RadioTransfer::ReadKind;
    ConsoleProgress progress(reading ? QStringLiteral("Reading radio") : QStringLiteral("Writing radio"),
                             reading ? RadioTransfer::ReadMaximum : RadioTransfer::WriteMaximum);
    RadioTransfer radio(transport, linkChoice.fast ? LinkTiming::fast() : LinkTiming::standard());
    radio.setMarks(texts.marks);
    if (linkChoice.verbose)
        QObject::connect(&radio, &RadioTransfer::linkNote, [](const QString &text) { printError(text); });
    QObject::connect(&radio, &RadioTransfer::progress, [&progress](int value) { progress.setValue(value); });
    const RadioTransfer::Outcome outcome = radio.run(kind, codeplug, firstChannel);
    progress.finish();
    if (memory)
        *memory = {radio.memoryRead(), radio.memoryWritten(), radio.blocksWritten()};
    if (outcome == RadioTransfer::Outcome::LinkError) {
        printNotice(texts.LinkErrorCaption, texts.LinkErrorText);
        if (transport.deviceLost())
            printError(portTexts.lost(transport.openedDevice(), kind == RadioTransfer::WriteKind));
    } else if (outcome == RadioTransfer::Outcome::PortError) {
        printNotice(texts.LinkErrorCaption, texts.PortErrorText);
        printError(portTexts.describe(transport.openProblem()));
    } else if (outcome == RadioTransfer::Outcome::Refused) {
        printError(radio.refusal());
    }
    for (const QString &c : radio.corrections())
        printError(c);
    return outcome;
}

// The serial device given with --device. A relative path that names a file in the working
// directory (a link to a device, say) is taken from there; anything else goes to the serial
// port as it stands, which reads a bare name such as "ttyUSB0" as /dev/ttyUSB0.
QString devicePath(const QString &value)
{
#ifndef Q_OS_WIN
    if (!value.isEmpty() && !QDir::isAbsolutePath(value) && QFileInfo::exists(value))
        return QFileInfo(value).absoluteFilePath();
#endif
    return value;
}

// --list-ports: the devices present, with the port entries of myini.ini that map to them.
int listPorts(const QString &applicationDir, const QString &languageName)
{
    const PreferencesPaths paths = PreferencesPaths::forDirectories(
        applicationDir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    int lang = Preferences::load(paths.readPath).lang;
    for (int l = 1; l <= 3; ++l)
        if (languageName == language::libraryName(l))
            lang = l;
    IniFile ini;
    ini.load(paths.readPath);
    const QList<SerialDevice> present = SerialPorts::available();
    const QStringList lines = SerialPorts::listLines(present, SerialTransport::portsOf(ini), SerialTransport::PortCount);
    for (const QString &line : lines)
        std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
    if (lines.isEmpty())
        printError(PortTexts::forLanguage(lang, applicationDir).noDevice);
    return CommandLine::Success;
}

const QString ProgramName = QStringLiteral("KVT560");

void printLine(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
}

// A codeplug file into the document as Open does; false with the message printed.
bool openCodeplug(const QString &file, CodeplugDocument &document)
{
    QString reason;
    const auto bytes = CodeplugFile::load(file, &reason);
    if (!bytes) {
        printError(CodeplugFile::loadFailedText(file, reason));
        return false;
    }
    const CodeplugReadResult result =
        CodeplugFile::read(*bytes, document.settings()->snapshot(), document.channels()->cells());
    if (result.status == CodeplugReadResult::NotACodeplug) {
        printError(QStringLiteral("The file \"%1\" is not a codeplug file: its first line is not \"%2\".")
                       .arg(QDir::toNativeSeparators(file), CodeplugFile::header()));
        return false;
    }
    if (result.status == CodeplugReadResult::BadValue) {
        printError(QStringLiteral("%1 (line %2)").arg(result.message).arg(result.line));
        return false;
    }
    document.applyFile(result.content);
    return true;
}

// Each difference on one line, its block on the next, indented.
void printDifferences(const QList<MemoryDifference> &differences, bool toStandardError)
{
    for (const MemoryDifference &d : differences) {
        const QString text = d.withDetail();
        if (toStandardError)
            printError(text);
        else
            printLine(text);
    }
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

int CommandLine::run(const QStringList &arguments, const QString &applicationDir)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads a KVT560 radio into a codeplug file, or writes a codeplug file into the radio, without "
        "opening a window. Without options the program starts its window."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption readOption(QStringLiteral("read-radio"),
                                        QStringLiteral("Read the radio and save it as the codeplug <file> (.k56)."),
                                        QStringLiteral("file"));
    const QCommandLineOption writeOption(QStringLiteral("write-radio"),
                                         QStringLiteral("Write the codeplug <file> (.k56) into the radio."),
                                         QStringLiteral("file"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Serial port COM<n>, 1 to 4 (default: the port saved in "
                                                       "myini.ini)."),
                                        QStringLiteral("n"));
    const QCommandLineOption deviceOption(QStringLiteral("device"),
                                          QStringLiteral("Serial device <path> to use instead of a port number."),
                                          QStringLiteral("path"));
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("Words written into the file and language of the notices: chinese, english or taiwan "
                       "(default: the language saved in myini.ini)."),
        QStringLiteral("name"));
    const QCommandLineOption fastOption(
        QStringLiteral("fast"),
        QStringLiteral("Fast link: end each wait as soon as the radio's reply is complete."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Report on standard error what the link learns on the way."));
    const QCommandLineOption listPortsOption(
        QStringLiteral("list-ports"),
        QStringLiteral("List the serial devices present, one a line: path, stable name, description, USB ids "
                       "and the port (COM1 to COM4) that maps to it."));
    const QCommandLineOption verifyOption(
        QStringLiteral("verify"),
        QStringLiteral("With --write-radio: read the written blocks back and list every difference."));
    const QCommandLineOption exportOption(
        QStringLiteral("export-csv"),
        QStringLiteral("Write the channels of the codeplug <file> (.k56) as CSV into the file named next."),
        QStringLiteral("file"));
    const QCommandLineOption importOption(
        QStringLiteral("import-csv"),
        QStringLiteral("Replace the channels of the codeplug file named next with the channels of the CSV <file>; "
                       "the settings stay. Nothing changes when a line is refused."),
        QStringLiteral("file"));
    const QCommandLineOption diffOption(
        QStringLiteral("diff"),
        QStringLiteral("Compare the codeplug <file> with the one named next; exit status 1 when they differ."),
        QStringLiteral("file"));
    const QCommandLineOption backupsOption(QStringLiteral("backups"),
                                           QStringLiteral("List the backups of radio reads, newest first."));
    parser.addOptions({readOption, writeOption, portOption, deviceOption, languageOption, verifyOption, exportOption,
                       importOption, diffOption, backupsOption, fastOption, verboseOption, listPortsOption});

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return Success;
    }
    if (parser.isSet(versionOption)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return Success;
    }
    const int commands = int(parser.isSet(readOption)) + int(parser.isSet(writeOption)) + int(parser.isSet(exportOption))
                         + int(parser.isSet(importOption)) + int(parser.isSet(diffOption))
                         + int(parser.isSet(backupsOption));
    if (parser.isSet(listPortsOption)) {
        if (commands != 0 || parser.isSet(portOption) || parser.isSet(deviceOption) || parser.isSet(verifyOption)
            || !parser.positionalArguments().isEmpty())
            return usageError(QStringLiteral("--list-ports goes alone"));
        return listPorts(applicationDir, parser.isSet(languageOption) ? parser.value(languageOption) : QString());
    }
    if (commands != 1)
        return usageError(QStringLiteral(
            "give one of --read-radio, --write-radio, --export-csv, --import-csv, --diff or --backups"));
    const QStringList positional = parser.positionalArguments();
    // The commands on two files take the second one as the argument after their own.
    const QCommandLineOption *twoFiles = parser.isSet(exportOption)   ? &exportOption
                                         : parser.isSet(importOption) ? &importOption
                                         : parser.isSet(diffOption)   ? &diffOption
                                                                      : nullptr;
    const bool radioCommand = parser.isSet(readOption) || parser.isSet(writeOption);
    if (twoFiles) {
        if (positional.size() != 1 || positional.constFirst().isEmpty() || parser.value(*twoFiles).isEmpty())
            return usageError(QStringLiteral("--%1 needs two file names").arg(twoFiles->names().constFirst()));
    } else if (!positional.isEmpty()) {
        return usageError(QStringLiteral("unexpected argument '%1'").arg(positional.constFirst()));
    }
    if (!radioCommand && (parser.isSet(portOption) || parser.isSet(deviceOption)))
        return usageError(QStringLiteral("--port and --device go with --read-radio or --write-radio"));
    if (parser.isSet(verifyOption) && !parser.isSet(writeOption))
        return usageError(QStringLiteral("--verify goes with --write-radio"));
    if (parser.isSet(portOption) && parser.isSet(deviceOption))
        return usageError(QStringLiteral("give either --port or --device, not both"));
    if (parser.isSet(backupsOption)) {
        for (const QString &path : Backups::list(ProgramName, CodeplugFile::suffix()))
            printLine(QDir::toNativeSeparators(path));
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? Success : Failure;
    }
    const bool reading = parser.isSet(readOption);
    const QString file = twoFiles ? parser.value(*twoFiles) : parser.value(reading ? readOption : writeOption);
    if (file.isEmpty())
        return usageError(QStringLiteral("the file name is empty"));

    const PreferencesPaths paths = PreferencesPaths::forDirectories(
        applicationDir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    const Preferences prefs = Preferences::load(paths.readPath);

    int portNumber = prefs.com >= 1 && prefs.com <= 4 ? prefs.com : 1;
    if (parser.isSet(portOption)) {
        bool ok = false;
        portNumber = parser.value(portOption).toInt(&ok);
        if (!ok || portNumber < 1 || portNumber > 4)
            return usageError(QStringLiteral("--port needs a number from 1 to 4"));
    }
    int lang = prefs.lang;
    if (parser.isSet(languageOption)) {
        lang = 0;
        for (int l = 1; l <= 3; ++l)
            if (parser.value(languageOption) == language::libraryName(l))
                lang = l;
        if (lang == 0)
            return usageError(QStringLiteral("--language needs chinese, english or taiwan"));
    }
    const LanguageTexts texts = LanguageTexts::forLanguage(lang, applicationDir);
    const PortProblemTexts portTexts = PortTexts::forLanguage(lang, applicationDir);
    ToneList::instance().setOffWord(texts.toneOffWord);

    // The codeplug of a main window just started, with the band lists of the preferences:
    // the Start settings, empty channels. Opening a file or reading the radio goes on from
    // here.
    const CodeplugFile::ItemText itemText = [&texts](const QString &name, int index) {
        return texts.itemText(name, index);
    };
    CodeplugDocument document;
    document.setBandLists(prefs.lists);
    if (!reading && !parser.isSet(importOption) && !openCodeplug(file, document))
        return Failure;

    if (parser.isSet(exportOption)) {
        const QString out = positional.constFirst();
        QString reason;
        if (!CheckedSave::writeFile(out, CsvChannels::exportText(document.channels()->cells(), ToneList::instance()).toUtf8(),
                                    &reason)) {
            printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(out), reason));
            return Failure;
        }
        return Success;
    }
    if (parser.isSet(importOption)) {
        const QString codeplugFile = positional.constFirst();
        QString text, readError;
        if (!Csv::readFile(file, &text, &readError)) {
            printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), readError));
            return Failure;
        }
        if (!openCodeplug(codeplugFile, document))
            return Failure;
        const CsvChannels::Import import =
            CsvChannels::importText(text,
                                    {document.selectedRange(Preferences::List1Rx), document.selectedRange(Preferences::List2Rx)},
                                    texts.marks, ToneList::instance());
        if (!import.ok()) {
            printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), import.error));
            printError(QStringLiteral("Nothing was changed."));
            return Failure;
        }
        Codeplug content = document.snapshot();
        content.channels = import.cells;
        QString reason;
        if (!CodeplugFile::save(codeplugFile, CodeplugFile::write(content, itemText), &reason)) {
            printError(CodeplugFile::saveFailedText(codeplugFile, reason));
            return Failure;
        }
        return Success;
    }
    if (parser.isSet(diffOption)) {
        CodeplugDocument second;
        second.setBandLists(prefs.lists);
        if (!openCodeplug(positional.constFirst(), second))
            return Failure;
        using MemoryLayout::encodeMemory;
        const MemoryLayout::MemoryImage a = encodeMemory(document.snapshot(), document.firstChannel(), texts.marks);
        const MemoryLayout::MemoryImage b = encodeMemory(second.snapshot(), second.firstChannel(), texts.marks);
        const QList<MemoryDifference> differences =
            compareMemory(a.bytes, b.bytes, a.blocks, QFileInfo(file).fileName(), QFileInfo(positional.constFirst()).fileName(),
                          texts.marks, itemText);
        printDifferences(differences, false);
        std::fflush(stdout);
        return differences.isEmpty() ? Success : Failure;
    }

    SerialTransport transport;
    transport.setIniPath(paths.readPath);
    transport.setPortNumber(portNumber);
    transport.setDeviceOverride(devicePath(parser.value(deviceOption)));
    transport.setCableMode(prefs.commode == Preferences::SingleHead ? SerialTransport::SingleHead
                                                                    : SerialTransport::DualHead);
    // The port is probed and opened as the read and write commands do before their dialog.
    if (!transport.ProbePort(portNumber) || !transport.open()) {
        printNotice(texts.LinkErrorCaption, texts.PortErrorText);
        printError(portTexts.describe(transport.openProblem()));
        return Failure;
    }

    // What the read/write dialog does as it is shown: the first channel of the active band,
    // and VFO mode when there is none.
    const quint8 first = document.prepareTransfer();
    Codeplug codeplug = document.snapshot();
    linkChoice = {parser.isSet(fastOption), parser.isSet(verboseOption)};
    TransferMemory memory;
    const RadioTransfer::Outcome outcome = transfer(transport, texts, portTexts, reading ? RadioTransfer::ReadKind : RadioTransfer::WriteKind,
                                                    codeplug, first, &memory);
    if (outcome != RadioTransfer::Outcome::Success) {
        transport.close();
        return Failure;
    }
    if (!reading) {
        if (!parser.isSet(verifyOption)) {
            transport.close();
            return Success;
        }
        // The written blocks read back from the radio and compared with what was sent.
        Codeplug readBack = codeplug;
        TransferMemory inRadio;
        const RadioTransfer::Outcome check =
            transfer(transport, texts, portTexts, RadioTransfer::ReadKind, readBack, first, &inRadio);
        transport.close();
        if (check != RadioTransfer::Outcome::Success)
            return Failure;
        const QList<MemoryDifference> differences =
            compareMemory(memory.written, inRadio.read, MemoryLayout::readBackBlocks(memory.blocksWritten), QStringLiteral("the file"),
                          QStringLiteral("the radio"), texts.marks, itemText);
        if (differences.isEmpty())
            return Success;
        printError(QStringLiteral("The radio does not hold what was written:"));
        printDifferences(differences, true);
        return Failure;
    }
    transport.close();

    // The file is written only now that the whole read arrived, through a temporary file
    // that replaces the target when complete.
    document.applyRead(codeplug);
    const QByteArray bytes = CodeplugFile::write(document.snapshot(), itemText);
    // First a copy of the read in the backups folder, so that the read survives even a file
    // that cannot be written; a backup that fails does not fail the read.
    QString backupError;
    if (!ReadBackup::write(memory.read, bytes, paths.readPath, &backupError))
        printError(ReadBackup::failureText(backupError));
    QString reason;
    if (!CodeplugFile::save(file, bytes, &reason)) {
        printError(CodeplugFile::saveFailedText(file, reason));
        return Failure;
    }
    return Success;
}
