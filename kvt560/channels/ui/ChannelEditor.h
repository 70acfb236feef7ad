#pragma once
// Editing of the channel table StringAlignGrid1: the three overlay editors that lie hidden
// on the grid and are placed over the current cell when it is entered, the mark cells that
// flip on a mouse click, the keys and the wheel of the table, and the commit of a row
// (ChannelTable::sendallcell) whenever the selection is about to move.
//
// The overlays are children of the grid's viewport, placed 3 px right of and 2 px below the
// top-left corner of the cell (CurCol, CurRow); that position is what ties an overlay to its
// cell, and a redraw that finds an overlay anywhere else hides it.
//
// An overlay shows the text of its cell as it was when the cell was entered. When anything
// else changes that cell (a paste, an import, undo or redo, a read, a list operation), the
// overlay closes without writing: an editor never writes back a text it read before the
// codeplug changed. Commands that change channels from outside commit a typed frequency
// first (commitPendingEdit).
//
// A press on the channel-number column selects rows (ChannelGrid) and makes the pressed row
// the current one without entering a cell: no overlay opens and no mark flips.
//
// From the keyboard: F2 or Enter on the grid opens the current cell's editor and gives it the
// focus (on a mark cell it flips the mark, on ">>" it opens the single-channel page); Enter
// in an editor commits it and gives the focus back to the grid; Escape in an editor puts back
// the cell's text as it was when the editor opened and closes it. Tab leaves an editor for
// the next control.
//
// A mark cell (columns 5 to 9) flips only on a mouse click or F2 / Enter. Every other selection move (keys,
// wheel, the program) sets ChannelTable::SkipToggle just before the selection moves; the cell
// entry that follows selects the cell without flipping and clears the flag.
#include "channels/ChannelCursor.h"
#include "channels/ChannelTextRules.h"
#include <QObject>
#include <QPointer>

class ChannelGrid;
class ChannelTable;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QWheelEvent;
class QWidget;
class ToneList;

class ChannelEditor : public QObject
{
    Q_OBJECT
public:
    static constexpr int OverlayDx = 3;   // overlay left edge, right of the cell's left edge
    static constexpr int OverlayDy = 2;   // overlay top edge, below the cell's top edge
    static constexpr int FrequencyMaxLength = 9;
    static constexpr int AliasMaxLength = 6;

    // The tone list offers the entries of tones (ToneList::instance() by default) and follows
    // their changes. The editor lives in the grid's viewport and goes with it.
    explicit ChannelEditor(ChannelGrid *grid, ToneList *tones = nullptr);

    ChannelGrid *grid() const { return m_grid; }
    ChannelTable *table() const { return m_table; }
    // Where editing stands (CurRow, CurCol, ToneRow, SkipToggle); the single-channel page and
    // the list operations share it.
    ChannelCursor &cursor() { return m_cursor; }

    QLineEdit *bsSkinEdit1;   // frequency overlay, columns 1 and 3
    QComboBox *ComboBox1;     // tone list overlay, columns 2 and 4
    QLineEdit *bsSkinEdit7;   // alias overlay, column 10

    // Before something reads the whole table (file open or save, radio read or write): when
    // a frequency is being typed (its overlay is open, or typed text was left in the cell),
    // commit the current row, then hide the frequency overlay; with hideAllOverlays also the
    // tone list and the alias overlay. False when the commit failed on a text that does not
    // read as a number (the caller should stop).
    bool commitPendingEdit(bool hideAllOverlays);
    // True while the frequency overlay is open or the current row holds typed (or deleted)
    // text that no commit has seen yet.
    bool hasPendingFrequency() const;

    // A selection move made by the program (auto add, the single-channel page): commit the
    // current row, select (column, row) and enter it without flipping a mark. Also when the
    // cell is the current one, so that its overlay shows the cell's present text.
    void moveSelection(int column, int row);

    // Hides the three overlays (their texts are already in the cells).
    void hideOverlays();

