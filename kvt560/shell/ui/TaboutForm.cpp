#include "shell/ui/TaboutForm.h"
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

QPixmap TaboutForm::picture(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // antenna
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 44));
    p.drawRoundedRect(QRectF(36, 2, 6, 20), 3, 3);
    // body
    QLinearGradient body(0, 16, 0, 62);
    body.setColorAt(0, QColor(70, 74, 82));
    body.setColorAt(1, QColor(28, 30, 34));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(16, 16, 32, 46), 6, 6);
    // display
    p.setBrush(QColor(120, 200, 120));
    p.drawRoundedRect(QRectF(21, 21, 22, 11), 2, 2);
    p.setPen(QPen(QColor(20, 60, 20), 1.2));
    p.drawLine(QPointF(24, 27), QPointF(40, 27));
    // keypad
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 194, 200));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(21 + col * 8, 36 + row * 6, 6, 4), 1, 1);
    // knob
    p.setBrush(QColor(200, 40, 30));
    p.drawEllipse(QRectF(20, 10, 8, 8));
    return pm;
}

QString TaboutForm::versionLine()
{
    // The form of the command line's --version: name, blank, version.
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QString() : QCoreApplication::applicationName() + QLatin1Char(' ') + version;
}

TaboutForm::TaboutForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TaboutForm"));
    setWindowTitle(QStringLiteral("关于..."));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    pictureLabel->setPixmap(picture(96));
    pictureLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto makeLine = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    // Built-in lines until a language library gives its own.
    bsSkinStdLabel3 = makeLine("bsSkinStdLabel3", QStringLiteral("KVT560 对讲机编程软件"));
    bsSkinStdLabel4 = makeLine("bsSkinStdLabel4", QStringLiteral("版本 1.0"));
    bsSkinStdLabel2 = makeLine("bsSkinStdLabel2", QStringLiteral("版权所有 (C) 2010-2026"));
    bsSkinStdLabel1 = makeLine("bsSkinStdLabel1", QStringLiteral("DORVAK"));
    // The version as `KVT560 --version` prints it, below the lines a library may replace.
    programVersionLabel = makeLine("programVersionLabel", versionLine());
    programVersionLabel->setForegroundRole(QPalette::PlaceholderText);
    QFont big = bsSkinStdLabel3->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.2);
    bsSkinStdLabel3->setFont(big);

    okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setMinimumWidth(90);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *lines = new QVBoxLayout;
    lines->setSpacing(8);
    lines->addWidget(bsSkinStdLabel3);
    lines->addWidget(bsSkinStdLabel4);
    lines->addWidget(bsSkinStdLabel2);
    lines->addWidget(bsSkinStdLabel1);
    lines->addWidget(programVersionLabel);
    lines->addStretch();

    auto *top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(pictureLabel);
    top->addLayout(lines, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 18, 18, 14);
    outer->addLayout(top);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);   // a fixed dialog sized by its texts
}
