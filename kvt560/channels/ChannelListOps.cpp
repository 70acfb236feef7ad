#include "channels/ChannelListOps.h"

#include "channels/ChannelCursor.h"
#include "channels/ChannelTable.h"
#include "settings/BandSource.h"

#include <QTimer>
#include <optional>

namespace {

// Frequencies are added as exact decimals: a value is a whole number of 10^-Scale MHz, so
// that a step such as 6.25 kHz never picks up binary rounding. Digits past the twelfth
// decimal play no part (the normalisation keeps four).
constexpr int Scale = 12;
using Wide = __int128;

Wide pow10(int n)
{
    Wide p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// "[+|-]digits[.digits]" with blanks around it, "." as the separator whatever the locale.
// Values with more than 20 integer digits lie far beyond any band and are read as
// +/- 10^20 MHz, which compares and clamps the same way.
std::optional<Wide> parseMegahertz(const QString &input)
{
    const QString text = input.trimmed();
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    Wide whole = 0;
    int wholeDigits = 0, digits = 0;
    bool huge = false;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        if (whole != 0 || text[i] != QLatin1Char('0'))
            ++wholeDigits;
        if (wholeDigits > 20)
            huge = true;
        else
            whole = whole * 10 + (text[i].unicode() - '0');
        ++i;
        ++digits;
    }
    Wide fraction = 0;
    int fractionDigits = 0;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            if (fractionDigits < Scale) {
                fraction = fraction * 10 + (text[i].unicode() - '0');
                ++fractionDigits;
            }
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;
    Wide value = huge ? pow10(20 + Scale) : whole * pow10(Scale) + fraction * pow10(Scale - fractionDigits);
    return negative ? -value : value;
}

// The shortest decimal text of a value: no trailing zeros, no "." after a whole number.
QString shortestText(Wide value)
{
    const bool negative = value < 0;
    if (negative)
        value = -value;
    Wide whole = value / pow10(Scale);
    Wide fraction = value % pow10(Scale);
    QString wholeText;
    do {
        wholeText.prepend(QChar(char('0' + int(whole % 10))));
        whole /= 10;
    } while (whole != 0);
    QString fractionText;
    for (int d = 0; d < Scale; ++d) {
        fractionText.prepend(QChar(char('0' + int(fraction % 10))));
        fraction /= 10;
    }
    while (fractionText.endsWith(QLatin1Char('0')))
        fractionText.chop(1);
    QString text = (negative ? QStringLiteral("-") : QString()) + wholeText;
    if (!fractionText.isEmpty())
        text += QLatin1Char('.') + fractionText;
    return text;
}

} // namespace

ChannelListOps::ChannelListOps(ChannelTable *table, ChannelCursor *cursor, QObject *parent)
    : QObject(parent), Timer1(new QTimer(this)), m_table(table), m_cursor(cursor)
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &ChannelListOps::Timer1Timer);
}

int ChannelListOps::stepUnits(int index)
{
    static const int units[] = {500, 625, 1000, 1250, 2500};
    return index >= 0 && index < 5 ? units[index] : 0;
}

int ChannelListOps::step() const
{
    return stepUnits(m_stepIndex ? m_stepIndex() : -1);
}

void ChannelListOps::fail(const QString &offending)
{
    // Stop first: the notice is modal, and the release of the button goes to it, so a
    // running repeat would raise the same failure again every 200 ms.
    Timer1->stop();
    emit m_table->conversionFailed(offending);
}

void ChannelListOps::bsSkinButton6MouseDown()
{
    emit autoAddHeld(true);
    Timer1->start(FirstInterval);
    ChannelTable &t = *m_table;
    if (m_cursor->CurRow < 1)
        m_cursor->CurRow = 1;
    if (m_cursor->CurRow > ChannelTable::ChannelCount)
        m_cursor->CurRow = ChannelTable::ChannelCount;
    const int row = m_cursor->CurRow;

    if (t.isEmptyChannel(row)) {
        // The first channel takes the lower limit of band 1, normalised with the active band.
        const QString bottom = m_table->bandSource() ? m_table->bandSource()->receiveRangeText(1).left(3) : QString();
        QString offending;
        const std::optional<QString> text = ChannelTable::normaliseFrequency(bottom, t.activeReceiveRange(), &offending);
        if (!text) {
            fail(offending);
            return;
        }
        t.setCell(ChannelTable::Grid1, ChannelTable::RxFreqColumn, row, *text);
        t.fillNewChannelDefaults(row);
        emit selectionMoveRequested(m_cursor->CurCol, row);
    } else if (t.cell(ChannelTable::Grid1, ChannelTable::RxToneColumn, row).isEmpty()) {
        // A receive frequency typed but not committed: commit it and add nothing. A failed
        // commit shows its notice; the repeat must not run on behind it.
        Timer1->stop();
        if (!t.sendallcell(m_cursor->CurRow, m_cursor->CurCol))
            return;
        Timer1->start(FirstInterval);
        // The selection stays; entering the cell again shows the committed text in an
        // overlay that is open on it.
        emit selectionMoveRequested(m_cursor->CurCol, row);
    } else if (row < ChannelTable::ChannelCount) {
        addNextChannel();
    }
}

