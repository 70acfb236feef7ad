#include "frame/CommandLine.h"

#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "common/CommandLineKit.h"
#include "common/ConsoleProgress.h"
#include "files/CProgramDoc.h"
#include "files/CsvChannels.h"
#include "files/ReadBackup.h"
#include "frame/Startup.h"
#include "model/GridContents.h"
#include "model/GridRules.h"
#include "model/ImageComparison.h"
#include "model/OptionLists.h"
#include "radiolink/PortDevice.h"
#include "radiolink/PortMessages.h"
#include "radiolink/RadioTransfer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using CommandLineKit::printError;

namespace {

// The form's labels of the model and band selectors (dialog 101).
constexpr int ModelSelectorId = 1017;
constexpr int BandSelectorId = 1011;

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

// The document as the window shows it: model and band, the channel grid, then every field of
// the Option, PTT ID and PCBA dialogs.
QString dumpText(const CProgramDoc &document)
{
    using CommandLineKit::printable;
    const GridContents &grid = document.contents();
    const ResourceLibrary &res = resources();
    const QList<QStringList> head{
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
    return CommandLineKit::dumpText(head, channels, settings);
}

// Program's radio for the command-line kit: Program.ini, LanguageIndex, PortName and the
// resource library as the window has them at start-up, the document, and transfers run in
// this thread.
class ProgramRadio : public CommandLineKit::Radio
{
public:
    explicit ProgramRadio(const QString &applicationDir) : m_applicationDir(applicationDir) {}

    CommandLineKit::Words words() const override
    {
        return {QLatin1String(ReadBackup::ProgramName),
                QStringLiteral("Reads a KVT270 radio into a channel data file, writes a channel data file into the "
                               "radio, or prints a file as text, without opening a window. Without options, or with "
                               "only a file name, the program starts its window."),
                QStringLiteral("channel data <file> (.sin)"),
                QStringLiteral("channel data file"),
                QStringLiteral("sin"),
                QStringLiteral("options"),
                QStringLiteral("channels, options, PTT ID and PCBA text"),
                QStringLiteral("COMn"),
                QStringLiteral("Serial port <COMn> (default: the port saved in Program.ini)."),
                QStringLiteral("Serial device <path> to use instead of a port name."),
                QStringLiteral("List the serial devices present, one a line: path, stable name, description, USB ids "
                               "and the port (COM1 to COM8) that maps to it.")};
    }

    QString versionLine() const override { return ::versionLine(); }

    QString portProblem(const QString &value) const override
    {
        static const QRegularExpression comName(QStringLiteral("^COM[1-9][0-9]{0,2}$"),
                                                QRegularExpression::CaseInsensitiveOption);
        return comName.match(value).hasMatch() ? QString() : QStringLiteral("--port needs a port name such as COM3");
    }

    // The words are those of the resource library of Program.ini's language (English without one).
    PortListing portListing(const QCommandLineParser &) override
    {
        QString failText;
        loadLanguageSetup(m_applicationDir, &failText);
        return {mappedPorts(m_applicationDir), PortCount, portMessages().noDevice};
    }

    // Start-up as the window has it: Program.ini, LanguageIndex, PortName, resource library.
    bool prepare(const QCommandLineParser &, const CommandLineKit::Request &request) override
    {
        QString failText, detail;
        if (!loadLanguageSetup(m_applicationDir, &failText, &detail)) {
            printError(failText);
            if (!detail.isEmpty())
                printError(QStringLiteral("(%1)").arg(detail));
            return false;
        }
        m_portName = !request.port.isEmpty()   ? request.port
                     : !request.device.isEmpty() ? devicePath(request.device)
                                                 : PortName;
        m_verbose = request.verbose;
        return true;
    }

    std::optional<CommandLineKit::RadioRead> readRadio() override
    {
        QByteArray asRead;
        if (!transfer(true, m_document.imageForWrite(), &asRead))
            return std::nullopt;
        // The read becomes the document; Save stores its values and writes the file.
        m_document.applyRead(asRead);
        m_document.storeValues();
        return CommandLineKit::RadioRead{asRead, m_document.imageBytes()};
    }

    bool saveRead(const QString &file, const CommandLineKit::RadioRead &) override
    {
        // Through a temporary file that replaces the old one only when complete.
        QString error;
        if (!m_document.saveDocument(file, &error)) {
            printError(error);
            return false;
        }
        return true;
    }

    QString backupKeepSetting() const override { return ReadBackup::keepSetting(m_applicationDir); }

    bool openFile(const QString &file) override { return openDocument(m_document, file); }

    bool writeRadio() override
    {
        // Write stores the values into the image before the transfer.
        m_sent = m_document.imageForWrite();
        return transfer(false, m_sent);
    }

    std::optional<QByteArray> readBack() override
    {
        QByteArray inRadio;
        if (!transfer(true, m_sent, &inRadio))
            return std::nullopt;
        return inRadio;
    }

    QList<Difference> compareWritten(const QByteArray &inRadio) override
    {
        return asDifferences(compareImages(m_sent, inRadio, writtenImageName(LanguageIndex),
                                           radioMemoryName(LanguageIndex), writtenRanges()));
    }

    QString notVerifiedHeading() const override { return ::notVerifiedHeading(LanguageIndex); }

    QString describe() override { return dumpText(m_document); }

    QString exportCsv() override { return CsvChannels::exportText(m_document.contents().channels); }

    bool importCsv(const QString &csvText, const QString &file, QString *refusal) override
    {
        std::uint32_t low = 0, high = 0;
        GridRules::parseBandText(m_document.bandText(), &low, &high);
        const CsvChannels::Import import = CsvChannels::importText(csvText, low, high);
        if (!import.ok()) {
            *refusal = import.error;
            return false;
        }
        // As Import channels does: the channels go into the image with the model and band.
        GridContents grid = m_document.contents();
        grid.channels = CsvChannels::replacedChannels(import.channels);
        m_document.editImage([&grid](ImageBytes &image) { gridContentsToImage(image, grid); });
        QString error;
        if (!m_document.saveDocument(file, &error)) {
            printError(error);
            return false;
        }
        return true;
    }

    std::optional<QList<Difference>> diff(const QString &first, const QString &second) override
    {
        CProgramDoc other;
        if (!openDocument(m_document, first) || !openDocument(other, second))
            return std::nullopt;
        return asDifferences(compareImages(m_document.imageBytes(), other.imageBytes(), QFileInfo(first).fileName(),
                                           QFileInfo(second).fileName()));
    }

private:
    // One transfer of `image` in this thread with the progress on standard error; a failure
    // prints the message of the windows and what went wrong. A read gives the image read.
    bool transfer(bool read, const QByteArray &image, QByteArray *readImage = nullptr)
    {
        RadioTransfer radio(read, m_portName, image, m_applicationDir);
        ConsoleProgress progress(RadioTransfer::title(read, LanguageIndex), RadioTransfer::blockCount(read));
        const bool verbose = m_verbose;
        QObject::connect(&radio, &RadioTransfer::portOpened, [&progress, &radio, verbose] {
            if (verbose)
                printError(QStringLiteral("%1: %2 opened").arg(radio.portName(), radio.device()));
            progress.setValue(0);
        });
        QObject::connect(&radio, &RadioTransfer::progress, [&progress](int position, int) { progress.setValue(position); });
        const RadioTransfer::Result result = radio.runHere();
        progress.finish();
        if (m_verbose)
            printError(QStringLiteral("%1 of %2 blocks acknowledged").arg(radio.blocksDone()).arg(RadioTransfer::blockCount(read)));
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

    const QString m_applicationDir;
    QString m_portName;
    bool m_verbose = false;
    // The document of start-up: a new image.
    CProgramDoc m_document;
    QByteArray m_sent;
};

} // namespace

int CommandLine::run(const QStringList &arguments, const QString &applicationDir)
{
    ProgramRadio radio(applicationDir);
    return CommandLineKit::run(radio, arguments);
}
