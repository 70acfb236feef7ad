#pragma once
// The language dialog (template 162): a drop-down list of the three user-interface
// languages, named in the current language, with OK and Cancel.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class CLanguageDlg : public QDialog
{
    Q_OBJECT
public:
    // The list entries for a language index: English, Simplified Chinese, Traditional Chinese.
    static QStringList languageNames(int languageIndex);

    explicit CLanguageDlg(QWidget *parent = nullptr);

    // The chosen position after OK: 0 English, 1 Simplified Chinese, 2 Traditional Chinese
    // (0 when nothing is selected).
    int selectedPosition() const;

    QComboBox *languageList;    // 1094: the three languages
    QLabel *languageLabel;      // label of the list
    QPushButton *okButton;      // 1: take the choice
    QPushButton *cancelButton;  // 2: change nothing
};
