#include "channels/ui/ChannelEditor.h"
#include "channels/ChannelTextRules.h"

#include "channels/ChannelTable.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/OverlayKeys.h"
#include "channels/ToneList.h"

#include <QTimer>
#include <QComboBox>
#include <QFont>
#include <QInputMethodEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <functional>

using namespace OverlayKeys;

namespace {

using T = ChannelTable;

// The tone list overlay. Leaving it is reported through a virtual handler, so that nothing
// is reported while the widget is being destroyed; opening its own popup and switching to
// another window are not "leaving". The wheel belongs to the table, not to the list: a
// turn over the list must not change the channel's tone.
class ToneListBox : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> onLeave;
    std::function<void(QWheelEvent *)> onWheel;

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        QComboBox::focusOutEvent(event);
        const Qt::FocusReason reason = event->reason();
        if (onLeave && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            onLeave();
    }
    void wheelEvent(QWheelEvent *event) override
    {
        if (onWheel)
            onWheel(event);
        event->accept();
    }
};

QLineEdit *textOverlay(QWidget *parent, const char *name, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    // Narrow enough that nine characters fit the cell without scrolling.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    edit->setFont(font);
    edit->setAlignment(Qt::AlignCenter);
    // A thin frame in the highlight colour marks the cell being edited (the grid itself
    // never highlights its current cell).
    edit->setStyleSheet(QStringLiteral(
        "QLineEdit { border: 1px solid palette(highlight); padding: 0px; background: palette(base); }"));
    // No context menu at all (not even the parent's), no drops, no drags: text only comes
    // in through the key filter.
    edit->setContextMenuPolicy(Qt::PreventContextMenu);
    edit->setAcceptDrops(false);
    edit->setDragEnabled(false);
    edit->hide();
    return edit;
}

} // namespace

ChannelEditor::ChannelEditor(ChannelGrid *grid, ToneList *tones)
    : QObject(grid->viewport()), m_grid(grid), m_table(grid->table()), m_tones(tones ? tones : &ToneList::instance())
{
    setObjectName(QStringLiteral("channelEditor"));
    QWidget *viewport = grid->viewport();

    bsSkinEdit1 = textOverlay(viewport, "bsSkinEdit1", FrequencyMaxLength);
    bsSkinEdit1->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
    bsSkinEdit1->setAttribute(Qt::WA_InputMethodEnabled, false);   // digits come from keys only
    bsSkinEdit7 = textOverlay(viewport, "bsSkinEdit7", AliasMaxLength);
    bsSkinEdit1->installEventFilter(this);
    bsSkinEdit7->installEventFilter(this);

    auto *tonesBox = new ToneListBox(viewport);
    tonesBox->setObjectName(QStringLiteral("ComboBox1"));
    tonesBox->setEditable(false);
    tonesBox->setMaxVisibleItems(16);
    // A scrolling drop-down list of that many entries rather than a screen-high menu.
    tonesBox->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    const QPointer<ChannelEditor> self(this);
    tonesBox->onLeave = [self] {
        if (self)
            self->ComboBox1Exit();
    };
    tonesBox->onWheel = [self](QWheelEvent *event) {
        if (self)
            self->viewportEvent(event);
    };
    tonesBox->hide();
    tonesBox->installEventFilter(this);   // Enter and Escape
    ComboBox1 = tonesBox;
    fillToneList();
    if (m_tones)
        connect(m_tones, &ToneList::entriesChanged, this, &ChannelEditor::fillToneList);
    connect(ComboBox1, &QComboBox::activated, this, &ChannelEditor::ComboBox1Change);

    grid->installEventFilter(this);
    viewport->installEventFilter(this);
    connect(grid, &ChannelGrid::destroying, this, &ChannelEditor::releaseGrid);
    connect(grid, &ChannelGrid::aboutToSelectCell, this, &ChannelEditor::StringAlignGrid1SelectCell);
    connect(grid, &ChannelGrid::currentCellChanged, this, &ChannelEditor::onCurrentCellChanged);
    connect(grid, &ChannelGrid::cellDoubleClicked, this, &ChannelEditor::StringAlignGrid1DblClick);
    connect(grid, &ChannelGrid::rowHeaderPressed, this, &ChannelEditor::selectRowByHeader);
    // A cell changed by anything but its overlay takes the overlay's text away from under it.
    connect(m_table, &ChannelTable::cellChanged, this, [this](ChannelTable::Table table, int column, int row) {
        if (table == T::Grid1)
            cellChangedOutside(column, row);
    });
    connect(m_table, &ChannelTable::cellsReset, this, &ChannelEditor::discardOverlays);
    // Scrolling takes the cells away from under the overlays.
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &ChannelEditor::hideOverlays);
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ChannelEditor::hideOverlays);
}