void ChannelListOps::Timer1Timer()
{
    if (Timer1->interval() != RepeatInterval)
        Timer1->setInterval(RepeatInterval);   // restarts the timer: only once per hold
    if (m_cursor->CurRow < 1)
        m_cursor->CurRow = 1;
    if (m_cursor->CurRow >= ChannelTable::ChannelCount)
        return;   // at row 128 the ticks add nothing
    addNextChannel();
}

void ChannelListOps::bsSkinButton6MouseUp()
{
    Timer1->stop();
    emit autoAddHeld(false);
}

bool ChannelListOps::addNextChannel()
{
    ChannelTable &t = *m_table;
    const int row = m_cursor->CurRow;
    const QString current = t.cell(ChannelTable::Grid1, ChannelTable::RxFreqColumn, row);
    const std::optional<Wide> f0 = parseMegahertz(current);
    if (!f0) {
        fail(current);
        return false;
    }
    Wide f = *f0 + Wide(step()) * pow10(Scale - 5);

    // The wrap limits always come from band 1, whatever the band selector says.
    const QString band1 = t.bandSource() ? t.bandSource()->receiveRangeText(1) : QString();
    const QString upperText = band1.mid(4, 3);
    const std::optional<Wide> upper = parseMegahertz(upperText);
    if (!upper) {
        fail(upperText);
        return false;
    }
    if (f > *upper) {
        const QString lowerText = band1.left(3);
        const std::optional<Wide> lower = parseMegahertz(lowerText);
        if (!lower) {
            fail(lowerText);
            return false;
        }
        f = *lower;
    }

    // Everything is checked before the table changes, so a failure leaves it as it was.
    QString offending;
    const std::optional<QString> text = ChannelTable::normaliseFrequency(shortestText(f), t.activeReceiveRange(), &offending);
    if (!text) {
        fail(offending);
        return false;
    }
    m_cursor->CurRow = row + 1;
    // Whatever the row held before is overwritten with a new channel.
    t.setCell(ChannelTable::Grid1, ChannelTable::RxFreqColumn, m_cursor->CurRow, *text);
    t.fillNewChannelDefaults(m_cursor->CurRow);
    emit selectionMoveRequested(m_cursor->CurCol, m_cursor->CurRow);
    return true;
}

bool ChannelListOps::moveCurrent(int offset)
{
    ChannelTable &t = *m_table;
    if (!t.sendallcell(m_cursor->CurRow, m_cursor->CurCol))
        return false;
    const int row = m_cursor->CurRow;
    const int other = row + offset;
    if (m_cursor->CurCol < 1 || row < 1 || row > ChannelTable::ChannelCount || other < 1
        || other > ChannelTable::ChannelCount)
        return false;
    if (t.cell(ChannelTable::Grid1, m_cursor->CurCol, row).isEmpty())
        return false;
    for (int c = ChannelTable::RxFreqColumn; c <= ChannelTable::AliasColumn; ++c) {
        const QString a = t.cell(ChannelTable::Grid1, c, row);
        t.setCell(ChannelTable::Grid1, c, row, t.cell(ChannelTable::Grid1, c, other));
        t.setCell(ChannelTable::Grid1, c, other, a);
    }
    for (int c = ChannelTable::TailAttribute; c <= ChannelTable::ShowAliasAttribute; ++c) {
        const QString a = t.cell(ChannelTable::Grid2, c, row);
        t.setCell(ChannelTable::Grid2, c, row, t.cell(ChannelTable::Grid2, c, other));
        t.setCell(ChannelTable::Grid2, c, other, a);
    }
    // The moved channel stays current, so repeated clicks keep moving it.
    m_cursor->CurRow = other;
    return true;
}

void ChannelListOps::bsSkinButton3Click()
{
    moveCurrent(-1);
}

void ChannelListOps::bsSkinButton4Click()
{
    moveCurrent(+1);
}

void ChannelListOps::bsSkinButton5Click()
{
    if (m_cursor->CurRow >= 1)
        m_table->emptyRow(m_cursor->CurRow);
    emit overlaysHideRequested();
}
