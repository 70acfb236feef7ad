#include "channels/ChannelTable.h"

#include "settings/BandSource.h"

#include <algorithm>
#include <initializer_list>

namespace {

const char *const Grid1Headers[ChannelTable::Grid1Columns] = {
    "信道", "接收频率", "QT/DQT解码", "发射频率", "QT/DQT编码", "发射功率",
    "宽/窄带", "扫描添加", "DTMF", "PTT ID", "信道别名", "更多...",
};
const char *const Grid2Labels[ChannelTable::Grid2Columns] = {
    "信道", "尾音消除", "VOX", "繁忙锁定", "RX Code", "TX Code", "语音模式", "别名",
};

const QString MoreText = QStringLiteral(">>");

// A decimal number read digit by digit, so that no binary rounding creeps in: sign, the
// integer digits without leading zeros and the fraction digits without trailing zeros.
struct Decimal {
    bool negative = false;
    QString whole;
    QString fraction;

    bool isZero() const { return whole.isEmpty() && fraction.isEmpty(); }
};

// Reads "[+|-]digits[.digits]" (surrounding blanks allowed; "." is the separator whatever
// the locale). At least one digit is needed.
std::optional<Decimal> parseDecimal(const QString &input)
{
    const QString text = input.trimmed();
    int i = 0;
    Decimal d;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        d.negative = text[i++] == QLatin1Char('-');
    int digits = 0;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        if (!d.whole.isEmpty() || text[i] != QLatin1Char('0'))
            d.whole += text[i];
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
            d.fraction += text[i++];
            ++digits;
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;
    while (d.fraction.endsWith(QLatin1Char('0')))
        d.fraction.chop(1);
    if (d.isZero())
        d.negative = false;
    return d;
}

// Compares magnitudes.
int compareMagnitude(const Decimal &a, const Decimal &b)
{
    if (a.whole.size() != b.whole.size())
        return a.whole.size() < b.whole.size() ? -1 : 1;
    if (int c = QString::compare(a.whole, b.whole))
        return c < 0 ? -1 : 1;
    if (int c = QString::compare(a.fraction, b.fraction))   // no trailing zeros: plain order
        return c < 0 ? -1 : 1;
    return 0;
}

int compare(const Decimal &a, const Decimal &b)
{
    if (a.negative != b.negative)
        return a.negative ? -1 : 1;
    const int m = compareMagnitude(a, b);
    return a.negative ? -m : m;
}

// trunc(d * 10000) * 10: the value in units of 10 Hz, cut to whole 100 Hz. Only called with
// values bounded by three-character limits, so the digits fit easily.
qint64 tenHertzUnits(const Decimal &d)
{
    qint64 units = d.whole.isEmpty() ? 0 : d.whole.toLongLong();
    const QString four = (d.fraction + QStringLiteral("0000")).left(4);
    units = units * 10000 + four.toLongLong();
    return (d.negative ? -units : units) * 10;
}

} // namespace

ChannelTable::ChannelTable(QObject *parent)
    : QObject(parent), m_grid1(Grid1Columns * Grid1Rows), m_grid2(Grid2Columns * Grid2Rows),
      m_marks(Marks::forLanguage(1))
{
    for (int c = 0; c < Grid1Columns; ++c)
        m_grid1[index(Grid1, c, 0)] = QString::fromUtf8(Grid1Headers[c]);
    for (int c = 0; c < Grid2Columns; ++c)
        m_grid2[index(Grid2, c, 0)] = QString::fromUtf8(Grid2Labels[c]);
    for (int r = 1; r <= ChannelCount; ++r)
        m_grid1[index(Grid1, NumberColumn, r)] = QStringLiteral("%1").arg(r, 3, 10, QLatin1Char('0'));
    fillMoreColumn();
}

int ChannelTable::index(Table table, int column, int row)
{
    const int columns = table == Grid1 ? Grid1Columns : Grid2Columns;
    const int rows = table == Grid1 ? Grid1Rows : Grid2Rows;
    if (column < 0 || column >= columns || row < 0 || row >= rows)
        return -1;
    return row * columns + column;
}

