#pragma once
// Printing of the channel list: two pages of plain text columns, rows 0-50 of the grid (the
// header row and channels 1-50) on page 1 and rows 51-99 on page 2, in "Arial" 12 pt.
#include <functional>

#include <QString>

class QPainter;
class QPrinter;

// Text of grid cell (row 0-99, column 0-9) exactly as the grid shows it.
using CellTextProvider = std::function<QString(int row, int column)>;

namespace ChannelPrinting {

constexpr int PageCount = 2;

// First and last grid row printed on page 1 or 2.
int firstRow(int page);
int lastRow(int page);

// Paints page 1 or 2 with `painter`, already begun on the page's device. The k-th printed
// row (k = 1, 2, ...) is at y = (k + 1) x line height, its ten cells at x = 2, 8, 20, 32,
// 42, 52, 62, 72, 82 and 94 x the font's average character width. A font whose lines or
// characters are too large for the page to hold all rows and columns is made smaller.
void paintPage(QPainter &painter, int page, const CellTextProvider &cellText);

// Prints the pages the printer's range asks for (both when no range is set). Returns false
// when the printer could not be started.
bool print(QPrinter *printer, const CellTextProvider &cellText);

} // namespace ChannelPrinting
