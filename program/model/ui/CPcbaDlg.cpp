#include "CPcbaDlg.h"

#include "TextFilterValidator.h"
#include "base/ResourceLibrary.h"
#include "base/ui/OkCancelRow.h"
#include "model/OptionLists.h"
#include "files/CProgramDoc.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPcbaDlg::CPcbaDlg(CProgramDoc *document, QWidget *parent)
    : QDialog(parent), m_document(document)
{
    const DialogResource res = resources().dialog(ResId::PcbaDialog);
    setObjectName(QStringLiteral("CPcbaDlg"));
    setWindowTitle(res.caption);

    pcbaEdit = new QLineEdit(this);
    pcbaEdit->setObjectName(QStringLiteral("pcbaEdit"));
    pcbaEdit->setMinimumWidth(pcbaEdit->fontMetrics().horizontalAdvance(QString(PcbaMaxLength, QLatin1Char('W'))));
    auto *label = new QLabel(res.labels.value(OptionIds::PcbaText), this);
    label->setObjectName(QStringLiteral("label%1").arg(OptionIds::PcbaText));
    label->setBuddy(pcbaEdit);

    const OkCancelRow buttons = makeOkCancelRow(this, res);
    okButton = buttons.ok;
    cancelButton = buttons.cancel;

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(pcbaEdit, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons.layout);

    onInitDialog();
    layout->setSizeConstraint(QLayout::SetFixedSize); // sized to its contents, not resizable
}

void CPcbaDlg::onInitDialog()
{
    pcbaEdit->setText(pcbaText(m_document->RadioImage()));
    // Installed after the stored text is shown, so that the text is kept as it is until edited.
    pcbaEdit->setValidator(new TextFilterValidator(&filterPcbaText, PcbaMaxLength, pcbaEdit));
}

void CPcbaDlg::accept()
{
    m_document->editImage([this](ImageBytes &image) { storePcbaText(image, pcbaEdit->text()); });
    QDialog::accept();
}
