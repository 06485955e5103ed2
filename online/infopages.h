#pragma once

#include <QString>

#include <optional>

namespace kivo {

// A server page about an artist, an album or a song, and the title of its tab.
struct InfoPage
{
    QString url;
    QString title;
    bool operator==(const InfoPage &) const = default;
};

// The name a node or row stands for: its caption up to the first "(", which drops
// the entry count that catalogue captions carry.
QString captionName(const QString &caption);

// "查看简介" on a catalogue node: artists (keys of four parts, "b0-x-y-id") open
// "softgc.asp?nclassid=", albums (five or more) "softgc.asp?specialid="; the id is the
// key's last part without its "b"s. Nodes higher up open nothing.
std::optional<InfoPage> introductionPage(const QString &baseUrl, const QString &key, const QString &caption);
// "购买此CD" on a catalogue node.
InfoPage buyCdPage(const QString &baseUrl, const QString &caption);
// "相关新闻" on a catalogue node.
InfoPage artistNewsPage(const QString &baseUrl, const QString &caption);
// "购买" on an album of the CD shelf, captioned "artist-album": the album's name.
InfoPage shelfBuyPage(const QString &baseUrl, const QString &caption);
// "下载铃声" on a song row: the ring-tone page for the song's name (the row text's
// last "-" part), opened outside the player.
QString ringtonePageUrl(const QString &baseUrl, const QString &rowText);

} // namespace kivo
