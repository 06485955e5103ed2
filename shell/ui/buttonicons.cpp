#include "shell/ui/buttonicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kivo {

namespace {

QPolygonF triangle(qreal x, qreal y, qreal w, qreal h, bool right)
{
    if (right)
        return QPolygonF({QPointF(x, y), QPointF(x + w, y + h / 2), QPointF(x, y + h)});
    return QPolygonF({QPointF(x + w, y), QPointF(x, y + h / 2), QPointF(x + w, y + h)});
}

// Draws on a 24 × 24 grid.
void draw(QPainter &p, ButtonGlyph g, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const QPen line(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (g) {
    case ButtonGlyph::None:
        break;
    case ButtonGlyph::Play:
        p.drawPolygon(triangle(8, 5, 11, 14, true));
        break;
    case ButtonGlyph::Pause:
        p.drawRoundedRect(QRectF(7, 5, 3.5, 14), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 5, 3.5, 14), 1, 1);
        break;
    case ButtonGlyph::Previous:
        p.drawRect(QRectF(5, 6, 2.5, 12));
        p.drawPolygon(triangle(8, 6, 10, 12, false));
        break;
    case ButtonGlyph::Next:
        p.drawRect(QRectF(16.5, 6, 2.5, 12));
        p.drawPolygon(triangle(6, 6, 10, 12, true));
        break;
    case ButtonGlyph::Stop:
        p.drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
        break;
    case ButtonGlyph::Speaker:
    case ButtonGlyph::Muted: {
        QPainterPath body;
        body.moveTo(4, 9.5);
        body.lineTo(8, 9.5);
        body.lineTo(13, 5);
        body.lineTo(13, 19);
        body.lineTo(8, 14.5);
        body.lineTo(4, 14.5);
        body.closeSubpath();
        p.drawPath(body);
        p.setBrush(Qt::NoBrush);
        p.setPen(line);
        if (g == ButtonGlyph::Speaker) {
            p.drawArc(QRectF(10, 8, 6, 8), -60 * 16, 120 * 16);
            p.drawArc(QRectF(10, 5, 10, 14), -60 * 16, 120 * 16);
        } else {
            p.drawLine(QPointF(15.5, 9), QPointF(20.5, 15));
            p.drawLine(QPointF(20.5, 9), QPointF(15.5, 15));
        }
        break;
    }
    case ButtonGlyph::Search:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, 2.2));
        p.drawEllipse(QRectF(5, 5, 10, 10));
        p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(19, 19));
        break;
    case ButtonGlyph::Video:
        p.drawRoundedRect(QRectF(3.5, 7, 12, 10), 2, 2);
        p.drawPolygon(QPolygonF({QPointF(16, 12), QPointF(21, 8), QPointF(21, 16)}));
        break;
    case ButtonGlyph::FirstPage:
        p.drawRect(QRectF(6, 7, 2, 10));
        p.drawPolygon(triangle(9, 7, 9, 10, false));
        break;
    case ButtonGlyph::PreviousPage:
    case ButtonGlyph::ScrollBack:
        p.drawPolygon(triangle(8, 7, 8, 10, false));
        break;
    case ButtonGlyph::NextPage:
    case ButtonGlyph::ScrollForward:
        p.drawPolygon(triangle(8, 7, 8, 10, true));
        break;
    case ButtonGlyph::LastPage:
        p.drawRect(QRectF(16, 7, 2, 10));
        p.drawPolygon(triangle(6, 7, 9, 10, true));
        break;
    case ButtonGlyph::Settings: {
        p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(12, 12);
            p.rotate(45 * i);
            p.drawLine(QPointF(0, -6.5), QPointF(0, -8.5));
            p.restore();
        }
        p.setPen(QPen(c, 2.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(7, 7, 10, 10));
        break;
    }
    case ButtonGlyph::Mini:
        p.setBrush(Qt::NoBrush);
        p.setPen(line);
        p.drawRoundedRect(QRectF(5, 9, 14, 7), 1.5, 1.5);
        break;
    case ButtonGlyph::ToTray:
        p.setPen(line);
        p.drawLine(QPointF(6, 16), QPointF(18, 16));
        break;
    case ButtonGlyph::Close:
        p.setPen(QPen(c, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 7), QPointF(17, 17));
        p.drawLine(QPointF(17, 7), QPointF(7, 17));
        break;
    }
}

} // namespace

QIcon buttonIcon(ButtonGlyph glyph, const QColor &color)
{
    QIcon icon;
    for (int scale : {1, 2, 3}) {
        QPixmap pm(24 * scale, 24 * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, glyph, color);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace kivo
