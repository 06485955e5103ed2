#pragma once

#include "shell/ui/communitycommands.h"
#include "shell/ui/downloadcommands.h"
#include "shell/ui/fileopencommands.h"
#include "shell/ui/importcommands.h"
#include "shell/ui/librarycommands.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/playlistfilecommands.h"
#include "shell/ui/songnotifications.h"

#include <QStringList>

#include <memory>

namespace kivo {

class DesktopNotifier;
class InstanceChannel;
class LibraryDatabase;
class MainWindow;

// The player around the main window's face: playback, lyrics and knobs, downloads,
// local files, the community dialogs, the desktop's files and notifications, and the
// library's commands. The first frame shows none of it, so it is built after that
// frame. Members go in the reverse order they are made; all of them before the window.
class PlayerParts
{
public:
    PlayerParts(MainWindow *window, LibraryDatabase *library, InstanceChannel *channel, QStringList startFiles);
    ~PlayerParts();

private:
    PlaybackViews m_playback; // playback, lyrics, knobs and the mini player
    DownloadCommands m_downloads; // the download list, its page and its menu
    // Local files: the import window, drops, and playlists as files.
    ImportCommands m_imports;
    PlaylistFileCommands m_playlistFiles;
    CommunityCommands m_community; // search, info pages, dedication and settings
    FileOpenCommands m_fileOpen;
    std::unique_ptr<DesktopNotifier> m_notifier;
    SongNotifications m_notifications;
    // Playlists, the history, the now-playing list and the CD shelf; the keyboard.
    LibraryCommands m_libraryCommands;
};

} // namespace kivo
