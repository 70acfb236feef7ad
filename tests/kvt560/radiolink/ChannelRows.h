#pragma once
// A channel row of the cell tables as one text: columns 1-10 then attributes 1-7, joined
// with "|", so that test tables can state whole rows.
#include "channels/ChannelCells.h"

#include <QByteArray>
#include <QStringList>

inline QByteArray hx(const char *text) { return QByteArray::fromHex(text); }

inline QString rowText(const ChannelCells &cells, int row)
{
    QStringList parts;
    for (int c = 1; c <= 10; ++c)
        parts << cells.column(c, row);
    for (int a = 1; a <= 7; ++a)
        parts << cells.attribute(a, row);
    return parts.join(QLatin1Char('|'));
}

inline void setRow(ChannelCells &cells, int row, const QString &joined)
{
    const QStringList parts = joined.split(QLatin1Char('|'));
    for (int c = 1; c <= 10; ++c)
        cells.setColumn(c, row, parts.value(c - 1));
    for (int a = 1; a <= 7; ++a)
        cells.setAttribute(a, row, parts.value(10 + a - 1));
}
