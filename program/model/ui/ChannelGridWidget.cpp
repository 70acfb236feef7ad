#include "ChannelGridWidget.h"

#include "files/CProgramDoc.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "common/ui/CurrentCellDelegate.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QCursor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>

// The document's channels as a table: row r is channel r + 1, column c its text of grid
// column c + 1. Empty until the grid is set up.
class ChannelGridModel : public QAbstractTableModel
{
public:
    ChannelGridModel(const CProgramDoc *document, QObject *parent)
        : QAbstractTableModel(parent), m_document(document)
    {
        connect(document, &CProgramDoc::channelsChanged, this, [this](int first, int last) {
            if (m_setUp)
                emit dataChanged(index(first - 1, 0), index(last - 1, columnCount() - 1), {Qt::DisplayRole});
        });
        connect(document, &CProgramDoc::documentReset, this, [this] {
            if (m_setUp)
                emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
        });
    }

    void setUp(const QStringList &headers)
    {
        beginResetModel();
        m_headers = headers;
        m_setUp = true;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_setUp ? 0 : ImageMap::ChannelCount;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || !m_setUp ? 0 : ChannelTexts::LastColumn;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_document->channel(index.row() + 1).text(index.column() + 1);
        if (role == Qt::AccessibleTextRole)
            return gridCellName(m_headers.value(index.column() + 1), QString::number(index.row() + 1),
                                m_document->channel(index.row() + 1).text(index.column() + 1));
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        if (role != Qt::DisplayRole)
            return QVariant();
        if (orientation == Qt::Horizontal)
            return m_headers.value(section + 1);
        return QString::asprintf("%d", section + 1);
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    const CProgramDoc *m_document;
    QStringList m_headers;
    bool m_setUp = false;
};

ChannelGridWidget::ChannelGridWidget(const CProgramDoc *document, QWidget *parent)
    : QTableView(parent), m_model(new ChannelGridModel(document, this))
{
    setModel(m_model);
    setItemDelegate(new CurrentCellDelegate(this));   // the current cell framed while focused
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(true);
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
    horizontalHeader()->setMinimumSectionSize(DefaultColumnWidth / 2);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setFixedWidth(DefaultColumnWidth / 2);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHighLight(false);

    // A press on a fixed cell takes the focus to the grid too, so an open editor commits.
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);

    // The corner is the fixed cell (0, 0); draw it as a header section with its title.
    if (auto *corner = findChild<QAbstractButton *>())
        corner->installEventFilter(this);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &ChannelGridWidget::cellEntered);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ChannelGridWidget::scrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &ChannelGridWidget::scrolled);
    connect(verticalHeader(), &QHeaderView::sectionPressed, this, [this](int logical) {
        emit mousePressed(Qt::LeftButton, logical + 1, 0);
    });
}

void ChannelGridWidget::setUp(const QStringList &headerRow)
{
    m_cornerText = headerRow.value(0);
    m_model->setUp(headerRow);
    setCurrentCell(0, 0);
    if (auto *corner = findChild<QAbstractButton *>())
        corner->update();
}

int ChannelGridWidget::rows() const
{
    return m_model->rowCount() + 1;
}

int ChannelGridWidget::cols() const
{
    return m_model->columnCount() + 1;
}

QString ChannelGridWidget::textMatrix(int row, int column) const
{
    if (row < 0 || row >= rows() || column < 0 || column >= cols())
        return QString();
    if (row == 0 && column == 0)
        return m_cornerText;
    if (row == 0)
        return m_model->headerData(column - 1, Qt::Horizontal, Qt::DisplayRole).toString();
    if (column == 0)
        return m_model->headerData(row - 1, Qt::Vertical, Qt::DisplayRole).toString();
    return m_model->index(row - 1, column - 1).data().toString();
}

int ChannelGridWidget::row() const
{
    return std::max(currentIndex().row(), 0) + 1;
}

int ChannelGridWidget::col() const
{
    return std::max(currentIndex().column(), 0) + 1;
}

void ChannelGridWidget::setRow(int row)
{
    if (row >= 1 && row < rows())
        setCurrentCell(row - 1, col() - 1);
}

void ChannelGridWidget::setCol(int column)
{
    if (column >= 1 && column < cols())
        setCurrentCell(row() - 1, column - 1);
}

void ChannelGridWidget::setCurrentCell(int row, int column)
{
    setCurrentIndex(m_model->index(row, column));
}

QList<int> ChannelGridWidget::selectedChannelRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        if (!rows.contains(index.row() + 1))
            rows.append(index.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

QRect ChannelGridWidget::currentCellRect() const
{
    const QRect cell = visualRect(m_model->index(row() - 1, col() - 1));
    const QRect visible = cell.intersected(viewport()->rect());
    if (visible.isEmpty())
        return QRect();
    return QRect(viewport()->mapTo(this, visible.topLeft()), visible.size());
}

QPoint ChannelGridWidget::pointer() const
{
    return mapFromGlobal(QCursor::pos());
}

int ChannelGridWidget::mouseRow() const
{
    const QPoint p = pointer();
    if (!rect().contains(p))
        return -1;
    const QPoint v = viewport()->mapFrom(this, p);
    if (v.y() < 0)
        return 0;
    const int r = rowAt(v.y());
    return r < 0 ? -1 : r + 1;
}

int ChannelGridWidget::mouseCol() const
{
    const QPoint p = pointer();
    if (!rect().contains(p))
        return -1;
    const QPoint v = viewport()->mapFrom(this, p);
    if (v.x() < 0)
        return 0;
    const int c = columnAt(v.x());
    return c < 0 ? -1 : c + 1;
}

void ChannelGridWidget::setHighLight(bool on)
{
    m_highLight = on;
    QPalette pal = palette();
    const QPalette standard = style()->standardPalette();
    // Off: selected cells look like the others. On: the usual highlight while focused.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const bool show = on && group == QPalette::Active;
        pal.setColor(group, QPalette::Highlight,
                     show ? standard.color(group, QPalette::Highlight) : pal.color(group, QPalette::Base));
        pal.setColor(group, QPalette::HighlightedText,
                     show ? standard.color(group, QPalette::HighlightedText) : pal.color(group, QPalette::Text));
    }
    setPalette(pal);
}

void ChannelGridWidget::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        emit mousePressed(event->button(), index.row() + 1, index.column() + 1);
}

bool ChannelGridWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress
        && (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport()))
        setFocus(Qt::MouseFocusReason);
    if (event->type() == QEvent::Paint && watched->inherits("QAbstractButton")) {
        auto *corner = static_cast<QWidget *>(watched);
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.rect = corner->rect();
        option.text = m_cornerText;
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.orientation = Qt::Horizontal;
        style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}
