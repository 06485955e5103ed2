#include "shell/ui/skindraw.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace kivo::Skin {

void paintPanel(QPainter &painter, const QRectF &rect, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0.0, QColor(0x3a, 0x40, 0x4c));
    fill.setColorAt(0.08, QColor(0x2a, 0x2f, 0x39));
    fill.setColorAt(1.0, QColor(0x14, 0x17, 0x1d));
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    painter.restore();
}

void paintGroove(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal r = std::min(rect.height() / 2, 4.0);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, QColor(0x0b, 0x0d, 0x11));
    fill.setColorAt(1, QColor(0x1c, 0x20, 0x27));
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), r, r);
    painter.restore();
}

namespace {

QPainterPath triangle(const QRectF &r, bool right)
{
    QPainterPath path;
    if (right) {
        path.moveTo(r.left(), r.top());
        path.lineTo(r.right(), r.center().y());
        path.lineTo(r.left(), r.bottom());
    } else {
        path.moveTo(r.right(), r.top());
        path.lineTo(r.left(), r.center().y());
        path.lineTo(r.right(), r.bottom());
    }
    path.closeSubpath();
    return path;
}

void drawGlyph(QPainter &p, Glyph glyph, const QRectF &box, const QColor &ink)
{
    const qreal s = std::min(box.width(), box.height());
    const QRectF g(box.center().x() - s * 0.3, box.center().y() - s * 0.3, s * 0.6, s * 0.6);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    const qreal bar = g.width() * 0.28;
    switch (glyph) {
    case Glyph::Play:
        p.drawPath(triangle(g.adjusted(g.width() * 0.12, 0, 0, 0), true));
        break;
    case Glyph::Pause:
        p.drawRect(QRectF(g.left() + g.width() * 0.1, g.top(), bar, g.height()));
        p.drawRect(QRectF(g.right() - g.width() * 0.1 - bar, g.top(), bar, g.height()));
        break;
    case Glyph::Stop:
        p.drawRoundedRect(g.adjusted(g.width() * 0.08, g.width() * 0.08, -g.width() * 0.08, -g.width() * 0.08), 1, 1);
        break;
    case Glyph::Previous:
    case Glyph::Next: {
        const bool right = glyph == Glyph::Next;
        const QRectF tri = right ? g.adjusted(0, 0, -bar, 0) : g.adjusted(bar, 0, 0, 0);
        p.drawPath(triangle(tri, right));
        p.drawRect(right ? QRectF(g.right() - bar * 0.8, g.top(), bar * 0.8, g.height())
                         : QRectF(g.left(), g.top(), bar * 0.8, g.height()));
        break;
    }
    case Glyph::SoundOn:
    case Glyph::Muted: {
        QPainterPath speaker;
        speaker.moveTo(g.left(), g.top() + g.height() * 0.35);
        speaker.lineTo(g.left() + g.width() * 0.25, g.top() + g.height() * 0.35);
        speaker.lineTo(g.left() + g.width() * 0.55, g.top());
        speaker.lineTo(g.left() + g.width() * 0.55, g.bottom());
        speaker.lineTo(g.left() + g.width() * 0.25, g.top() + g.height() * 0.65);
        speaker.lineTo(g.left(), g.top() + g.height() * 0.65);
        speaker.closeSubpath();
        p.drawPath(speaker);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, std::max(1.0, s * 0.07), Qt::SolidLine, Qt::RoundCap));
        if (glyph == Glyph::Muted) {
            const QRectF x(g.left() + g.width() * 0.68, g.top() + g.height() * 0.3, g.width() * 0.32, g.height() * 0.4);
            p.drawLine(x.topLeft(), x.bottomRight());
            p.drawLine(x.bottomLeft(), x.topRight());
        } else {
            p.drawArc(QRectF(g.left() + g.width() * 0.3, g.top() + g.height() * 0.2, g.width() * 0.5, g.height() * 0.6),
                -50 * 16, 100 * 16);
            p.drawArc(QRectF(g.left() + g.width() * 0.2, g.top(), g.width() * 0.8, g.height()), -50 * 16, 100 * 16);
        }
        break;
    }
    case Glyph::MainWindow:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, std::max(1.0, s * 0.08)));
        p.drawRect(g.adjusted(0, g.height() * 0.1, 0, -g.height() * 0.1));
        p.fillRect(QRectF(g.left(), g.top() + g.height() * 0.1, g.width(), g.height() * 0.2), ink);
        break;
    case Glyph::Tray:
        p.fillRect(QRectF(g.left(), g.bottom() - g.height() * 0.18, g.width(), g.height() * 0.18), ink);
        break;
    case Glyph::Close:
        p.setPen(QPen(ink, std::max(1.2, s * 0.1), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(g.topLeft(), g.bottomRight());
        p.drawLine(g.bottomLeft(), g.topRight());
        break;
    case Glyph::Upload: {
        QPainterPath arrow;
        arrow.moveTo(g.center().x(), g.top());
        arrow.lineTo(g.right(), g.center().y());
        arrow.lineTo(g.left(), g.center().y());
        arrow.closeSubpath();
        p.drawPath(arrow);
        p.drawRect(QRectF(g.center().x() - bar / 2, g.center().y(), bar, g.height() * 0.35));
        p.drawRect(QRectF(g.left(), g.bottom() - g.height() * 0.1, g.width(), g.height() * 0.1));
        break;
    }
    }
}

} // namespace

QPixmap glyph(Glyph which, QSize size, bool hover, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(QPointF(0, 0), QSizeF(size));
    QRadialGradient shine(box.center() - QPointF(0, box.height() * 0.2), box.width() * 0.7);
    shine.setColorAt(0, hover ? QColor(0x5a, 0x66, 0x7a) : QColor(0x3c, 0x43, 0x50));
    shine.setColorAt(1, hover ? QColor(0x27, 0x2e, 0x3a) : QColor(0x1b, 0x1f, 0x27));
    p.setPen(QPen(hover ? kAccent : QColor(0, 0, 0, 180), 1));
    p.setBrush(shine);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    drawGlyph(p, which, box, hover ? Qt::white : kText);
    return pixmap;
}

QPixmap knob(QSize size, qreal devicePixelRatio, const QColor &colour)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, colour.lighter(140));
    fill.setColorAt(1, colour.darker(150));
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(fill);
    const qreal r = std::min(box.width(), box.height()) / 2;
    p.drawRoundedRect(box, r, r);
    return pixmap;
}

} // namespace kivo::Skin
