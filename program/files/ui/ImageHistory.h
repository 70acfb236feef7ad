#pragma once
// Undo and redo of every change the user makes to the codeplug. The document records each
// change as one step with its state before and after (CProgramDoc::stepRecorded: the image,
// the path and the image it counts as saved); undoing a step puts the state before back,
// byte for byte, and redoing it the state after. The grid follows the document.
#include "files/CProgramDoc.h"

#include <QObject>
#include <QString>

class QUndoStack;

class ImageHistory : public QObject
{
    Q_OBJECT
public:
    explicit ImageHistory(CProgramDoc *document, QObject *parent = nullptr);
    ~ImageHistory() override;

    QUndoStack *undoStack() const { return m_stack; }

    // The text of the step that Undo or Redo would take back or do again; empty for none.
    QString undoText() const;
    QString redoText() const;

public slots:
    void undo();
    void redo();

private:
    void record(const QString &text, const CProgramDoc::State &before, const CProgramDoc::State &after);

    CProgramDoc *m_document;
    QUndoStack *m_stack;
};
