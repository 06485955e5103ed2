#pragma once

#include "core/keyedtreemodel.h"
#include "library/librarysource.h"
#include "library/songlocator.h"
#include "online/songlistmodel.h"

namespace kivo {

// What a double-click on a library node opens.
struct LibraryPage
{
    enum class Type { Nothing, NowPlaying, Playlist, History, Downloads, CdAlbum };
    Type type = Type::Nothing;
    int id = 0; // playlist or history day id
    QString specialId; // CD album: the server's album id
    QString caption; // the node caption (the tab title)
    bool operator==(const LibraryPage &) const = default;
};

// Which menu a right click on a library node pops up, and the enabled state of the
// playlist menu's items.
struct LibraryMenu
{
    enum class Type { None, NowPlaying, Playlists, CdShelf };
    Type type = Type::None;
    bool addList = true; // "添加列表"
    bool renameList = true; // "修改列表"
    bool deleteList = true; // "删除列表"
    bool playList = true; // "播放此列表"
    bool queueList = true; // "添加到正在播放1"
    bool operator==(const LibraryMenu &) const = default;
};

// One now-playing entry as its page lists it.
struct NowPlayingItem
{
    int entry = 0;
    QString title;
    QString locator;
};

// One download-list entry: field 0 the title, then fields 1, 2 and maybe 3.
struct DownloadItem
{
    int entry = 0;
    QStringList fields;
};

// The library tree: fixed nodes, stored playlists, history days and CD albums, and
// what its nodes open.
class LibraryTree
{
public:
    explicit LibraryTree(KeyedTreeModel *model);

    KeyedTreeModel *model() const { return m_model; }

    // The fixed nodes; the caller expands the root.
    void AddLibraryNodes();
    // The stored playlists, days and albums below their fixed parents.
    void LoadLibraryNodes(const LibrarySource &source);

    // A node added later by the library operations: newest playlists and days go first.
    void addPlaylistNode(const LibraryListEntry &entry, bool newest = true);
    void addHistoryDayNode(const LibraryListEntry &entry, bool newest = true);
    void addAlbumNode(const LibraryAlbumEntry &entry);

    LibraryPage pageFor(const QString &key) const;
    static LibraryMenu menuFor(const QString &key);

    // The rows of the pages.
    static QList<SongListRow> playlistRows(
        const QList<LibrarySong> &songs, int kind, const FileExists &exists = fileExistsOnDisk);
    static QList<SongListRow> nowPlayingRows(const QList<NowPlayingItem> &entries);
    static QList<SongListRow> downloadRows(const QList<DownloadItem> &entries);

private:
    KeyedTreeModel *m_model;
};

} // namespace kivo
