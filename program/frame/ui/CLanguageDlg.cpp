#include "CLanguageDlg.h"

#include "base/ResourceLibrary.h"
#include "base/Globals.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QStringList CLanguageDlg::languageNames(int languageIndex)
{
    switch (languageIndex) {
    case LanguageSimplifiedChinese:
        return {QStringLiteral("英文"), QStringLiteral("简体"), QStringLiteral("繁体")};
    case LanguageTraditionalChinese:
        return {QStringLiteral("英文"), QStringLiteral("簡體"), QStringLiteral("繁體")};
    default:
        return {QStringLiteral("Eng"), QStringLiteral("Chs"), QStringLiteral("Cht")};
    }
}

CLanguageDlg::CLanguageDlg(QWidget *parent)
    : QDialog(parent)
{
    const DialogResource res = resources().dialog(ResId::LanguageDialog);
    setObjectName(QStringLiteral("CLanguageDlg"));
    setWindowTitle(res.caption);

    languageLabel = new QLabel(res.labels.value(1094), this);
    languageLabel->setObjectName(QStringLiteral("languageLabel"));
    languageList = new QComboBox(this);
    languageList->setObjectName(QStringLiteral("languageList"));
    languageList->addItems(languageNames(LanguageIndex));
    languageList->setCurrentIndex(LanguageIndex <= LanguageTraditionalChinese ? LanguageIndex : -1);
    languageLabel->setBuddy(languageList);

    okButton = new QPushButton(res.controls.value(ResId::IdOk), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(res.controls.value(ResId::IdCancel), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(languageLabel);
    row->addWidget(languageList, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

int CLanguageDlg::selectedPosition() const
{
    const int i = languageList->currentIndex();
    return i < 0 ? 0 : i;
}
