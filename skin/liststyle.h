#pragma once

#include <QString>

class QAbstractItemView;
class QWidget;

namespace kivo {

namespace Skin {

// The rules a window's lists and trees follow: no frame, a transparent ground, light
// text, and slim dark headers and scroll bars; captioned skin buttons in light text.
QString listStyleSheet();

} // namespace Skin

// What the style sheet gives a view, set through its palette and frame instead, for
// the views of the first frame: a style sheet is matched against every widget it
// reaches when it is polished, which start-up should not wait for. Without scroll
// bars or a header in sight, the view looks the same under the sheet or without it.
void applyListColours(QAbstractItemView *view);

// The same for a skin button's caption.
void applyButtonCaption(QWidget *button);

} // namespace kivo
