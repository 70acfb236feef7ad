#include "CPcbaDlg.h"

#include "TextFilterValidator.h"
#include "base/ResourceLibrary.h"
#include "model/OptionLists.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPcbaDlg::CPcbaDlg(QWidget *parent)
    : QDialog(parent)
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

    okButton = new QPushButton(res.controls.value(ResId::IdOk), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(res.controls.value(ResId::IdCancel), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &CPcbaDlg::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(pcbaEdit, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    onInitDialog();
    layout->setSizeConstraint(QLayout::SetFixedSize); // sized to its contents, not resizable
}

void CPcbaDlg::onInitDialog()
{
    pcbaEdit->setText(pcbaText());
    // Installed after the stored text is shown, so that the text is kept as it is until edited.
    pcbaEdit->setValidator(new TextFilterValidator(&filterPcbaText, PcbaMaxLength, pcbaEdit));
}

void CPcbaDlg::accept()
{
    storePcbaText(pcbaEdit->text());
    QDialog::accept();
}
