// The keys, the wheel and the events of the channel grid and its overlay editors: what
// ChannelEditor does with a key in the table or in an overlay, and how events reach it.
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
using T = ChannelTable;

// ---------------------------------------------------------------------------------------
// Keys and wheel of the table

bool ChannelEditor::StringAlignGrid1KeyDown(QKeyEvent *event)
{
    const int row = m_cursor.CurRow;
    const int column = m_cursor.CurCol;
    const OwnWrite own(m_ownWrites);
    if (event->key() == Qt::Key_Delete) {
        // The whole channel, whatever the column; its attributes go with the next commit.
        for (int c = T::RxFreqColumn; c <= T::AliasColumn; ++c)
            m_table->setCell(T::Grid1, c, row, QString());
        m_rowPending = true;
        syncOverlaysWithCells();
        return true;
    }
    if (event->key() == Qt::Key_Backspace) {
        // Only a complete frequency is wiped this way, not one being typed.
        if ((column == T::RxFreqColumn || column == T::TxFreqColumn)
            && m_table->cell(T::Grid1, column, row).size() == FrequencyMaxLength) {
            m_table->setCell(T::Grid1, column, row, QString());
            m_rowPending = true;
            syncOverlaysWithCells();
        }
        return true;
    }
    return false;
}

void ChannelEditor::syncOverlaysWithCells()
{
    const int row = m_cursor.CurRow;
    const int column = m_cursor.CurCol;
    const bool used = channelUsed(row);
    if (!bsSkinEdit1->isHidden()) {
        if ((column == T::RxFreqColumn || column == T::TxFreqColumn) && (column == T::RxFreqColumn || used))
            bsSkinEdit1->setText(m_table->cell(T::Grid1, column, row));
        else
            bsSkinEdit1->hide();
    }
    if (!used) {
        ComboBox1->hide();
        bsSkinEdit7->hide();
    }
}

void ChannelEditor::StringAlignGrid1KeyPress(QKeyEvent *event)
{
    const int column = m_cursor.CurCol;
    const QString text = event->text();
    const bool backspace = event->key() == Qt::Key_Backspace;

    if (column == T::AliasColumn) {
        if (bsSkinEdit7->isHidden())
            return;
        QString first;
        if (!backspace) {
            if (text.isEmpty() || isControlChord(event))
                return;
            for (QChar c : text)
                if (!aliasCharAccepted(c))
                    return;   // a refused key changes nothing
            first = text.left(AliasMaxLength);
        }
        bsSkinEdit7->setText(first);
        bsSkinEdit7->setFocus();
        bsSkinEdit7->setCursorPosition(first.size());
        bsSkinEdit7KeyUp();
        return;
    }

    if (column == T::RxFreqColumn || (column == T::TxFreqColumn && channelUsed(m_cursor.CurRow))) {
        if (text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() < 128 && !isControlChord(event))
            handFrequencyKey(text);
    }
}

void ChannelEditor::openCurrentEditor()
{
    const int column = m_cursor.CurCol;
    const int row = m_cursor.CurRow;
    if (column < 1 || row < 1 || column != m_grid->currentColumn() || row != m_grid->currentRow())
        return;
    const bool used = channelUsed(row);
    QWidget *editor = nullptr;
    switch (column) {
    case T::RxFreqColumn:
    case T::TxFreqColumn:
        if (column == T::RxFreqColumn || used)
            editor = bsSkinEdit1;
        break;
    case T::RxToneColumn:
    case T::TxToneColumn:
        if (used)
            editor = ComboBox1;
        break;
    case T::AliasColumn:
        if (used)
            editor = bsSkinEdit7;
        break;
    case T::MoreColumn:
        emit singleChannelRequested(row);
        return;
    default:
        // A mark cell: the key flips it, as a click does.
        if (used)
            flipMark(column, row);
        return;
    }
    if (!editor)
        return;
    if (editor->isHidden()) {
        // Closed by Enter, Escape or scrolling: open it again on the cell's present text.
        m_grid->scrollTo(m_grid->model()->index(row - 1, column));
        m_cursor.SkipToggle = true;
        enterCell(column, row);
    }
    editor->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setCursorPosition(edit->text().size());
}

