#include "ChannelPrinting.h"

#include "model/ChannelGrid.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace ChannelPrinting {

namespace {
// Left edge of each column, in average character widths.
constexpr int ColumnX[ChannelGrid::ColumnCount] = {2, 8, 20, 32, 42, 52, 62, 72, 82, 94};
} // namespace

int firstRow(int page)
{
    return page <= 1 ? 0 : 51;
}

int lastRow(int page)
{
    return page <= 1 ? 50 : ChannelGrid::RowCount - 1;
}

void paintPage(QPainter &painter, int page, const CellTextProvider &cellText)
{
    QFont font(QStringLiteral("Arial"));
    // 12 points on the device: its vertical resolution decides the pixel height.
    font.setPixelSize(qRound(12.0 * painter.device()->logicalDpiY() / 72.0));
    font.setWeight(QFont::Normal);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const int lineHeight = metrics.height() + metrics.leading();
    const int charWidth = metrics.averageCharWidth();

    int k = 1;
    for (int row = firstRow(page); row <= lastRow(page); ++row, ++k) {
        // Rows are placed by their top edge; drawText wants the baseline.
        const int baseline = (k + 1) * lineHeight + metrics.ascent();
        for (int column = 0; column < ChannelGrid::ColumnCount; ++column)
            painter.drawText(ColumnX[column] * charWidth, baseline, cellText(row, column));
    }
}

bool print(QPrinter *printer, const CellTextProvider &cellText)
{
    int from = 1;
    int to = PageCount;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        from = std::clamp(printer->fromPage(), 1, PageCount);
        to = std::clamp(printer->toPage() > 0 ? printer->toPage() : PageCount, from, PageCount);
    }
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    for (int page = from; page <= to; ++page) {
        if (page != from)
            printer->newPage();
        paintPage(painter, page, cellText);
    }
    return painter.end();
}

} // namespace ChannelPrinting