// ---------------------------------------------------------------------------------------
// Operations for the rest of the program

bool ChannelEditor::hasPendingFrequency() const
{
    return !bsSkinEdit1->isHidden() || m_rowPending;
}

bool ChannelEditor::commitPendingEdit(bool hideAllOverlays)
{
    if (hasPendingFrequency() && !commit())
        return false;   // the notice is out; the typed text stays for the user to correct
    bsSkinEdit1->hide();
    if (hideAllOverlays) {
        ComboBox1->hide();
        bsSkinEdit7->hide();
    }
    return true;
}

void ChannelEditor::moveSelection(int column, int row)
{
    if (column < 1 || column >= T::Grid1Columns || row < 1 || row > T::ChannelCount)
        return;
    m_mousePress = m_entryOnRelease = false;
    if (column == m_grid->currentColumn() && row == m_grid->currentRow()) {
        m_cursor.SkipToggle = true;
        commit();
        StringAlignGrid1Click();
        return;
    }
    // The move arrives in onCurrentCellChanged as one that nobody announced.
    m_grid->setCurrentCell(column, row);
}

void ChannelEditor::hideOverlays()
{
    QWidget *focus = m_grid->window()->focusWidget();
    const bool hadFocus = focus == bsSkinEdit1 || focus == bsSkinEdit7 || focus == ComboBox1;
    if (hadFocus)
        m_grid->setFocus();
    bsSkinEdit1->hide();
    ComboBox1->hide();
    bsSkinEdit7->hide();
}

void ChannelEditor::discardOverlays()
{
    if (m_released)
        return;
    m_discarding = true;
    hideOverlays();
    m_discarding = false;
}

void ChannelEditor::cellChangedOutside(int column, int row)
{
    if (m_released || m_ownWrites > 0 || row != m_cursor.CurRow || column != m_cursor.CurCol)
        return;
    const QString text = m_table->cell(T::Grid1, column, row);
    // An overlay's own writes leave the cell holding what the overlay shows.
    if ((!bsSkinEdit1->isHidden() && bsSkinEdit1->text() != text)
        || (!ComboBox1->isHidden() && row == m_cursor.ToneRow && ComboBox1->currentText() != text)
        || (!bsSkinEdit7->isHidden() && bsSkinEdit7->text() != text))
        discardOverlays();
}

// ---------------------------------------------------------------------------------------
// Selection and cell entry

void ChannelEditor::selectRowByHeader(int row)
{
    const int column = m_grid->currentColumn() >= T::RxFreqColumn ? m_grid->currentColumn() : int(T::RxFreqColumn);
    moveSelection(column, row);   // commits the row left, never flips a mark
    hideOverlays();
}

bool ChannelEditor::commit()
{
    const OwnWrite own(m_ownWrites);
    if (!m_table->sendallcell(m_cursor.CurRow, m_cursor.CurCol))
        return false;
    m_rowPending = false;
    return true;
}

void ChannelEditor::StringAlignGrid1SelectCell(int, int)
{
    if (m_mousePress) {
        m_entryOnRelease = true;   // the cell is entered when the button goes up
    } else {
        // A key is moving the selection: no mark may flip.
        m_cursor.SkipToggle = true;
        m_moveCommitted = true;
    }
    commit();   // with the old CurCol and CurRow
}

void ChannelEditor::onCurrentCellChanged(int, int)
{
    if (m_mousePress)
        return;
    if (!m_moveCommitted) {
        // Moved by the program (or the view itself): the same commit and entry as any
        // move, never a flip.
        m_cursor.SkipToggle = true;
        commit();
    }
    m_moveCommitted = false;
    StringAlignGrid1Click();
}

void ChannelEditor::StringAlignGrid1Click()
{
    const int column = m_grid->currentColumn();
    const int row = m_grid->currentRow();
    if (column < 1 || row < 1) {
        hideOverlays();
        m_cursor.SkipToggle = false;
        return;
    }
    enterCell(column, row);
}

