#include "files/CsvChannels.h"

#include "common/ChannelCsv.h"
#include "model/GridRules.h"
#include "model/DecimalText.h"
#include "model/MemoryImage.h"

#include <QRegularExpression>
#include <QSet>

namespace CsvChannels {

namespace {

const QString BusyLockColumn = QStringLiteral("BusyLock");

bool isWordOfAnyLanguage(const QString &text, ChannelWord word)
{
    for (int l = 0; l < 3; ++l)
        if (text == channelWordText(word, l))
            return true;
    return false;
}

bool isOff(const QString &text)
{
    if (isWordOfAnyLanguage(text, ChannelWord::Off))
        return true;
    for (int l = 0; l < 3; ++l)
        if (text == GridRules::listEditorWords(ChannelTexts::BusyLock, l).value(0))
            return true;
    return false;
}

ChannelCsv::Tone toneOf(const QString &text)
{
    static const QRegularExpression dcs(QStringLiteral("^D(\\d{3})([NI])$"));
    if (text.isEmpty() || isOff(text))
        return {};
    const QRegularExpressionMatch m = dcs.match(text);
    if (m.hasMatch())
        return ChannelCsv::Tone::dcs(m.captured(1).toInt(), m.captured(2) == QLatin1String("I"));
    return ChannelCsv::Tone::ctcss(int(scaleDecimalText(text, 1)));
}

// The tone as a text of ToneChoices, or empty when the list has no such entry.
QString toneText(const ChannelCsv::Tone &tone)
{
    const QStringList choices = ToneChoices();
    QString text;
    switch (tone.kind) {
    case ChannelCsv::Tone::None:
        return choices.first();
    case ChannelCsv::Tone::Ctcss:
        text = ChannelCsv::ctcssText(tone.tenths);
        break;
    case ChannelCsv::Tone::Dcs:
        text = QStringLiteral("D%1%2").arg(tone.code, 3, 10, QLatin1Char('0')).arg(tone.inverted ? 'I' : 'N');
        break;
    }
    return choices.indexOf(text) > 0 ? text : QString();
}

QString toneDescription(const ChannelCsv::Tone &tone)
{
    if (tone.kind == ChannelCsv::Tone::Ctcss)
        return QStringLiteral("CTCSS tone %1").arg(ChannelCsv::ctcssText(tone.tenths));
    return QStringLiteral("DCS code %1%2").arg(tone.code, 3, 10, QLatin1Char('0')).arg(tone.inverted ? " reversed" : "");
}

QString busyLockColumnText(const QString &word)
{
    if (isWordOfAnyLanguage(word, ChannelWord::Carrier))
        return QStringLiteral("Carrier");
    if (isWordOfAnyLanguage(word, ChannelWord::Qdt))
        return QStringLiteral("QDT");
    return isOff(word) ? QStringLiteral("Off") : QString();
}

ChannelCsv::Row rowOf(int location, const ChannelTexts &t)
{
    ChannelCsv::Channel c;
    c.location = location;
    c.name = t.name;
    c.rxHz = qint64(frequencyUnits(t.rxFreq)) * 10;
    const std::uint32_t tx = frequencyUnits(t.txFreq);
    c.receiveOnly = tx == 0;
    c.txHz = qint64(tx) * 10;
    c.rxTone = toneOf(t.rxTone);
    c.txTone = toneOf(t.txTone);
    c.lowPower = !isWordOfAnyLanguage(t.power, ChannelWord::High);
    c.skip = isWordOfAnyLanguage(t.scanAdd, ChannelWord::Del);
    c.narrow = !isWordOfAnyLanguage(t.bandwidth, ChannelWord::Wide);
    ChannelCsv::Row row = ChannelCsv::standardRow(c);
    row.insert(BusyLockColumn, busyLockColumnText(t.busyLock));
    return row;
}

// The frequency in 10 Hz units when it is one the grid could hold, else the reason.
bool checkFrequency(const char *what, qint64 hz, std::uint32_t low, std::uint32_t high, std::uint32_t *units,
                    QString *reason)
{
    const QString text = ChannelCsv::frequencyText(hz);
    if (hz % 10 != 0 || hz / 10 < low || hz / 10 > high) {
        *reason = QStringLiteral("the %1 frequency %2 is outside %3-%4 MHz")
                      .arg(QLatin1String(what), text, QString::number(low / 100000), QString::number(high / 100000));
        return false;
    }
    *units = std::uint32_t(hz / 10);
    if (*units % 500 != 0 && *units % 625 != 0) {
        *reason = QStringLiteral("the %1 frequency %2 is on neither the 5 kHz nor the 6.25 kHz raster")
                      .arg(QLatin1String(what), text);
        return false;
    }
    return true;
}

// One row as channel texts in the current language; false with the reason.
bool channelOf(const ChannelCsv::Row &row, std::uint32_t low, std::uint32_t high, int *location,
               ChannelTexts *texts, QString *reason)
{
    ChannelCsv::Channel c;
    if (!ChannelCsv::readStandard(row, &c, reason))
        return false;
    *location = c.location;
    std::uint32_t rx = 0, tx = 0;
    if (!checkFrequency("receive", c.rxHz, low, high, &rx, reason))
        return false;
    if (!c.receiveOnly && !checkFrequency("transmit", c.txHz, low, high, &tx, reason))
        return false;
    ChannelTexts t = newChannelTexts(frequencyText(rx));
    t.txFreq = c.receiveOnly ? QString() : frequencyText(tx);
    t.rxTone = toneText(c.rxTone);
    if (t.rxTone.isEmpty()) {
        *reason = QStringLiteral("the receive %1 is not one the radio offers").arg(toneDescription(c.rxTone));
        return false;
    }
    t.txTone = toneText(c.txTone);
    if (t.txTone.isEmpty()) {
        *reason = QStringLiteral("the transmit %1 is not one the radio offers").arg(toneDescription(c.txTone));
        return false;
    }
    t.power = channelWordText(c.lowPower ? ChannelWord::Low : ChannelWord::High);
    t.scanAdd = channelWordText(c.skip ? ChannelWord::Del : ChannelWord::Add);
    t.bandwidth = channelWordText(c.narrow ? ChannelWord::Narrow : ChannelWord::Wide);
    const QString busy = row.value(BusyLockColumn).trimmed();
    if (busy.isEmpty() || busy.compare(QLatin1String("Off"), Qt::CaseInsensitive) == 0)
        t.busyLock = channelWordText(ChannelWord::Off);
    else if (busy.compare(QLatin1String("Carrier"), Qt::CaseInsensitive) == 0)
        t.busyLock = channelWordText(ChannelWord::Carrier);
    else if (busy.compare(QLatin1String("QDT"), Qt::CaseInsensitive) == 0)
        t.busyLock = channelWordText(ChannelWord::Qdt);
    else {
        *reason = QStringLiteral("the BusyLock \"%1\" is none of \"Off\", \"Carrier\" or \"QDT\"").arg(busy);
        return false;
    }
    if (c.name.size() > ImageMap::ChannelNameLength) {
        *reason = QStringLiteral("the name \"%1\" is longer than %2 characters").arg(c.name).arg(ImageMap::ChannelNameLength);
        return false;
    }
    for (const QChar ch : c.name) {
        // One byte per character; 0xFF would end the stored name.
        const ushort u = ch.unicode();
        if (!((u >= 0x20 && u <= 0x7E) || (u >= 0xA0 && u <= 0xFE))) {
            *reason = QStringLiteral("the name \"%1\" holds the character \"%2\", which the radio cannot hold")
                          .arg(c.name, QString(ch));
            return false;
        }
    }
    t.name = c.name;
    *texts = t;
    return true;
}

Import importTable(const ChannelCsv::Table &table, int firstChannel, std::uint32_t low, std::uint32_t high)
{
    Import result;
    if (!table.ok()) {
        result.error = ChannelCsv::refusal(table.errorLine, table.error);
        return result;
    }
    QHash<int, int> lineOfChannel;
    int next = firstChannel;
    for (const auto &line : table.rows) {
        int location = 0;
        ChannelTexts texts;
        QString reason;
        if (!channelOf(line.second, low, high, &location, &texts, &reason)) {
            result.channels.clear();
            result.error = ChannelCsv::refusal(line.first, reason);
            return result;
        }
        if (firstChannel > 0)
            location = next++;
        if (location < 1 || location > ImageMap::ChannelCount) {
            result.channels.clear();
            result.error = ChannelCsv::refusal(
                line.first, firstChannel > 0
                                ? QStringLiteral("channel %1 is past the last channel, %2").arg(location).arg(ImageMap::ChannelCount)
                                : QStringLiteral("the location %1 is not a channel from 1 to %2").arg(location).arg(ImageMap::ChannelCount));
            return result;
        }
        if (lineOfChannel.contains(location)) {
            result.channels.clear();
            result.error = ChannelCsv::refusal(line.first, QStringLiteral("channel %1 was already given on line %2")
                                                               .arg(location)
                                                               .arg(lineOfChannel.value(location)));
            return result;
        }
        lineOfChannel.insert(location, line.first);
        result.channels.append({location, texts});
    }
    return result;
}

} // namespace

QStringList columns()
{
    return ChannelCsv::standardColumns() + QStringList{BusyLockColumn};
}

QStringList fields(int location, const ChannelTexts &texts)
{
    const ChannelCsv::Row row = rowOf(location, texts);
    QStringList out;
    for (const QString &c : columns())
        out.append(row.value(c));
    return out;
}

QString exportText(const QList<ChannelTexts> &channels)
{
    QList<ChannelCsv::Row> rows;
    for (int n = 1; n <= channels.size() && n <= ImageMap::ChannelCount; ++n)
        if (!channels.at(n - 1).rxFreq.isEmpty())
            rows.append(rowOf(n, channels.at(n - 1)));
    return ChannelCsv::writeTable(columns(), rows);
}

QString copyText(const QList<QPair<int, ChannelTexts>> &channels)
{
    QList<ChannelCsv::Row> rows;
    for (const auto &c : channels)
        if (!c.second.rxFreq.isEmpty())
            rows.append(rowOf(c.first, c.second));
    return ChannelCsv::writeTable(columns(), rows, QLatin1Char('\t'), false);
}

Import importText(const QString &text, std::uint32_t low, std::uint32_t high)
{
    return importTable(ChannelCsv::readTable(text), 0, low, high);
}

Import pasteText(const QString &text, int firstChannel, std::uint32_t low, std::uint32_t high)
{
    Import result;
    const ChannelCsv::Table table = ChannelCsv::readTable(text, QLatin1Char('\t'), false, columns());
    // Rows copied from a grid have every column; anything with fewer fields is other text.
    if (table.ok()) {
        if (table.rows.isEmpty()) {
            result.error = QStringLiteral("The clipboard holds no channels.");
            return result;
        }
        for (const auto &line : table.rows)
            if (line.second.size() < ChannelCsv::standardColumns().size()) {
                result.error = ChannelCsv::refusal(
                    line.first, QStringLiteral("the clipboard does not hold channel rows (tab-separated, in the "
                                               "column order of an exported file)"));
                return result;
            }
    }
    return importTable(table, firstChannel < 1 ? 1 : firstChannel, low, high);
}

QList<ChannelTexts> replacedChannels(const QList<QPair<int, ChannelTexts>> &imported)
{
    QList<ChannelTexts> channels(ImageMap::ChannelCount);
    for (const auto &c : imported)
        if (c.first >= 1 && c.first <= ImageMap::ChannelCount)
            channels[c.first - 1] = c.second;
    return channels;
}

} // namespace CsvChannels