    // ---- Handlers of the grid and the overlays ----
    // A cell is about to be selected (selection move or any press on a cell): commit.
    void StringAlignGrid1SelectCell(int column, int row);
    // Cell entry for the selected cell.
    void StringAlignGrid1Click();
    void StringAlignGrid1DblClick(int column, int row);
    // Key down in the table: Delete and Backspace. True when the key was used.
    bool StringAlignGrid1KeyDown(QKeyEvent *event);
    // Character typed in the table: the first key handed to the overlay of CurCol.
    void StringAlignGrid1KeyPress(QKeyEvent *event);
    // One wheel step: down (+1) or up (-1) one row, as a navigation move.
    void StringAlignGrid1MouseWheelDown(int rows);
    // Hides every visible overlay that no longer lies on the cell (CurCol, CurRow).
    void StringAlignGrid1DrawCell();
    // Key filters: true when the key is dropped (or used up, as Enter).
    bool bsSkinEdit1KeyPress(QKeyEvent *event);
    void bsSkinEdit1KeyUp();
    void ComboBox1Change(int index);
    void ComboBox1Exit();
    bool bsSkinEdit7KeyPress(QKeyEvent *event);
    void bsSkinEdit7KeyUp();
    // The channel-editing page became the active page.
    void bsSkinTabSheet1Show();

    // The character filters, by character code (Enter is handled apart), and an alias as
    // stored: the rules of ChannelTextRules, which every editor of the channels shares.
    static bool frequencyCharAccepted(QChar c, const QString &text)
    {
        return ChannelTextRules::frequencyCharAccepted(c, text);
    }
    static bool aliasCharAccepted(QChar c) { return ChannelTextRules::aliasCharAccepted(c); }
    static QString aliasText(const QString &typed) { return ChannelTextRules::aliasText(typed); }

signals:
    // Double click on ">>": open the single-channel page for channel row.
    void singleChannelRequested(int row);
    // Cell entry made row the current channel (CurRow).
    void currentChannelChanged(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Origin { Mouse, Navigation };
    // Marks the editor's own writes, which leave its overlays as they are.
    struct OwnWrite {
        explicit OwnWrite(int &count) : m_count(count) { ++m_count; }
        ~OwnWrite() { --m_count; }
        OwnWrite(const OwnWrite &) = delete;
        OwnWrite &operator=(const OwnWrite &) = delete;
        int &m_count;
    };

    bool gridKeyEvent(QKeyEvent *event);
    // F2 / Enter on the grid: the current cell's editor opened and focused.
    void openCurrentEditor();
    // Escape in an editor: the cell (and a tone's index) as at opening, the editor closed.
    void cancelEditor();
    bool toneListKey(QKeyEvent *event);
    void rememberEntryText(int column, int row);
    bool viewportEvent(QEvent *event);
    bool overlayEvent(QLineEdit *edit, QEvent *event);
    void onCurrentCellChanged(int column, int row);
    void enterCell(int column, int row);
    bool commit();
    void place(QWidget *overlay, int column, int row);
    bool onItsCell(const QWidget *overlay) const;
    bool channelUsed(int row) const;
    void flipMark(int column, int row);
    void handFrequencyKey(const QString &text);
    void syncOverlaysWithCells();
    void fillToneList();
    int toneIndexOf(const QString &text) const;
    void releaseGrid();
    void selectRowByHeader(int row);
    void cellChangedOutside(int column, int row);
    void discardOverlays();

    ChannelGrid *m_grid;
    bool m_released = false;        // the grid is going: no more of its events are handled
    ChannelTable *m_table;
    ChannelCursor m_cursor;
    QPointer<ToneList> m_tones;
    int m_toneColumn = 2;           // the tone column the list was opened for
    bool m_mousePress = false;      // a left press on the viewport is being handled
    bool m_entryOnRelease = false;  // the press selected a cell: enter it on release
    bool m_moveCommitted = false;   // a key move was announced and its commit done
    bool m_rowPending = false;      // the current row holds typed or deleted text, not committed
    bool m_discarding = false;      // overlays are closing without writing their texts
    int m_ownWrites = 0;            // > 0 while the editor itself writes cells
    int m_wheelRemainder = 0;       // wheel angle not yet turned into a step
    QString m_entryText;            // the open cell's text when its editor opened (Escape)
    QString m_entryAttribute;       // and its tone index, for the tone list
    bool m_entryPending = false;    // whether the row held uncommitted text then
};
