#pragma once

#include <QIcon>

namespace kivo {

// The skinned buttons' pictures, drawn in code so they are sharp at any scale.
enum class ButtonGlyph {
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
    ScrollForward
};

QIcon buttonIcon(ButtonGlyph glyph, const QColor &color = QColor(214, 236, 250));

} // namespace kivo
