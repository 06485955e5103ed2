#include "shell/libraryaccess.h"

#include "library/librarydatabase.h"
#include "library/songlocator.h"
#include "playback/playqueue.h"

#include <QDate>

namespace kivo {

namespace {

LibrarySong toLibrarySong(const StoredSong &s, bool history)
{
    LibrarySong out;
    out.id = s.id;
    out.title = s.title;
    out.url = s.url;
    out.url1 = s.url1;
    out.url2 = s.url2;
    out.baiduId = QString::number(s.baiduId);
    out.musicId = QString::number(s.musicId);
    out.time = s.addedAt;
    if (history)
        out.listId = QString::number(s.listId);
    return out;
}

QList<LibrarySong> toLibrarySongs(const QList<StoredSong> &songs, bool history)
{
    QList<LibrarySong> out;
    out.reserve(songs.size());
    for (const StoredSong &s : songs)
        out.append(toLibrarySong(s, history));
    return out;
}

} // namespace

QList<LibraryListEntry> LibraryAccess::playlists() const
{
    QList<LibraryListEntry> out;
    for (const auto &row : m_db.playlists())
        out.append({row.id, row.title});
    return out;
}

QList<LibraryListEntry> LibraryAccess::historyDays() const
{
    QList<LibraryListEntry> out;
    for (const auto &row : m_db.historyDays())
        out.append({row.id, row.title});
    return out;
}

QList<LibraryAlbumEntry> LibraryAccess::albums() const
{
    QList<LibraryAlbumEntry> out;
    for (const auto &row : m_db.cdAlbums())
        out.append({row.id, QString::number(row.specialId), row.title});
    return out;
}

QList<LibrarySong> LibraryAccess::playlistSongs(int classId, PageSlice slice) const
{
    return toLibrarySongs(m_db.playlistPage(classId, slice), false);
}

QList<LibrarySong> LibraryAccess::historySongs(int dayId, PageSlice slice) const
{
    return toLibrarySongs(m_db.historyPage(dayId, slice), true);
}

QList<TreeListSong> LibraryAccess::treeListSongs(ListKind kind, qint32 id)
{
    const QList<StoredSong> rows = kind == ListKind::Playlist ? m_db.playlistQueueRows(id) : m_db.historyQueueRows(id);
    QList<TreeListSong> out;
    out.reserve(rows.size());
    for (const StoredSong &s : rows)
        out.append({s.id, s.title, chooseLocator(s.url, s.url1), s.url2});
    return out;
}

std::optional<PlaylistSongIds> LibraryAccess::storePlayedAddress(qint32 listId, const QString &address)
{
    const auto row = m_db.storeWorkingAddress(listId, address);
    if (!row)
        return std::nullopt;
    return PlaylistSongIds {row->musicId, row->baiduId};
}

std::optional<HistoryDay> LibraryAccess::recordHistory(const QueueEntry &entry)
{
    const HistoryRecordOutcome outcome = m_db.recordPlay(
        SongToStore {entry.title, entry.locator, entry.url2, entry.kind, entry.id}, QDate::currentDate());
    if (!outcome.newDay)
        return std::nullopt;
    return HistoryDay {outcome.newDay->id, outcome.newDay->title};
}

QList<StoredPlaylist> LibraryAccess::storedPlaylists()
{
    QList<StoredPlaylist> out;
    for (const auto &row : m_db.playlistsForChooser())
        out.append({row.id, row.title});
    return out;
}

std::optional<int> LibraryAccess::playlistSongMusicId(int listSongId)
{
    const auto row = m_db.playlistSong(listSongId);
    if (!row)
        return std::nullopt;
    return row->musicId;
}

std::optional<LyricsLibrary::HistorySong> LibraryAccess::historySong(int historySongId)
{
    const auto row = m_db.historySong(historySongId);
    if (!row)
        return std::nullopt;
    return HistorySong {row->musicId, row->listId};
}

std::optional<int> LibraryAccess::countDownload(const QDateTime &serverDate)
{
    return m_db.countDownload(serverDate);
}

bool LibraryAccess::saveSettingsContent(const QString &content, const QDateTime &today)
{
    return m_db.saveSettingsContent(content, today);
}

} // namespace kivo
