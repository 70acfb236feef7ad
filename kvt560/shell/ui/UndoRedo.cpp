// Undo and redo of the main window: the Edit menu items, their toolbar buttons, their keys
// (also while a text field has the focus) and the modified mark of the caption.
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/SingleChannelEditor.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/ui/DocumentHistory.h"
#include "settings/ui/CallListGrid.h"
#include "shell/ui/Tform1.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>

namespace {

bool isUndoKey(const QKeyEvent *key)
{
    return key->matches(QKeySequence::Undo);
}

bool isRedoKey(const QKeyEvent *key)
{
    const QKeyCombination combination = key->keyCombination();
    return key->matches(QKeySequence::Redo) || combination == QKeyCombination(Qt::CTRL, Qt::Key_Y)
        || combination == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
}

} // namespace

void Tform1::buildUndoActions(QToolBar *bar)
{
    m_history = new DocumentHistory(m_doc, this);

    m_undoAction = new QAction(QStringLiteral("撤销(&U)"), sgse1);
    m_undoAction->setObjectName(QStringLiteral("undoAction"));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undoAction->setIcon(QIcon::fromTheme(QStringLiteral("edit-undo"), style()->standardIcon(QStyle::SP_ArrowBack)));
    m_redoAction = new QAction(QStringLiteral("重做(&Y)"), sgse1);
    m_redoAction->setObjectName(QStringLiteral("redoAction"));
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m_redoAction->setIcon(QIcon::fromTheme(QStringLiteral("edit-redo"), style()->standardIcon(QStyle::SP_ArrowForward)));
    QAction *separator = new QAction(sgse1);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("undoSeparator"));
    QAction *first = sgse1->actions().value(0);
    sgse1->insertActions(first, {m_undoAction, m_redoAction, separator});

    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    // A change not yet closed into a step can be undone too.
    auto update = [this] {
        m_undoAction->setEnabled(m_history->canUndo() || m_doc->hasOpenStep());
        m_redoAction->setEnabled(m_history->canRedo() && !m_doc->hasOpenStep());
    };
    connect(m_history->stack(), &QUndoStack::indexChanged, this, update);
    connect(m_history->stack(), &QUndoStack::cleanChanged, this, update);
    connect(m_doc, &CodeplugDocument::contentChanged, this, update);
    connect(m_doc, &CodeplugDocument::historyReset, this, update);
    connect(m_history, &DocumentHistory::stepApplied, this, &Tform1::showAppliedStep);

    QAction *before = bar->actions().value(3);   // after New, Open, Save
    bar->insertActions(before, {m_undoAction, m_redoAction});

    connect(m_doc, &CodeplugDocument::modifiedChanged, this, &QWidget::setWindowModified);
    // Text fields keep their own undo for the keys; the window's document takes them.
    qApp->installEventFilter(this);
}

bool Tform1::canUndo() const
{
    return m_history->canUndo();
}

bool Tform1::canRedo() const
{
    return m_history->canRedo();
}

void Tform1::undoEdit()
{
    // A frequency being typed is committed first, as before any command; the undo takes it.
    // Every overlay closes: none may write back a text it showed before the undo.
    if (!m_channelEditor->commitPendingEdit(true))
        return;
    m_history->undo();
}

void Tform1::redoEdit()
{
    if (!m_channelEditor->commitPendingEdit(true))
        return;
    m_history->redo();
}

void Tform1::showAppliedStep()
{
    // Editors that lie over a cell or a code would show the text from before.
    m_channelEditor->hideOverlays();
    bsSkinStringGrid1()->hideEditor();
    if (m_singleChannel->isPageActive())
        m_singleChannel->bsSkinTabSheet10Show();
}

bool Tform1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *widget = qobject_cast<QWidget *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        if (widget && widget->window() == this && (isUndoKey(key) || isRedoKey(key))) {
            key->ignore();   // not for the text field: the shortcut of the window fires
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
