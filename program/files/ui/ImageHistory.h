#pragma once
// Undo and redo of every change the user makes to the codeplug. Each step holds the bytes of
// RadioImage before and after the change, so undoing it gives back the image exactly; the
// grid is then shown anew from the image. Steps that replace the whole document (New, Open,
// a radio read) also hold the document's path and the image it counts as saved.
//
// The change is made first and recorded afterwards, as one step:
//
//     const QByteArray before = radioImageBytes();
//     ... change RadioImage (and the grid) ...
//     history->recordImageChange(text, before);
//
// or in one call, for a change worked out beforehand (an import, a paste):
//
//     history->applyImageChange(text, newImage);
//
// After every step, undo and redo the document's modified flag is brought up to date.
#include "files/CProgramDoc.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QUndoStack;

class ImageHistory : public QObject
{
    Q_OBJECT
public:
    explicit ImageHistory(CProgramDoc *document, QObject *parent = nullptr);
    ~ImageHistory() override;

    QUndoStack *undoStack() const { return m_stack; }

    // Shows RadioImage in the grid after an undo or redo (the view's ImageToGrid).
    std::function<void()> imageToGrid;

    // Records a change already made to RadioImage; `before` is the image as it was. A change
    // that left every byte as it was is not recorded. Returns whether a step was recorded.
    bool recordImageChange(const QString &text, const QByteArray &before);
    // Makes RadioImage `after`, shows it in the grid and records the change as one step.
    // Returns false, changing nothing, when `after` is not a whole image or equals the image.
    bool applyImageChange(const QString &text, const QByteArray &after);
    // Runs `change`, which may alter RadioImage, and records what it did as one step.
    bool recordChange(const QString &text, const std::function<void()> &change);
    // Records a change of the whole document (image, path and saved image) already made;
    // `before` is the document's state as it was.
    void recordDocumentChange(const QString &text, const CProgramDoc::State &before);

    // The text of the step that Undo or Redo would take back or do again; empty for none.
    QString undoText() const;
    QString redoText() const;

public slots:
    void undo();
    void redo();

private:
    CProgramDoc *m_document;
    QUndoStack *m_stack;
};
