#include "ChannelPrinting.h"

#include "model/GridRules.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace ChannelPrinting {

namespace {
// Left edge of each column, in average character widths.
constexpr int ColumnX[GridRules::ColumnCount] = {2, 8, 20, 32, 42, 52, 62, 72, 82, 94};
} // namespace

int firstRow(int page)
{
    return page <= 1 ? 0 : 51;
}

int lastRow(int page)
{
    return page <= 1 ? 50 : GridRules::RowCount - 1;
}

void paintPage(QPainter &painter, int page, const CellTextProvider &cellText)
{
    QPaintDevice *device = painter.device();
    QFont font(QStringLiteral("Arial"));
    // 12 points on the device: its vertical resolution decides the pixel height.
    int pixelSize = qRound(12.0 * device->logicalDpiY() / 72.0);
    font.setWeight(QFont::Normal);
    const int rowsOnPage = lastRow(page) - firstRow(page) + 1;
    int lineHeight = 0;
    int charWidth = 0;
    for (;;) {
        font.setPixelSize(pixelSize);
        const QFontMetrics metrics(font, device);
        lineHeight = metrics.height() + metrics.leading();
        charWidth = metrics.averageCharWidth();
        // Where the font at hand is larger than the one the layout was made for, it is made
        // smaller until every row, and a six-character name in the last column, is on the
        // page instead of being cut off at its edges.
        const int neededHeight = (rowsOnPage + 2) * lineHeight;
        const int neededWidth = (ColumnX[GridRules::ColumnCount - 1] + 7) * charWidth;
        if ((neededHeight <= device->height() && neededWidth <= device->width()) || pixelSize <= 4)
            break;
        const double scale = std::min(double(device->height()) / neededHeight, double(device->width()) / neededWidth);
        pixelSize = std::max(4, std::min(pixelSize - 1, int(pixelSize * scale)));
    }
    painter.setFont(font);
    const int ascent = QFontMetrics(font, device).ascent();

    int k = 1;
    for (int row = firstRow(page); row <= lastRow(page); ++row, ++k) {
        // Rows are placed by their top edge; drawText wants the baseline.
        const int baseline = (k + 1) * lineHeight + ascent;
        for (int column = 0; column < GridRules::ColumnCount; ++column)
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
