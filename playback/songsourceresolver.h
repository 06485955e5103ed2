#pragma once

#include <QObject>
#include <QTime>

#include <QCoro/QCoroTask>

#include <functional>

namespace kivo {

class PlayQueue;
class PlaybackServer;
class PlaybackLibrary;

// Chooses the address an entry is played from: its locator, else the search
// candidates of "baiduurl.asp" one after another; reports addresses that played.
class SongSourceResolver : public QObject
{
    Q_OBJECT
public:
    SongSourceResolver(PlayQueue *queue, PlaybackServer *server, PlaybackLibrary *library, QObject *parent = nullptr);

    // The time of day sent with a search; the local clock unless a test sets one.
    void setClock(std::function<QTime()> clock) { m_clock = std::move(clock); }

    // The address for entry index, or empty when it has nothing playable now. May fetch
    // the candidates; when stillCurrent() is false after the wait the entry is left
    // alone and empty is returned.
    QCoro::Task<QString> ResolveEntryAddress(int index, std::function<bool()> stillCurrent);

    // Entry index played from address: heals its playlist row and reports the address
    // ("kxrjurl.asp"), without waiting for the replies.
    void ReportPlayedAddress(int index, const QString &address);

    // "kxrjgq.asp": a song with this catalogue id (lx 2 music id, 3 search id) was
    // queued; sent without waiting, the reply unused.
    void notifySongQueued(qint64 id, int lx);

Q_SIGNALS:
    void busyShown(const QString &text);
    void busyHidden();

private:
    void sendAndForget(const QString &url);

    PlayQueue *m_queue;
    PlaybackServer *m_server;
    PlaybackLibrary *m_library;
    std::function<QTime()> m_clock;
};

} // namespace kivo
