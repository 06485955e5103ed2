#pragma once

#include <QPixmap>
#include <QRect>

class QPainter;

namespace kivo {

// Our own skin, drawn in code so it stays crisp at any device pixel ratio.
// Everything outside the drawn face is left transparent (the colour key of the
// skinned windows).
namespace SkinPainter {
void paintMainFace(QPainter &p, const QRect &bounds);
void paintOverlay(QPainter &p, const QRect &bounds);
void paintInset(QPainter &p, const QRect &r, int radius = 6);
// A skinned button's plate, normal or under the mouse; the play button's is round.
QPixmap buttonPlate(const QSize &size, bool hover, bool round, qreal devicePixelRatio);
} // namespace SkinPainter

namespace Twips {
constexpr int perPixel = 15;
constexpr int toPixels(int twips)
{
    return twips / perPixel;
}
constexpr int fromPixels(int px)
{
    return px * perPixel;
}
} // namespace Twips

} // namespace kivo
