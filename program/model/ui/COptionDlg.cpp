#include "COptionDlg.h"

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

namespace {
// Controls in the left column; the rest go to the right one.
constexpr int LeftColumnRows = 12;
} // namespace

COptionDlg::COptionDlg(CProgramDoc *document, QWidget *parent)
    : QDialog(parent), m_document(document)
{
    setObjectName(QStringLiteral("COptionDlg"));
    setWindowTitle(resources().dialogCaption(ResId::OptionDialog));

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->setColumnMinimumWidth(2, 16);
    int index = 0;
    const auto place = [&](int controlId, QWidget *control) {
        auto *label = new QLabel(optionLabel(ResId::OptionDialog, controlId), this);
        label->setObjectName(QStringLiteral("label%1").arg(controlId));
        label->setBuddy(control);
        const int row = index < LeftColumnRows ? index : index - LeftColumnRows;
        const int column = index < LeftColumnRows ? 0 : 3;
        grid->addWidget(label, row, column);
        grid->addWidget(control, row, column + 1);
        ++index;
    };

    powerOnPassword = new QLineEdit(this);
    powerOnPassword->setObjectName(QStringLiteral("powerOnPassword"));
    for (const ListOption &option : optionDialogLists()) {
        if (option.controlId == OptionIds::PowerOnPasswordSwitch)
            place(OptionIds::PowerOnPassword, powerOnPassword);
        auto *combo = new QComboBox(this);
        combo->setObjectName(QLatin1String(option.objectName));
        combo->setMinimumContentsLength(6);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        m_lists.insert(option.controlId, combo);
        place(option.controlId, combo);
    }

    onInitDialog();
    layout()->setSizeConstraint(QLayout::SetFixedSize); // sized to its contents, not resizable
}

COptionDlg::~COptionDlg()
{
    // Destroyed while still shown (its parent went away): the shown values are kept as well.
    if (isVisible())
        writeBack();
}

void COptionDlg::onInitDialog()
{
    for (const ListOption &option : optionDialogLists()) {
        QComboBox *combo = m_lists.value(option.controlId);
        combo->clear();
        combo->addItems(optionEntries(option.words, LanguageIndex));
        combo->setCurrentIndex(shownPosition(m_document->RadioImage(), option));
        m_shown.remember(combo);
    }
    powerOnPassword->setText(powerOnPasswordText(m_document->RadioImage()));
    m_shown.remember(powerOnPassword);
    powerOnPassword->setValidator(new TextFilterValidator(&filterPowerOnPassword, PowerOnPasswordMaxLength, powerOnPassword));
}

void COptionDlg::writeBack()
{
    // Only what the user changed: a value the lists cannot show stays as it is stored.
    m_document->editImage([this](ImageBytes &image) {
        for (const ListOption &option : optionWriteBackOrder()) {
            if (option.controlId == OptionIds::PowerOnPasswordSwitch && m_shown.changed(powerOnPassword))
                storePowerOnPassword(image, powerOnPassword->text());
            const QComboBox *list = m_lists.value(option.controlId);
            if (m_shown.changed(list))
                storePosition(image, option, list->currentIndex());
        }
    });
}

void COptionDlg::done(int result)
{
    // Every way of closing (close box, Escape, a caller's close()) ends here.
    writeBack();
    QDialog::done(result);
}

void COptionDlg::keyPressEvent(QKeyEvent *event)
{
    // Without buttons Enter has nothing to press: like Escape, it closes the dialog.
    if (event->modifiers() == Qt::NoModifier
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
