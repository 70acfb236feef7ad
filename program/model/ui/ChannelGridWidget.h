#pragma once
// The grid control of the channel view: 100 rows x 10 columns addressed the way the view
// thinks of them, with row 0 (column titles) and column 0 (channel numbers) fixed. The fixed
// row is the table's horizontal header, the fixed column its vertical header and the cell
// (0, 0) its corner, so they stay in place while the channels scroll. Cells are centred and
// read-only; the view edits them through its own overlay editors.
#include <QTableWidget>

class ChannelGridWidget : public QTableWidget
{
    Q_OBJECT
public:
    explicit ChannelGridWidget(QWidget *parent = nullptr);

    // Builds the 100 x 10 layout with the given header row (ten texts, the first for the
    // corner); column 0 is half as wide as the others. Cell texts are emptied.
    void setUp(const QStringList &headerRow);

    int rows() const { return rowCount() + 1; }
    int cols() const { return columnCount() + 1; }

    // Text of any cell, fixed ones included.
    QString textMatrix(int row, int column) const;
    // Sets the text of a channel cell (row 1-99, column 1-9); fixed cells are ignored.
    void setTextMatrix(int row, int column, const QString &text);

    // The current cell in grid coordinates (row 1-99, column 1-9).
    int row() const;
    int col() const;
    void setRow(int row);
    void setCol(int column);

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
    bool m_highLight = false;
    QString m_cornerText;
};
