#include "skin/labeltext.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace kivo {

void applyLabelText(QWidget *label, const LabelText &text)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text.colour);
    label->setPalette(palette);
    QFont font = label->font();
    if (text.pixelSize > 0)
        font.setPixelSize(text.pixelSize);
    font.setBold(text.bold);
    font.setUnderline(text.underline);
    if (text.monospace) {
        font.setFamilies({QStringLiteral("monospace")});
        font.setStyleHint(QFont::Monospace);
    }
    label->setFont(font);
}

} // namespace kivo
