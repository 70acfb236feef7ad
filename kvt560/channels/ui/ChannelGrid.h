#pragma once
// The visible channel table StringAlignGrid1 on the channel-editing page: the header row
// (row 0) and the channel-number column (column 0) fixed in silver, every third channel row
// tinted, all texts centred, fixed column widths and 20-pixel rows. The view never edits in
// place and never highlights the selected cell: overlay editors placed with cellRect() do
// the editing. Cells are addressed as in ChannelTable: (column, row), channel rows 1-128.
#include "channels/ChannelTable.h"
#include <QTableView>

class ChannelGridModel;

class ChannelGrid : public QTableView
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 20;

    ChannelGrid(ChannelTable *table, QWidget *parent = nullptr);
    ~ChannelGrid() override;

    ChannelTable *table() const { return m_table; }
    ChannelGridModel *gridModel() const { return m_model; }

    // Width in pixels of table column 0-11.
    static int columnWidthFor(int column);

    // Rectangle of cell (column, row) inside its grid lines, in viewport coordinates (row 0
    // is the header row, above the viewport); an empty rectangle outside the table. Overlay editors are
    // children of viewport() placed relative to this.
    QRect cellRect(int column, int row) const;
    // The current cell; row 0 / column 0 when there is none.
    int currentColumn() const;
    int currentRow() const;
    // Moves the current cell to channel cell (column 1-11, row 1-128) and scrolls it into view.
    void setCurrentCell(int column, int row);

    QSize sizeHint() const override;

signals:
    // The grid is about to be destroyed and is still whole: whatever watches its events or its
    // viewport's lets go now, before the widgets underneath come apart.
    void destroying();
    // The current cell is about to move to (column, row) by a mouse press or a navigation key;
    // emitted before the move, also when a press lands on the current cell.
    void aboutToSelectCell(int column, int row);
    // The current cell changed (by mouse, keys or setCurrentCell).
    void currentCellChanged(int column, int row);
    // A completed mouse click (button released on the pressed cell) and a double click.
    void cellClicked(int column, int row);
    void cellDoubleClicked(int column, int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    ChannelTable *m_table;
    ChannelGridModel *m_model;
};
