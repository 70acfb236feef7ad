#include "shell/CommandLine.h"

#include "channels/ChannelTable.h"
#include "channels/ToneList.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/CsvChannels.h"
#include "codeplug/MemoryComparison.h"
#include "codeplug/ReadBackup.h"
#include "common/CommandLineKit.h"
#include "common/ConsoleProgress.h"
#include "radiolink/Codeplug.h"
#include "radiolink/RadioTransfer.h"
#include "radiolink/SerialTransport.h"
#include "common/IniFile.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "shell/LanguageNames.h"
#include "shell/LanguageTexts.h"
#include "shell/PortTexts.h"
#include "shell/Preferences.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using CommandLineKit::printError;

namespace {

// A notice of the windows as a line of standard error: "caption: text".
void printNotice(const QString &caption, const QString &text)
{
    printError(caption.isEmpty() ? text : caption + QStringLiteral(": ") + text);
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

// The language 1-3 of a library name ("english"), 0 for none.
int languageNamed(const QString &name)
{
    for (int l = 1; l <= 3; ++l)
        if (name == language::libraryName(l))
            return l;
    return 0;
}

// KVT560's radio for the command-line kit: the preferences of myini.ini (read, never
// written), the language library of the run, the document of a main window just started, and
// the serial transport of the read and write commands.
class Kvt560Radio : public CommandLineKit::Radio
{
public:
    explicit Kvt560Radio(const QString &applicationDir)
        : m_applicationDir(applicationDir),
          m_paths(PreferencesPaths::forDirectories(applicationDir,
                                                   QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))),
          m_languageOption(QStringLiteral("language"),
                           QStringLiteral("Words written into the file and language of the notices: chinese, english or "
                                          "taiwan (default: the language saved in myini.ini)."),
                           QStringLiteral("name")),
          m_fastOption(QStringLiteral("fast"),
                       QStringLiteral("Fast link: end each wait as soon as the radio's reply is complete."))
    {
    }
    ~Kvt560Radio() override { m_transport.close(); }

    CommandLineKit::Words words() const override
    {
        return {QStringLiteral("KVT560"),
                QStringLiteral("Reads a KVT560 radio into a codeplug file, or writes a codeplug file into the radio, "
                               "without opening a window. Without options the program starts its window."),
                QStringLiteral("codeplug <file> (.k56)"),
                QStringLiteral("codeplug file"),
                CodeplugFile::suffix(),
                QStringLiteral("settings"),
                QStringLiteral("channels and settings"),
                QStringLiteral("n"),
                QStringLiteral("Serial port COM<n>, 1 to 4 (default: the port saved in myini.ini)."),
                QStringLiteral("Serial device <path> to use instead of a port number."),
                QStringLiteral("List the serial devices present, one a line: path, stable name, description, USB ids "
                               "and the port (COM1 to COM4) that maps to it.")};
    }

    QList<QCommandLineOption> ownOptions() const override { return {m_languageOption, m_fastOption}; }

    QString portProblem(const QString &value) const override
    {
        bool ok = false;
        const int n = value.toInt(&ok);
        return ok && n >= 1 && n <= SerialTransport::PortCount ? QString()
                                                               : QStringLiteral("--port needs a number from 1 to 4");
    }

    QString ownUsageProblem(const QCommandLineParser &parser) const override
    {
        if (parser.isSet(m_languageOption) && languageNamed(parser.value(m_languageOption)) == 0)
            return QStringLiteral("--language needs chinese, english or taiwan");
        return QString();
    }

    PortListing portListing(const QCommandLineParser &parser) override
    {
        int lang = Preferences::load(m_paths.readPath).lang;
        if (const int named = languageNamed(parser.value(m_languageOption)))
            lang = named;
        IniFile ini;
        ini.load(m_paths.readPath);
        return {SerialTransport::portsOf(ini), SerialTransport::PortCount,
                PortTexts::forLanguage(lang, m_applicationDir).noDevice};
    }

    bool prepare(const QCommandLineParser &parser, const CommandLineKit::Request &request) override
    {
        const Preferences prefs = Preferences::load(m_paths.readPath);
        m_portNumber = request.port.isEmpty() ? (prefs.com >= 1 && prefs.com <= 4 ? prefs.com : 1) : request.port.toInt();
        const int lang = parser.isSet(m_languageOption) ? languageNamed(parser.value(m_languageOption)) : prefs.lang;
        m_texts = LanguageTexts::forLanguage(lang, m_applicationDir);
        m_portTexts = PortTexts::forLanguage(lang, m_applicationDir);
        ToneList::instance().setOffWord(m_texts.toneOffWord);
        m_bandLists = prefs.lists;
        m_document.setBandLists(prefs.lists);
        m_cableMode = prefs.commode == Preferences::SingleHead ? SerialTransport::SingleHead : SerialTransport::DualHead;
        m_device = devicePath(request.device);
        m_fast = parser.isSet(m_fastOption);
        m_verbose = request.verbose;
        return true;
    }

    std::optional<CommandLineKit::RadioRead> readRadio() override
    {
        if (!openPort())
            return std::nullopt;
        // What the read/write dialog does as it is shown: the first channel of the active
        // band, and VFO mode when there is none.
        const quint8 first = m_document.prepareTransfer();
        Codeplug codeplug = m_document.snapshot();
        if (transfer(RadioTransfer::ReadKind, codeplug, first) != RadioTransfer::Outcome::Success)
            return std::nullopt;
        m_transport.close();
        // The file is made only now that the whole read arrived.
        m_document.applyRead(codeplug);
        return CommandLineKit::RadioRead{m_memory.read, CodeplugFile::write(m_document.snapshot(), itemText())};
    }

    bool saveRead(const QString &file, const CommandLineKit::RadioRead &read) override
    {
        QString reason;
        if (!CodeplugFile::save(file, read.file, &reason)) {
            printError(CodeplugFile::saveFailedText(file, reason));
            return false;
        }
        return true;
    }

    QString backupKeepSetting() const override
    {
        return ReadBackup::keepSetting(m_paths.readPath);
    }

    bool openFile(const QString &file) override { return openCodeplug(file, m_document); }

    bool writeRadio() override
    {
        if (!openPort())
            return false;
        m_first = m_document.prepareTransfer();
        m_sent = m_document.snapshot();
        Codeplug codeplug = m_sent;
        return transfer(RadioTransfer::WriteKind, codeplug, m_first) == RadioTransfer::Outcome::Success;
    }

    std::optional<QByteArray> readBack() override
    {
        const TransferMemory written = m_memory;
        Codeplug readBack = m_sent;
        const bool ok = transfer(RadioTransfer::ReadKind, readBack, m_first) == RadioTransfer::Outcome::Success;
        const QByteArray inRadio = m_memory.read;
        m_memory = written;
        if (!ok)
            return std::nullopt;
        return inRadio;
    }

    QList<Difference> compareWritten(const QByteArray &inRadio) override
    {
        return asDifferences(compareMemory(m_memory.written, inRadio, MemoryLayout::readBackBlocks(m_memory.blocksWritten),
                                           QStringLiteral("the file"), QStringLiteral("the radio"), m_texts.marks,
                                           itemText()));
    }

    QString notVerifiedHeading() const override { return QStringLiteral("The radio does not hold what was written:"); }

    QString describe() override { return dumpText(m_document); }

    QString exportCsv() override { return CsvChannels::exportText(m_document.channels()->cells(), ToneList::instance()); }

    bool importCsv(const QString &csvText, const QString &file, QString *refusal) override
    {
        const CsvChannels::Import import = CsvChannels::importText(
            csvText, {m_document.selectedRange(Preferences::List1Rx), m_document.selectedRange(Preferences::List2Rx)},
            m_texts.marks, ToneList::instance());
        if (!import.ok()) {
            *refusal = import.error;
            return false;
        }
        Codeplug content = m_document.snapshot();
        content.channels = import.cells;
        QString reason;
        if (!CodeplugFile::save(file, CodeplugFile::write(content, itemText()), &reason)) {
            printError(CodeplugFile::saveFailedText(file, reason));
            return false;
        }
        return true;
    }

    std::optional<QList<Difference>> diff(const QString &first, const QString &second) override
    {
        CodeplugDocument other;
        other.setBandLists(m_bandLists);
        if (!openCodeplug(first, m_document) || !openCodeplug(second, other))
            return std::nullopt;
        using MemoryLayout::encodeMemory;
        const MemoryLayout::MemoryImage a = encodeMemory(m_document.snapshot(), m_document.firstChannel(), m_texts.marks);
        const MemoryLayout::MemoryImage b = encodeMemory(other.snapshot(), other.firstChannel(), m_texts.marks);
        return asDifferences(compareMemory(a.bytes, b.bytes, a.blocks, QFileInfo(first).fileName(),
                                           QFileInfo(second).fileName(), m_texts.marks, itemText()));
    }

private:
    // The memory a transfer saw: what a read brought, what a write sent and its blocks.
    struct TransferMemory {
        QByteArray read;
        QByteArray written;
        MemoryBlocks blocksWritten;
    };

    CodeplugFile::ItemText itemText() const
    {
        const LanguageTexts *texts = &m_texts;
        return [texts](const QString &name, int index) { return texts->itemText(name, index); };
    }

    // The port is probed and opened as the read and write commands do before their dialog.
    bool openPort()
    {
        m_transport.setIniPath(m_paths.readPath);
        m_transport.setPortNumber(m_portNumber);
        m_transport.setDeviceOverride(m_device);
        m_transport.setCableMode(m_cableMode);
        if (!m_transport.ProbePort(m_portNumber) || !m_transport.open()) {
            printNotice(m_texts.LinkErrorCaption, m_texts.PortErrorText);
            printError(m_portTexts.describe(m_transport.openProblem()));
            return false;
        }
        return true;
    }

    // One transfer with the progress on standard error; the notice of a failure is printed.
    RadioTransfer::Outcome transfer(int kind, Codeplug &codeplug, quint8 firstChannel)
    {
        const bool reading = kind == RadioTransfer::ReadKind;
        ConsoleProgress progress(reading ? QStringLiteral("Reading radio") : QStringLiteral("Writing radio"),
                                 reading ? RadioTransfer::ReadMaximum : RadioTransfer::WriteMaximum);
        RadioTransfer radio(m_transport, m_fast ? LinkTiming::fast() : LinkTiming::standard());
        radio.setMarks(m_texts.marks);
        if (m_verbose)
            QObject::connect(&radio, &RadioTransfer::linkNote, [](const QString &text) { printError(text); });
        QObject::connect(&radio, &RadioTransfer::progress, [&progress](int value) { progress.setValue(value); });
        const RadioTransfer::Outcome outcome = radio.run(kind, codeplug, firstChannel);
        progress.finish();
        m_memory = {radio.memoryRead(), radio.memoryWritten(), radio.blocksWritten()};
        if (outcome == RadioTransfer::Outcome::LinkError) {
            printNotice(m_texts.LinkErrorCaption, m_texts.LinkErrorText);
            if (m_transport.deviceLost())
                printError(m_portTexts.lost(m_transport.openedDevice(), kind == RadioTransfer::WriteKind));
        } else if (outcome == RadioTransfer::Outcome::PortError) {
            printNotice(m_texts.LinkErrorCaption, m_texts.PortErrorText);
            printError(m_portTexts.describe(m_transport.openProblem()));
        } else if (outcome == RadioTransfer::Outcome::Refused) {
            printError(radio.refusal());
        }
        for (const QString &c : radio.corrections())
            printError(c);
        return outcome;
    }

    // A codeplug file into the document as Open does; false with the message printed.
    bool openCodeplug(const QString &file, CodeplugDocument &document) const
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

    // The codeplug as the window shows it: the band ranges, the channel table with its
    // attributes, then every setting of the pages with its group, caption and value, in the
    // words of the run's language.
    QString dumpText(const CodeplugDocument &document) const
    {
        using CommandLineKit::printable;
        const ChannelTable &table = *document.channels();
        const Codeplug content = document.snapshot();
        auto groupText = [this](const SettingDef &def) {
            const SettingGroup *group = SettingsRegistry::group(def.group);
            QString text = group ? m_texts.captionText(group->caption) : QString();
            if (text.isEmpty() && group) {
                for (const SettingPage &page : SettingsRegistry::pages())
                    if (page.index == group->page)
                        text = m_texts.captionText(page.caption);
            }
            return text;
        };

        QList<QStringList> head;
        QList<QStringList> settings;
        const QStringList rangeNames = CodeplugFile::bandListNames();
        for (const SettingDef &def : SettingsRegistry::all()) {
            if (def.kind == SettingKind::RangeList) {
                head.append({groupText(def) + QLatin1Char(' ') + m_texts.captionText(def.caption),
                             document.selectedRange(int(rangeNames.indexOf(def.name)))});
                continue;
            }
            if (def.hidden)
                continue;
            const QString label = m_texts.captionText(def.caption);
            QString value;
            switch (def.kind) {
            case SettingKind::Index:
                value = m_texts.itemText(def.name, content.settings.number(def.name));
                break;
            case SettingKind::Check:
                value = content.settings.number(def.name) == 1 ? m_texts.marks.on : m_texts.marks.off;
                break;
            case SettingKind::Spin:
                value = QString::number(content.settings.number(def.name));
                break;
            default:
                value = content.settings.text(def.name);
                break;
            }
            // A field without a caption of its own (the password, a call list entry) is named
            // by its meaning.
            QString name = label.isEmpty() ? def.meaning : label;
            if (!name.isEmpty())
                name[0] = name.at(0).toUpper();
            settings.append({groupText(def), name, printable(value)});
        }

        QStringList header;
        for (int c = 0; c <= ChannelCells::LastColumn; ++c)
            header.append(m_texts.channelHeader(c, table.headerText(c)));
        for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
            header.append(table.cell(ChannelTable::Grid2, a, 0));
        QList<QStringList> channels{header};
        for (int row = 1; row <= ChannelCells::Channels; ++row) {
            QStringList line{table.cell(ChannelTable::Grid1, 0, row)};
            if (!table.isEmptyChannel(row)) {
                for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
                    line.append(printable(content.channels.column(c, row)));
                for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
                    line.append(printable(content.channels.attribute(a, row)));
            }
            channels.append(line);
        }
        return CommandLineKit::dumpText(head, channels, settings);
    }

    const QString m_applicationDir;
    const PreferencesPaths m_paths;
    const QCommandLineOption m_languageOption;
    const QCommandLineOption m_fastOption;
    LanguageTexts m_texts = LanguageTexts::builtIn();
    PortProblemTexts m_portTexts;
    BandListArray m_bandLists;
    CodeplugDocument m_document;
    SerialTransport m_transport;
    SerialTransport::CableMode m_cableMode = SerialTransport::DualHead;
    int m_portNumber = 1;
    QString m_device;
    bool m_fast = false;
    bool m_verbose = false;
    // The write of the run: what the document sent, with its first channel.
    Codeplug m_sent;
    quint8 m_first = 0xFF;
    TransferMemory m_memory;
};

} // namespace

int CommandLine::run(const QStringList &arguments, const QString &applicationDir)
{
    Kvt560Radio radio(applicationDir);
    return CommandLineKit::run(radio, arguments);
}
