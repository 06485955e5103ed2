#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace kivo {

// One part of a song page in the page's order (newest first): rows older than
// `beforeId` (0: from the newest), at most `limit` of them (0: all).
struct PageSlice
{
    int beforeId = 0;
    int limit = 0;
};

// A playlist (table class) or a history day (table ls): id and caption.
struct LibraryFolder
{
    int id = 0;
    QString title;
};
using PlaylistRow = LibraryFolder;
using HistoryDayRow = LibraryFolder;

// One album of the CD shelf.
struct CdAlbumRow
{
    int id = 0;
    QString title;
    int specialId = 0;
};

// A song of a playlist (table list) or of a history day (table lslist).
// url and url1 are plain here: the database class unscrambles them on reading.
// The strings are implicitly shared so a page of many rows stays cheap to copy.
struct StoredSong
{
    int id = 0;
    int folderId = 0; // classid of a playlist song, lsid of a history song
    QString title;
    QString url; // local file path, "" for network songs
    QString url1; // network address, "" for local songs
    QString url2; // search text / secondary locator
    int musicId = 0;
    int baiduId = 0;
    int listId = 0; // history songs: the playlist row they were played from
    QString addedAt; // "yyyy-MM-dd HH:mm:ss", local time, as stored
};

// A song handed in to be stored (playlist insert or history record).
struct SongToStore
{
    QString title;
    QString locator; // a path, or an address containing "://"
    QString url2;
    int kind = 0; // 0 playlist song, 1 history song, 2 server song, 3 search service song, ...
    int id = 0; // the id that goes with the kind
    // A library song copied to a playlist keeps the catalogue ids it had, so the copy
    // still finds its lyrics; kinds 2 and 3 take theirs from id.
    int musicId = 0;
    int baiduId = 0;
};

// The outcome of an insert that first checks for a duplicate.
struct InsertOutcome
{
    enum class Kind { Added, AlreadyPresent, Failed };
    Kind kind = Kind::Failed;
    int id = 0; // the new row's id, or the existing row's id

    bool added() const { return kind == Kind::Added; }
};

// The outcome of recording a played song in the history.
struct HistoryRecordOutcome
{
    bool ok = false;
    // Set when the day was new: the caller adds tree node "d" + id under "d0".
    std::optional<HistoryDayRow> newDay;
    bool songAdded = false; // false when the song was already recorded that day
};

// What start-up takes from the config row.
struct StartupConfig
{
    int dailyDownloadCount = 0;
    QString settingsContent;
};

} // namespace kivo
