#pragma once

#include "library/libraryrows.h"

#include <QList>
#include <QString>

namespace kivo {

class LibraryDatabase;

// How one write of the library commands went. Nothing is written unless it is Done.
struct LibraryWrite
{
    enum class Status {
        Done,
        Duplicate, // the name or title is taken (ignoring case), or the album is on the shelf
        Gone, // the playlist it names no longer exists
        Failed, // a statement failed; reason says why
    };
    Status status = Status::Failed;
    int id = 0; // the new row's id
    int added = 0; // songs stored by a batch
    QString reason;

    bool done() const { return status == Status::Done; }
};

// The writes behind the playlist, history and CD-shelf commands. Each runs in one
// transaction with its checks inside it, so a check and its write see the same
// library, and a failed statement leaves nothing half-written.
class PlaylistWrites
{
public:
    explicit PlaylistWrites(LibraryDatabase &database);

    // Playlist names are compared ignoring case.
    LibraryWrite addPlaylist(const QString &name);
    // A new playlist holding songs, skipping repeated titles.
    LibraryWrite addPlaylistWith(const QString &name, const QList<SongToStore> &songs);
    LibraryWrite renamePlaylist(int playlistId, const QString &name);
    // Songs first, then the playlist row; the day's entries first, then the day.
    LibraryWrite deletePlaylist(int playlistId);
    LibraryWrite deleteHistoryDay(int dayId);

    // One song: Duplicate when the playlist holds its title (ignoring case).
    LibraryWrite addSong(int playlistId, const SongToStore &song);
    // Many songs: titles the playlist holds already are skipped; `added` counts the rest.
    LibraryWrite addSongs(int playlistId, const QList<SongToStore> &songs);
    LibraryWrite renameSong(int songId, const QString &title);
    LibraryWrite removePlaylistSong(int songId);
    LibraryWrite removeHistorySong(int songId);

    LibraryWrite addCdAlbum(const QString &title, int specialId);
    LibraryWrite removeCdAlbum(int id);

    // The playlists in id order, for the chooser.
    QList<PlaylistRow> playlists() const;

private:
    LibraryDatabase &m_db;
};

} // namespace kivo
