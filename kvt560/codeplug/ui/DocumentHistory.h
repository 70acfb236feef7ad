#pragma once
// Undo and redo of the codeplug document: every step the document records becomes a command
// on a QUndoStack that holds the step's before and after. Typing into one text (an alias, a
// text setting, a call-list code) grows the command on top instead of adding one per key.
// Undo and redo first close the step being gathered, so that the last edit is undone too.
#include <QObject>

class CodeplugDocument;
class QUndoStack;

class DocumentHistory : public QObject
{
    Q_OBJECT
public:
    explicit DocumentHistory(CodeplugDocument *document, QObject *parent = nullptr);

    QUndoStack *stack() const { return m_stack; }
    bool canUndo() const;
    bool canRedo() const;

public slots:
    void undo();
    void redo();

signals:
    // A step was undone or redone: views that do not follow every cell reload.
    void stepApplied();

private:
    CodeplugDocument *m_doc;
    QUndoStack *m_stack;
};