bool ChannelEditor::channelUsed(int row) const
{
    return !m_table->isEmptyChannel(row);
}

void ChannelEditor::place(QWidget *overlay, int column, int row)
{
    const QRect cell = m_grid->cellRect(column, row);
    overlay->setGeometry(cell.left() + OverlayDx, cell.top() + OverlayDy, qMax(cell.width() - OverlayDx, 8),
                         qMax(cell.height() - OverlayDy, 8));
}

void ChannelEditor::enterCell(int column, int row)
{
    // 1. Close whatever was open.
    hideOverlays();
    // 2. The current cell.
    m_cursor.CurCol = column;
    m_cursor.CurRow = row;
    emit currentChannelChanged(row);
    // 3. The editor of the column, or a flip of the mark.
    const bool used = channelUsed(row);
    const QString text = m_table->cell(T::Grid1, column, row);
    rememberEntryText(column, row);
    switch (column) {
    case T::RxFreqColumn:
    case T::TxFreqColumn:
        if (column == T::RxFreqColumn || used) {
            place(bsSkinEdit1, column, row);
            bsSkinEdit1->setText(text);
            bsSkinEdit1->show();
        }
        break;
    case T::RxToneColumn:
    case T::TxToneColumn:
        if (used) {
            place(ComboBox1, column, row);
            const int index = ComboBox1->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (index >= 0)
                ComboBox1->setCurrentIndex(index);   // otherwise the previous choice stays
            m_toneColumn = column;
            m_cursor.ToneRow = row;
            ComboBox1->show();
        }
        break;
    case T::PowerColumn:
    case T::BandwidthColumn:
    case T::ScanColumn:
    case T::DtmfColumn:
    case T::PttIdColumn:
        if (used && !m_cursor.SkipToggle)
            flipMark(column, row);
        break;
    case T::AliasColumn:
        if (used) {
            place(bsSkinEdit7, column, row);
            bsSkinEdit7->setText(text);
            bsSkinEdit7->show();
        }
        break;
    default:
        break;   // ">>" opens the single-channel page on a double click only
    }
    // 4. The next entry may flip again.
    m_cursor.SkipToggle = false;
}

void ChannelEditor::rememberEntryText(int column, int row)
{
    m_entryText = m_table->cell(T::Grid1, column, row);
    m_entryAttribute = column == T::RxToneColumn || column == T::TxToneColumn
        ? m_table->cell(T::Grid2, column == T::RxToneColumn ? T::RxCodeAttribute : T::TxCodeAttribute, row)
        : QString();
    m_entryPending = m_rowPending;
}

void ChannelEditor::flipMark(int column, int row)
{
    const OwnWrite own(m_ownWrites);
    const Marks &m = m_table->marks();
    const QString text = m_table->cell(T::Grid1, column, row);
    QString next;
    if (column == T::PowerColumn)
        next = text == m.high ? m.low : m.high;
    else if (column == T::BandwidthColumn)
        next = text == m.wide ? m.narrow : m.wide;
    else
        next = text == m.off ? m.on : m.off;
    m_table->setCell(T::Grid1, column, row, next);
}

void ChannelEditor::StringAlignGrid1DblClick(int column, int row)
{
    if (column == T::MoreColumn)
        emit singleChannelRequested(row);
}

// ---------------------------------------------------------------------------------------
// Overlays kept on their cell

bool ChannelEditor::onItsCell(const QWidget *overlay) const
{
    const int column = m_cursor.CurCol;
    bool columnFits = false;
    if (overlay == bsSkinEdit1)
        columnFits = column == T::RxFreqColumn || column == T::TxFreqColumn;
    else if (overlay == ComboBox1)
        columnFits = column == T::RxToneColumn || column == T::TxToneColumn;
    else
        columnFits = column == T::AliasColumn;
    if (!columnFits)
        return false;
    const QRect cell = m_grid->cellRect(column, m_cursor.CurRow);
    if (cell.isEmpty() || !m_grid->viewport()->rect().intersects(cell))
        return false;
    return overlay->pos() == cell.topLeft() + QPoint(OverlayDx, OverlayDy);
}

