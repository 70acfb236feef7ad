#pragma once
// The about box (template 100): the application icon, the version line, a second line and OK.
// The template's version line stands as it is; below the second line, in a smaller grey
// type, the box says the version the command line prints.
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
    QLabel *programVersionLabel;   // the version `--version` prints ("KVT270 1.0.1")
    QPushButton *okButton;    // 1: close
};
