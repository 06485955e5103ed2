#pragma once

#include "core/songrow.h"
#include "library/libraryrows.h"

#include <QObject>

#include <optional>

namespace kivo {

class LibraryTree;
class NowPlayingPort;
class PlaylistWrites;
class SongListModel;

// A message a library command shows when it ends.
struct LibraryMessage
{
    enum class Icon { None, Critical };
    Icon icon = Icon::None;
    QString text;
    bool operator==(const LibraryMessage &) const = default;
};
using CommandResult = std::optional<LibraryMessage>;

// What the playlist chooser carries to its playlist: the whole queue or one song.
struct PlaylistEntry
{
    bool wholeQueue = false;
    SongToStore song;
};

// The playlist, history, now-playing and CD-shelf commands of the menus, without
// widgets: each takes its target (a node key, a page and its rows) and the user's
// answer, writes the library, updates the tree or the page, and says what to show.
class LibraryOperations : public QObject
{
    Q_OBJECT
public:
    LibraryOperations(LibraryTree *tree, PlaylistWrites *writes, NowPlayingPort *queue, QObject *parent = nullptr);

    // Node keys: "c"+id a playlist, "d"+id a history day, "f"+id+"-"+specialid an album
    // of the shelf; ids are positive decimal numbers, nothing else.
    static std::optional<int> playlistIdOfKey(const QString &key);
    static std::optional<int> dayIdOfKey(const QString &key);
    static std::optional<int> shelfIdOfKey(const QString &key);

    // What a song row hands to the chooser; nothing for rows that give no song.
    std::optional<PlaylistEntry> entryForRow(const SongRowRef &row) const;

    CommandResult AddPlaylist(const QString &answer);
    CommandResult SaveNowPlayingAs(const QString &answer);
    CommandResult RenamePlaylist(const QString &key, const QString &answer);
    CommandResult DeletePlaylistOrDay(const QString &key);
    CommandResult AddToPlaylist(const PlaylistEntry &entry, int playlistId);
    // Removes rows of one page (the now-playing page's from the queue, playlist and
    // history rows from the library), last first; stops at the first failure.
    CommandResult RemoveRows(SongListModel *page, QList<int> rows);
    CommandResult RenameSong(SongListModel *page, int row, const QString &answer);
    // Empties the queue, and the open now-playing pages whose rows stood for it.
    void ClearNowPlaying(const QList<SongListModel *> &nowPlayingPages);
    // A catalogue album node: its key, its caption and its artist's caption.
    CommandResult AddToCdShelf(const QString &key, const QString &caption, const QString &artistCaption);
    CommandResult RemoveFromCdShelf(const QString &key);

    QList<PlaylistRow> playlists() const;

Q_SIGNALS:
    // A playlist was added, renamed or deleted: an open chooser lists them anew.
    void playlistsChanged();

private:
    CommandResult addNamedPlaylist(const QString &answer, bool withQueue);
    CommandResult removeOne(SongListModel *page, int row);

    LibraryTree *m_tree;
    PlaylistWrites *m_writes;
    NowPlayingPort *m_queue;
};

} // namespace kivo
