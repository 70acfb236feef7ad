#include "FrameIcons.h"

#include "base/ResourceLibrary.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Paints at a 16-unit design size scaled to the pixmap size.
template <typename Draw>
QIcon makeIcon(Draw draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

const QColor Ink(40, 40, 40);

void page(QPainter &p, const QColor &fill)
{
    QPainterPath path;
    path.moveTo(3, 1.5);
    path.lineTo(10, 1.5);
    path.lineTo(13.5, 5);
    path.lineTo(13.5, 14.5);
    path.lineTo(3, 14.5);
    path.closeSubpath();
    p.setPen(QPen(Ink, 1));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 5));
    p.drawLine(QPointF(10, 5), QPointF(13.5, 5));
}

// A hand-held radio: body, antenna and display.
void radio(QPainter &p, const QRectF &body)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(70, 70, 80));
    p.drawRect(QRectF(body.left() + 1, body.top() - 4, 1.5, 4));
    p.drawRoundedRect(body, 1.2, 1.2);
    p.setBrush(QColor(150, 210, 150));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(body.left() + 1, body.top() + 1.2, body.width() - 2, body.height() / 3));
    p.setBrush(QColor(200, 200, 200));
    for (int i = 0; i < 2; ++i)
        p.drawRect(QRectF(body.left() + 1.3, body.top() + body.height() / 2 + i * 2.2, body.width() - 2.6, 1.2));
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &color)
{
    p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << to + u * 1.5 << to - u * 2 + n * 2.2 << to - u * 2 - n * 2.2;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(head);
}

} // namespace

QIcon applicationIcon()
{
    static const QIcon icon = makeIcon([](QPainter &p) {
        radio(p, QRectF(4.5, 4.5, 7, 10.5));
    });
    return icon;
}

QIcon documentIcon()
{
    static const QIcon icon = makeIcon([](QPainter &p) {
        page(p, Qt::white);
        p.setPen(QPen(QColor(60, 100, 170), 1));
        for (int y = 7; y <= 12; y += 2)
            p.drawLine(QPointF(5, y), QPointF(11.5, y));
    });
    return icon;
}

QIcon commandIcon(int commandId)
{
    switch (commandId) {
    case ResId::FileNew: {
        static const QIcon icon = makeIcon([](QPainter &p) { page(p, Qt::white); });
        return icon;
    }
    case ResId::FileOpen: {
        static const QIcon icon = makeIcon([](QPainter &p) {
            p.setPen(QPen(Ink, 1));
            p.setBrush(QColor(230, 190, 80));
            p.drawRect(QRectF(1.5, 4.5, 11, 9));
            p.drawRect(QRectF(1.5, 3, 5, 1.5));
            p.setBrush(QColor(250, 215, 110));
            QPolygonF flap;
            flap << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(12.5, 13.5) << QPointF(1.5, 13.5);
            p.drawPolygon(flap);
        });
        return icon;
    }
    case ResId::FileSave: {
        static const QIcon icon = makeIcon([](QPainter &p) {
            p.setPen(QPen(Ink, 1));
            p.setBrush(QColor(60, 90, 160));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 1.5, 8, 5));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(4, 9, 8, 5.5));
        });
        return icon;
    }
    case ResId::Read: {
        static const QIcon icon = makeIcon([](QPainter &p) {
            radio(p, QRectF(1, 5, 5.5, 10));
            arrow(p, QPointF(8, 9), QPointF(14, 9), QColor(30, 140, 60));
        });
        return icon;
    }
    case ResId::Write: {
        static const QIcon icon = makeIcon([](QPainter &p) {
            radio(p, QRectF(9.5, 5, 5.5, 10));
            arrow(p, QPointF(2, 9), QPointF(7.5, 9), QColor(200, 60, 40));
        });
        return icon;
    }
    case ResId::FilePrint: {
        static const QIcon icon = makeIcon([](QPainter &p) {
            p.setPen(QPen(Ink, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 1.5, 7, 5));
            p.setBrush(QColor(170, 170, 175));
            p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 10, 7, 4.5));
            p.setBrush(QColor(60, 180, 60));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(12.3, 8), 0.8, 0.8);
        });
        return icon;
    }
    case ResId::AppAbout: {
        static const QIcon icon = makeIcon([](QPainter &p) {
            p.setPen(QPen(Ink, 1));
            p.setBrush(QColor(255, 250, 200));
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            QFont f;
            f.setBold(true);
            f.setPixelSize(11);
            p.setFont(f);
            p.setPen(QColor(30, 60, 150));
            p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
        });
        return icon;
    }
    default:
        return QIcon();
    }
}
