#include "lyrics/lyricslookup.h"

#include "core/songrecord.h"
#include "online/serverclient.h"

namespace kivo {

namespace {

std::optional<int> nonZeroNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value == 0)
        return std::nullopt;
    return value;
}

} // namespace

int MusicIdForEntry(int id, int kind, LyricsLibrary *library)
{
    if (id == 0)
        return 0;
    switch (kind) {
    case SongKind::MusicId:
        return id;
    case SongKind::Playlist:
        return library ? library->playlistSongMusicId(id).value_or(0) : 0;
    case SongKind::History: {
        if (!library)
            return 0;
        const std::optional<LyricsLibrary::HistorySong> song = library->historySong(id);
        if (!song)
            return 0;
        if (song->musicId > 0)
            return song->musicId;
        if (song->listId > 0)
            return library->playlistSongMusicId(song->listId).value_or(0);
        return 0;
    }
    default:
        return 0;
    }
}

QCoro::Task<QString> FetchLyricsById(ServerClient *server, int musicId)
{
    if (!server)
        co_return QString();
    co_return co_await server->fetchHiddenPayload(server->pageUrl(u"softlrc.asp?id="_qs + QString::number(musicId)));
}

QCoro::Task<QString> ResolveEntryLyrics(
    ServerClient *server, LyricsLibrary *library, int id, int kind, QString cachedLyrics, bool localLyricsEnabled)
{
    if (!cachedLyrics.isEmpty() || id == 0 || !localLyricsEnabled)
        co_return cachedLyrics;
    const int musicId = MusicIdForEntry(id, kind, library);
    if (musicId == 0)
        co_return cachedLyrics;
    co_return co_await FetchLyricsById(server, musicId);
}

WebTabRequest LyricsSearchForEntry(
    const QString &baseUrl, const QString &itemText, int entryId, const QString &entryWords)
{
    if (itemText.isEmpty())
        return {};
    const QString words = entryWords.trimmed();
    const QString query = (entryId == 0 || words.isEmpty()) ? itemText : words;
    return {baseUrl + u"baidugc.asp?word="_qs + encodeQueryValue(query), u"歌词:"_qs + itemText};
}

WebTabRequest LyricsSearchForRow(const QString &baseUrl, const QString &itemText, const SongRecord &record)
{
    const int id = nonZeroNumber(record.id).value_or(0);
    return LyricsSearchForEntry(baseUrl, itemText, id, record.url2);
}

void ViewLyrics(const WebTabRequest &request, const OpenWebTabFn &openWebTab)
{
    if (request.url.isEmpty() || !openWebTab)
        return;
    openWebTab(request.url, request.title);
}

std::optional<int> AddLyricsTarget(const SongRecord &record)
{
    if (record.kind != SongKind::MusicId)
        return std::nullopt;
    const int musicId = nonZeroNumber(record.id).value_or(0);
    if (musicId <= 0)
        return std::nullopt;
    return musicId;
}

} // namespace kivo
