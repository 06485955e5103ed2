#pragma once

#include "library/localimport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kivo {

// One song of a playlist file: its title (may be empty) and where it is, an
// absolute local path or a network address.
struct PlaylistFileEntry
{
    QString title;
    QString location;
    bool operator==(const PlaylistFileEntry &) const = default;
};

enum class PlaylistFileFormat { M3u, Pls };

// By the name's extension: ".pls" is PLS, anything else M3U.
PlaylistFileFormat playlistFileFormat(const QString &fileName);

// The songs of an M3U/M3U8 or PLS text. Relative paths count from baseFolder (the
// playlist file's folder), "file:" addresses become paths, and network addresses stay
// as they are.
QList<PlaylistFileEntry> parsePlaylistText(const QString &text, PlaylistFileFormat format, const QString &baseFolder);

// Reads a playlist file: UTF-8 (M3U8, or an M3U that is valid UTF-8), else the local
// eight-bit code page. Nothing, with the reason in *error, when it cannot be read.
std::optional<QList<PlaylistFileEntry>> readPlaylistFile(const QString &path, QString *error = nullptr);

// M3U8 (UTF-8, "#EXTINF" with the title) or PLS text of the songs.
QByteArray playlistFileText(const QList<PlaylistFileEntry> &entries, PlaylistFileFormat format);
// Writes the file whole or not at all; false with the reason in *error.
bool writePlaylistFile(const QString &path, const QList<PlaylistFileEntry> &entries, QString *error = nullptr);

// What an import makes of the songs: a local file is titled as the file's entry says
// (else by its name) and keeps its name as url2; a network address keeps its title,
// else the last part of the address.
QList<ImportItem> importItemsOf(const QList<PlaylistFileEntry> &entries);

} // namespace kivo
