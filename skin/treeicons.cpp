#include "skin/treeicons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace kivo {

QIcon treeIcon(int image)
{
    static QHash<int, QIcon> cache;
    if (const auto it = cache.constFind(image); it != cache.cend())
        return *it;
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    static const QColor colours[] = {QColor(0x4a, 0x7a, 0xc0), QColor(0xd0, 0x8a, 0x2a), QColor(0x5a, 0xa0, 0x55),
        QColor(0x9a, 0x5a, 0xb0), QColor(0xc0, 0x4a, 0x4a)};
    painter.setBrush(colours[image % 5]);
    painter.setPen(Qt::NoPen);
    if (image == 14 || image == 15) {
        // Paging nodes: an arrow left or right.
        QPolygonF arrow;
        if (image == 14)
            arrow << QPointF(3, 8) << QPointF(12, 3) << QPointF(12, 13);
        else
            arrow << QPointF(13, 8) << QPointF(4, 3) << QPointF(4, 13);
        painter.drawPolygon(arrow);
    } else if (image == 4) {
        painter.drawEllipse(QRectF(3, 3, 10, 10)); // a song list
    } else {
        painter.drawRoundedRect(QRectF(2, 4, 12, 9), 2, 2); // a folder of sorts
    }
    painter.end();
    return cache.insert(image, QIcon(p)).value();
}

} // namespace kivo
