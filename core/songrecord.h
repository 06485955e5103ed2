#pragma once

#include <QString>

#include <optional>

namespace kivo {

// Where a song came from: the number travels as field 4 of a row's text and as the
// kind of a queue entry.
namespace SongKind {
inline constexpr int Playlist = 0; // id = list.id
inline constexpr int History = 1; // id = lslist.id
inline constexpr int MusicId = 2; // catalogue song, id = content-server music id
inline constexpr int SearchId = 3; // catalogue song, id = search-service id
inline constexpr int DownloadPage = -2; // started from the download page
inline constexpr int ImportedFile = -3; // a local file added by the import
} // namespace SongKind

// What a song row carries. Library rows (kind 0 and 1) and catalogue rows (kind 2
// and above) fill different fields; the text form keeps the positions readers rely on:
//   library:   id ||| locator ||| title ||| url2 ||| kind ||| baiduid ||| musicid ||| 0 [||| listid]
//   catalogue: id ||| url ||| url1 ||| url2 ||| kind
struct SongRecord
{
    QString id;
    int kind = 0;
    // library rows
    QString locator; // empty when the song has no playable address of its own
    QString title;
    QString baiduId;
    QString musicId;
    std::optional<QString> listId; // history rows: the playlist row the song was played from
    // catalogue rows
    QString url;
    QString url1;
    // both
    QString url2;

    bool isLibrary() const { return kind < 2; }
    bool isCatalogue() const { return kind >= 2; }
    // Field 1, where the song plays from: a library row's locator, a catalogue row's url.
    const QString &address() const { return isCatalogue() ? url : locator; }
    // "重新调入播放" plays the row again without it, so the song is searched for.
    void clearAddress() { (isCatalogue() ? url : locator).clear(); }

    // The text form, for the playlist chooser, playlist inserts and the server.
    QString toText() const;
    // Reads a text form: split at "|||", every field trimmed, missing fields empty.
    static SongRecord fromText(const QString &text);

    bool operator==(const SongRecord &) const = default;
};

} // namespace kivo