void ChannelEditor::cancelEditor()
{
    const int column = m_cursor.CurCol;
    const int row = m_cursor.CurRow;
    {
        const OwnWrite own(m_ownWrites);
        m_table->setCell(T::Grid1, column, row, m_entryText);
        if (column == T::RxToneColumn || column == T::TxToneColumn) {
            m_table->setCell(T::Grid2, column == T::RxToneColumn ? T::RxCodeAttribute : T::TxCodeAttribute, row,
                             m_entryAttribute);
            const int index = ComboBox1->findText(m_entryText, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (index >= 0) {
                const QSignalBlocker block(ComboBox1);
                ComboBox1->setCurrentIndex(index);
            }
        }
    }
    if (column == T::RxFreqColumn || column == T::TxFreqColumn) {
        m_rowPending = m_entryPending;
        bsSkinEdit1->setText(m_entryText);
    } else if (column == T::AliasColumn) {
        bsSkinEdit7->setText(m_entryText);
    }
    discardOverlays();   // closes without writing, the focus back on the grid
}

bool ChannelEditor::toneListKey(QKeyEvent *event)
{
    if (ComboBox1->isHidden())
        return false;
    if (event->key() == Qt::Key_Escape) {
        cancelEditor();
        return true;
    }
    if (isEnter(event)) {
        // Leaving the list commits its choice (ComboBox1Exit).
        m_grid->setFocus(Qt::OtherFocusReason);
        ComboBox1Exit();
        return true;
    }
    return false;
}

void ChannelEditor::handFrequencyKey(const QString &digit)
{
    const int column = m_cursor.CurCol;
    const int row = m_cursor.CurRow;
    if (bsSkinEdit1->isHidden()) {
        // Scrolled away or closed by a page switch: open it again over its cell.
        m_grid->scrollTo(m_grid->model()->index(row - 1, column));
        place(bsSkinEdit1, column, row);
        bsSkinEdit1->show();
    }
    bsSkinEdit1->setText(digit);
    bsSkinEdit1->setFocus();
    bsSkinEdit1->setCursorPosition(digit.size());
    bsSkinEdit1KeyUp();
}

void ChannelEditor::StringAlignGrid1MouseWheelDown(int rows)
{
    const int column = m_grid->currentColumn();
    const int row = m_grid->currentRow() + (rows > 0 ? 1 : -1);
    if (column < 1 || row < 1 || row > T::ChannelCount)
        return;   // at the edge nothing moves, and SkipToggle stays as it is
    moveSelection(column, row);
}

bool ChannelEditor::gridKeyEvent(QKeyEvent *event)
{
    // A key ends any click the table saw only half of.
    m_mousePress = m_entryOnRelease = false;
    if (StringAlignGrid1KeyDown(event)) {
        if (event->key() == Qt::Key_Backspace)
            StringAlignGrid1KeyPress(event);
        return true;
    }
    if (isGridNavigationKey(event->key()))
        return false;   // the table's navigation (announced through aboutToSelectCell)
    if ((event->key() == Qt::Key_F2 || isEnter(event)) && !(event->modifiers() & ~Qt::KeypadModifier)) {
        openCurrentEditor();
        return true;
    }
    if (!event->text().isEmpty()) {
        // Typed characters go to the overlays only; the view's own type-ahead search
        // would move the selection.
        StringAlignGrid1KeyPress(event);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// Event routing

bool ChannelEditor::overlayEvent(QLineEdit *edit, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        return edit == bsSkinEdit1 ? bsSkinEdit1KeyPress(key) : bsSkinEdit7KeyPress(key);
    }
    case QEvent::ShortcutOverride: {
        // Take the paste keys as keys, so that they reach the filter instead of a shortcut.
        auto *key = static_cast<QKeyEvent *>(event);
        if (isClipboardOrUndo(key))
            event->accept();
        return false;
    }
    case QEvent::KeyRelease:
        if (!static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
            if (edit == bsSkinEdit1)
                bsSkinEdit1KeyUp();
            else
                bsSkinEdit7KeyUp();
        }
        return false;
    case QEvent::InputMethod: {
        // Characters composed with an input method pass the same filter; as no key goes
        // up for them, the alias is copied once the text has taken them.
        const QString text = static_cast<QInputMethodEvent *>(event)->commitString();
        for (QChar c : text)
            if (edit != bsSkinEdit7 || !aliasCharAccepted(c))
                return true;
        if (!text.isEmpty())
            QTimer::singleShot(0, this, &ChannelEditor::bsSkinEdit7KeyUp);   // once the text holds it
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The middle button pastes the selection on X11.
        return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    case QEvent::Drop:
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return true;
    default:
        return false;
    }
}

bool ChannelEditor::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // The grid announces the selection (commit) during the press; entry follows on
            // release. The second press of a double click only opens ">>".
            m_mousePress = true;
            m_entryOnRelease = false;
            m_moveCommitted = false;
        }
        return false;
    case QEvent::MouseMove:
        // No drag over the cells: the current cell moves by press, keys, wheel and program
        // only. A drag over the channel-number column selects rows (the grid's own).
        return (static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton) && !m_grid->isSelectingRows();
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            const bool enter = m_entryOnRelease;
            m_mousePress = m_entryOnRelease = false;
            if (enter)
                StringAlignGrid1Click();
        }
        return false;
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        m_mousePress = m_entryOnRelease = false;
        m_wheelRemainder += wheel->angleDelta().y();
        while (m_wheelRemainder >= QWheelEvent::DefaultDeltasPerStep) {
            m_wheelRemainder -= QWheelEvent::DefaultDeltasPerStep;
            StringAlignGrid1MouseWheelDown(-1);   // wheel up: one row up
        }
        while (m_wheelRemainder <= -QWheelEvent::DefaultDeltasPerStep) {
            m_wheelRemainder += QWheelEvent::DefaultDeltasPerStep;
            StringAlignGrid1MouseWheelDown(1);
        }
        event->accept();
        return true;   // the wheel moves the selection, it does not scroll
    }
    case QEvent::Paint:
        StringAlignGrid1DrawCell();
        return false;
    default:
        return false;
    }
}