void ChannelEditor::StringAlignGrid1DrawCell()
{
    for (QWidget *overlay : {static_cast<QWidget *>(bsSkinEdit1), static_cast<QWidget *>(ComboBox1),
                             static_cast<QWidget *>(bsSkinEdit7)}) {
        if (!overlay->isHidden() && !onItsCell(overlay)) {
            if (m_grid->window()->focusWidget() == overlay)
                m_grid->setFocus();
            overlay->hide();
        }
    }
}

void ChannelEditor::bsSkinTabSheet1Show()
{
    if (m_grid->window()->focusWidget() == bsSkinEdit1)
        m_grid->setFocus();
    bsSkinEdit1->hide();
    m_grid->setFocus();
}

// ---------------------------------------------------------------------------------------
// Frequency overlay

bool ChannelEditor::bsSkinEdit1KeyPress(QKeyEvent *event)
{
    if (isEnter(event)) {
        bsSkinEdit1->hide();
        m_grid->setFocus();
        if (!commit())
            return true;   // the overlay stays closed; the row stays half-entered
        // Enter the current cell again: the overlay comes back with the normalised text.
        m_cursor.SkipToggle = true;
        StringAlignGrid1Click();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        cancelEditor();
        return true;
    }
    const QString current = bsSkinEdit1->text();
    return typedKeyRefused(event, [&current](QChar c) { return frequencyCharAccepted(c, current); });
}

void ChannelEditor::bsSkinEdit1KeyUp()
{
    const int column = m_cursor.CurCol;
    if (bsSkinEdit1->isHidden() || (column != T::RxFreqColumn && column != T::TxFreqColumn))
        return;
    const QString text = bsSkinEdit1->text();
    const OwnWrite own(m_ownWrites);
    if (m_table->cell(T::Grid1, column, m_cursor.CurRow) != text) {
        m_table->setCell(T::Grid1, column, m_cursor.CurRow, text);
        m_rowPending = true;
    }
}

// ---------------------------------------------------------------------------------------
// Tone list

void ChannelEditor::fillToneList()
{
    if (!m_tones)
        return;
    const QStringList &entries = m_tones->entries();
    const QSignalBlocker block(ComboBox1);
    if (ComboBox1->count() == entries.size()) {
        for (int i = 0; i < entries.size(); ++i)
            if (ComboBox1->itemText(i) != entries.at(i))
                ComboBox1->setItemText(i, entries.at(i));
        return;
    }
    const int current = ComboBox1->currentIndex();
    ComboBox1->clear();
    ComboBox1->addItems(entries);
    ComboBox1->setCurrentIndex(current >= 0 && current < entries.size() ? current : 0);
}

void ChannelEditor::ComboBox1Change(int index)
{
    const int row = m_cursor.ToneRow;
    if (index < 0 || !channelUsed(row))
        return;
    const OwnWrite own(m_ownWrites);
    m_table->setCell(T::Grid1, m_toneColumn, row, ComboBox1->itemText(index));
    m_table->setCell(T::Grid2, m_toneColumn == T::RxToneColumn ? T::RxCodeAttribute : T::TxCodeAttribute, row,
                     QString::number(index));
}

void ChannelEditor::ComboBox1Exit()
{
    if (ComboBox1->isHidden() || m_discarding)
        return;
    // The text and its index together, so that the two cells of the tone never disagree.
    ComboBox1Change(ComboBox1->currentIndex());
    ComboBox1->hide();
}

// ---------------------------------------------------------------------------------------
// Alias overlay

bool ChannelEditor::bsSkinEdit7KeyPress(QKeyEvent *event)
{
    if (isEnter(event)) {
        bsSkinEdit7->hide();
        m_grid->setFocus();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        cancelEditor();
        return true;
    }
    return typedKeyRefused(event, aliasCharAccepted);
}

void ChannelEditor::bsSkinEdit7KeyUp()
{
    if (bsSkinEdit7->isHidden())
        return;
    const QString text = aliasText(bsSkinEdit7->text());
    if (text != bsSkinEdit7->text())
        bsSkinEdit7->setText(text);
    bsSkinEdit7->setCursorPosition(text.size());
    // The alias overlay only ever edits the alias column.
    const OwnWrite own(m_ownWrites);
    m_table->setCell(T::Grid1, T::AliasColumn, m_cursor.CurRow, text);
}
