#pragma once
// Whole-channel operations on the current row CurRow of the channel table: auto add (press,
// repeat with Timer1, release), move up, move down and delete. They act on the cursor's
// CurRow, not on the grid's visible selection; the grid and its overlay editors follow
// through the signals.
//
// Auto add starts from band 1's receive range (characters 1-3 as the first frequency, 5-7 as
// the point where the sequence wraps back to the bottom), adds the frequency step of the
// step setting and normalises each new frequency with the active band, as sendcell does.
#include <QObject>
#include <QString>
#include <functional>

class ChannelTable;
class QTimer;
struct ChannelCursor;

class ChannelListOps : public QObject
{
    Q_OBJECT
public:
    static constexpr int FirstInterval = 1000;   // ms from the press to the first repeat
    static constexpr int RepeatInterval = 200;   // ms between the following repeats

    // The cursor is the grid editor's; it must outlive the operations.
    ChannelListOps(ChannelTable *table, ChannelCursor *cursor, QObject *parent = nullptr);

    // Where the selected index of the frequency step setting comes from (0 "5kHz" ... 4
    // "25kHz"; any other value: no step). Without a source the step is 0.
    using StepIndexSource = std::function<int()>;
    void setStepIndexSource(StepIndexSource source) { m_stepIndex = std::move(source); }
    // The step of a step index in units of 10 Hz (500, 625, 1000, 1250, 2500; 0 otherwise).
    static int stepUnits(int index);

    ChannelTable *table() const { return m_table; }
    QTimer *Timer1;   // auto-add repeat

public slots:
    void bsSkinButton6MouseDown();   // auto add pressed
    void Timer1Timer();              // auto add repeat
    void bsSkinButton6MouseUp();     // auto add released
    void bsSkinButton3Click();       // move up
    void bsSkinButton4Click();       // move down
    void bsSkinButton5Click();       // delete channel

signals:
    // Moves the grid selection to (column, row) as a program move: no mark flips, the commit
    // and the cell entry of any selection move follow, and an overlay opened on the cell
    // shows its new text. (After a move up or down the overlays no longer lie on the cell
    // (CurCol, CurRow); the grid hides them at the redraw that the swapped cells cause.)
    void selectionMoveRequested(int column, int row);
    // The current channel was deleted: empty and hide the frequency overlay, hide the tone
    // list and the alias overlay.
    void overlaysHideRequested();
    // Auto add was pressed (true) or released (false): what it adds in between is one edit.
    void autoAddHeld(bool held);

private:
    bool addNextChannel();
    bool moveCurrent(int offset);
    // Stops the repeat and reports a text that does not read as a number.
    void fail(const QString &offending);
    int step() const;

    ChannelTable *m_table;
    ChannelCursor *m_cursor;
    StepIndexSource m_stepIndex;
};
