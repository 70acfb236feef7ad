#include "ChannelGridWidget.h"

#include <QAbstractButton>
#include <QCursor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

ChannelGridWidget::ChannelGridWidget(QWidget *parent)
    : QTableWidget(parent)
{
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

    connect(this, &QTableWidget::currentCellChanged, this, &ChannelGridWidget::cellEntered);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ChannelGridWidget::scrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &ChannelGridWidget::scrolled);
    connect(verticalHeader(), &QHeaderView::sectionPressed, this, [this](int logical) {
        emit mousePressed(Qt::LeftButton, logical + 1, 0);
    });
}

void ChannelGridWidget::setUp(const QStringList &headerRow)
{
    clear();
    setRowCount(99);
    setColumnCount(9);
    m_cornerText = headerRow.value(0);
    setHorizontalHeaderLabels(headerRow.mid(1));
    QStringList numbers;
    for (int r = 1; r <= rowCount(); ++r)
        numbers << QString::asprintf("%d", r);
    setVerticalHeaderLabels(numbers);
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, item);
        }
    }
    setCurrentCell(0, 0);
    if (auto *corner = findChild<QAbstractButton *>())
        corner->update();
}

QString ChannelGridWidget::textMatrix(int row, int column) const
{
    if (row < 0 || row >= rows() || column < 0 || column >= cols())
        return QString();
    if (row == 0 && column == 0)
        return m_cornerText;
    if (row == 0) {
        const QTableWidgetItem *h = horizontalHeaderItem(column - 1);
        return h ? h->text() : QString();
    }
    if (column == 0) {
        const QTableWidgetItem *h = verticalHeaderItem(row - 1);
        return h ? h->text() : QString();
    }
    const QTableWidgetItem *cell = item(row - 1, column - 1);
    return cell ? cell->text() : QString();
}

void ChannelGridWidget::setTextMatrix(int row, int column, const QString &text)
{
    if (row < 1 || row >= rows() || column < 1 || column >= cols())
        return;
    if (QTableWidgetItem *cell = item(row - 1, column - 1))
        cell->setText(text);
}

int ChannelGridWidget::row() const
{
    return std::max(currentRow(), 0) + 1;
}

int ChannelGridWidget::col() const
{
    return std::max(currentColumn(), 0) + 1;
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

QRect ChannelGridWidget::currentCellRect() const
{
    const QRect cell = visualRect(model()->index(row() - 1, col() - 1));
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
    QTableWidget::mousePressEvent(event);
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
    return QTableWidget::eventFilter(watched, event);
}
