#include "channels/ui/ChannelGrid.h"

#include "channels/ui/ChannelGridModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Paints cells as they are: no selection highlight, no focus frame, and the fixed number
// column in its normal text colour although it cannot be selected.
class PlainCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
        option->state |= QStyle::State_Enabled;
    }
};

} // namespace

ChannelGrid::ChannelGrid(ChannelTable *table, QWidget *parent)
    : QTableView(parent), m_table(table), m_model(new ChannelGridModel(table, this))
{
    setObjectName(QStringLiteral("StringAlignGrid1"));
    setModel(m_model);
    setItemDelegate(new PlainCellDelegate(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Only the current cell matters; without a selection nothing is drawn highlighted.
    setSelectionMode(QAbstractItemView::NoSelection);
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
    if (i.isValid() && (m_model->flags(i) & Qt::ItemIsSelectable))
        emit aboutToSelectCell(i.column(), i.row() + 1);
    QTableView::mousePressEvent(event);
}

void ChannelGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
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
