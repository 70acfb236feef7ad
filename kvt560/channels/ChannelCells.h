#pragma once
// The texts of the 128 channels as a plain value: columns 1-10 of the visible table and
// attributes 1-7 of the attribute table, for rows 1-128. A radio read or a file reader fills
// a fresh set and hands it to ChannelTable::setCells in one go. The fixed texts (header row,
// channel numbers, ">>" column, attribute labels) belong to the table and are not carried.
#include <QString>
#include <QVector>

class ChannelCells
{
public:
    static constexpr int Channels = 128;
    static constexpr int FirstColumn = 1, LastColumn = 10;       // visible table
    static constexpr int FirstAttribute = 1, LastAttribute = 7;  // attribute table

    ChannelCells() : m_columns(Channels * ColumnCount), m_attributes(Channels * AttributeCount) {}

    // Column 1-10 of channel row 1-128; an empty text outside that range.
    QString column(int column, int row) const
    {
        const QString *p = columnSlot(column, row);
        return p ? *p : QString();
    }
    void setColumn(int column, int row, const QString &text)
    {
        if (columnSlot(column, row))
            m_columns[(row - 1) * ColumnCount + column - FirstColumn] = text;
    }
    // Attribute 1-7 of channel row 1-128; an empty text outside that range.
    QString attribute(int column, int row) const
    {
        const QString *p = attributeSlot(column, row);
        return p ? *p : QString();
    }
    void setAttribute(int column, int row, const QString &text)
    {
        if (attributeSlot(column, row))
            m_attributes[(row - 1) * AttributeCount + column - FirstAttribute] = text;
    }

    bool operator==(const ChannelCells &other) const
    {
        return m_columns == other.m_columns && m_attributes == other.m_attributes;
    }
    bool operator!=(const ChannelCells &other) const { return !(*this == other); }

private:
    static constexpr int ColumnCount = LastColumn - FirstColumn + 1;
    static constexpr int AttributeCount = LastAttribute - FirstAttribute + 1;

    const QString *columnSlot(int column, int row) const
    {
        if (column < FirstColumn || column > LastColumn || row < 1 || row > Channels)
            return nullptr;
        return &m_columns[(row - 1) * ColumnCount + column - FirstColumn];
    }
    const QString *attributeSlot(int column, int row) const
    {
        if (column < FirstAttribute || column > LastAttribute || row < 1 || row > Channels)
            return nullptr;
        return &m_attributes[(row - 1) * AttributeCount + column - FirstAttribute];
    }

    QVector<QString> m_columns;      // implicitly shared: copies are cheap
    QVector<QString> m_attributes;
};
