#pragma once

#include "core/songrow.h"
#include "downloads/downloadtask.h"

#include <optional>

namespace kivo {

class LyricsLibrary;
class PlayQueue;

// "kxrjgq.asp": the catalogue id the server is told about when a song is queued.
struct QueuedSongNotice
{
    qint64 id = 0;
    int lx = 0; // 2 a music id, 3 a search-service id
    bool operator==(const QueuedSongNotice &) const = default;
};

// What "下载此歌曲" queues for a song row.
struct SongDownload
{
    DownloadTask task;
    std::optional<QueuedSongNotice> notice;
};

// The download of a song row: a catalogue or library song by its record's kind, a
// now-playing row by its queue entry (library songs' music ids come from the
// library). Nothing for rows without a title, download rows and entries that are gone.
std::optional<SongDownload> songDownloadForRow(
    const SongRowRef &row, const PlayQueue &nowPlaying, LyricsLibrary *library);

} // namespace kivo
