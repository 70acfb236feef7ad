#include "CLanguageDlg.h"

#include "base/ResourceLibrary.h"
#include "base/ui/OkCancelRow.h"
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

    const OkCancelRow buttons = makeOkCancelRow(this, res);
    okButton = buttons.ok;
    cancelButton = buttons.cancel;

    auto *row = new QHBoxLayout;
    row->addWidget(languageLabel);
    row->addWidget(languageList, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addLayout(buttons.layout);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

int CLanguageDlg::selectedPosition() const
{
    const int i = languageList->currentIndex();
    return i < 0 ? 0 : i;
}
