#pragma once

#include <QStringList>
#include <QTime>

namespace kivo {

class PlaybackServer;

// The content server's pages that playing and downloading a song share.

// "baiduurl.asp": the addresses the server finds for search words (for catalogue
// songs "url2+url1") and a title, asked at a time of day. Its payload, split at
// "<br>", gives items 0 to u; only items 1 to u - 1 are candidates.
QString songSearchUrl(const PlaybackServer &server, const QString &words, const QString &title, const QTime &time);
// The next candidate from item `from` on that is a network address; u when none is left.
int nextPlayableCandidate(const QStringList &items, int from);

// A request whose reply nobody reads; it runs on by itself.
void sendWithoutWaiting(PlaybackServer *server, const QString &url);
// "kxrjgq.asp": a song with this catalogue id (lx 2 music id, 3 search id) was
// queued or played; sent without waiting, the reply unused.
void notifySongQueued(PlaybackServer *server, qint64 id, int lx);

} // namespace kivo
