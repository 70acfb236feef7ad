// The question before a command would throw away edits that were never saved: closing the
// window, New, Open and a radio read. Save saves through the normal Save command; a save
// that is cancelled or fails cancels the command as well.
#include "channels/ui/ChannelEditor.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/ui/CodeplugFiles.h"
#include "shell/LanguageTexts.h"
#include "shell/ui/Tform1.h"

#include <QMessageBox>
#include <QPushButton>

bool Tform1::settleUnsavedEdits()
{
    // A frequency being typed counts as an edit; a commit that fails has said why, and the
    // half-entered text is still an unsaved edit.
    m_channelEditor->commitPendingEdit(false);
    if (!m_doc->isModified())
        return true;
    const LanguageTexts current = noticeTexts();
    const UnsavedAnswer answer =
        m_unsavedQuestion ? m_unsavedQuestion(current) : askAboutUnsavedEdits(this, current);
    switch (answer) {
    case UnsavedAnswer::Discard:
        return true;
    case UnsavedAnswer::Save:
        return m_files->save();
    case UnsavedAnswer::Cancel:
        break;
    }
    return false;
}

Tform1::UnsavedAnswer Tform1::askAboutUnsavedEdits(QWidget *parent, const LanguageTexts &texts)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("KVT560"), texts.SaveQuestionText, QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("saveQuestion"));
    QPushButton *save = box.addButton(texts.SaveButtonText, QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("saveButton"));
    QPushButton *discard = box.addButton(texts.DiscardButtonText, QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("discardButton"));
    QPushButton *cancel = box.addButton(texts.CancelButtonText, QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return UnsavedAnswer::Save;
    if (box.clickedButton() == discard)
        return UnsavedAnswer::Discard;
    return UnsavedAnswer::Cancel;
}

void Tform1::closeWithoutQuestion()
{
    m_askBeforeClosing = false;
    close();
}
