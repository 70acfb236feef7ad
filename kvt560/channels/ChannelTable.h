#pragma once
// The 128 channels as display texts: the visible table StringAlignGrid1 (12 columns x 129
// rows) and the attribute table StringAlignGrid2 (8 columns x 200 rows), addressed by
// (column, row); row r holds channel r in both. Every other part of the program reads and
// writes the channels through these cell texts.
#include "channels/ChannelCells.h"
#include "channels/Marks.h"
#include <QObject>
#include <QString>
#include <QVector>
#include <optional>

class BandSource;

class ChannelTable : public QObject
{
    Q_OBJECT
public:
    enum Table { Grid1, Grid2 };   // StringAlignGrid1 (visible), StringAlignGrid2 (attributes)
    Q_ENUM(Table)
    static constexpr int Grid1Columns = 12, Grid1Rows = 129;
    static constexpr int Grid2Columns = 8, Grid2Rows = 200;
    static constexpr int ChannelCount = 128;

    // Columns of StringAlignGrid1.
    enum Column {
        NumberColumn = 0, RxFreqColumn = 1, RxToneColumn = 2, TxFreqColumn = 3, TxToneColumn = 4,
        PowerColumn = 5, BandwidthColumn = 6, ScanColumn = 7, DtmfColumn = 8, PttIdColumn = 9,
        AliasColumn = 10, MoreColumn = 11
    };
    // Columns of StringAlignGrid2.
    enum Attribute {
        TailAttribute = 1, VoxAttribute = 2, BusyLockAttribute = 3, RxCodeAttribute = 4,
        TxCodeAttribute = 5, VoiceModeAttribute = 6, ShowAliasAttribute = 7
    };

    // Every channel empty, column 0 "001".."128", column 11 ">>", the Chinese headers and
    // the Simplified Chinese marks (until a language library replaces them).
    explicit ChannelTable(QObject *parent = nullptr);

    // Text of a cell; an empty text for a cell outside the table.
    QString cell(Table table, int column, int row) const;
    // Writes a cell and emits cellChanged when the text differs; outside the table: nothing.
    void setCell(Table table, int column, int row, const QString &text);

    // Row 0 of StringAlignGrid1, replaced by the language loader.
    QString headerText(int column) const { return cell(Grid1, column, 0); }
    void setHeaderText(int column, const QString &text) { setCell(Grid1, column, 0, text); }
    // Writes ">>" into column 11 of rows 1-128 (done by the constructor, repeated at first show).
    void fillMoreColumn();

    // Columns 1-10 and attributes 1-7 of every channel, as one value.
    ChannelCells cells() const;
    // Replaces every channel at once and emits cellsReset (not one cellChanged per cell).
    void setCells(const ChannelCells &cells);

    void setBandSource(const BandSource *bands);
    const BandSource *bandSource() const { return m_bands; }
    const Marks &marks() const;
    void setMarks(const Marks &marks);

    // Rewrites every mark cell of rows 1-128 that holds a written form of a mark in any of
    // the three languages into the current marks (after setMarks on a language switch).
    // Each column takes only its own marks; frequencies, tone texts, tone indices and
    // aliases stay as they are. Emits cellsReset when anything changed.
    void rewriteMarks();

    // The selected receive range of the active band ("400-470MHz"); empty without bands.
    QString activeReceiveRange() const;

    // Normalise the frequency text at (column, row) of StringAlignGrid1 (column 1 or 3).
    // Returns false, emits conversionFailed and leaves the cell as it was when the text or
    // the receive range limits do not read as numbers.
    bool sendcell(int column, int row);
    // Commit row `row` (CurRow) using column `column` (CurCol). Returns false when a
    // normalisation failed.
    bool sendallcell(int row, int column);
    // Column 3 := column 1, tones off, high power, wide, scan on, DTMF and PTT ID off, no
    // alias; attributes: tail elimination on, VOX and busy lockout off, tone indices "0",
    // voice mode and alias display off.
    void fillNewChannelDefaults(int row);
    void emptyRow(int row);   // columns 1-10 and attributes 1-7 of one channel
    void emptyAll();          // every channel row
    bool isEmptyChannel(int row) const { return cell(Grid1, RxFreqColumn, row).isEmpty(); }

    // The canonical nine-character form of a frequency text in MHz, clamped to the range text
    // ("400-470MHz": limits in characters 1-3 and 5-7) and moved up to the 5 kHz or 6.25 kHz
    // raster below 550 MHz. Without a value, *offending (when given) holds the text that
    // did not read as a number: the frequency text or a limit.
    static std::optional<QString> normaliseFrequency(const QString &text, const QString &rangeText,
                                                     QString *offending = nullptr);
    // The notices for a text that does not read as a number: a frequency or limit (a
    // floating point value), or a whole number such as a tone index or a setting's index.
    static QString conversionMessage(const QString &text);
    static QString integerMessage(const QString &text);

signals:
    void cellChanged(ChannelTable::Table table, int column, int row);
    // Many cells changed at once (setCells, emptyAll): views re-read everything.
    void cellsReset();
    // A frequency or range limit that does not read as a number; text is the offending text.
    void conversionFailed(const QString &text);

private:
    QVector<QString> &grid(Table table) { return table == Grid1 ? m_grid1 : m_grid2; }
    const QVector<QString> &grid(Table table) const { return table == Grid1 ? m_grid1 : m_grid2; }
    static int index(Table table, int column, int row);

    QVector<QString> m_grid1;
    QVector<QString> m_grid2;
    const BandSource *m_bands = nullptr;
    Marks m_marks;
};
