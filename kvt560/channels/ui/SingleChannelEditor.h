#pragma once
// The single-channel page (page 3 of the main window): one control per field of the channel
// in row CurRow, attribute cells included. The page holds no data of its own: it loads its
// controls from the row and writes every change straight back into the row's cells.
//
// The owner tells the page when it becomes the active page (setPageActive), whether the
// cable is single-headed (no VOX then), and moves the grid selection when channelSelected
// is emitted; cell entry in the grid sets the channel number with setChannelNumber.
// Each label is named after its control ("bsSkinEdit11Label"), the panel "singleChannelGroup".
#include <QWidget>

class ChannelTable;
struct ChannelCursor;
class ToneList;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

class SingleChannelEditor : public QWidget
{
    Q_OBJECT
public:
    // The tone lists are filled from tones and refilled when its entries change.
    // The cursor is the grid editor's (CurRow selects the channel shown here).
    SingleChannelEditor(ChannelTable *table, ChannelCursor *cursor, ToneList &tones, QWidget *parent = nullptr);
    ~SingleChannelEditor() override;

    ChannelTable *table() const { return m_table; }

    // The page became the active page (commits a half-entered row and loads the page) or
    // stopped being it.
    void setPageActive(bool active);
    bool isPageActive() const { return m_active; }
    // Single-head cable: the VOX box stays disabled for every channel.
    void setSingleHead(bool single);
    bool singleHead() const { return m_singleHead; }
    // The channel number follows CurRow (cell entry in the grid).
    void setChannelNumber(int row);
    int channelNumber() const;

    QGroupBox *singleChannelGroup;       // the page's group "单信道"
    QLabel *channelNumberLabel;          // "信道"
    QLabel *rxFrequencyLabel;            // receive frequency header + "[MHz]"
    QLabel *txFrequencyLabel;            // transmit frequency header + "[MHz]"
    QLabel *aliasLabel;                  // "信道别名"
    QLabel *rxToneLabel;                 // receive tone header
    QLabel *txToneLabel;                 // transmit tone header
    QLabel *powerLabel;                  // "发射功率"
    QLabel *bandwidthLabel;              // "宽/窄带"
    QLabel *voiceModeLabel;              // "语音模式"

    QSpinBox *bsSkinSpinEdit20;          // channel number 1-128, selects CurRow
    QLineEdit *bsSkinEdit11;             // receive frequency (column 1)
    QLineEdit *bsSkinEdit13;             // transmit frequency (column 3)
    QLineEdit *bsSkinEdit8;              // alias (column 10)
    QComboBox *bsSkinComboBox19;         // receive tone (column 2, attribute 4)
    QComboBox *bsSkinComboBox23;         // transmit tone (column 4, attribute 5)
    QComboBox *bsSkinComboBox24;         // power: MarkLow, MarkHigh (column 5)
    QComboBox *bsSkinComboBox31;         // bandwidth: MarkNarrow, MarkWide (column 6)
    QComboBox *bsSkinComboBox32;         // voice mode: MarkOff, MarkCompander, MarkScrambler (attribute 6)
    QCheckBox *bsSkinCheckRadioBox7;     // busy lockout (attribute 3)
    QCheckBox *bsSkinCheckRadioBox2;     // scan add (column 7)
    QCheckBox *bsSkinCheckRadioBox3;     // tail elimination (attribute 1)
    QCheckBox *bsSkinCheckRadioBox5;     // DTMF (column 8)
    QCheckBox *bsSkinCheckRadioBox23;    // show alias (attribute 7)
    QCheckBox *bsSkinCheckRadioBox15;    // PTT ID (column 9)
    QCheckBox *bsSkinCheckRadioBox4;     // VOX (attribute 2)

public slots:
    // Loads every control from row CurRow. False when a tone index does not read as a
    // number (the notice is shown and the rest of the load is not carried out).
    bool bsSkinTabSheet10Show();
    void bsSkinSpinEdit20Change(int value);

signals:
    // An editor of the page took the focus: the grid selection moves to this row as a
    // program move (no mark flips).
    void channelSelected(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void fillToneLists();
    void refreshMarkLists();
    void setUsedState(bool used);
    void editorEntered(QLineEdit *edit);
    void commitFrequencyEdit();
    bool frequencyKeyAccepted(QLineEdit *edit, const QString &typed) const;
    void frequencyEditReleased(QLineEdit *edit);
    void aliasEditReleased();
    void toneChosen(QComboBox *box, int index);
    void markChosen(QComboBox *box, int index);
    void checkClicked(QCheckBox *box, bool checked);
    void showIntegerNotice(const QString &text);

    ChannelTable *m_table;
    ChannelCursor *m_cursor;
    ToneList &m_tones;
    bool m_active = false;
    bool m_singleHead = false;
    bool m_committing = false;   // a commit of the frequency edits is running (its notice may take the focus)
};
