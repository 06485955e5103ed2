#pragma once

#include "library/libraryrows.h"

#include <QList>
#include <QString>

namespace kivo {

// A stored playlist or history day as the tree lists it.
struct LibraryListEntry
{
    int id = 0;
    QString title;
};

// A CD on the shelf.
struct LibraryAlbumEntry
{
    int id = 0;
    QString specialId;
    QString title;
};

// One stored song of a playlist or history day; url and url1 already unmirrored.
struct LibrarySong
{
    int id = 0;
    QString title;
    QString url;
    QString url1;
    QString url2;
    QString baiduId;
    QString musicId;
    QString time; // added (playlists) or recorded (history days), as text
    QString listId; // history rows: the playlist row the song was played from
};

// The few library queries the tree and its pages need. The database implements it.
class LibrarySource
{
public:
    virtual ~LibrarySource() = default;
    virtual QList<LibraryListEntry> playlists() const = 0; // newest first
    virtual QList<LibraryListEntry> historyDays() const = 0; // newest first
    virtual QList<LibraryAlbumEntry> albums() const = 0; // in table order
    // Songs with a title, newest first; the slice reads one part of them.
    virtual QList<LibrarySong> playlistSongs(int classId, PageSlice slice) const = 0;
    virtual QList<LibrarySong> historySongs(int dayId, PageSlice slice) const = 0;
};

} // namespace kivo
