#pragma once
// The about box: a picture, four text lines and one button that closes it. The caption,
// the lines and the button text are set by the language loader.
#include <QDialog>

class QLabel;
class QPushButton;

class TaboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TaboutForm(QWidget *parent = nullptr);
    // "KVT560 1.0.1": the application's name and version, as --version prints them.
    static QString versionLine();

    // The radio drawn for the picture (also the window icon of the program).
    static QPixmap picture(int size);

    QLabel *pictureLabel;       // the radio picture
    QLabel *bsSkinStdLabel3;    // first line: product
    QLabel *bsSkinStdLabel4;    // second line: version
    QLabel *bsSkinStdLabel2;    // third line: rights and years
    QLabel *bsSkinStdLabel1;    // fourth line: company
    QLabel *programVersionLabel;   // the version `KVT560 --version` prints
    QPushButton *okButton;      // closes the box
};
