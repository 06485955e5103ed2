#include "skin/skin.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace kivo::Skin {

namespace {

QPolygonF triangle(qreal x, qreal y, qreal w, qreal h, bool right)
{
    if (right)
        return QPolygonF({QPointF(x, y), QPointF(x + w, y + h / 2), QPointF(x, y + h)});
    return QPolygonF({QPointF(x + w, y), QPointF(x, y + h / 2), QPointF(x + w, y + h)});
}

// Draws an icon glyph on a 24 × 24 grid.
void drawIcon(QPainter &p, Glyph g, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const QPen line(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (g) {
    case Glyph::None:
        break;
    case Glyph::Play:
        p.drawPolygon(triangle(8, 5, 11, 14, true));
        break;
    case Glyph::Pause:
        p.drawRoundedRect(QRectF(7, 5, 3.5, 14), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 5, 3.5, 14), 1, 1);
        break;
    case Glyph::Previous:
        p.drawRect(QRectF(5, 6, 2.5, 12));
        p.drawPolygon(triangle(8, 6, 10, 12, false));
        break;
    case Glyph::Next:
        p.drawRect(QRectF(16.5, 6, 2.5, 12));
        p.drawPolygon(triangle(6, 6, 10, 12, true));
        break;
    case Glyph::Stop:
        p.drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
        break;
    case Glyph::Speaker:
    case Glyph::Muted: {
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
        if (g == Glyph::Speaker) {
            p.drawArc(QRectF(10, 8, 6, 8), -60 * 16, 120 * 16);
            p.drawArc(QRectF(10, 5, 10, 14), -60 * 16, 120 * 16);
        } else {
            p.drawLine(QPointF(15.5, 9), QPointF(20.5, 15));
            p.drawLine(QPointF(20.5, 9), QPointF(15.5, 15));
        }
        break;
    }
    case Glyph::Search:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, 2.2));
        p.drawEllipse(QRectF(5, 5, 10, 10));
        p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(19, 19));
        break;
    case Glyph::Video:
        p.drawRoundedRect(QRectF(3.5, 7, 12, 10), 2, 2);
        p.drawPolygon(QPolygonF({QPointF(16, 12), QPointF(21, 8), QPointF(21, 16)}));
        break;
    case Glyph::FirstPage:
        p.drawRect(QRectF(6, 7, 2, 10));
        p.drawPolygon(triangle(9, 7, 9, 10, false));
        break;
    case Glyph::PreviousPage:
    case Glyph::ScrollBack:
        p.drawPolygon(triangle(8, 7, 8, 10, false));
        break;
    case Glyph::NextPage:
    case Glyph::ScrollForward:
        p.drawPolygon(triangle(8, 7, 8, 10, true));
        break;
    case Glyph::LastPage:
        p.drawRect(QRectF(16, 7, 2, 10));
        p.drawPolygon(triangle(6, 7, 9, 10, true));
        break;
    case Glyph::Settings: {
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
    case Glyph::Mini:
        p.setBrush(Qt::NoBrush);
        p.setPen(line);
        p.drawRoundedRect(QRectF(5, 9, 14, 7), 1.5, 1.5);
        break;
    case Glyph::ToTray:
        p.setPen(line);
        p.drawLine(QPointF(6, 16), QPointF(18, 16));
        break;
    case Glyph::Close:
        p.setPen(QPen(c, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 7), QPointF(17, 17));
        p.drawLine(QPointF(17, 7), QPointF(7, 17));
        break;
    case Glyph::MainWindow:
    case Glyph::Upload:
        break; // drawn at the plate's own scale, see glyphButton
    }
}

} // namespace

namespace {

// A glyph drawn when a size of it is first asked for, not at every scale up front:
// the windows make dozens of them before their first frame. It is 24 × 24 at most,
// as a picture of that size would be, and takes the style's look when disabled.
class GlyphIconEngine : public QIconEngine
{
public:
    GlyphIconEngine(Glyph glyph, const QColor &colour)
        : m_glyph(glyph)
        , m_colour(colour)
    { }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min({size.width(), size.height(), kGrid});
        return {side, side};
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * dpr, mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min({size.width(), size.height(), kGrid * kMostScale});
        if (side <= 0)
            return {};
        const quint64 key = (quint64(side) << 8) | quint64(mode);
        if (const auto it = m_cache.constFind(key); it != m_cache.cend())
            return *it;
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(qreal(side) / kGrid, qreal(side) / kGrid);
            drawIcon(p, m_glyph, m_colour);
        }
        if (mode != QIcon::Normal && qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        m_cache.insert(key, pm);
        return pm;
    }

    QIconEngine *clone() const override { return new GlyphIconEngine(m_glyph, m_colour); }

private:
    static constexpr int kGrid = 24;
    static constexpr int kMostScale = 3;
    Glyph m_glyph;
    QColor m_colour;
    QHash<quint64, QPixmap> m_cache;
};

} // namespace

QIcon icon(Glyph glyph, const QColor &color)
{
    return QIcon(new GlyphIconEngine(glyph, color));
}

namespace {

// A glyph on a small window's plate: the icon glyphs, and two drawn at the plate's scale.
void drawOnPlate(QPainter &p, Glyph glyph, const QRectF &box, const QColor &ink)
{
    const qreal s = std::min(box.width(), box.height());
    if (glyph != Glyph::MainWindow && glyph != Glyph::Upload) {
        const QRectF square(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
        icon(glyph, ink).paint(&p, square.toAlignedRect());
        return;
    }
    const QRectF g(box.center().x() - s * 0.3, box.center().y() - s * 0.3, s * 0.6, s * 0.6);
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    if (glyph == Glyph::MainWindow) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, std::max(1.0, s * 0.08)));
        p.drawRect(g.adjusted(0, g.height() * 0.1, 0, -g.height() * 0.1));
        p.fillRect(QRectF(g.left(), g.top() + g.height() * 0.1, g.width(), g.height() * 0.2), ink);
        return;
    }
    // Upload: an arrow onto a base line.
    const qreal bar = g.width() * 0.28;
    QPainterPath arrow;
    arrow.moveTo(g.center().x(), g.top());
    arrow.lineTo(g.right(), g.center().y());
    arrow.lineTo(g.left(), g.center().y());
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.drawRect(QRectF(g.center().x() - bar / 2, g.center().y(), bar, g.height() * 0.35));
    p.drawRect(QRectF(g.left(), g.bottom() - g.height() * 0.1, g.width(), g.height() * 0.1));
}

} // namespace

QPixmap glyphButton(Glyph which, QSize size, bool hover, qreal devicePixelRatio)
{
    QPixmap pixmap = canvas(size, devicePixelRatio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(QPointF(0, 0), QSizeF(size));
    QRadialGradient shine(box.center() - QPointF(0, box.height() * 0.2), box.width() * 0.7);
    shine.setColorAt(0, hover ? QColor(0x5a, 0x66, 0x7a) : QColor(0x3c, 0x43, 0x50));
    shine.setColorAt(1, hover ? QColor(0x27, 0x2e, 0x3a) : QColor(0x1b, 0x1f, 0x27));
    p.setPen(QPen(hover ? kAccent : QColor(0, 0, 0, 180), 1));
    p.setBrush(shine);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    drawOnPlate(p, which, box, hover ? Qt::white : kText);
    return pixmap;
}

} // namespace kivo::Skin
