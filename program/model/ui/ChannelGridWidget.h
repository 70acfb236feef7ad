#pragma once
// The grid control of the channel view: 100 rows x 10 columns addressed the way the view
// thinks of them, with row 0 (column titles) and column 0 (channel numbers) fixed. The fixed
// row is the table's horizontal header, the fixed column its vertical header and the cell
// (0, 0) its corner, so they stay in place while the channels scroll. The cells show the
// document's channels (CProgramDoc): they hold no texts of their own and follow every change
// of the document. Cells are centred and read-only; the view edits them through its own
// overlay editors.
#include <QTableView>

class CProgramDoc;
class ChannelGridModel;

class ChannelGridWidget : public QTableView
{
    Q_OBJECT
public:
    explicit ChannelGridWidget(const CProgramDoc *document, QWidget *parent = nullptr);

    // Builds the 100 x 10 layout with the given header row (ten texts, the first for the
    // corner); column 0 is half as wide as the others. Until then the grid has no cells.
    void setUp(const QStringList &headerRow);

    int rows() const;
    int cols() const;

    // Text of any cell, fixed ones included: what the document's channels show.
    QString textMatrix(int row, int column) const;

    // The current cell in grid coordinates (row 1-99, column 1-9).
    int row() const;
    int col() const;
    void setRow(int row);
    void setCol(int column);
    // The current cell by its position among the channel cells (row 0-98, column 0-8).
    void setCurrentCell(int row, int column);
    // The channel rows (1-99) with a selected cell, in ascending order.
    QList<int> selectedChannelRows() const;

    // The current cell's rectangle in this widget's coordinates, clipped to the visible area;
    // empty when the cell is scrolled out of sight.
    QRect currentCellRect() const;

    // Row and column under the mouse pointer (0 in a fixed cell), -1 when it is outside.
    int mouseRow() const;
    int mouseCol() const;

    // The selection highlight, shown while the grid has the focus.
    bool highLight() const { return m_highLight; }
    void setHighLight(bool on);

    // Width of the channel columns; column 0 is half of it.
    static constexpr int DefaultColumnWidth = 80;

    // Typing on the grid does not jump to a matching cell; keys reach the view's editors.
    void keyboardSearch(const QString &) override {}

signals:
    // A mouse button went down on the grid (after the current cell followed it). column is
    // the grid column under the pointer: 0 for the channel-number column.
    void mousePressed(Qt::MouseButton button, int row, int column);
    // The current cell changed.
    void cellEntered();
    // The grid scrolled.
    void scrolled();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint pointer() const;
    ChannelGridModel *m_model;
    bool m_highLight = false;
    QString m_cornerText;
};
