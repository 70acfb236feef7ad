#include "channels/ui/ChannelGridModel.h"
#include "common/ui/CurrentCellDelegate.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

ChannelGridModel::ChannelGridModel(ChannelTable *table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
    connect(table, &ChannelTable::cellChanged, this, &ChannelGridModel::onCellChanged);
    connect(table, &ChannelTable::cellsReset, this, &ChannelGridModel::onCellsReset);
}

int ChannelGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ChannelTable::ChannelCount;
}

int ChannelGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ChannelTable::Grid1Columns;
}

QVariant ChannelGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int column = index.column();
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return m_table->cell(ChannelTable::Grid1, column, row);
    case Qt::AccessibleTextRole:
        if (column == ChannelTable::NumberColumn)
            return m_table->cell(ChannelTable::Grid1, column, row);
        return gridCellName(m_table->headerText(column), m_table->cell(ChannelTable::Grid1, ChannelTable::NumberColumn, row),
                            m_table->cell(ChannelTable::Grid1, column, row));
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (column == ChannelTable::NumberColumn)
            return QColor(FixedColour);
        if (row % 3 == 1)
            return QColor(TintColour);
        return QVariant();
    case Qt::FontRole:
        if (column == ChannelTable::PowerColumn || column == ChannelTable::MoreColumn) {
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(column == ChannelTable::PowerColumn ? 12 : 11);
            return font;
        }
        return QVariant();
    case Qt::ForegroundRole:
        if (column == ChannelTable::PowerColumn)
            return QGuiApplication::palette().color(QPalette::ButtonText);
        if (column == ChannelTable::MoreColumn)
            return QColor(MoreColour);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return m_table->headerText(section);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return QColor(FixedColour);
    default:
        return QVariant();
    }
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() == ChannelTable::NumberColumn)
        return Qt::NoItemFlags;   // the number column is fixed: never selected
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ChannelGridModel::onCellChanged(ChannelTable::Table table, int column, int row)
{
    if (table != ChannelTable::Grid1)
        return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    const QModelIndex i = index(row - 1, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

void ChannelGridModel::onCellsReset()
{
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}
