#include "shell/ui/Tmessage1.h"
#include "shell/ui/Tform1.h"
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

int MessageMode = 0;

namespace {
QPointer<Tmessage1> current;
}

Tmessage1::Tmessage1(Tform1 *form, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_form(form)
{
    setObjectName(QStringLiteral("Tmessage1"));
    setWindowTitle(QStringLiteral("警告"));
    setModal(true);
    setFixedSize(Width, Height);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("messagePanel"));
    panel->setFrameShape(QFrame::StyledPanel);

    iconLabel = new QLabel(panel);
    iconLabel->setObjectName(QStringLiteral("iconLabel"));
    iconLabel->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    iconLabel->setFixedSize(40, 40);
    iconLabel->setAlignment(Qt::AlignCenter);

    cap1 = new QLabel(panel);
    cap1->setObjectName(QStringLiteral("cap1"));
    cap1->setFixedSize(241, 49);
    cap1->setAlignment(Qt::AlignCenter);
    cap1->setWordWrap(true);

    bsSkinButton1 = new QPushButton(QStringLiteral("确定"), panel);
    bsSkinButton1->setObjectName(QStringLiteral("bsSkinButton1"));
    bsSkinButton1->setDefault(true);
    bsSkinButton2 = new QPushButton(QStringLiteral("取消"), panel);
    bsSkinButton2->setObjectName(QStringLiteral("bsSkinButton2"));
    for (QPushButton *b : {bsSkinButton1, bsSkinButton2})
        b->setMinimumWidth(80);
    connect(bsSkinButton1, &QPushButton::clicked, this, &Tmessage1::bsSkinButton1Click);
    connect(bsSkinButton2, &QPushButton::clicked, this, &Tmessage1::bsSkinButton2Click);

    auto *message = new QHBoxLayout;
    message->setSpacing(10);
    message->addWidget(iconLabel, 0, Qt::AlignVCenter);
    message->addWidget(cap1, 0, Qt::AlignVCenter);
    message->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bsSkinButton1);
    buttons->addSpacing(16);
    buttons->addWidget(bsSkinButton2);
    buttons->addStretch();
    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(12, 10, 12, 10);
    inner->addLayout(message);
    inner->addStretch();
    inner->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(panel);

    if (!current)
        current = this;
}

Tmessage1::~Tmessage1() = default;

Tmessage1 *Tmessage1::instance()
{
    return current.data();
}

void Tmessage1::ask(const QString &caption, const QString &text, int mode)
{
    setWindowTitle(caption);
    cap1->setText(text);
    MessageMode = mode;
    // Centred on the screen.
    if (QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(Width / 2, Height / 2));
    exec();
}

void Tmessage1::bsSkinButton1Click()
{
    accept();
    const int mode = MessageMode;
    if (mode == 2 || mode == 3) {
        if (m_form) {
            if (mode == 2)
                m_form->newReset();
            else
                m_form->clearAllChannels();
        }
        MessageMode = 1;
    }
}

void Tmessage1::bsSkinButton2Click()
{
    reject();
}

void showNotice(const QString &caption, const QString &text)
{
    if (Tmessage1 *dialog = Tmessage1::instance()) {
        dialog->ask(caption, text, 1);
        return;
    }
    Tmessage1 dialog(nullptr, QApplication::activeWindow());
    dialog.ask(caption, text, 1);
}
