#include "common/ChannelCsv.h"

#include <QRegularExpression>

namespace ChannelCsv {

namespace {

const QString Location = QStringLiteral("Location");
const QString Name = QStringLiteral("Name");
const QString Frequency = QStringLiteral("Frequency");
const QString Duplex = QStringLiteral("Duplex");
const QString Offset = QStringLiteral("Offset");
const QString ToneMode = QStringLiteral("Tone");
const QString RToneFreq = QStringLiteral("rToneFreq");
const QString CToneFreq = QStringLiteral("cToneFreq");
const QString DtcsCode = QStringLiteral("DtcsCode");
const QString DtcsPolarity = QStringLiteral("DtcsPolarity");
const QString RxDtcsCode = QStringLiteral("RxDtcsCode");
const QString CrossMode = QStringLiteral("CrossMode");
const QString Mode = QStringLiteral("Mode");
const QString Skip = QStringLiteral("Skip");
const QString Power = QStringLiteral("Power");

QString dcsText(int code)
{
    return QStringLiteral("%1").arg(code, 3, 10, QLatin1Char('0'));
}

QChar polarityLetter(const Tone &t)
{
    return t.kind == Tone::Dcs && t.inverted ? QLatin1Char('R') : QLatin1Char('N');
}

bool parseCtcss(const QString &text, int *tenths)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3})(?:\\.(\\d))?\\d*$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    *tenths = m.captured(1).toInt() * 10 + (m.captured(2).isEmpty() ? 0 : m.captured(2).toInt());
    return true;
}

bool parseDcs(const QString &text, int *code)
{
    static const QRegularExpression form(QStringLiteral("^[0-7]{1,3}$"));
    if (!form.match(text.trimmed()).hasMatch())
        return false;
    *code = text.trimmed().toInt();
    return true;
}

QString value(const Row &row, const QString &column)
{
    return row.value(column).trimmed();
}

} // namespace

const QStringList &standardColumns()
{
    static const QStringList columns{
        Location, Name, Frequency, Duplex, Offset, ToneMode, RToneFreq, CToneFreq, DtcsCode, DtcsPolarity,
        RxDtcsCode, CrossMode, Mode, QStringLiteral("TStep"), Skip, Power, QStringLiteral("Comment"),
        QStringLiteral("URCALL"), QStringLiteral("RPT1CALL"), QStringLiteral("RPT2CALL"), QStringLiteral("DVCODE")};
    return columns;
}

QString frequencyText(qint64 hz)
{
    return QStringLiteral("%1.%2").arg(hz / 1000000).arg(hz % 1000000, 6, 10, QLatin1Char('0'));
}

bool parseFrequency(const QString &text, qint64 *hz)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,4})(?:\\.(\\d{0,6}))?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const QString decimals = m.captured(2).leftJustified(6, QLatin1Char('0'));
    *hz = m.captured(1).toLongLong() * 1000000 + decimals.toLongLong();
    return true;
}

