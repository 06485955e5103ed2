#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace kivo {

// The player's own skin, drawn in code: a dark, glossy panel with light glyphs.
namespace Skin {

enum class Glyph { Play, Pause, Stop, Previous, Next, SoundOn, Muted, MainWindow, Tray, Close, Upload };

inline const QColor kAccent {0x4f, 0xc3, 0xf7};
inline const QColor kText {0xe8, 0xec, 0xf2};
inline const QColor kDimText {0x9a, 0xa4, 0xb4};

// Rounded panel with a vertical gradient, a hairline highlight and a soft border.
void paintPanel(QPainter &painter, const QRectF &rect, qreal radius);
// A recessed groove for knobs and the lyric frame.
void paintGroove(QPainter &painter, const QRectF &rect);
// A button picture at logical `size`, sharp at `devicePixelRatio`; hover is brighter.
QPixmap glyph(Glyph glyph, QSize size, bool hover, qreal devicePixelRatio);
// A knob picture.
QPixmap knob(QSize size, qreal devicePixelRatio, const QColor &colour = kAccent);

} // namespace Skin

} // namespace kivo
