#pragma once

#include <QColor>

class QWidget;

namespace kivo {

// How a label's text looks on the skin. Set through the palette and the font rather
// than a style sheet: a style sheet makes every widget it reaches pay for matching
// rules when it is polished, and the labels of the main window are shown at start-up.
struct LabelText
{
    QColor colour;
    int pixelSize = 0; // 0: the window's font size
    bool bold = false;
    bool underline = false;
    bool monospace = false;
};

void applyLabelText(QWidget *label, const LabelText &text);

} // namespace kivo
