#include "skin/skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QRadialGradient>

#include <algorithm>

namespace kivo::Skin {

QPixmap canvas(QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void paintInset(QPainter &p, const QRect &r, int radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(13, 15, 19));
    fill.setColorAt(1, QColor(20, 23, 29));
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    p.drawLine(QPointF(r.left() + radius, r.bottom() + 0.5), QPointF(r.right() - radius, r.bottom() + 0.5));
}

void paintMainFace(QPainter &p, const QRect &bounds)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(bounds).adjusted(1, 1, -1, -1);
    QPainterPath body;
    body.addRoundedRect(face, 14, 14);

    QLinearGradient metal(face.topLeft(), face.bottomLeft());
    metal.setColorAt(0.0, QColor(46, 50, 60));
    metal.setColorAt(0.07, QColor(34, 37, 45));
    metal.setColorAt(0.72, QColor(24, 26, 32));
    metal.setColorAt(1.0, QColor(17, 19, 23));
    p.fillPath(body, metal);

    // Title strip sheen and a thin accent line under it.
    QPainterPath title;
    title.addRoundedRect(QRectF(face.left(), face.top(), face.width(), 30), 14, 14);
    QLinearGradient sheen(face.topLeft(), QPointF(face.left(), face.top() + 30));
    sheen.setColorAt(0, QColor(255, 255, 255, 34));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(title, sheen);
    QLinearGradient accent(face.topLeft(), face.topRight());
    accent.setColorAt(0, QColor(0, 170, 255, 0));
    accent.setColorAt(0.5, QColor(0, 190, 255, 200));
    accent.setColorAt(1, QColor(0, 170, 255, 0));
    p.fillRect(QRectF(face.left() + 16, face.top() + 30, face.width() - 32, 1), accent);

    // Panels: the tree, the results, the lyric deck.
    paintInset(p, QRect(8, 62, 164, 242));
    paintInset(p, QRect(174, 62, 428, 242));
    paintInset(p, QRect(8, 346, 594, 48), 8);

    // Knob tracks: volume 4580..5120 and position 5480..8750 twips, plus the knob's width.
    const auto track = [&p](qreal x0, qreal x1) {
        QPainterPath t;
        t.addRoundedRect(QRectF(x0, 419, x1 - x0, 4), 2, 2);
        p.fillPath(t, QColor(8, 10, 13));
        p.setPen(QPen(QColor(255, 255, 255, 25), 1));
        p.drawLine(QPointF(x0 + 2, 423.5), QPointF(x1 - 2, 423.5));
    };
    track(305, 353);
    track(365, 595);

    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.drawRoundedRect(QRectF(bounds).adjusted(0.5, 0.5, -0.5, -0.5), 14.5, 14.5);
}

QPixmap buttonPlate(const QSize &size, bool hover, bool round, qreal devicePixelRatio)
{
    // Most buttons share a few sizes: each plate is drawn once and shared.
    const QString key = QStringLiteral("kivo-plate-%1x%2-%3%4-%5")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(int(hover))
                            .arg(int(round))
                            .arg(devicePixelRatio);
    QPixmap pm;
    if (QPixmapCache::find(key, &pm))
        return pm;
    pm = canvas(size, devicePixelRatio);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    if (round)
        path.addEllipse(box);
    else
        path.addRoundedRect(box, 5, 5);
    if (round) {
        QRadialGradient fill(box.center() - QPointF(0, box.height() * 0.15), box.width() * 0.7);
        fill.setColorAt(0, hover ? QColor(90, 215, 255) : QColor(46, 196, 255));
        fill.setColorAt(1, hover ? QColor(16, 110, 170) : QColor(10, 93, 147));
        p.fillPath(path, fill);
    } else {
        QLinearGradient fill(box.topLeft(), box.bottomLeft());
        fill.setColorAt(0, hover ? QColor(74, 82, 98) : QColor(58, 63, 75));
        fill.setColorAt(1, hover ? QColor(44, 49, 59) : QColor(35, 38, 46));
        p.fillPath(path, fill);
    }
    p.setPen(QPen(hover ? QColor(0, 190, 255, 200) : QColor(17, 19, 26), 1));
    p.drawPath(path);
    p.end();
    QPixmapCache::insert(key, pm);
    return pm;
}

void paintOverlay(QPainter &p, const QRect &bounds)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(bounds).adjusted(1, 1, -1, -1), 16, 16);
    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    fill.setColorAt(0, QColor(40, 44, 54, 240));
    fill.setColorAt(1, QColor(18, 20, 25, 240));
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(0, 190, 255, 120), 1.2));
    p.drawPath(path);
}

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

QPixmap knob(QSize size, qreal devicePixelRatio, const QColor &colour)
{
    QPixmap pixmap = canvas(size, devicePixelRatio);
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
