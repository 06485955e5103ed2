#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace kivo {

struct QueueEntry;

// One song of a playlist or history day as the queue takes it.
struct TreeListSong
{
    qint32 id = 0;
    QString title;
    QString locator; // derived from the stored url/url1 as song rows derive it; may be empty
    QString url2;
};

// The catalogue ids a playlist row carries (0 when none).
struct PlaylistSongIds
{
    qint32 musicId = 0;
    qint32 searchId = 0; // the row's baiduid
};

// A stored playlist as it is offered to other programs.
struct StoredPlaylist
{
    qint32 id = 0;
    QString name;
};

// A history day node added by a history record.
struct HistoryDay
{
    qint32 id = 0;
    QString caption; // e.g. "2007年3月9日"
};

// What playback needs from the library database. The shell's LibraryAccess implements it
// over the one database connection; the tests use a recording fake.
class PlaybackLibrary
{
public:
    virtual ~PlaybackLibrary() = default;

    enum class ListKind { Playlist, HistoryDay };
    // The songs of a playlist (list.classid = id) or a history day (lslist.lsid = id),
    // in the order the database returns them.
    virtual QList<TreeListSong> treeListSongs(ListKind kind, qint32 id) = 0;

    // Stores the address that played into playlist row listId (mirrored into url1 for
    // a network address, url for a local path) and returns the row's catalogue ids;
    // nothing when the row is gone.
    virtual std::optional<PlaylistSongIds> storePlayedAddress(qint32 listId, const QString &address) = 0;

    // Records the entry in today's history; returns the day when it was new.
    virtual std::optional<HistoryDay> recordHistory(const QueueEntry &entry) = 0;

    // The stored playlists in the order they were made.
    virtual QList<StoredPlaylist> storedPlaylists() { return {}; }
};

} // namespace kivo
