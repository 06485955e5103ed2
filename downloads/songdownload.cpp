#include "downloads/songdownload.h"

#include "lyrics/lyricslookup.h"
#include "playback/playqueue.h"

namespace kivo {

namespace {

std::optional<qint64> nonZeroId(const QString &text)
{
    bool ok = false;
    const qint64 id = text.trimmed().toLongLong(&ok);
    return ok && id != 0 ? std::optional<qint64>(id) : std::nullopt;
}

std::optional<QueuedSongNotice> noticeFor(const QString &id, int lx)
{
    const std::optional<qint64> n = nonZeroId(id);
    return n ? std::optional<QueuedSongNotice>({*n, lx}) : std::nullopt;
}

SongDownload forRecord(const QString &title, const SongRecord &r)
{
    SongDownload d;
    d.task.title = title;
    switch (r.kind) {
    case SongKind::Playlist:
    case SongKind::History:
        d.task.locator = r.locator.trimmed();
        d.task.searchText = r.url2.trimmed();
        if (nonZeroId(r.baiduId)) {
            d.notice = noticeFor(r.baiduId, 3);
        } else if (nonZeroId(r.musicId)) {
            d.notice = noticeFor(r.musicId, 2);
            d.task.lyricsId = r.musicId.trimmed();
        }
        break;
    case SongKind::MusicId:
        // Catalogue songs are searched for by "url2+url1".
        d.task.locator = r.url.trimmed();
        d.task.searchText = r.url2.trimmed() + u'+' + r.url1.trimmed();
        d.task.lyricsId = r.id.trimmed();
        d.notice = noticeFor(r.id, 2);
        break;
    case SongKind::SearchId:
        d.task.locator = r.url.trimmed();
        d.task.searchText = r.url2.trimmed();
        d.notice = noticeFor(r.id, 3);
        break;
    case 4:
        d.task.locator = r.url.trimmed();
        break;
    default: // other kinds carry only their title
        break;
    }
    return d;
}

} // namespace

std::optional<SongDownload> songDownloadForRow(
    const SongRowRef &row, const PlayQueue &nowPlaying, LyricsLibrary *library)
{
    if (row.title.isEmpty())
        return std::nullopt;
    if (const SongRecord *record = row.record())
        return forRecord(row.title, *record);
    const std::optional<int> index = row.queueEntry();
    if (!index || !nowPlaying.contains(*index))
        return std::nullopt;
    const QueueEntry &e = nowPlaying.at(*index);
    SongDownload d;
    d.task = {row.title, e.locator.trimmed(), e.url2.trimmed(), QString()};
    if (const int musicId = MusicIdForEntry(e.id, e.kind, library); musicId > 0)
        d.task.lyricsId = QString::number(musicId);
    return d;
}

} // namespace kivo
