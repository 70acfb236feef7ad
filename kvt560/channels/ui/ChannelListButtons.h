#pragma once
// The buttons of the whole-channel operations in the row under the channel grid: auto add
// (held down: repeats), move up, move down and delete channel, in that order at the front
// of the row (clearing all channels follows them).
#include <QPushButton>

class ChannelListOps;
class QWidget;

// A button that reports the left mouse button (or the space bar, for keyboard users) going
// down and up on it. Auto add repeats between the two, so the release is also reported when
// the button disappears or loses the focus while held.
class AutoAddButton : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

signals:
    void mouseDown();
    void mouseUp();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void press();
    void release();

    bool m_held = false;
};

struct ChannelListButtons {
    AutoAddButton *bsSkinButton6 = nullptr;   // auto add
    QPushButton *bsSkinButton3 = nullptr;     // move channel up
    QPushButton *bsSkinButton4 = nullptr;     // move channel down
    QPushButton *bsSkinButton5 = nullptr;     // delete channel
};

// Creates the four buttons at the front of row's box layout (one is made when row has
// none) and connects them to ops.
ChannelListButtons addChannelListButtons(QWidget *row, ChannelListOps *ops);
