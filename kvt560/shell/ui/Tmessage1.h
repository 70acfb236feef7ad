#pragma once
// The one confirmation and notice dialog. ask() sets the caption, the text of cap1 and the
// process-wide MessageMode, shows the dialog modally and returns the user's answer: true for
// OK, false for Cancel or closing. The caller performs what was confirmed.
#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;

// 1 notice, 2 new codeplug, 3 clear all channels; 0 until a caller sets it.
extern int MessageMode;

class Tmessage1 : public QDialog
{
    Q_OBJECT
public:
    static constexpr int Width = 334;
    static constexpr int Height = 161;
    // The text's room at that size; a text that needs more makes the dialog grow.
    static constexpr int TextWidth = 241;
    static constexpr int TextHeight = 49;

    explicit Tmessage1(QWidget *parent = nullptr);
    ~Tmessage1() override;

    // The program's dialog: the first one created that is still alive (the main window
    // creates it), or nullptr.
    static Tmessage1 *instance();

    // Sets caption, text and MessageMode, shows the dialog modally and returns whether the
    // user answered OK. An OK of a confirmation (modes 2 and 3) sets MessageMode back to 1.
    bool ask(const QString &caption, const QString &text, int mode);

    QLabel *iconLabel;            // warning icon on the left
    QLabel *cap1;                 // the message text
    QScrollArea *textArea;        // holds cap1
    QPushButton *bsSkinButton1;   // OK
    QPushButton *bsSkinButton2;   // Cancel

public slots:
    void bsSkinButton1Click();
    void bsSkinButton2Click();

private:
    // The sizes of the text and the dialog for the text of cap1 on a screen of that size.
    void fitText(const QSize &screen);
};

// A notice (MessageMode 1) with the given caption and text, shown modally through the
// start-up dialog (or a temporary one when there is none); returns when it is closed.
void showNotice(const QString &caption, const QString &text);
