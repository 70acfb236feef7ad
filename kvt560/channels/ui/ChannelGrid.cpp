#include "channels/ui/ChannelGrid.h"

#include "channels/ui/ChannelGridModel.h"
#include "channels/ui/OverlayKeys.h"
#include "common/ui/CurrentCellDelegate.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// Paints cells as they are: no hover, the fixed number column in its normal text colour
// although it cannot be selected, the current cell framed while the grid has the focus.
// Selected channel rows are highlighted, their number too.
class PlainCellDelegate : public CurrentCellDelegate
{
public:
    using CurrentCellDelegate::CurrentCellDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        CurrentCellDelegate::initStyleOption(option, index);
        option->state &= ~(QStyle::State_Selected | QStyle::State_MouseOver);
        option->state |= QStyle::State_Enabled;
        const QItemSelectionModel *selection = view()->selectionModel();
        if (selection && selection->isRowSelected(index.row(), index.parent()))
            option->state |= QStyle::State_Selected;
    }
};

// The keys that extend a row selection when Shift is held.
bool extendsRows(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown
        || key == Qt::Key_Home || key == Qt::Key_End;
}

} // namespace

ChannelGrid::ChannelGrid(ChannelTable *table, QWidget *parent)
    : QTableView(parent), m_table(table), m_model(new ChannelGridModel(table, this))
{
    setObjectName(QStringLiteral("StringAlignGrid1"));
    setModel(m_model);
    setItemDelegate(new PlainCellDelegate(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Whole rows are selected, and only by the channel-number column and the keys below
    // (selectionCommand keeps the view from selecting by itself).
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    // Row 0 of the table is the horizontal header; column 0 is a model column of its own.
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);

    QHeaderView *header = horizontalHeader();
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setFixedHeight(RowHeight);
    header->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background-color: rgb(192,192,192); color: black; padding: 0px;"
        " border: none; border-right: 1px solid rgb(128,128,128);"
        " border-bottom: 1px solid rgb(128,128,128); }"));
    for (int c = 0; c < ChannelTable::Grid1Columns; ++c)
        header->resizeSection(c, columnWidthFor(c));

    // Like CurCol and CurRow, the grid starts on the receive frequency of channel 1.
    selectionModel()->setCurrentIndex(m_model->index(0, ChannelTable::RxFreqColumn), QItemSelectionModel::NoUpdate);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    emit currentCellChanged(current.column(), current.row() + 1);
            });
    // The item view reports clicks on the fixed number column too; that column is no cell
    // to enter.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (m_model->flags(index) & Qt::ItemIsSelectable)
            emit cellClicked(index.column(), index.row() + 1);
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_model->flags(index) & Qt::ItemIsSelectable)
            emit cellDoubleClicked(index.column(), index.row() + 1);
    });
    // Ctrl+A selects every channel (a shortcut, so that it is not taken as a typed key).
    auto *selectAllChannels = new QAction(this);
    selectAllChannels->setObjectName(QStringLiteral("selectAllChannelsAction"));
    selectAllChannels->setShortcut(QKeySequence::SelectAll);
    selectAllChannels->setShortcutContext(Qt::WidgetShortcut);
    addAction(selectAllChannels);
    connect(selectAllChannels, &QAction::triggered, this, [this] {
        selectRows(1, ChannelTable::ChannelCount);
        m_anchorRow = 1;
    });
    // The number column is drawn with its row's selection.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, viewport(), qOverload<>(&QWidget::update));
}

ChannelGrid::~ChannelGrid()
{
    emit destroying();
}

int ChannelGrid::columnWidthFor(int column)
{
    static const int widths[ChannelTable::Grid1Columns] = {30, 72, 73, 72, 73, 60, 60, 60, 60, 60, 60, 60};
    return column >= 0 && column < ChannelTable::Grid1Columns ? widths[column] : 0;
}

QRect ChannelGrid::cellRect(int column, int row) const
{
    if (column < 0 || column >= ChannelTable::Grid1Columns || row < 0 || row > ChannelTable::ChannelCount)
        return QRect();
    if (row == 0) {
        const QHeaderView *header = horizontalHeader();
        return QRect(header->sectionViewportPosition(column), -header->height(), header->sectionSize(column),
                     header->height());
    }
    return visualRect(m_model->index(row - 1, column));
}

