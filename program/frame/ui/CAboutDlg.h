#pragma once
// The about box (template 100): the application icon, the version line, a second line and OK.
#include <QDialog>

class QLabel;
class QPushButton;

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);

    QLabel *iconLabel;        // application icon
    QLabel *versionLabel;     // version line
    QLabel *infoLabel;        // second line
    QPushButton *okButton;    // 1: close
};
