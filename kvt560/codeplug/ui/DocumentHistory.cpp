#include "codeplug/ui/DocumentHistory.h"

#include "codeplug/CodeplugDocument.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace {

class DocumentCommand : public QUndoCommand
{
public:
    static constexpr int TypingId = 1;

    DocumentCommand(CodeplugDocument *doc, const DocumentChange &change)
        : QUndoCommand(change.label), m_doc(doc), m_change(change), m_typingKey(change.typingKey())
    {
    }

    // The change is in the document already when the command is pushed.
    void redo() override
    {
        if (m_done)
            m_doc->applyChange(m_change, true);
        m_done = true;
    }
    void undo() override { m_doc->applyChange(m_change, false); }

    int id() const override { return m_typingKey.isEmpty() ? -1 : TypingId; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const DocumentCommand *>(other);
        if (next->m_typingKey != m_typingKey)
            return false;
        m_change.absorb(next->m_change);
        return true;
    }

private:
    CodeplugDocument *m_doc;
    DocumentChange m_change;
    QString m_typingKey;
    bool m_done = false;
};

} // namespace

DocumentHistory::DocumentHistory(CodeplugDocument *document, QObject *parent)
    : QObject(parent), m_doc(document), m_stack(new QUndoStack(this))
{
    m_stack->setObjectName(QStringLiteral("undoStack"));
    connect(m_doc, &CodeplugDocument::stepRecorded, this,
            [this](const DocumentChange &change) { m_stack->push(new DocumentCommand(m_doc, change)); });
    connect(m_doc, &CodeplugDocument::historyReset, m_stack, &QUndoStack::clear);
}

bool DocumentHistory::canUndo() const
{
    return m_stack->canUndo();
}

bool DocumentHistory::canRedo() const
{
    return m_stack->canRedo();
}

void DocumentHistory::undo()
{
    m_doc->closeStep();
    if (!m_stack->canUndo())
        return;
    m_stack->undo();
    emit stepApplied();
}

void DocumentHistory::redo()
{
    m_doc->closeStep();
    if (!m_stack->canRedo())
        return;
    m_stack->redo();
    emit stepApplied();
}
