#include "skin/facecache.h"

#include <QPainter>
#include <QWidget>

namespace kivo {

FaceCache::FaceCache(Draw draw)
    : m_draw(std::move(draw))
{ }

void FaceCache::paint(QPainter &painter, const QWidget *widget, const QRect &dirty)
{
    const qreal ratio = widget->devicePixelRatioF();
    const QSize pixels = widget->size() * ratio;
    if (m_pixmap.size() != pixels || m_pixmap.devicePixelRatio() != ratio) {
        m_pixmap = QPixmap(pixels);
        m_pixmap.setDevicePixelRatio(ratio);
        m_pixmap.fill(Qt::transparent);
        QPainter face(&m_pixmap);
        m_draw(face, widget->rect());
    }
    const QRect area = dirty.intersected(widget->rect());
    painter.drawPixmap(area, m_pixmap, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

} // namespace kivo