QString ChannelTable::cell(Table table, int column, int row) const
{
    const int i = index(table, column, row);
    return i < 0 ? QString() : grid(table).at(i);
}

void ChannelTable::setCell(Table table, int column, int row, const QString &text)
{
    const int i = index(table, column, row);
    if (i < 0 || grid(table).at(i) == text)
        return;
    grid(table)[i] = text;
    emit cellChanged(table, column, row);
}

void ChannelTable::fillMoreColumn()
{
    for (int r = 1; r <= ChannelCount; ++r)
        setCell(Grid1, MoreColumn, r, MoreText);
}

ChannelCells ChannelTable::cells() const
{
    ChannelCells result;
    for (int r = 1; r <= ChannelCount; ++r) {
        for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
            result.setColumn(c, r, cell(Grid1, c, r));
        for (int c = ChannelCells::FirstAttribute; c <= ChannelCells::LastAttribute; ++c)
            result.setAttribute(c, r, cell(Grid2, c, r));
    }
    return result;
}

void ChannelTable::setCells(const ChannelCells &cells)
{
    for (int r = 1; r <= ChannelCount; ++r) {
        for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
            m_grid1[index(Grid1, c, r)] = cells.column(c, r);
        for (int c = ChannelCells::FirstAttribute; c <= ChannelCells::LastAttribute; ++c)
            m_grid2[index(Grid2, c, r)] = cells.attribute(c, r);
    }
    emit cellsReset();
}

void ChannelTable::setBandSource(const BandSource *bands)
{
    m_bands = bands;
}

const Marks &ChannelTable::marks() const
{
    return m_marks;
}

void ChannelTable::setMarks(const Marks &marks)
{
    m_marks = marks;
}

void ChannelTable::rewriteMarks()
{
    struct MarkColumn {
        Table table;
        int column;
        std::initializer_list<Mark> marks;
    };
    static const MarkColumn markColumns[] = {
        {Grid1, RxToneColumn, {Mark::Off}},
        {Grid1, TxToneColumn, {Mark::Off}},
        {Grid1, PowerColumn, {Mark::High, Mark::Low}},
        {Grid1, BandwidthColumn, {Mark::Narrow, Mark::Wide}},
        {Grid1, ScanColumn, {Mark::Off, Mark::On}},
        {Grid1, DtmfColumn, {Mark::Off, Mark::On}},
        {Grid1, PttIdColumn, {Mark::Off, Mark::On}},
        {Grid2, TailAttribute, {Mark::Off, Mark::On}},
        {Grid2, VoxAttribute, {Mark::Off, Mark::On}},
        {Grid2, BusyLockAttribute, {Mark::Off, Mark::On}},
        {Grid2, VoiceModeAttribute, {Mark::Off, Mark::Compander, Mark::Scrambler}},
        {Grid2, ShowAliasAttribute, {Mark::Off, Mark::On}},
    };
    bool changed = false;
    for (const MarkColumn &mc : markColumns) {
        for (int r = 1; r <= ChannelCount; ++r) {
            QString &text = grid(mc.table)[index(mc.table, mc.column, r)];
            const std::optional<Mark> mark = Marks::recognise(text);
            if (!mark || std::find(mc.marks.begin(), mc.marks.end(), *mark) == mc.marks.end())
                continue;
            const QString translated = m_marks.text(*mark);
            // A library without this mark must not wipe the cell.
            if (!translated.isEmpty() && translated != text) {
                text = translated;
                changed = true;
            }
        }
    }
    if (changed)
        emit cellsReset();
}

QString ChannelTable::activeReceiveRange() const
{
    if (!m_bands)
        return QString();
    return m_bands->receiveRangeText(m_bands->activeBandIndex() == 1 ? 1 : 2);
}

QString ChannelTable::conversionMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString ChannelTable::integerMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

