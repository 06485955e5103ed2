#include "playback/songsearch.h"

#include "core/address.h"
#include "playback/playbackserver.h"

using namespace Qt::Literals::StringLiterals;

namespace kivo {

QString songSearchUrl(const PlaybackServer &server, const QString &words, const QString &title, const QTime &time)
{
    return server.pageUrl(u"baiduurl.asp?word="_s + server.encodeQueryValue(words) + u"&time="_s
        + server.encodeQueryValue(time.toString(u"H:mm:ss"_s)) + u"&word1="_s + server.encodeQueryValue(title));
}

int nextPlayableCandidate(const QStringList &items, int from)
{
    const int u = int(items.size()) - 1;
    int i = from;
    while (i < u && classify(items.at(i).trimmed()) != AddressKind::Network)
        ++i;
    return i;
}

void sendWithoutWaiting(PlaybackServer *server, const QString &url)
{
    // The task runs on by itself when dropped; its reply is not used.
    [](PlaybackServer *s, QString u) -> QCoro::Task<void> { co_await s->fetchPage(std::move(u)); }(server, url);
}

void notifySongQueued(PlaybackServer *server, qint64 id, int lx)
{
    sendWithoutWaiting(
        server, server->pageUrl(u"kxrjgq.asp?id="_s + QString::number(id) + u"&lx="_s + QString::number(lx)));
}

} // namespace kivo
