#pragma once
// How the overlay editors of the channel grid sort the keys they get: Enter, the keys that
// move the caret or delete, clipboard and undo keys, control chords, and typed text checked
// character by character; and the keys that move the grid's current cell. Shared by the
// files of ChannelEditor and ChannelGrid.
#include <QKeyEvent>
#include <QKeySequence>
#include <QString>

namespace OverlayKeys {

inline bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Keys that move the caret or delete in place; they type no character.
inline bool isEditingKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

// The keys that move the grid's current cell (when no overlay has the focus).
inline bool isGridNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

// Clipboard and undo keys: refused like the control characters they stand for.
inline bool isClipboardOrUndo(const QKeyEvent *event)
{
    for (QKeySequence::StandardKey k : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Copy,
                                        QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll,
                                        QKeySequence::DeleteEndOfLine, QKeySequence::DeleteStartOfWord,
                                        QKeySequence::DeleteEndOfWord, QKeySequence::DeleteCompleteLine})
        if (event->matches(k))
            return true;
    return false;
}

// A key that stands for a control character (Ctrl+letter and the like).
inline bool isControlChord(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers m = event->modifiers();
    return ((m & Qt::ControlModifier) && !(m & Qt::AltModifier)) || (m & Qt::MetaModifier);
}

// What an overlay does with a key other than Enter: true swallows it. Clipboard and undo
// keys and control chords are refused, caret and delete keys pass, and typed text passes
// only when accepted takes every character of it.
template <typename Accept>
bool typedKeyRefused(const QKeyEvent *event, Accept accepted)
{
    if (isClipboardOrUndo(event))
        return true;
    if (isEditingKey(event) && !(event->modifiers() & Qt::ControlModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    if (isControlChord(event))
        return true;
    for (QChar c : text)
        if (!accepted(c))
            return true;
    return false;
}

} // namespace OverlayKeys
