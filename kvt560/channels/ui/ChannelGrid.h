#pragma once
// The visible channel table StringAlignGrid1 on the channel-editing page: the header row
// (row 0) and the channel-number column (column 0) fixed in silver, every third channel row
// tinted, all texts centred, fixed column widths and 20-pixel rows. The view never edits in
// place: overlay editors placed with cellRect() do the editing. While it has the focus, its
// current cell is framed; the arrow keys move that frame. Cells are addressed as in ChannelTable: (column, row), channel rows 1-128.
//
// Whole channels are selected by the channel-number column: a click selects its row, Shift
// and a click or a drag a range, Ctrl and a click adds or takes away a row; Shift+Up/Down
// extend the selection from the keyboard and Ctrl+A selects every channel. Selected rows
// are drawn highlighted. A press on a channel cell, or a move without Shift, ends the
// selection. Selecting rows never enters a cell: no mark flips.
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

    // The selected channel rows (1-128), in ascending order; empty when none is selected.
    QList<int> selectedRows() const;
    // Selects channel rows first to last (either order), replacing the selection or, with
    // add, beside it.
    void selectRows(int first, int last, bool add = false);
    // True while a drag over the channel-number column is selecting rows.
    bool isSelectingRows() const { return m_dragAnchor > 0; }

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
    // A press on the channel-number column of row (its row is to become the current one).
    void rowHeaderPressed(int row);
    // A completed mouse click (button released on the pressed cell) and a double click.
    void cellClicked(int column, int row);
    void cellDoubleClicked(int column, int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    // The view never selects on its own: the row selection above is made explicitly.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    void pressRowHeader(int row, Qt::KeyboardModifiers modifiers);
    int channelRowAt(const QPoint &viewportPos) const;

    ChannelTable *m_table;
    ChannelGridModel *m_model;
    int m_anchorRow = 0;    // where a Shift selection starts
    int m_dragAnchor = 0;   // > 0 while a drag over the number column selects rows
};
