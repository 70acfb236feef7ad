#pragma once
// The 128 channels as display texts: the visible table StringAlignGrid1 (12 columns x 129
// rows) and the attribute table StringAlignGrid2 (8 columns x 200 rows), addressed by
// (column, row); row r holds channel r in both. Every other part of the program reads and
// writes the channels through these cell texts.
#include "channels/Marks.h"
#include <QObject>
#include <QString>
#include <QVector>

class BandSource;

class ChannelTable : public QObject
{
    Q_OBJECT
public:
    enum Table { Grid1, Grid2 };   // StringAlignGrid1 (visible), StringAlignGrid2 (attributes)
    static constexpr int Grid1Columns = 12, Grid1Rows = 129;
    static constexpr int Grid2Columns = 8, Grid2Rows = 200;
    static constexpr int ChannelCount = 128;

    explicit ChannelTable(QObject *parent = nullptr);

    QString cell(Table table, int column, int row) const;
    void setCell(Table table, int column, int row, const QString &text);

    void setBandSource(const BandSource *bands);
    const Marks &marks() const;
    void setMarks(const Marks &marks);

    // Normalise the frequency text at (column, row) of StringAlignGrid1 (column 1 or 3).
    // Returns false, emits conversionFailed and leaves the cell as it was when the text or
    // the receive range limits do not read as numbers.
    bool sendcell(int column, int row);
    // Commit the row CurRow using CurCol. Returns false when a normalisation failed.
    bool sendallcell();
    void fillNewChannelDefaults(int row);
    void emptyRow(int row);   // columns 1-10 and attributes 1-7 of one channel
    void emptyAll();          // every channel row

    int CurRow = 1;           // the channel row editing acts on (1-128)
    int CurCol = 1;           // the column last clicked or implied by the focused editor
    int ToneRow = 1;          // the row the tone-list overlay writes into
    bool SkipToggle = false;  // the next cell entry selects without flipping a mark

signals:
    void cellChanged(ChannelTable::Table table, int column, int row);
    // A frequency or range limit that does not read as a number; text is the offending text.
    void conversionFailed(const QString &text);
};
