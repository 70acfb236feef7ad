#include "settings/ui/SettingWidgets.h"
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

TextFilterValidator::TextFilterValidator(const TextFilter &filter, QObject *parent)
    : QValidator(parent)
    , m_filter(filter)
{
}

QValidator::State TextFilterValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const auto accepted = m_filter.apply(input);
    if (!accepted)
        return Invalid;
    input = *accepted;   // same length: the caret stays where it is
    return Acceptable;
}

SettingSpinBox::SettingSpinBox(const SpinRange &range, QWidget *parent)
    : QSpinBox(parent)
    , m_maxChars(range.maxChars > 0 ? range.maxChars : 10)
{
    setRange(range.minimum, range.maximum);
    setSingleStep(range.step);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State SettingSpinBox::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    if (input.isEmpty())
        return QValidator::Intermediate;
    if (input.size() > m_maxChars)
        return QValidator::Invalid;
    for (QChar c : input)
        if (!c.isDigit() || c.unicode() > 0x7f)
            return QValidator::Invalid;
    const int v = input.toInt();
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void SettingSpinBox::fixup(QString &input) const
{
    bool ok = false;
    const int v = input.toInt(&ok);
    // Nothing typed keeps the last value; a number goes to the nearest bound.
    input = QString::number(ok ? qBound(minimum(), v, maximum()) : value());
}

RadioPicture::RadioPicture(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("radioPicture"));
}

void RadioPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 220 x 330 design grid, scaled to fit and centred.
    const qreal scale = qMin(width() / 220.0, height() / 330.0);
    p.translate((width() - 220 * scale) / 2, (height() - 330 * scale) / 2);
    p.scale(scale, scale);

    const QColor keyColour(70, 110, 190);
    QFont labelFont = font();
    labelFont.setBold(true);
    labelFont.setPixelSize(13);
    p.setFont(labelFont);

    auto key = [&](const QRectF &r, const QString &label, const QPointF &labelAt) {
        p.setPen(QPen(QColor(30, 40, 70), 1));
        p.setBrush(keyColour);
        p.drawRoundedRect(r, 3, 3);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(labelAt.x() - 16, labelAt.y() - 9, 32, 18), Qt::AlignCenter, label);
    };

    // Antenna and the two knobs on top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(35, 35, 38));
    p.drawRoundedRect(QRectF(128, 8, 18, 92), 9, 9);
    p.setBrush(QColor(60, 60, 64));
    p.drawRoundedRect(QRectF(84, 64, 22, 30), 4, 4);

    // Body.
    QLinearGradient body(70, 0, 170, 0);
    body.setColorAt(0, QColor(58, 62, 70));
    body.setColorAt(0.5, QColor(84, 88, 98));
    body.setColorAt(1, QColor(44, 46, 52));
    p.setBrush(body);
    p.setPen(QPen(QColor(20, 20, 24), 1.5));
    p.drawRoundedRect(QRectF(66, 92, 108, 218), 16, 16);

    // Speaker grille.
    p.setPen(QPen(QColor(28, 30, 34), 2));
    for (int y = 108; y <= 150; y += 7)
        p.drawLine(QPointF(84, y), QPointF(156, y));

    // Display.
    p.setPen(QPen(QColor(20, 50, 20), 1));
    p.setBrush(QColor(150, 210, 150));
    p.drawRoundedRect(QRectF(82, 162, 76, 34), 4, 4);
    QFont lcd = font();
    lcd.setPixelSize(14);
    lcd.setBold(true);
    p.setFont(lcd);
    p.setPen(QColor(20, 60, 20));
    p.drawText(QRectF(82, 162, 76, 34), Qt::AlignCenter, QStringLiteral("438.500"));
    p.setFont(labelFont);

    // Keypad.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 204, 210));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(86 + col * 24, 208 + row * 22, 18, 14), 3, 3);

    // The programmable keys: three on the left side, two on top.
    key(QRectF(58, 120, 9, 34), QStringLiteral("P1"), QPointF(34, 137));
    key(QRectF(58, 162, 9, 22), QStringLiteral("P2"), QPointF(34, 173));
    key(QRectF(58, 192, 9, 22), QStringLiteral("P3"), QPointF(34, 203));
    key(QRectF(74, 84, 8, 9), QStringLiteral("P4"), QPointF(60, 70));
    key(QRectF(156, 84, 12, 9), QStringLiteral("P5"), QPointF(184, 76));
}
