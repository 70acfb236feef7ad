#pragma once
// The one confirmation and notice dialog. The caller sets the caption, the text of cap1 and
// the process-wide MessageMode, then shows it modally; OK closes it and performs the action
// of the mode (2 New, 3 clear all channels; 1 a notice, nothing), Cancel only closes it.
#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;
class Tform1;

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

    // form performs the actions of modes 2 and 3; without one OK only closes the dialog.
    explicit Tmessage1(Tform1 *form = nullptr, QWidget *parent = nullptr);
    ~Tmessage1() override;

    // The dialog created at start-up (the first one still alive), or nullptr.
    static Tmessage1 *instance();

    // Sets caption, text and MessageMode, then shows the dialog modally.
    void ask(const QString &caption, const QString &text, int mode);

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

    Tform1 *m_form;
};

// A notice (MessageMode 1) with the given caption and text, shown modally through the
// start-up dialog (or a temporary one when there is none); returns when it is closed.
void showNotice(const QString &caption, const QString &text);
