#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kivo {

// The lyric file of a local song: the song's own file name with its extension
// replaced by ".lrc", in the song's folder (dots in folder names are left alone).
// Both "/" and "\" separate folders.
QString LyricFilePathFor(const QString &songPath);

// Lyric file bytes as text: by byte-order mark, else UTF-8 when valid, else GB18030.
QString decodeLyricFileBytes(const QByteArray &bytes);

// Line ends (CR LF, LF alone, CR alone) become the "<br>" the lyric code uses.
QString lineEndsToBr(const QString &text);

// The lyrics beside a local song file, "<br>"-separated, when the file exists and
// holds at least 10 characters; nothing for network addresses, empty addresses,
// or when lyrics are switched off. Without such a file, a file named by the older
// rule (the path up to its first "." with ".lrc") is read when it lies in the
// song's own folder.
std::optional<QString> LoadLocalLyrics(const QString &address, bool localLyricsEnabled);

} // namespace kivo
