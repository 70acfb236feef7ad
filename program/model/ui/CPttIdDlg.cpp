#include "CPttIdDlg.h"

#include "TextFilterValidator.h"
#include "base/ResourceLibrary.h"
#include "base/Globals.h"
#include "model/OptionLists.h"
#include "files/CProgramDoc.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CPttIdDlg::CPttIdDlg(CProgramDoc *document, QWidget *parent)
    : QDialog(parent), m_document(document)
{
    setObjectName(QStringLiteral("CPttIdDlg"));
    setWindowTitle(resources().dialogCaption(ResId::PttIdDialog));

    const QList<ListOption> &lists = pttIdDialogLists();
    displayList = new QComboBox(this);
    displayList->setObjectName(QLatin1String(lists.at(0).objectName));
    pttIdList = new QComboBox(this);
    pttIdList->setObjectName(QLatin1String(lists.at(1).objectName));
    codeEdit = new QLineEdit(this);
    codeEdit->setObjectName(QStringLiteral("codeEdit"));
    // room for the 16 characters of a code
    codeEdit->setMinimumWidth(codeEdit->fontMetrics().horizontalAdvance(QString(PttIdCodeMaxLength, QLatin1Char('W'))));

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    int row = 0;
    for (const auto &[controlId, control] : {std::pair<int, QWidget *>{OptionIds::PttIdDisplay, displayList},
                                             {OptionIds::PttIdMode, pttIdList},
                                             {OptionIds::PttIdCode, codeEdit}}) {
        auto *label = new QLabel(optionLabel(ResId::PttIdDialog, controlId), this);
        label->setObjectName(QStringLiteral("label%1").arg(controlId));
        label->setBuddy(control);
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    }

    onInitDialog();
    layout()->setSizeConstraint(QLayout::SetFixedSize); // sized to its contents, not resizable
}

CPttIdDlg::~CPttIdDlg()
{
    // Destroyed while still shown (its parent went away): the shown values are kept as well.
    if (isVisible())
        writeBack();
}

void CPttIdDlg::onInitDialog()
{
    const QList<ListOption> &lists = pttIdDialogLists();
    displayList->clear();
    displayList->addItems(optionEntries(lists.at(0).words, LanguageIndex));
    pttIdList->clear();
    pttIdList->addItems(optionEntries(lists.at(1).words, LanguageIndex));
    codeEdit->clear();

    displayList->setCurrentIndex(shownPosition(m_document->RadioImage(), lists.at(0)));
    pttIdList->setCurrentIndex(shownPosition(m_document->RadioImage(), lists.at(1)));
    codeEdit->setText(pttIdCodeText(m_document->RadioImage()));
    m_shown.remember(displayList);
    m_shown.remember(pttIdList);
    m_shown.remember(codeEdit);
    // Installed after the stored code is shown, so that the code is kept as it is until edited.
    codeEdit->setValidator(new TextFilterValidator(&filterPttIdCode, PttIdCodeMaxLength, codeEdit));
}

void CPttIdDlg::writeBack()
{
    const QList<ListOption> &lists = pttIdDialogLists();
    // Only what the user changed: a value the lists cannot show stays as it is stored.
    m_document->editImage([this, &lists](ImageBytes &image) {
        if (m_shown.changed(displayList))
            storePosition(image, lists.at(0), displayList->currentIndex());
        if (m_shown.changed(pttIdList))
            storePosition(image, lists.at(1), pttIdList->currentIndex());
        if (m_shown.changed(codeEdit))
            storePttIdCode(image, codeEdit->text());
    });
}

void CPttIdDlg::done(int result)
{
    // Every way of closing (close box, Escape, a caller's close()) ends here.
    writeBack();
    QDialog::done(result);
}

void CPttIdDlg::keyPressEvent(QKeyEvent *event)
{
    // Without buttons Enter has nothing to press: like Escape, it closes the dialog.
    if (event->modifiers() == Qt::NoModifier
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
