#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace kivo {

// Where a song row came from; the number travels as field 4 of the row's text.
enum class SongKind : int { Playlist = 0, History = 1, Catalogue = 2 };

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

    // The text form, for the playlist chooser, playlist inserts and the server.
    QString toText() const;
    // Reads a text form: split at "|||", every field trimmed, missing fields empty.
    static SongRecord fromText(const QString &text);

    bool operator==(const SongRecord &) const = default;
};

using FileExists = std::function<bool(const QString &path)>;
// The file-system test the pages use by default.
bool fileExistsOnDisk(const QString &path);

// Picks where a library song plays from: the stored path when that file is still
// there, else the second address, else nothing. Both arguments are already unmirrored.
QString chooseLocator(const QString &url, const QString &url1, const FileExists &exists = fileExistsOnDisk);

} // namespace kivo
