#pragma once

#include <QMetaType>

namespace kivo {

// The player's commands: what the skinned buttons of both windows, the tray menu and
// the media keys (MPRIS) ask for. The main window's buttons carry them; a button's
// number survives only as its object name ("bf0" … "bf20").
enum class PlayerCommand {
    PlayPause,
    Previous,
    Next,
    Mute,
    ShowLibraryTree,
    ShowCatalogueTree,
    ScrollTabsBack,
    ScrollTabsForward,
    Stop,
    FirstPage,
    PreviousPage,
    NextPage,
    LastPage,
    Search,
    MiniMode,
    HideToTray,
    Exit,
    Settings,
    ShowVideo,
    ShowPlayer, // the tray icon's left click and MPRIS "Raise": the player's window comes back
};

} // namespace kivo

Q_DECLARE_METATYPE(kivo::PlayerCommand)
