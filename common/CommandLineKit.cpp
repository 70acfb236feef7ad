#include "common/CommandLineKit.h"

#include "common/Backups.h"
#include "common/CheckedSave.h"
#include "common/Csv.h"
#include "common/SerialPorts.h"
#include "common/VerifiedWrite.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace CommandLineKit {

namespace {

bool flushedOut()
{
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

} // namespace

bool wanted(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a.startsWith(QLatin1String("--")) || a == QLatin1String("-h") || a == QLatin1String("-v")
            || a == QLatin1String("-?"))
            return true;
    }
    return false;
}

std::optional<int> runIfWanted(int argc, char **argv, const QString &name, const QString &version,
                               const std::function<int(const QStringList &arguments)> &run)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!wanted(arguments))
        return std::nullopt;
    // No display is needed without windows.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(version);
    return run(arguments);
}

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

void printLine(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
}

int displayWidth(const QString &text)
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

QString printable(QString text)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    return text;
}

QStringList alignedTable(const QList<QStringList> &rows)
{
    QList<int> widths;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths.append(0);
            widths[c] = qMax(widths.at(c), displayWidth(row.at(c)));
        }
    QStringList lines;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c) {
            const QString &cell = row.at(c);
            line += cell;
            if (c + 1 < row.size())
                line += QString(qMax(0, widths.at(c) + 2 - displayWidth(cell)), QLatin1Char(' '));
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        lines.append(line);
    }
    return lines;
}

QString dumpText(const QList<QStringList> &head, const QList<QStringList> &channels,
                 const QList<QStringList> &settings)
{
    QStringList out = alignedTable(head);
    out << QString() << alignedTable(channels) << QString() << alignedTable(settings);
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString Radio::versionLine() const
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
}

QString Radio::ownUsageProblem(const QCommandLineParser &) const
{
    return QString();
}

