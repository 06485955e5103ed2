#include "shell/ui/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kivo {

QImage drawAppIcon(int size)
{
    QImage pm(size, size, QImage::Format_ARGB32_Premultiplied);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
    QRadialGradient disc(r.center(), r.width() / 2);
    disc.setColorAt(0, QColor(0, 200, 255));
    disc.setColorAt(1, QColor(0, 90, 170));
    p.setBrush(disc);
    p.setPen(QPen(QColor(0, 40, 80), size / 24.0));
    p.drawEllipse(r);
    // A note in white.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const qreal u = size / 32.0;
    p.drawEllipse(QRectF(9 * u, 19 * u, 7 * u, 5.5 * u));
    p.drawRect(QRectF(14.2 * u, 8 * u, 1.8 * u, 14 * u));
    QPainterPath flag;
    flag.moveTo(16 * u, 8 * u);
    flag.cubicTo(20 * u, 9 * u, 23 * u, 11 * u, 22 * u, 16 * u);
    flag.cubicTo(21 * u, 13 * u, 19 * u, 12 * u, 16 * u, 12 * u);
    flag.closeSubpath();
    p.drawPath(flag);
    return pm;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(drawAppIcon(size)));
    return icon;
}

} // namespace kivo
