#include "codeplug/CsvChannels.h"

#include "channels/ChannelTable.h"
#include "common/ChannelCsv.h"
#include "channels/ToneList.h"

#include <QHash>

namespace CsvChannels {

namespace {

using Row = ChannelCsv::Row;
using Tone = ChannelCsv::Tone;

enum Column {
    RxFreq = ChannelTable::RxFreqColumn, RxTone = ChannelTable::RxToneColumn, TxFreq = ChannelTable::TxFreqColumn,
    TxTone = ChannelTable::TxToneColumn, Power = ChannelTable::PowerColumn, Bandwidth = ChannelTable::BandwidthColumn,
    Scan = ChannelTable::ScanColumn, Dtmf = ChannelTable::DtmfColumn, PttId = ChannelTable::PttIdColumn,
    Alias = ChannelTable::AliasColumn
};

// The on/off columns of KVT560's own: column name, table (visible column or attribute), number.
struct OwnSwitch {
    const char *name;
    bool attribute;
    int number;
};
const OwnSwitch Switches[] = {
    {"BusyLock", true, ChannelTable::BusyLockAttribute},
    {"DTMF", false, ChannelTable::DtmfColumn},
    {"PTTID", false, ChannelTable::PttIdColumn},
    {"SquelchTail", true, ChannelTable::TailAttribute},
    {"VOX", true, ChannelTable::VoxAttribute},
};
const QString VoiceModeColumn = QStringLiteral("VoiceMode");
const QString ShowNameColumn = QStringLiteral("ShowName");

const QString AliasCharacters = QStringLiteral("0123456789-+_/. ABCDEFGHIJKLMNOPQRSTUVWXYZ*");

bool isMark(const QString &text, Mark mark)
{
    const auto m = Marks::recognise(text);
    return m && *m == mark;
}

Tone toneOf(const QString &text, const ToneList &tones)
{
    const int index = tones.indexOf(text);
    if (index >= 1 && index <= ToneList::CtcssCount) {
        const QString t = tones.at(index);
        return Tone::ctcss(t.left(t.indexOf(QLatin1Char('.'))).toInt() * 10 + t.mid(t.indexOf(QLatin1Char('.')) + 1).toInt());
    }
    if (index > ToneList::DcsNormalBase && index <= ToneList::DcsInvertedBase)
        return Tone::dcs(ToneList::dcsNumber(index - ToneList::DcsNormalBase), false);
    if (index > ToneList::DcsInvertedBase)
        return Tone::dcs(ToneList::dcsNumber(index - ToneList::DcsInvertedBase), true);
    return {};
}

// The index of the tone in the list, or -1 when the list has no such entry.
int toneIndex(const Tone &tone, const ToneList &tones)
{
    switch (tone.kind) {
    case Tone::None:
        return 0;
    case Tone::Ctcss: {
        const int i = tones.indexOf(ChannelCsv::ctcssText(tone.tenths));
        return i >= 1 && i <= ToneList::CtcssCount ? i : -1;
    }
    case Tone::Dcs:
        return tones.indexOf(QStringLiteral("D%1%2").arg(tone.code, 3, 10, QLatin1Char('0')).arg(tone.inverted ? 'I' : 'N'));
    }
    return -1;
}

QString toneDescription(const Tone &tone)
{
    if (tone.kind == Tone::Ctcss)
        return QStringLiteral("CTCSS tone %1").arg(ChannelCsv::ctcssText(tone.tenths));
    return QStringLiteral("DCS code %1%2").arg(tone.code, 3, 10, QLatin1Char('0')).arg(tone.inverted ? " reversed" : "");
}

QString onOff(bool on)
{
    return on ? QStringLiteral("On") : QStringLiteral("Off");
}

Row rowOf(const ChannelCells &cells, int row, const ToneList &tones)
{
    ChannelCsv::Channel c;
    c.location = row;
    c.name = cells.column(Alias, row);
    qint64 hz = 0;
    ChannelCsv::parseFrequency(cells.column(RxFreq, row), &hz);
    c.rxHz = hz;
    const QString tx = cells.column(TxFreq, row);
    c.receiveOnly = tx.isEmpty() || !ChannelCsv::parseFrequency(tx, &c.txHz);
    c.rxTone = toneOf(cells.column(RxTone, row), tones);
    c.txTone = toneOf(cells.column(TxTone, row), tones);
    c.lowPower = isMark(cells.column(Power, row), Mark::Low);
    c.narrow = isMark(cells.column(Bandwidth, row), Mark::Narrow);
    c.skip = isMark(cells.column(Scan, row), Mark::Off);
    Row r = ChannelCsv::standardRow(c);
    for (const OwnSwitch &s : Switches) {
        const QString text = s.attribute ? cells.attribute(s.number, row) : cells.column(s.number, row);
        r.insert(QLatin1String(s.name), onOff(!text.isEmpty() && !isMark(text, Mark::Off)));
    }
    const QString voice = cells.attribute(ChannelTable::VoiceModeAttribute, row);
    r.insert(VoiceModeColumn, isMark(voice, Mark::Compander)   ? QStringLiteral("Compander")
                              : isMark(voice, Mark::Scrambler) ? QStringLiteral("Scrambler")
                                                               : QStringLiteral("Off"));
    r.insert(ShowNameColumn, onOff(isMark(cells.attribute(ChannelTable::ShowAliasAttribute, row), Mark::On)));
    return r;
}

// The channel's frequency as a cell text when it is one the table would keep as it stands:
// inside one of the bands' receive ranges and on its raster.
bool frequencyCell(const char *what, qint64 hz, const QStringList &ranges, QString *cell, QString *reason)
{
    const QString given = ChannelCsv::frequencyText(hz);
    const QString text = QStringLiteral("%1.%2").arg(hz / 1000000, 3, 10, QLatin1Char('0')).arg((hz % 1000000) / 10, 5, 10, QLatin1Char('0'));
    QStringList limits;
    for (const QString &range : ranges) {
        if (!ChannelTable::normaliseFrequency(text, range))
            continue;   // a range without readable limits holds nothing
        const int low = range.mid(0, 3).toInt();
        const int high = range.mid(4, 3).toInt();
        limits.append(QStringLiteral("%1-%2 MHz").arg(low).arg(high));
        if (hz < qint64(low) * 1000000 || hz > qint64(high) * 1000000 || hz >= 1000000000)
            continue;
        if (hz % 10 != 0 || *ChannelTable::normaliseFrequency(text, range) != text) {
            *reason = QStringLiteral("the %1 frequency %2 is on neither the 5 kHz nor the 6.25 kHz raster")
                          .arg(QLatin1String(what), given);
            return false;
        }
        *cell = text;
        return true;
    }
    if (limits.isEmpty())
        *reason = QStringLiteral("no band has a receive range to check the frequency against");
    else
        *reason = QStringLiteral("the %1 frequency %2 is outside %3").arg(QLatin1String(what), given,
                                                                         limits.join(QStringLiteral(" and ")));
    return false;
}

bool switchValue(const Row &row, const QString &column, bool byDefault, bool *on, QString *reason)
{
    const QString v = row.value(column).trimmed();
    if (v.isEmpty()) {
        *on = byDefault;
        return true;
    }
    if (v.compare(QLatin1String("On"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1")) {
        *on = true;
        return true;
    }
    if (v.compare(QLatin1String("Off"), Qt::CaseInsensitive) == 0 || v == QLatin1String("0")) {
        *on = false;
        return true;
    }
    *reason = QStringLiteral("the %1 \"%2\" is neither \"On\" nor \"Off\"").arg(column, v);
    return false;
}

// One row into row `target` of cells; false with the reason.
bool fillRow(const Row &row, int target, const QStringList &range, const Marks &marks, const ToneList &tones,
             ChannelCells &cells, int *location, QString *reason)
{
    ChannelCsv::Channel c;
    if (!ChannelCsv::readStandard(row, &c, reason))
        return false;
    *location = c.location;
    QString rx, tx;
    if (!frequencyCell("receive", c.rxHz, range, &rx, reason))
        return false;
    if (!c.receiveOnly && !frequencyCell("transmit", c.txHz, range, &tx, reason))
        return false;
    const int rxIndex = toneIndex(c.rxTone, tones);
    if (rxIndex < 0) {
        *reason = QStringLiteral("the receive %1 is not in the tone list").arg(toneDescription(c.rxTone));
        return false;
    }
    const int txIndex = toneIndex(c.txTone, tones);
    if (txIndex < 0) {
        *reason = QStringLiteral("the transmit %1 is not in the tone list").arg(toneDescription(c.txTone));
        return false;
    }
    const QString alias = c.name.toUpper();
    if (alias.size() > 6) {
        *reason = QStringLiteral("the name \"%1\" is longer than 6 characters").arg(c.name);
        return false;
    }
    for (const QChar ch : alias)
        if (!AliasCharacters.contains(ch)) {
            *reason = QStringLiteral("the name \"%1\" holds the character \"%2\", which the radio cannot show")
                          .arg(c.name, QString(ch));
            return false;
        }
    bool on[std::size(Switches)];
    // New-channel defaults: squelch tail elimination on, the others off.
    for (size_t i = 0; i < std::size(Switches); ++i)
        if (!switchValue(row, QLatin1String(Switches[i].name), Switches[i].number == ChannelTable::TailAttribute
                                                                     && Switches[i].attribute,
                         &on[i], reason))
            return false;
    bool showName = false;
    if (!switchValue(row, ShowNameColumn, false, &showName, reason))
        return false;
    const QString voice = row.value(VoiceModeColumn).trimmed();
    QString voiceCell;
    if (voice.isEmpty() || voice.compare(QLatin1String("Off"), Qt::CaseInsensitive) == 0)
        voiceCell = marks.off;
    else if (voice.compare(QLatin1String("Compander"), Qt::CaseInsensitive) == 0)
        voiceCell = marks.compander;
    else if (voice.compare(QLatin1String("Scrambler"), Qt::CaseInsensitive) == 0)
        voiceCell = marks.scrambler;
    else {
        *reason = QStringLiteral("the VoiceMode \"%1\" is none of \"Off\", \"Compander\" or \"Scrambler\"").arg(voice);
        return false;
    }

    cells.setColumn(RxFreq, target, rx);
    cells.setColumn(RxTone, target, tones.at(rxIndex));
    cells.setColumn(TxFreq, target, tx);
    cells.setColumn(TxTone, target, tones.at(txIndex));
    cells.setColumn(Power, target, c.lowPower ? marks.low : marks.high);
    cells.setColumn(Bandwidth, target, c.narrow ? marks.narrow : marks.wide);
    cells.setColumn(Scan, target, c.skip ? marks.off : marks.on);
    cells.setColumn(Alias, target, alias);
    for (size_t i = 0; i < std::size(Switches); ++i) {
        if (Switches[i].attribute)
            cells.setAttribute(Switches[i].number, target, on[i] ? marks.on : marks.off);
        else
            cells.setColumn(Switches[i].number, target, on[i] ? marks.on : marks.off);
    }
    cells.setAttribute(ChannelTable::RxCodeAttribute, target, QString::number(rxIndex));
    cells.setAttribute(ChannelTable::TxCodeAttribute, target, QString::number(txIndex));
    cells.setAttribute(ChannelTable::VoiceModeAttribute, target, voiceCell);
    cells.setAttribute(ChannelTable::ShowAliasAttribute, target, showName ? marks.on : marks.off);
    return true;
}

Import importTable(const ChannelCsv::Table &table, int firstRow, const QStringList &range, const Marks &marks,
                   const ToneList &tones)
{
    Import result;
    if (!table.ok()) {
        result.error = ChannelCsv::refusal(table.errorLine, table.error);
        return result;
    }
    QHash<int, int> lineOfRow;
    int next = firstRow;
    for (const auto &line : table.rows) {
        QString reason;
        int location = 0;
        ChannelCells scratch;
        // Checked into a scratch row first: the location decides the row.
        if (!fillRow(line.second, 1, range, marks, tones, scratch, &location, &reason)) {
            result = Import();
            result.error = ChannelCsv::refusal(line.first, reason);
            return result;
        }
        const int row = firstRow > 0 ? next++ : location;
        if (row < 1 || row > ChannelCells::Channels) {
            result = Import();
            result.error = ChannelCsv::refusal(
                line.first, firstRow > 0 ? QStringLiteral("channel %1 is past the last channel, %2").arg(row).arg(ChannelCells::Channels)
                                         : QStringLiteral("the location %1 is not a channel from 1 to %2").arg(row).arg(ChannelCells::Channels));
            return result;
        }
        if (lineOfRow.contains(row)) {
            result = Import();
            result.error = ChannelCsv::refusal(line.first, QStringLiteral("channel %1 was already given on line %2")
                                                               .arg(row)
                                                               .arg(lineOfRow.value(row)));
            return result;
        }
        lineOfRow.insert(row, line.first);
        fillRow(line.second, row, range, marks, tones, result.cells, &location, &reason);
        result.rows.append(row);
    }
    return result;
}

} // namespace

QStringList columns()
{
    QStringList all = ChannelCsv::standardColumns();
    for (const OwnSwitch &s : Switches)
        all.append(QLatin1String(s.name));
    return all << VoiceModeColumn << ShowNameColumn;
}

QString exportText(const ChannelCells &cells, const ToneList &tones)
{
    QList<Row> rows;
    for (int r = 1; r <= ChannelCells::Channels; ++r)
        if (!cells.column(RxFreq, r).isEmpty())
            rows.append(rowOf(cells, r, tones));
    return ChannelCsv::writeTable(columns(), rows);
}

QString copyText(const ChannelCells &cells, const QList<int> &rowNumbers, const ToneList &tones)
{
    QList<Row> rows;
    for (int r : rowNumbers)
        if (!cells.column(RxFreq, r).isEmpty())
            rows.append(rowOf(cells, r, tones));
    return ChannelCsv::writeTable(columns(), rows, QLatin1Char('\t'), false);
}

Import importText(const QString &text, const QStringList &receiveRange, const Marks &marks, const ToneList &tones)
{
    Import result = importTable(ChannelCsv::readTable(text), 0, receiveRange, marks, tones);
    if (result.ok()) {
        result.rows.clear();
        for (int r = 1; r <= ChannelCells::Channels; ++r)
            result.rows.append(r);
    }
    return result;
}

Import pasteText(const QString &text, int firstRow, const QStringList &receiveRange, const Marks &marks,
                 const ToneList &tones)
{
    const ChannelCsv::Table table = ChannelCsv::readTable(text, QLatin1Char('\t'), false, columns());
    if (table.ok()) {
        Import refused;
        if (table.rows.isEmpty())
            refused.error = QStringLiteral("The clipboard holds no channels.");
        for (const auto &line : table.rows)
            if (refused.error.isEmpty() && line.second.size() < ChannelCsv::standardColumns().size())
                refused.error = ChannelCsv::refusal(line.first, QStringLiteral("the clipboard does not hold channel rows "
                                                                              "(tab-separated, in the column order of an "
                                                                              "exported file)"));
        if (!refused.ok())
            return refused;
    }
    return importTable(table, firstRow < 1 ? 1 : firstRow, receiveRange, marks, tones);
}

} // namespace CsvChannels
