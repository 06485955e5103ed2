#pragma once

#include <QString>

#include <QCoro/QCoroTask>

#include <functional>
#include <optional>

namespace kivo {

class ServerClient;
struct SongRecord;

// The two library lookups the lyrics need (the library database answers them).
class LyricsLibrary
{
public:
    struct HistorySong
    {
        int musicId = 0;
        int listId = 0;
    };
    virtual ~LyricsLibrary() = default;
    // "select id,musicid from list where id=" + id
    virtual std::optional<int> playlistSongMusicId(int listSongId) = 0;
    // "select id,musicid,listid from lslist where id=" + id
    virtual std::optional<HistorySong> historySong(int historySongId) = 0;
};

// The content server's music id of a now-playing entry: the id itself for a
// catalogue song, from the library for playlist and history songs, else 0.
int MusicIdForEntry(int id, int kind, LyricsLibrary *library);

// The lyric text the server keeps for a music id ("<br>"-separated), or empty.
QCoro::Task<QString> FetchLyricsById(ServerClient *server, int musicId);

// The raw lyrics a now-playing entry holds once it starts: its cached lyrics when
// it has some (no request), else the server's for its music id when lyrics are on.
// The caller stores the result in the entry, if the entry is still the one starting.
QCoro::Task<QString> ResolveEntryLyrics(
    ServerClient *server, LyricsLibrary *library, int id, int kind, QString cachedLyrics, bool localLyricsEnabled);

// "查看歌词": the lyrics search page opened in a web tab.
struct WebTabRequest
{
    QString url;
    QString title; // "歌词:" + the item's text; empty when there is no item
};
// For a row of a library or catalogue page: its text and its song record.
WebTabRequest LyricsSearchForRow(const QString &baseUrl, const QString &itemText, const SongRecord &record);
// For a row of the now-playing page: the entry's id and search words.
WebTabRequest LyricsSearchForEntry(
    const QString &baseUrl, const QString &itemText, int entryId, const QString &entryWords);
using OpenWebTabFn = std::function<void(const QString &url, const QString &title)>;
// Opens the lyrics search tab; an empty context (no item text) does nothing.
void ViewLyrics(const WebTabRequest &request, const OpenWebTabFn &openWebTab);

// "添加歌词": the music id the upload dialog is opened for; only catalogue songs
// with a server music id (kind 2) qualify.
std::optional<int> AddLyricsTarget(const SongRecord &record);

} // namespace kivo