int run(Radio &radio, const QStringList &arguments)
{
    const Words w = radio.words();
    auto usageError = [&w](const QString &text) {
        printError(QStringLiteral("%1: %2").arg(w.program, text));
        printError(QStringLiteral("Try '%1 --help' for more information.").arg(w.program));
        return UsageError;
    };

    QCommandLineParser parser;
    parser.setApplicationDescription(w.description);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QString file = QStringLiteral("file");
    const QCommandLineOption readOption(QStringLiteral("read-radio"),
                                        QStringLiteral("Read the radio and save it as the %1.").arg(w.file), file);
    const QCommandLineOption writeOption(QStringLiteral("write-radio"),
                                         QStringLiteral("Write the %1 into the radio.").arg(w.file), file);
    const QCommandLineOption dumpOption(QStringLiteral("dump"),
                                        QStringLiteral("Print the %1 of the %2 as text.").arg(w.dumpWhat, w.file), file);
    const QCommandLineOption portOption(QStringLiteral("port"), w.portHelp, w.portValue);
    const QCommandLineOption deviceOption(QStringLiteral("device"), w.deviceHelp, QStringLiteral("path"));
    const QCommandLineOption verifyOption(
        QStringLiteral("verify"),
        QStringLiteral("With --write-radio: read the written blocks back and list every difference."));
    const QCommandLineOption exportOption(
        QStringLiteral("export-csv"),
        QStringLiteral("Write the channels of the %1 as CSV into the file named next.").arg(w.file), file);
    const QCommandLineOption importOption(
        QStringLiteral("import-csv"),
        QStringLiteral("Replace the channels of the %1 named next with the channels of the CSV <file>; the %2 stay. "
                       "Nothing changes when a line is refused.")
            .arg(w.fileNamedNext, w.keeps),
        file);
    const QCommandLineOption diffOption(
        QStringLiteral("diff"),
        QStringLiteral("Compare the %1 with the one named next; exit status 1 when they differ.").arg(w.file), file);
    const QCommandLineOption backupsOption(QStringLiteral("backups"),
                                           QStringLiteral("List the backups of radio reads, newest first."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Report on standard error what the link learns on the way."));
    const QCommandLineOption listPortsOption(QStringLiteral("list-ports"), w.listPortsHelp);
    parser.addOptions({readOption, writeOption, dumpOption, portOption, deviceOption});
    parser.addOptions(radio.ownOptions());
    parser.addOptions({verifyOption, exportOption, importOption, diffOption, backupsOption, verboseOption,
                       listPortsOption});

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return flushedOut() ? Success : Failure;
    }
    if (parser.isSet(versionOption)) {
        printLine(radio.versionLine());
        return flushedOut() ? Success : Failure;
    }
    const QList<const QCommandLineOption *> verbs{&readOption,   &writeOption, &dumpOption,   &exportOption,
                                                  &importOption, &diffOption,  &backupsOption};
    int commands = 0;
    for (const QCommandLineOption *verb : verbs)
        commands += int(parser.isSet(*verb));
    const QStringList positional = parser.positionalArguments();
    const bool port = parser.isSet(portOption), device = parser.isSet(deviceOption);
    if (parser.isSet(listPortsOption)) {
        if (commands != 0 || port || device || parser.isSet(verifyOption) || !positional.isEmpty())
            return usageError(QStringLiteral("--list-ports goes alone"));
        const Radio::PortListing listing = radio.portListing(parser);
        const QStringList lines = SerialPorts::listLines(SerialPorts::available(), listing.mapped, listing.ports);
        for (const QString &line : lines)
            printLine(line);
        const bool written = flushedOut();
        if (lines.isEmpty())
            printError(listing.noDevice);
        return written ? Success : Failure;
    }
    if (commands != 1)
        return usageError(QStringLiteral(
            "give one of --read-radio, --write-radio, --dump, --export-csv, --import-csv, --diff or --backups"));
    // The verbs on two files take the second one as the argument after their own.
    const QCommandLineOption *twoFiles = parser.isSet(exportOption)   ? &exportOption
                                         : parser.isSet(importOption) ? &importOption
                                         : parser.isSet(diffOption)   ? &diffOption
                                                                      : nullptr;
    if (twoFiles) {
        if (positional.size() != 1 || positional.constFirst().isEmpty() || parser.value(*twoFiles).isEmpty())
            return usageError(QStringLiteral("--%1 needs two file names").arg(twoFiles->names().constFirst()));
    } else if (!positional.isEmpty()) {
        return usageError(QStringLiteral("unexpected argument '%1'").arg(positional.constFirst()));
    }
    const bool reading = parser.isSet(readOption), writing = parser.isSet(writeOption);
    if (!reading && !writing && (port || device))
        return usageError(QStringLiteral("--port and --device go with --read-radio or --write-radio"));
    if (parser.isSet(verifyOption) && !writing)
        return usageError(QStringLiteral("--verify goes with --write-radio"));
    if (port && device)
        return usageError(QStringLiteral("give either --port or --device, not both"));
    if (parser.isSet(backupsOption)) {
        for (const QString &path : Backups::list(w.program, w.suffix))
            printLine(QDir::toNativeSeparators(path));
        return flushedOut() ? Success : Failure;
    }
    const QCommandLineOption *verb = twoFiles ? twoFiles : reading ? &readOption : writing ? &writeOption : &dumpOption;
    const QString name = parser.value(*verb);
    if (name.isEmpty())
        return usageError(QStringLiteral("the file name is empty"));
    if (port) {
        const QString problem = radio.portProblem(parser.value(portOption));
        if (!problem.isEmpty())
            return usageError(problem);
    }
    if (device && parser.value(deviceOption).isEmpty())
        return usageError(QStringLiteral("--device needs a path"));
    const QString ownProblem = radio.ownUsageProblem(parser);
    if (!ownProblem.isEmpty())
        return usageError(ownProblem);

    const Request request{parser.value(portOption), parser.value(deviceOption), parser.isSet(verboseOption)};
    if (!radio.prepare(parser, request))
        return Failure;

    if (reading) {
        const std::optional<RadioRead> read = radio.readRadio();
        if (!read)
            return Failure;
        // First a copy of the read in the backups folder, so that the read survives even a
        // file that cannot be written; a backup that fails does not fail the read.
        QString backupError;
        if (!Backups::writeRead(w.program, read->memory, w.suffix, read->file, radio.backupKeepSetting(), &backupError))
            printError(Backups::readFailureText(backupError));
        return radio.saveRead(name, *read) ? Success : Failure;
    }
    if (writing) {
        if (!radio.openFile(name))
            return Failure;
        const VerifiedWrite::Result result =
            VerifiedWrite::run({[&radio] { return radio.writeRadio(); }, [&radio] { return radio.readBack(); },
                                [&radio](const QByteArray &inRadio) { return radio.compareWritten(inRadio); }},
                               parser.isSet(verifyOption));
        if (result.outcome == VerifiedWrite::Outcome::Differs) {
            printError(radio.notVerifiedHeading());
            for (const Difference &d : result.differences)
                printError(d.withDetail());
        }
        return result.ok() ? Success : Failure;
    }
    if (parser.isSet(dumpOption)) {
        if (!radio.openFile(name))
            return Failure;
        std::fputs(radio.describe().toLocal8Bit().constData(), stdout);
        return flushedOut() ? Success : Failure;
    }
    const QString second = positional.constFirst();
    if (parser.isSet(exportOption)) {
        if (!radio.openFile(name))
            return Failure;
        QString reason;
        if (!CheckedSave::writeFile(second, radio.exportCsv().toUtf8(), &reason)) {
            printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(second), reason));
            return Failure;
        }
        return Success;
    }
    if (parser.isSet(importOption)) {
        auto refuse = [&name](const QString &reason) {
            printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(name), reason));
            printError(QStringLiteral("Nothing was changed."));
            return Failure;
        };
        QString text, reason;
        if (!Csv::readFile(name, &text, &reason))
            return refuse(reason);
        if (!radio.openFile(second))
            return Failure;
        QString refusal;
        if (radio.importCsv(text, second, &refusal))
            return Success;
        return refusal.isEmpty() ? Failure : refuse(refusal);
    }
    // --diff
    const std::optional<QList<Difference>> differences = radio.diff(name, second);
    if (!differences)
        return Failure;
    for (const Difference &d : *differences)
        printLine(d.withDetail());
    if (!flushedOut())
        return Failure;
    return differences->isEmpty() ? Success : Failure;
}

} // namespace CommandLineKit