QString ctcssText(int tenths)
{
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

Row standardRow(const Channel &c)
{
    Row row;
    for (const QString &column : standardColumns())
        row.insert(column, QString());
    row[Location] = QString::number(c.location);
    row[Name] = c.name;
    row[Frequency] = frequencyText(c.rxHz);
    if (c.receiveOnly) {
        row[Duplex] = QStringLiteral("off");
    } else if (c.txHz != c.rxHz) {
        const qint64 diff = c.txHz - c.rxHz;
        // Repeater offsets stay within a band; anything farther is a split channel.
        if (qAbs(diff) < 100000000) {
            row[Duplex] = diff > 0 ? QStringLiteral("+") : QStringLiteral("-");
            row[Offset] = frequencyText(qAbs(diff));
        } else {
            row[Duplex] = QStringLiteral("split");
            row[Offset] = frequencyText(c.txHz);
        }
    }

    const Tone &tx = c.txTone;
    const Tone &rx = c.rxTone;
    if (tx.kind == Tone::None && rx.kind == Tone::None) {
        // no tone
    } else if (tx.kind == Tone::Ctcss && rx.kind == Tone::None) {
        row[ToneMode] = QStringLiteral("Tone");
        row[RToneFreq] = ctcssText(tx.tenths);
    } else if (tx.kind == Tone::Ctcss && rx.kind == Tone::Ctcss && tx.tenths == rx.tenths) {
        row[ToneMode] = QStringLiteral("TSQL");
        row[CToneFreq] = ctcssText(tx.tenths);
    } else if (tx.kind == Tone::Dcs && rx.kind == Tone::Dcs && tx.code == rx.code) {
        row[ToneMode] = QStringLiteral("DTCS");
        row[DtcsCode] = dcsText(tx.code);
        row[DtcsPolarity] = QString(polarityLetter(tx)) + polarityLetter(rx);
    } else {
        row[ToneMode] = QStringLiteral("Cross");
        const QString txPart = tx.kind == Tone::Ctcss ? QStringLiteral("Tone")
                               : tx.kind == Tone::Dcs ? QStringLiteral("DTCS") : QString();
        const QString rxPart = rx.kind == Tone::Ctcss ? QStringLiteral("Tone")
                               : rx.kind == Tone::Dcs ? QStringLiteral("DTCS") : QString();
        row[CrossMode] = txPart + QStringLiteral("->") + rxPart;
        if (tx.kind == Tone::Ctcss)
            row[RToneFreq] = ctcssText(tx.tenths);
        if (rx.kind == Tone::Ctcss)
            row[CToneFreq] = ctcssText(rx.tenths);
        if (tx.kind == Tone::Dcs)
            row[DtcsCode] = dcsText(tx.code);
        if (rx.kind == Tone::Dcs)
            row[RxDtcsCode] = dcsText(rx.code);
        if (tx.kind == Tone::Dcs || rx.kind == Tone::Dcs)
            row[DtcsPolarity] = QString(polarityLetter(tx)) + polarityLetter(rx);
    }
    row[Mode] = c.narrow ? QStringLiteral("NFM") : QStringLiteral("FM");
    row[Skip] = c.skip ? QStringLiteral("S") : QString();
    row[Power] = c.lowPower ? QStringLiteral("Low") : QStringLiteral("High");
    return row;
}

bool readStandard(const Row &row, Channel *c, QString *reason)
{
    *c = Channel();
    bool ok = false;
    const QString location = value(row, Location);
    c->location = location.toInt(&ok);
    if (!row.contains(Location) || !ok) {
        *reason = QStringLiteral("the location \"%1\" is not a channel number").arg(location);
        return false;
    }
    c->name = row.value(Name);
    const QString frequency = value(row, Frequency);
    if (!parseFrequency(frequency, &c->rxHz)) {
        *reason = QStringLiteral("the frequency \"%1\" is not a frequency in MHz").arg(frequency);
        return false;
    }

    const QString duplex = value(row, Duplex);
    const QString offsetText = value(row, Offset);
    qint64 offset = 0;
    const bool needsOffset = duplex == QLatin1String("+") || duplex == QLatin1String("-")
                             || duplex.compare(QLatin1String("split"), Qt::CaseInsensitive) == 0;
    if (needsOffset && !parseFrequency(offsetText, &offset)) {
        *reason = QStringLiteral("the offset \"%1\" is not a frequency in MHz").arg(offsetText);
        return false;
    }
    if (duplex.isEmpty())
        c->txHz = c->rxHz;
    else if (duplex == QLatin1String("+"))
        c->txHz = c->rxHz + offset;
    else if (duplex == QLatin1String("-"))
        c->txHz = c->rxHz - offset;
    else if (duplex.compare(QLatin1String("split"), Qt::CaseInsensitive) == 0)
        c->txHz = offset;
    else if (duplex.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0)
        c->receiveOnly = true;
    else {
        *reason = QStringLiteral("the duplex \"%1\" is none of \"\", \"+\", \"-\", \"split\" or \"off\"").arg(duplex);
        return false;
    }
    if (!c->receiveOnly && c->txHz <= 0) {
        *reason = QStringLiteral("the transmit frequency comes out below zero");
        return false;
    }

    // Tones: each column is read only when the tone mode uses it.
    auto ctcssOf = [&](const QString &column, Tone *t) {
        int tenths = 0;
        if (!parseCtcss(value(row, column), &tenths)) {
            *reason = QStringLiteral("the %1 \"%2\" is not a CTCSS tone").arg(column, value(row, column));
            return false;
        }
        *t = Tone::ctcss(tenths);
        return true;
    };
    auto dcsOf = [&](const QString &column, int polarityIndex, Tone *t) {
        int code = 0;
        if (!parseDcs(value(row, column), &code)) {
            *reason = QStringLiteral("the %1 \"%2\" is not a DCS code").arg(column, value(row, column));
            return false;
        }
        const QString polarity = value(row, DtcsPolarity).isEmpty() ? QStringLiteral("NN") : value(row, DtcsPolarity);
        static const QRegularExpression form(QStringLiteral("^[NR][NR]$"));
        if (!form.match(polarity).hasMatch()) {
            *reason = QStringLiteral("the DtcsPolarity \"%1\" is none of NN, NR, RN or RR").arg(polarity);
            return false;
        }
        *t = Tone::dcs(code, polarity.at(polarityIndex) == QLatin1Char('R'));
        return true;
    };
    const QString mode = value(row, ToneMode);
    if (mode.isEmpty()) {
    } else if (mode == QLatin1String("Tone")) {
        if (!ctcssOf(RToneFreq, &c->txTone))
            return false;
    } else if (mode == QLatin1String("TSQL")) {
        if (!ctcssOf(CToneFreq, &c->txTone))
            return false;
        c->rxTone = c->txTone;
    } else if (mode == QLatin1String("DTCS")) {
        if (!dcsOf(DtcsCode, 0, &c->txTone) || !dcsOf(DtcsCode, 1, &c->rxTone))
            return false;
    } else if (mode == QLatin1String("Cross")) {
        const QString cross = value(row, CrossMode);
        const int arrow = cross.indexOf(QLatin1String("->"));
        const QString txPart = arrow < 0 ? QString() : cross.left(arrow);
        const QString rxPart = arrow < 0 ? QString() : cross.mid(arrow + 2);
        static const QStringList known{QStringLiteral("Tone->Tone"), QStringLiteral("Tone->DTCS"),
                                       QStringLiteral("DTCS->Tone"), QStringLiteral("->Tone"),
                                       QStringLiteral("->DTCS"),     QStringLiteral("DTCS->"),
                                       QStringLiteral("DTCS->DTCS")};
        if (!known.contains(cross)) {
            *reason = QStringLiteral("the CrossMode \"%1\" is none of %2").arg(cross, known.join(QStringLiteral(", ")));
            return false;
        }
        if (txPart == QLatin1String("Tone") && !ctcssOf(RToneFreq, &c->txTone))
            return false;
        if (txPart == QLatin1String("DTCS") && !dcsOf(DtcsCode, 0, &c->txTone))
            return false;
        if (rxPart == QLatin1String("Tone") && !ctcssOf(CToneFreq, &c->rxTone))
            return false;
        if (rxPart == QLatin1String("DTCS") && !dcsOf(RxDtcsCode, 1, &c->rxTone))
            return false;
    } else {
        *reason = QStringLiteral("the tone mode \"%1\" is none of \"\", \"Tone\", \"TSQL\", \"DTCS\" or \"Cross\"").arg(mode);
        return false;
    }

    const QString fm = value(row, Mode);
    if (fm.isEmpty() || fm == QLatin1String("FM"))
        c->narrow = false;
    else if (fm == QLatin1String("NFM"))
        c->narrow = true;
    else {
        *reason = QStringLiteral("the mode \"%1\" is neither \"FM\" nor \"NFM\"").arg(fm);
        return false;
    }
    const QString power = value(row, Power);
    if (power.isEmpty() || power.compare(QLatin1String("High"), Qt::CaseInsensitive) == 0)
        c->lowPower = false;
    else if (power.compare(QLatin1String("Low"), Qt::CaseInsensitive) == 0)
        c->lowPower = true;
    else {
        *reason = QStringLiteral("the power \"%1\" is neither \"High\" nor \"Low\"").arg(power);
        return false;
    }
    const QString skip = value(row, Skip);
    if (skip.isEmpty() || skip == QLatin1String("S"))
        c->skip = !skip.isEmpty();
    else {
        *reason = QStringLiteral("the skip \"%1\" is neither empty nor \"S\"").arg(skip);
        return false;
    }
    return true;
}

Table readTable(const QString &text, QChar separator, bool header, const QStringList &columns)
{
    Table table;
    const Csv::ParseResult parsed = Csv::parse(text, separator);
    if (!parsed.ok()) {
        table.error = parsed.error;
        table.errorLine = parsed.errorLine;
        return table;
    }
    int first = 0;
    if (header) {
        if (parsed.records.isEmpty()) {
            table.error = QStringLiteral("the file is empty");
            table.errorLine = 1;
            return table;
        }
        for (const QString &name : parsed.records.first().fields)
            table.header.append(name.trimmed());
        first = 1;
        for (const QString &required : {Location, Frequency})
            if (!table.header.contains(required)) {
                table.error = QStringLiteral("the header has no column \"%1\"").arg(required);
                table.errorLine = parsed.records.first().line;
                return table;
            }
    } else {
        table.header = columns;
        if (!parsed.records.isEmpty() && parsed.records.first().fields.value(0).trimmed() == Location)
            first = 1;
    }
    for (int i = first; i < parsed.records.size(); ++i) {
        const Csv::Record &record = parsed.records.at(i);
        Row row;
        for (int c = 0; c < table.header.size() && c < record.fields.size(); ++c)
            if (!table.header.at(c).isEmpty() && !row.contains(table.header.at(c)))
                row.insert(table.header.at(c), record.fields.at(c));
        table.rows.append({record.line, row});
    }
    return table;
}

QString writeTable(const QStringList &columns, const QList<Row> &rows, QChar separator, bool header)
{
    QList<QStringList> records;
    if (header)
        records.append(columns);
    for (const Row &row : rows) {
        QStringList fields;
        for (const QString &c : columns)
            fields.append(row.value(c));
        records.append(fields);
    }
    return Csv::write(records, separator);
}

QString refusal(int line, const QString &reason)
{
    return QStringLiteral("Line %1: %2.").arg(line).arg(reason);
}

} // namespace ChannelCsv
