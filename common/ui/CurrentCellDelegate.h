#pragma once
// An item delegate that draws a clear frame around its view's current cell while the view
// has the keyboard focus, so that a keyboard user sees which cell the arrow keys, F2 and
// Enter act on. The style's own focus rectangle is left out: some styles draw it only after
// a key press, others barely visibly.
#include <QString>
#include <QStyledItemDelegate>

class QAbstractItemView;

// What a screen reader announces for a channel cell (Qt::AccessibleTextRole): its column
// title and channel number before its text, "RX Freq, 5: 145.00000".
inline QString gridCellName(const QString &columnTitle, const QString &channel, const QString &text)
{
    QString name = columnTitle.simplified() + QStringLiteral(", ") + channel.trimmed();
    return text.isEmpty() ? name : name + QStringLiteral(": ") + text;
}

class CurrentCellDelegate : public QStyledItemDelegate
{
public:
    explicit CurrentCellDelegate(QAbstractItemView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    QAbstractItemView *view() const { return m_view; }

private:
    QAbstractItemView *m_view;
};