int ChannelGrid::currentColumn() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : 0;
}

int ChannelGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void ChannelGrid::setCurrentCell(int column, int row)
{
    if (column < 1 || column >= ChannelTable::Grid1Columns || row < 1 || row > ChannelTable::ChannelCount)
        return;
    const QModelIndex i = m_model->index(row - 1, column);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::NoUpdate);
    scrollTo(i);
}

QList<int> ChannelGrid::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows(ChannelTable::RxFreqColumn))
        rows.append(index.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ChannelGrid::selectRows(int first, int last, bool add)
{
    first = qBound(1, first, int(ChannelTable::ChannelCount));
    last = qBound(1, last, int(ChannelTable::ChannelCount));
    if (first > last)
        std::swap(first, last);
    const QItemSelection rows(m_model->index(first - 1, ChannelTable::RxFreqColumn),
                              m_model->index(last - 1, ChannelTable::Grid1Columns - 1));
    selectionModel()->select(rows, (add ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect)
                                       | QItemSelectionModel::Rows);
}

int ChannelGrid::channelRowAt(const QPoint &viewportPos) const
{
    const int modelRow = QTableView::rowAt(viewportPos.y());
    if (modelRow >= 0)
        return modelRow + 1;
    // Above or below the rows: the first or the last visible row.
    return viewportPos.y() < 0 ? qMax(1, QTableView::rowAt(0) + 1)
                               : qMax(1, QTableView::rowAt(viewport()->height() - 1) + 1);
}

void ChannelGrid::pressRowHeader(int row, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    if (shift && m_anchorRow > 0) {
        selectRows(m_anchorRow, row, control);
    } else if (control) {
        selectionModel()->select(m_model->index(row - 1, ChannelTable::RxFreqColumn),
                                 QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        m_anchorRow = row;
    } else {
        selectRows(row, row);
        m_anchorRow = row;
    }
    m_dragAnchor = control ? 0 : m_anchorRow;
    emit rowHeaderPressed(row);
}

QItemSelectionModel::SelectionFlags ChannelGrid::selectionCommand(const QModelIndex &, const QEvent *) const
{
    return QItemSelectionModel::NoUpdate;
}

QSize ChannelGrid::sizeHint() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < ChannelTable::Grid1Columns; ++c)
        width += columnWidthFor(c);
    return QSize(width, 480);
}

// Only the left button selects; the other buttons do nothing to the grid.
void ChannelGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex i = indexAt(event->position().toPoint());
    if (i.isValid() && i.column() == ChannelTable::NumberColumn) {
        pressRowHeader(i.row() + 1, event->modifiers());
        event->accept();
        return;
    }
    if (i.isValid() && (m_model->flags(i) & Qt::ItemIsSelectable)) {
        clearSelection();
        emit aboutToSelectCell(i.column(), i.row() + 1);
    }
    QTableView::mousePressEvent(event);
}

void ChannelGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    if (m_dragAnchor > 0) {
        m_dragAnchor = 0;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void ChannelGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragAnchor > 0) {
        if (event->buttons() & Qt::LeftButton) {
            const int row = channelRowAt(event->position().toPoint());
            selectRows(m_dragAnchor, row);
            scrollTo(m_model->index(row - 1, ChannelTable::NumberColumn));
        } else {
            m_dragAnchor = 0;
        }
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void ChannelGrid::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (!OverlayKeys::isGridNavigationKey(key)) {
        QTableView::keyPressEvent(event);
        return;
    }
    if ((event->modifiers() & Qt::ShiftModifier) && extendsRows(key)) {
        // Shift and a move: the rows from the anchor (the current row when nothing was
        // selected) to the new current row.
        const int anchor = selectedRows().isEmpty() || m_anchorRow < 1 ? currentRow() : m_anchorRow;
        QTableView::keyPressEvent(event);
        if (anchor >= 1) {
            m_anchorRow = anchor;
            selectRows(anchor, currentRow());
        }
        return;
    }
    clearSelection();
    QTableView::keyPressEvent(event);
}

void ChannelGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

QModelIndex ChannelGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    if (next.isValid() && next != currentIndex())
        emit aboutToSelectCell(next.column(), next.row() + 1);
    return next;
}
