#include "shell/ui/skindraw.h"

#include "shell/ui/buttonicons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <optional>

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

// The main window's glyphs, so both windows speak the same picture language.
std::optional<ButtonGlyph> sharedGlyph(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Play:
        return ButtonGlyph::Play;
    case Glyph::Pause:
        return ButtonGlyph::Pause;
    case Glyph::Stop:
        return ButtonGlyph::Stop;
    case Glyph::Previous:
        return ButtonGlyph::Previous;
    case Glyph::Next:
        return ButtonGlyph::Next;
    case Glyph::SoundOn:
        return ButtonGlyph::Speaker;
    case Glyph::Muted:
        return ButtonGlyph::Muted;
    case Glyph::Tray:
        return ButtonGlyph::ToTray;
    case Glyph::Close:
        return ButtonGlyph::Close;
    case Glyph::MainWindow:
    case Glyph::Upload:
        return std::nullopt;
    }
    return std::nullopt;
}

void drawGlyph(QPainter &p, Glyph glyph, const QRectF &box, const QColor &ink)
{
    const qreal s = std::min(box.width(), box.height());
    if (const std::optional<ButtonGlyph> shared = sharedGlyph(glyph)) {
        const QRectF square(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
        buttonIcon(*shared, ink).paint(&p, square.toAlignedRect());
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