std::optional<QString> ChannelTable::normaliseFrequency(const QString &text, const QString &rangeText,
                                                        QString *offending)
{
    auto fail = [offending](const QString &bad) -> std::optional<QString> {
        if (offending)
            *offending = bad;
        return std::nullopt;
    };

    std::optional<Decimal> f = parseDecimal(text);
    if (!f)
        return fail(text);
    const QString lowText = rangeText.mid(0, 3);
    const std::optional<Decimal> low = parseDecimal(lowText);
    if (!low)
        return fail(lowText);
    if (compare(*low, *f) > 0)
        f = low;
    const QString highText = rangeText.mid(4, 3);
    const std::optional<Decimal> high = parseDecimal(highText);
    if (!high)
        return fail(highText);
    if (compare(*f, *high) > 0)
        f = high;

    // Walk up in 50 Hz steps to the first point of the 5 kHz or the 6.25 kHz raster.
    qint64 n = tenHertzUnits(*f);
    while (n < 55000000 && n % 500 != 0 && n % 625 != 0)
        n += 5;

    // Shortest decimal form of n / 100000, a "." after a whole number, then zeros up to nine
    // characters (at most six of them).
    const qint64 magnitude = n < 0 ? -n : n;
    QString fraction = QStringLiteral("%1").arg(magnitude % 100000, 5, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString result = (n < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 100000)
                     + QLatin1Char('.') + fraction;
    const int zeros = qBound(0, 9 - static_cast<int>(result.size()), 6);
    result += QString(zeros, QLatin1Char('0'));
    return result;
}

bool ChannelTable::sendcell(int column, int row)
{
    if ((column != RxFreqColumn && column != TxFreqColumn) || row < 1 || row > ChannelCount)
        return false;
    QString offending;
    const std::optional<QString> text = normaliseFrequency(cell(Grid1, column, row), activeReceiveRange(), &offending);
    if (!text) {
        emit conversionFailed(offending);
        return false;
    }
    setCell(Grid1, column, row, *text);
    return true;
}

bool ChannelTable::sendallcell(int r, int c)
{
    if (r < 1 || r > ChannelCount)
        return true;
    if (!cell(Grid1, RxFreqColumn, r).isEmpty() && cell(Grid1, RxToneColumn, r).isEmpty()) {
        // A receive frequency has just been entered into an empty row.
        if (!sendcell(RxFreqColumn, r))
            return false;
        fillNewChannelDefaults(r);
        return true;
    }
    if ((c == RxFreqColumn || c == TxFreqColumn) && !cell(Grid1, c, r).isEmpty())
        return sendcell(c, r);
    if (cell(Grid1, RxFreqColumn, r).isEmpty())
        emptyRow(r);
    return true;
}

void ChannelTable::fillNewChannelDefaults(int row)
{
    if (row < 1 || row > ChannelCount)
        return;
    setCell(Grid1, TxFreqColumn, row, cell(Grid1, RxFreqColumn, row));
    setCell(Grid1, RxToneColumn, row, m_marks.off);
    setCell(Grid1, TxToneColumn, row, m_marks.off);
    setCell(Grid1, PowerColumn, row, m_marks.high);
    setCell(Grid1, BandwidthColumn, row, m_marks.wide);
    setCell(Grid1, ScanColumn, row, m_marks.on);
    setCell(Grid1, DtmfColumn, row, m_marks.off);
    setCell(Grid1, PttIdColumn, row, m_marks.off);
    setCell(Grid1, AliasColumn, row, QString());
    setCell(Grid2, TailAttribute, row, m_marks.on);
    setCell(Grid2, VoxAttribute, row, m_marks.off);
    setCell(Grid2, BusyLockAttribute, row, m_marks.off);
    setCell(Grid2, RxCodeAttribute, row, QStringLiteral("0"));
    setCell(Grid2, TxCodeAttribute, row, QStringLiteral("0"));
    setCell(Grid2, VoiceModeAttribute, row, m_marks.off);
    setCell(Grid2, ShowAliasAttribute, row, m_marks.off);
}

void ChannelTable::emptyRow(int row)
{
    if (row < 1 || row > ChannelCount)
        return;
    for (int c = RxFreqColumn; c <= AliasColumn; ++c)
        setCell(Grid1, c, row, QString());
    for (int c = TailAttribute; c <= ShowAliasAttribute; ++c)
        setCell(Grid2, c, row, QString());
}

void ChannelTable::emptyAll()
{
    setCells(ChannelCells());
}
