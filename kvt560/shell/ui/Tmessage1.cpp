#include "shell/ui/Tmessage1.h"
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

int MessageMode = 0;

namespace {
QPointer<Tmessage1> current;
}

Tmessage1::Tmessage1(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
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

    // The text lies in a frameless scroll area that is exactly its size for the usual short
    // texts; a longer one (a list of channels or differences) makes the dialog grow, and
    // scrolls once the dialog would outgrow the screen.
    textArea = new QScrollArea(panel);
    textArea->setObjectName(QStringLiteral("textArea"));
    textArea->setFrameShape(QFrame::NoFrame);
    textArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textArea->viewport()->setAutoFillBackground(false);
    cap1 = new QLabel;
    cap1->setObjectName(QStringLiteral("cap1"));
    cap1->setFixedSize(TextWidth, TextHeight);
    cap1->setAlignment(Qt::AlignCenter);
    cap1->setWordWrap(true);
    cap1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    textArea->setWidget(cap1);
    textArea->setFixedSize(TextWidth, TextHeight);

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
    message->addWidget(textArea, 0, Qt::AlignVCenter);
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

bool Tmessage1::ask(const QString &caption, const QString &text, int mode)
{
    setWindowTitle(caption);
    cap1->setText(text);
    textArea->setAccessibleName(text);   // the message is what a screen reader reads there
    MessageMode = mode;
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    fitText(screen ? screen->availableGeometry().size() : QSize(1024, 768));
    // Centred on the screen.
    if (screen)
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    return exec() == QDialog::Accepted;
}

void Tmessage1::fitText(const QSize &screen)
{
    const QString text = cap1->text();
    const QFontMetrics metrics(cap1->font());
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    QSize need = metrics.boundingRect(QRect(0, 0, TextWidth, 100000), flags, text).size();
    int width = TextWidth;
    if (need.height() > TextHeight) {
        // Wider first, up to half the screen, so that lines of a list stay whole.
        width = qBound(TextWidth, metrics.boundingRect(QRect(0, 0, 100000, 100000), flags, text).width() + 8,
                       qMax(TextWidth, screen.width() / 2));
        need = metrics.boundingRect(QRect(0, 0, width, 100000), flags, text).size();
    }
    const int height = qMax(TextHeight, need.height() + 4);
    const int shown = qMin(height, qMax(TextHeight, screen.height() * 2 / 3));
    const int bar = shown < height ? textArea->verticalScrollBar()->sizeHint().width() : 0;
    cap1->setFixedSize(width, height);
    textArea->setFixedSize(width + bar, shown);
    textArea->setVerticalScrollBarPolicy(bar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setFixedSize(Width + width + bar - TextWidth, Height + shown - TextHeight);
}

void Tmessage1::bsSkinButton1Click()
{
    // A confirmed New or clear: the caller acts on the answer; the mode is a notice again.
    if (MessageMode == 2 || MessageMode == 3)
        MessageMode = 1;
    accept();
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
    Tmessage1 dialog(QApplication::activeWindow());
    dialog.ask(caption, text, 1);
}
