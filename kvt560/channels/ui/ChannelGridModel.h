#pragma once
// Item model over the visible channel table: model row r-1 is channel row r, model column c
// is table column c (0 = channel number, 11 = ">>"). Row 0 of the table (the header texts)
// is the horizontal header. Read-only: edits go through the overlay editors and the table.
#include "channels/ChannelTable.h"
#include <QAbstractTableModel>
#include <QColor>

class ChannelGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr QRgb FixedColour = 0xFFC0C0C0;   // header row and number column
    static constexpr QRgb TintColour = 0xFFF1EBF1;    // channel rows 1, 4, 7, ...
    static constexpr QRgb MoreColour = 0xFFFF0000;    // ">>" column

    explicit ChannelGridModel(ChannelTable *table, QObject *parent = nullptr);

    ChannelTable *table() const { return m_table; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void onCellChanged(ChannelTable::Table table, int column, int row);
    void onCellsReset();

    ChannelTable *m_table;
};