// The grid's destructor has begun: the events its widgets get while they are taken apart
// (hiding, children going) must not reach code that treats the grid as whole.
void ChannelEditor::releaseGrid()
{
    m_released = true;
    for (QObject *watched : {static_cast<QObject *>(m_grid), static_cast<QObject *>(m_grid->viewport()),
                             static_cast<QObject *>(bsSkinEdit1), static_cast<QObject *>(bsSkinEdit7),
                             static_cast<QObject *>(ComboBox1)})
        watched->removeEventFilter(this);
    disconnect(m_grid, nullptr, this, nullptr);
    disconnect(m_grid->verticalScrollBar(), nullptr, this, nullptr);
    disconnect(m_grid->horizontalScrollBar(), nullptr, this, nullptr);
}

bool ChannelEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (m_released)
        return false;
    if (watched == bsSkinEdit1 || watched == bsSkinEdit7)
        return overlayEvent(static_cast<QLineEdit *>(watched), event);
    if (watched == ComboBox1 && event->type() == QEvent::KeyPress)
        return toneListKey(static_cast<QKeyEvent *>(event));
    if (watched == m_grid->viewport())
        return viewportEvent(event);
    if (watched == m_grid && event->type() == QEvent::KeyPress)
        return gridKeyEvent(static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}
