#include "TablePrinting.h"
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>

namespace {

constexpr qreal CellPadding = 0.8;   // of a character width, on each side of a cell text

QVector<qreal> columnWidths(const QFontMetricsF &fm, const PrintTable &table)
{
    QVector<qreal> widths(table.headers.size(), 0.0);
    auto widen = [&](const QStringList &cells) {
        for (int c = 0; c < cells.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], fm.horizontalAdvance(cells.at(c)));
    };
    widen(table.headers);
    for (const QStringList &row : table.rows)
        widen(row);
    const qreal pad = 2 * CellPadding * fm.averageCharWidth();
    for (qreal &w : widths)
        w += pad;
    return widths;
}

qreal sum(const QVector<qreal> &v)
{
    qreal s = 0;
    for (qreal x : v)
        s += x;
    return s;
}

// The largest point size (10 down to 4) at which every table fits the page width.
qreal fittingPointSize(QPainter &painter, const PrintDocument &doc, qreal pageWidth)
{
    QFont font = painter.font();
    for (qreal size = 10; size > 4; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetricsF fm(font, painter.device());
        bool fits = true;
        for (const PrintTable &t : doc.tables)
            fits = fits && sum(columnWidths(fm, t)) <= pageWidth;
        if (fits)
            return size;
    }
    return 4;
}

} // namespace

int TablePrinting::paint(QPagedPaintDevice *device, const PrintDocument &doc)
{
    QPainter painter;
    if (!device || !painter.begin(device))
        return 0;
    const QRectF page = device->pageLayout().paintRectPixels(device->logicalDpiX());
    const qreal pageWidth = page.width();
    const qreal pageHeight = page.height();

    QFont font = painter.font();
    font.setPointSizeF(fittingPointSize(painter, doc, pageWidth));
    painter.setFont(font);
    const QFontMetricsF fm(font, device);
    const qreal lineHeight = fm.height() * 1.35;
    const qreal pad = CellPadding * fm.averageCharWidth();

    int pages = 1;
    qreal y = 0;
    auto newPage = [&] {
        device->newPage();
        ++pages;
        y = 0;
    };
    auto textLine = [&](const QString &text, bool bold) {
        QFont f = font;
        f.setBold(bold);
        painter.setFont(f);
        painter.drawText(QRectF(0, y, pageWidth, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
        painter.setFont(font);
        y += lineHeight;
    };

    for (const QString &line : doc.headingLines)
        textLine(line, &line == &doc.headingLines.first());
    if (!doc.headingLines.isEmpty())
        y += lineHeight / 2;

    bool first = true;
    for (const PrintTable &table : doc.tables) {
        if (!first && y > 0)
            newPage();
        first = false;
        const QVector<qreal> widths = columnWidths(fm, table);
        const bool hasHeader = std::any_of(table.headers.cbegin(), table.headers.cend(),
                                           [](const QString &h) { return !h.isEmpty(); });
        auto rowLine = [&](const QStringList &cells, bool header) {
            if (header && !hasHeader)
                return;
            qreal x = 0;
            if (header) {
                painter.fillRect(QRectF(0, y, sum(widths), lineHeight), QColor(0xE0, 0xE0, 0xE0));
            }
            for (int c = 0; c < widths.size(); ++c) {
                const QRectF cell(x, y, widths.at(c), lineHeight);
                painter.drawRect(cell);
                if (c < cells.size())
                    painter.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter, cells.at(c));
                x += widths.at(c);
            }
            y += lineHeight;
        };
        if (!table.title.isEmpty())
            textLine(table.title, true);
        rowLine(table.headers, true);
        for (const QStringList &row : table.rows) {
            if (y + lineHeight > pageHeight) {
                newPage();
                rowLine(table.headers, true);
            }
            rowLine(row, false);
        }
    }
    painter.end();
    return pages;
}

bool TablePrinting::writePdf(const QString &path, const PrintDocument &doc, const QString &title,
                             QString *errorText)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(title);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        pages = paint(&writer, doc);
    }
    // The writer has flushed its pages into the file; a failed write shows as the file's error.
    if (pages == 0 || file.error() != QFileDevice::NoError || !file.flush()) {
        if (errorText)
            *errorText = file.error() != QFileDevice::NoError ? file.errorString()
                                                              : QStringLiteral("the pages could not be painted");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return true;
}
