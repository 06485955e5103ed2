#pragma once

#include <QPixmap>

#include <functional>

class QPainter;
class QWidget;

namespace kivo {

// The drawn face of a skinned window, kept as a pixmap at the window's pixel
// ratio: a small repaint (a wipe step, a new readout) blits the part it needs
// instead of filling the face's gradients and rounded paths again. The face is
// drawn on transparency, as the translucent windows' backing store has it, so the
// blit shows exactly what drawing it there would.
class FaceCache
{
public:
    using Draw = std::function<void(QPainter &, const QRect &bounds)>;
    explicit FaceCache(Draw draw);

    // Paints the face of `widget` (its whole rect) where `painter` is not clipped.
    void paint(QPainter &painter, const QWidget *widget, const QRect &dirty);
    // The face changed (a groove shown or hidden): drawn again at the next paint.
    void invalidate() { m_pixmap = QPixmap(); }

private:
    Draw m_draw;
    QPixmap m_pixmap;
};

} // namespace kivo
