#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace kivo {

// The player's own skin, drawn in code so it stays crisp at any device pixel ratio:
// dark glossy panels with light glyphs. Everything outside a drawn face is left
// transparent (the colour key of the skinned windows).
namespace Skin {

inline const QColor kAccent {0x4f, 0xc3, 0xf7};
inline const QColor kText {0xe8, 0xec, 0xf2};
inline const QColor kDimText {0x9a, 0xa4, 0xb4};
// The ground of the insets the trees, results and panes sit in.
inline const QColor kInset {0x11, 0x13, 0x18};

// The pictures on the skinned buttons of every window.
enum class Glyph {
    None,
    Play,
    Pause,
    Previous,
    Next,
    Stop,
    Speaker,
    Muted,
    Search,
    Video,
    FirstPage,
    PreviousPage,
    NextPage,
    LastPage,
    Settings,
    Mini,
    ToTray,
    Close,
    ScrollBack,
    ScrollForward,
    MainWindow,
    Upload,
};

// A transparent picture of logical `size`, sharp at `devicePixelRatio`, to paint on.
QPixmap canvas(QSize size, qreal devicePixelRatio);

// The main window's face: body, title strip and the insets of the trees, the results
// and the lyric deck.
void paintMainFace(QPainter &painter, const QRect &bounds);
// The busy overlay's rounded face.
void paintOverlay(QPainter &painter, const QRect &bounds);
void paintInset(QPainter &painter, const QRect &rect, int radius = 6);
// Rounded panel with a vertical gradient, a hairline highlight and a soft border (the
// mini player and the dialogs).
void paintPanel(QPainter &painter, const QRectF &rect, qreal radius);
// A recessed groove for knobs and the lyric frame.
void paintGroove(QPainter &painter, const QRectF &rect);

// A main-window button's plate, normal or under the mouse; the play button's is round.
QPixmap buttonPlate(const QSize &size, bool hover, bool round, qreal devicePixelRatio);
// A glyph as an icon in `colour`, for a plate's face.
QIcon icon(Glyph glyph, const QColor &colour = QColor(214, 236, 250));
// A small window's button: its plate with the glyph, at logical `size`; hover is brighter.
QPixmap glyphButton(Glyph glyph, QSize size, bool hover, qreal devicePixelRatio);
// A knob's picture.
QPixmap knob(QSize size, qreal devicePixelRatio, const QColor &colour = kAccent);

} // namespace Skin

} // namespace kivo
