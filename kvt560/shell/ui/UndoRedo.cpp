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
    history = new DocumentHistory(doc, this);

    undoAction = new QAction(QStringLiteral("撤销(&U)"), sgse1);
    undoAction->setObjectName(QStringLiteral("undoAction"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undoAction->setIcon(QIcon::fromTheme(QStringLiteral("edit-undo"), style()->standardIcon(QStyle::SP_ArrowBack)));
    redoAction = new QAction(QStringLiteral("重做(&Y)"), sgse1);
    redoAction->setObjectName(QStringLiteral("redoAction"));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redoAction->setIcon(QIcon::fromTheme(QStringLiteral("edit-redo"), style()->standardIcon(QStyle::SP_ArrowForward)));
    QAction *separator = new QAction(sgse1);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("undoSeparator"));
    QAction *first = sgse1->actions().value(0);
    sgse1->insertActions(first, {undoAction, redoAction, separator});

    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    // A change not yet closed into a step can be undone too.
    auto update = [this] {
        undoAction->setEnabled(history->canUndo() || doc->hasOpenStep());
        redoAction->setEnabled(history->canRedo() && !doc->hasOpenStep());
    };
    connect(history->stack(), &QUndoStack::indexChanged, this, update);
    connect(history->stack(), &QUndoStack::cleanChanged, this, update);
    connect(doc, &CodeplugDocument::contentChanged, this, update);
    connect(doc, &CodeplugDocument::historyReset, this, update);
    connect(history, &DocumentHistory::stepApplied, this, &Tform1::showAppliedStep);

    QAction *before = bar->actions().value(3);   // after New, Open, Save
    bar->insertActions(before, {undoAction, redoAction});

    connect(doc, &CodeplugDocument::modifiedChanged, this, &QWidget::setWindowModified);
    // Text fields keep their own undo for the keys; the window's document takes them.
    qApp->installEventFilter(this);
}

bool Tform1::canUndo() const
{
    return history->canUndo();
}

bool Tform1::canRedo() const
{
    return history->canRedo();
}

void Tform1::undoEdit()
{
    // A frequency being typed is committed first, as before any command; the undo takes it.
    // Every overlay closes: none may write back a text it showed before the undo.
    if (!channelEditor->commitPendingEdit(true))
        return;
    history->undo();
}

void Tform1::redoEdit()
{
    if (!channelEditor->commitPendingEdit(true))
        return;
    history->redo();
}

void Tform1::showAppliedStep()
{
    // Editors that lie over a cell or a code would show the text from before.
    channelEditor->hideOverlays();
    bsSkinStringGrid1()->hideEditor();
    if (singleChannel->isPageActive())
        singleChannel->bsSkinTabSheet10Show();
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
