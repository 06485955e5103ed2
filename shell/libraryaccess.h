#pragma once

#include "community/settingsform.h"
#include "downloads/downloadlibrary.h"
#include "library/librarysource.h"
#include "lyrics/lyricslookup.h"
#include "playback/playbacklibrary.h"

namespace kivo {

class LibraryDatabase;

// What the pages, the player and the lyrics need of the library, over the one
// database connection. It holds no state of its own.
class LibraryAccess final : public LibrarySource,
                            public PlaybackLibrary,
                            public LyricsLibrary,
                            public DownloadLibrary,
                            public SettingsStore
{
public:
    explicit LibraryAccess(LibraryDatabase &database)
        : m_db(database)
    { }

    // The connection itself, for the library commands' writes.
    LibraryDatabase &database() const { return m_db; }

    // LibrarySource: the trees and the song list pages
    QList<LibraryListEntry> playlists() const override;
    QList<LibraryListEntry> historyDays() const override;
    QList<LibraryAlbumEntry> albums() const override;
    QList<LibrarySong> playlistSongs(int classId, PageSlice slice) const override;
    QList<LibrarySong> historySongs(int dayId, PageSlice slice) const override;

    // PlaybackLibrary: whole lists, healing a playlist row, the history
    QList<TreeListSong> treeListSongs(ListKind kind, qint32 id) override;
    std::optional<PlaylistSongIds> storePlayedAddress(qint32 listId, const QString &address) override;
    std::optional<HistoryDay> recordHistory(const QueueEntry &entry) override;
    QList<StoredPlaylist> storedPlaylists() override;

    // LyricsLibrary: the music ids of library songs
    std::optional<int> playlistSongMusicId(int listSongId) override;
    std::optional<HistorySong> historySong(int historySongId) override;

    // DownloadLibrary: the daily download counter
    std::optional<int> countDownload(const QDateTime &serverDate) override;
    // SettingsStore: the settings text in table config
    bool saveSettingsContent(const QString &content, const QDateTime &today) override;

private:
    LibraryDatabase &m_db;
};

} // namespace kivo
