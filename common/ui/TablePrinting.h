#pragma once
// Paints a document of heading lines and titled tables onto printer pages, as many pages as
// the rows need, each page repeating its table's column header. It knows nothing of radios:
// each program supplies its heading lines and rows. Used for printing, preview and PDF files.
#include <QString>
#include <QStringList>
#include <QVector>

class QPagedPaintDevice;

struct PrintTable {
    QString title;               // line above the table; empty: none
    QStringList headers;         // column headers, repeated at the top of every page (all
                                 // empty: no header line; the list still gives the columns)
    QVector<QStringList> rows;   // cell texts, one list per row
};

struct PrintDocument {
    QStringList headingLines;    // at the top of the first page
    QVector<PrintTable> tables;  // one after the other, each starting on a new page
};

namespace TablePrinting {

// Paints the document onto the device (a QPrinter or QPdfWriter that is not yet painted on).
// The font shrinks until the widest table fits the page width. Returns the number of pages,
// 0 when the device could not be painted on.
int paint(QPagedPaintDevice *device, const PrintDocument &document);

// Writes the document as a PDF file, whole or not at all: the pages go to a temporary file
// beside the target, which replaces it only when complete. On failure, errorText holds the
// system's reason.
bool writePdf(const QString &path, const PrintDocument &document, const QString &title,
              QString *errorText = nullptr);

} // namespace TablePrinting
