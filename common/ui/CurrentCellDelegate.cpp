#include "common/ui/CurrentCellDelegate.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPen>

CurrentCellDelegate::CurrentCellDelegate(QAbstractItemView *view) : QStyledItemDelegate(view), m_view(view) {}

void CurrentCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;   // the frame below takes its place
}

void CurrentCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (index != m_view->currentIndex() || !m_view->hasFocus())
        return;
    painter->save();
    // Two pixels in the text colour inside the grid lines: visible on plain, tinted and
    // highlighted cells alike.
    QPen pen(option.palette.color(QPalette::Active, QPalette::Text), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1.5, 1.5, -1.5, -1.5));
    painter->restore();
}
