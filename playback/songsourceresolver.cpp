#include "playback/songsourceresolver.h"

#include "core/address.h"
#include "core/mirrortext.h"
#include "core/pageformats.h"
#include "playback/playbacklibrary.h"
#include "playback/playbackserver.h"
#include "playback/playqueue.h"
#include "playback/songsearch.h"

using namespace Qt::Literals::StringLiterals;

namespace kivo {

SongSourceResolver::SongSourceResolver(
    PlayQueue *queue, PlaybackServer *server, PlaybackLibrary *library, QObject *parent)
    : QObject(parent)
    , m_queue(queue)
    , m_server(server)
    , m_library(library)
    , m_clock([] { return QTime::currentTime(); })
{ }

QCoro::Task<QString> SongSourceResolver::ResolveEntryAddress(int index, std::function<bool()> stillCurrent)
{
    if (!m_queue->contains(index))
        co_return QString();
    QueueEntry &e = m_queue->at(index);

    if (!e.locator.isEmpty()) {
        // A catalogue song's address came from the server: only a network address is
        // handed to the engine; anything else counts as no address.
        const bool fromServer = e.kind >= SongKind::MusicId;
        if (!fromServer || classify(e.locator) == AddressKind::Network)
            co_return QString(e.locator); // a copy: the entry keeps its locator
    }

    if (e.candidates.isEmpty()) {
        if (e.url2.isEmpty())
            co_return QString();
        const quint64 generation = m_queue->generation();
        Q_EMIT busyShown(QString());
        const QString payload
            = co_await m_server->fetchHiddenPayload(songSearchUrl(*m_server, e.url2, e.title, m_clock()));
        Q_EMIT busyHidden();
        // The queue may have been refilled or this start overtaken while we waited.
        if (!stillCurrent() || generation != m_queue->generation() || !m_queue->contains(index))
            co_return QString();
        QueueEntry &fresh = m_queue->at(index);
        if (payload.isEmpty())
            co_return QString();
        fresh.candidates = payload;
        const QStringList items = payload.split(kLineBreak);
        const int i = nextPlayableCandidate(items, 1);
        fresh.candidateIndex = qint16(i);
        if (i >= items.size() - 1)
            co_return QString();
        co_return items.at(i).trimmed();
    }

    const QStringList items = e.candidates.split(kLineBreak);
    const int i = nextPlayableCandidate(items, e.candidateIndex + 1);
    e.candidateIndex = qint16(i);
    if (i >= items.size() - 1) {
        // Exhausted: the entry is not searched again.
        e.candidates.clear();
        e.url2.clear();
        co_return QString();
    }
    co_return items.at(i).trimmed();
}

void SongSourceResolver::ReportPlayedAddress(int index, const QString &address)
{
    if (!m_queue->contains(index))
        return;
    const QueueEntry &e = m_queue->at(index);
    qint64 listId = -1, musicId = -1, searchId = -1;
    if (e.kind == SongKind::Playlist)
        listId = e.id;
    else if (e.kind == SongKind::MusicId)
        musicId = e.id;
    else if (e.kind == SongKind::SearchId)
        searchId = e.id;

    if (listId != -1 && m_library) {
        if (const auto ids = m_library->storePlayedAddress(qint32(listId), address)) {
            if (musicId == -1 && ids->musicId > 0)
                musicId = ids->musicId;
            if (searchId == -1 && ids->searchId > 0)
                searchId = ids->searchId;
        }
    }

    const QString mirrored = m_server->encodeQueryValue(MirrorText(address));
    const QString list = QString::number(listId);
    if (musicId != -1)
        sendAndForget(m_server->pageUrl(u"kxrjurl.asp?listid="_s + list + u"&lx=bd&url="_s + mirrored));
    if (searchId != -1)
        sendAndForget(m_server->pageUrl(u"kxrjurl.asp?listid="_s + list + u"&lx=wj&url="_s + mirrored));
}

void SongSourceResolver::notifySongQueued(qint64 id, int lx)
{
    kivo::notifySongQueued(m_server, id, lx);
}

void SongSourceResolver::sendAndForget(const QString &url)
{
    sendWithoutWaiting(m_server, url);
}

} // namespace kivo
