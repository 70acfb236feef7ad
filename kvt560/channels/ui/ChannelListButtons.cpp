#include "channels/ui/ChannelListButtons.h"

#include "channels/ChannelListOps.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>

void AutoAddButton::press()
{
    if (!m_held) {
        m_held = true;
        emit mouseDown();
    }
}

void AutoAddButton::release()
{
    if (m_held) {
        m_held = false;
        emit mouseUp();
    }
}

void AutoAddButton::mousePressEvent(QMouseEvent *event)
{
    QPushButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        press();
}

void AutoAddButton::mouseReleaseEvent(QMouseEvent *event)
{
    QPushButton::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        release();
}

void AutoAddButton::keyPressEvent(QKeyEvent *event)
{
    QPushButton::keyPressEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        press();
}

void AutoAddButton::keyReleaseEvent(QKeyEvent *event)
{
    QPushButton::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        release();
}

void AutoAddButton::focusOutEvent(QFocusEvent *event)
{
    QPushButton::focusOutEvent(event);
    // Another window (a dialog opened by a shortcut, another program) takes the focus: the
    // release would go there, so the hold ends here.
    release();
}

void AutoAddButton::hideEvent(QHideEvent *event)
{
    QPushButton::hideEvent(event);
    release();
}

namespace {
template <typename Button>
Button *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new Button(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setMinimumWidth(90);   // like the other list buttons of the row
    return b;
}
} // namespace

ChannelListButtons addChannelListButtons(QWidget *row, ChannelListOps *ops)
{
    auto *layout = qobject_cast<QBoxLayout *>(row->layout());
    if (!layout)
        layout = new QHBoxLayout(row);

    ChannelListButtons b;
    b.bsSkinButton6 = makeButton<AutoAddButton>(row, "bsSkinButton6", QStringLiteral("自动添加"));
    b.bsSkinButton3 = makeButton<QPushButton>(row, "bsSkinButton3", QStringLiteral("信道上移"));
    b.bsSkinButton4 = makeButton<QPushButton>(row, "bsSkinButton4", QStringLiteral("信道下移"));
    b.bsSkinButton5 = makeButton<QPushButton>(row, "bsSkinButton5", QStringLiteral("删除信道"));
    int at = 0;
    for (QPushButton *button : {static_cast<QPushButton *>(b.bsSkinButton6), b.bsSkinButton3, b.bsSkinButton4,
                                b.bsSkinButton5})
        layout->insertWidget(at++, button);

    QObject::connect(b.bsSkinButton6, &AutoAddButton::mouseDown, ops, &ChannelListOps::bsSkinButton6MouseDown);
    QObject::connect(b.bsSkinButton6, &AutoAddButton::mouseUp, ops, &ChannelListOps::bsSkinButton6MouseUp);
    QObject::connect(b.bsSkinButton3, &QPushButton::clicked, ops, &ChannelListOps::bsSkinButton3Click);
    QObject::connect(b.bsSkinButton4, &QPushButton::clicked, ops, &ChannelListOps::bsSkinButton4Click);
    QObject::connect(b.bsSkinButton5, &QPushButton::clicked, ops, &ChannelListOps::bsSkinButton5Click);
    return b;
}
