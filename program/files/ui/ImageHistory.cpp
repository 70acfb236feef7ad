#include "ImageHistory.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace {

// The document before and after one step. The change itself has been made when the step is
// pushed, so its first redo does nothing. A step that replaced the document (New, Open, a
// read: the path or the saved image changed) puts the whole state back; any other step only
// the image, so that a save in between still counts.
class DocumentStep : public QUndoCommand
{
public:
    DocumentStep(const QString &text, CProgramDoc::State before, CProgramDoc::State after, CProgramDoc *document)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)), m_document(document),
          m_replacesDocument(m_before.pathName != m_after.pathName || m_before.cleanImage != m_after.cleanImage)
    {
    }
    void undo() override { apply(m_before); }
    void redo() override
    {
        if (m_done)
            apply(m_after);
        m_done = true;
    }

private:
    void apply(const CProgramDoc::State &state)
    {
        if (m_replacesDocument)
            m_document->restoreState(state);
        else
            m_document->restoreImage(state.image);
    }

    const CProgramDoc::State m_before;
    const CProgramDoc::State m_after;
    CProgramDoc *m_document;
    const bool m_replacesDocument;
    bool m_done = false;
};

} // namespace

ImageHistory::ImageHistory(CProgramDoc *document, QObject *parent)
    : QObject(parent), m_document(document), m_stack(new QUndoStack(this))
{
    connect(document, &CProgramDoc::stepRecorded, this, &ImageHistory::record);
}

ImageHistory::~ImageHistory() = default;

void ImageHistory::record(const QString &text, const CProgramDoc::State &before, const CProgramDoc::State &after)
{
    m_stack->push(new DocumentStep(text, before, after, m_document));
}

QString ImageHistory::undoText() const
{
    return m_stack->canUndo() ? m_stack->undoText() : QString();
}

QString ImageHistory::redoText() const
{
    return m_stack->canRedo() ? m_stack->redoText() : QString();
}

void ImageHistory::undo()
{
    m_stack->undo();
}

void ImageHistory::redo()
{
    m_stack->redo();
}
