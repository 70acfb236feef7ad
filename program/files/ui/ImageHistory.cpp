#include "ImageHistory.h"

#include "model/RadioImage.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace {

// The image before and after a change. The change itself has been made when the step is
// pushed, so its first redo does nothing.
class ImageCommand : public QUndoCommand
{
public:
    ImageCommand(const QString &text, QByteArray before, QByteArray after, CProgramDoc *document,
                 const std::function<void()> &show)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)), m_document(document),
          m_show(show)
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
    void apply(const QByteArray &image)
    {
        setRadioImageBytes(image);
        if (m_show)
            m_show();
        m_document->updateModified();
    }
    const QByteArray m_before;
    const QByteArray m_after;
    CProgramDoc *m_document;
    std::function<void()> m_show;
    bool m_done = false;
};

// The whole document before and after New, Open or a radio read.
class DocumentCommand : public QUndoCommand
{
public:
    DocumentCommand(const QString &text, CProgramDoc::State before, CProgramDoc::State after,
                    CProgramDoc *document, const std::function<void()> &show)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)), m_document(document),
          m_show(show)
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
        m_document->restoreState(state);
        if (m_show)
            m_show();
    }
    const CProgramDoc::State m_before;
    const CProgramDoc::State m_after;
    CProgramDoc *m_document;
    std::function<void()> m_show;
    bool m_done = false;
};

} // namespace

ImageHistory::ImageHistory(CProgramDoc *document, QObject *parent)
    : QObject(parent), m_document(document), m_stack(new QUndoStack(this))
{
}

ImageHistory::~ImageHistory() = default;

bool ImageHistory::recordImageChange(const QString &text, const QByteArray &before)
{
    const QByteArray after = radioImageBytes();
    if (before.size() != after.size() || before == after) {
        m_document->updateModified();
        return false;
    }
    m_stack->push(new ImageCommand(text, before, after, m_document, imageToGrid));
    m_document->updateModified();
    return true;
}

bool ImageHistory::applyImageChange(const QString &text, const QByteArray &after)
{
    const QByteArray before = radioImageBytes();
    if (after.size() != before.size() || after == before)
        return false;
    setRadioImageBytes(after);
    if (imageToGrid)
        imageToGrid();
    return recordImageChange(text, before);
}

bool ImageHistory::recordChange(const QString &text, const std::function<void()> &change)
{
    const QByteArray before = radioImageBytes();
    change();
    return recordImageChange(text, before);
}

void ImageHistory::recordDocumentChange(const QString &text, const CProgramDoc::State &before)
{
    m_stack->push(new DocumentCommand(text, before, m_document->state(), m_document, imageToGrid));
    m_document->updateModified();
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
