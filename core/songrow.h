#pragma once

#include "core/songrecord.h"

#include <QString>

#include <optional>
#include <variant>

namespace kivo {

// What a song-list page shows; decides its columns and what its rows mean.
enum class SongPageKind { Catalogue, NowPlaying, Playlist, History, Downloads };

// A row of the now-playing page stands for a queue entry.
struct QueueEntryNumber
{
    int value = -1;
    bool operator==(const QueueEntryNumber &) const = default;
};

// A row of the download page: its entry of the download queue and the fields the
// player reads from it (as queued; readers trim).
struct DownloadEntryRef
{
    int entry = -1;
    QString locator;
    QString searchText; // what the address lookup searches for when there is no locator
    QString lyricsId; // the server's music id for the lyrics; empty when the entry has none
    bool operator==(const DownloadEntryRef &) const = default;
};

// What one song row stands for: a song of a library or catalogue page, a now-playing
// entry, or a download entry.
using SongRowData = std::variant<SongRecord, QueueEntryNumber, DownloadEntryRef>;

// A song row as the row menu and the queue operations read it.
struct SongRowRef
{
    SongPageKind page = SongPageKind::Catalogue;
    int view = 0; // the list view that shows the page
    int row = -1; // the row's place on it
    QString title; // the row's text
    SongRowData data;
    bool downloading = false; // the download page while a download run goes on

    const SongRecord *record() const { return std::get_if<SongRecord>(&data); }
    std::optional<int> queueEntry() const
    {
        const auto *n = std::get_if<QueueEntryNumber>(&data);
        return n ? std::optional<int>(n->value) : std::nullopt;
    }
    const DownloadEntryRef *downloadEntry() const { return std::get_if<DownloadEntryRef>(&data); }
};

} // namespace kivo
