#pragma once

// Fakes and a wired-up player for the playback tests.

#include "core/commanddispatcher.h"
#include "playback/lyricshooks.h"
#include "playback/playbacklibrary.h"
#include "playback/playbackserver.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "playback/queueplayer.h"
#include "playback/songsourceresolver.h"
#include "support/fakemediaengine.h"

#include <QHash>
#include <QObject>
#include <QUrl>

#include <QCoro/QCoroSignal>

namespace kivo::test {

// A content server answering from a table; requests can be held until released.
class FakeServer : public QObject, public PlaybackServer
{
    Q_OBJECT
public:
    QString pageUrl(const QString &pathAndQuery) const override
    {
        return QStringLiteral("http://127.0.0.1:1/") + pathAndQuery;
    }
    QString encodeQueryValue(const QString &value) const override
    {
        return QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    QCoro::Task<QString> fetchPage(QString url) override
    {
        if (onRequest)
            onRequest(url);
        requests << url;
        co_return QString();
    }
    QCoro::Task<QString> fetchHiddenPayload(QString url) override
    {
        requests << url;
        if (hold)
            co_await qCoro(this, &FakeServer::released);
        ++answered;
        co_return payloadFor(url);
    }
    QString payloadFor(const QString &url) const
    {
        for (auto it = payloads.begin(); it != payloads.end(); ++it) {
            if (url.contains(it.key()))
                return it.value();
        }
        return QString();
    }
    void release() { Q_EMIT released(); }
    QStringList requestsContaining(const QString &part) const
    {
        QStringList out;
        for (const QString &r : requests) {
            if (r.contains(part))
                out << r;
        }
        return out;
    }

    // Page text by a part of the requested address (e.g. the search word).
    QHash<QString, QString> payloads;
    QStringList requests;
    std::function<void(const QString &)> onRequest;
    bool hold = false;
    int answered = 0;

Q_SIGNALS:
    void released();
};

class FakeLibrary : public PlaybackLibrary
{
public:
    QList<TreeListSong> treeListSongs(ListKind kind, qint32 id) override
    {
        return kind == ListKind::Playlist ? playlists.value(id) : days.value(id);
    }
    std::optional<PlaylistSongIds> storePlayedAddress(qint32 listId, const QString &address) override
    {
        if (!rows.contains(listId))
            return std::nullopt;
        stored << QStringLiteral("%1 %2").arg(listId).arg(address);
        return rows.value(listId);
    }
    std::optional<HistoryDay> recordHistory(const QueueEntry &entry) override
    {
        history << entry.title;
        if (!newDay)
            return std::nullopt;
        newDay = false;
        return HistoryDay {7, QStringLiteral("2026年12月7日")};
    }
    QList<StoredPlaylist> storedPlaylists() override { return named; }

    QHash<qint32, QList<TreeListSong>> playlists, days;
    QList<StoredPlaylist> named;
    QHash<qint32, PlaylistSongIds> rows;
    QStringList stored, history;
    bool newDay = true;
};

// Lyrics steps that only record what they were asked, optionally waiting.
class RecordingLyrics : public QObject, public LyricsHooks
{
    Q_OBJECT
public:
    QCoro::Task<std::optional<QString>> ResolveEntryLyrics(
        QueueEntry entry, std::function<bool()> stillCurrent) override
    {
        if (hold)
            co_await qCoro(this, &RecordingLyrics::released);
        ++answered;
        if (!stillCurrent())
            co_return std::nullopt;
        shown << entry.title;
        co_return std::nullopt;
    }
    std::optional<QString> LoadLocalLyrics(const QString &address) override
    {
        local << address;
        return std::nullopt;
    }
    void release() { Q_EMIT released(); }
    bool hold = false;
    int answered = 0;
    QStringList shown; // titles of the entries whose lyrics were shown
    QStringList local;

Q_SIGNALS:
    void released();
};

// A song row of a library or catalogue page, from the text form its page would carry.
inline SongRowRef pageRow(const QString &title, const QString &recordText)
{
    const SongRecord record = SongRecord::fromText(recordText);
    const SongPageKind page = record.kind == SongKind::Playlist ? SongPageKind::Playlist
        : record.kind == SongKind::History                      ? SongPageKind::History
                                                                : SongPageKind::Catalogue;
    return SongRowRef {page, 1, 0, title, record};
}

inline SongRowRef nowPlayingRow(const QString &title, int entry)
{
    return SongRowRef {SongPageKind::NowPlaying, 1, 0, title, QueueEntryNumber {entry}};
}

struct PlaybackRig
{
    FakeMediaEngine engine;
    FakeServer server;
    FakeLibrary library;
    RecordingLyrics lyrics;
    PlayQueue queue;
    SongSourceResolver resolver {&queue, &server, &library};
    QueuePlayer player {&queue, &engine, &resolver, &lyrics, &library};
    PlayerControl control {&player, &library};
    CommandDispatcher commands;

    PlaybackRig() { control.carryCommands(commands); }

    // Entries 0..n-1 titled "s0".., each with a network locator "http://h/s<i>.mp3".
    void fill(int n)
    {
        queue.reset();
        for (int i = 0; i < n; ++i) {
            QueueEntry e;
            e.title = QStringLiteral("s%1").arg(i);
            e.locator = QStringLiteral("http://h/s%1.mp3").arg(i);
            e.kind = 4;
            if (i == 0)
                queue.replace(0, e);
            else
                queue.append(e);
        }
    }
    // A command as a window's button, the tray or MPRIS sends it.
    void press(PlayerCommand command) { commands.dispatch(command); }
    // Runs the armed one-tick advance; false when it was not armed.
    bool advance()
    {
        if (!player.isAdvanceArmed())
            return false;
        player.AdvanceAfterEnd();
        return true;
    }
    // The song of the last address handed over ("s3" for http://h/s3.mp3).
    QString lastStarted() const
    {
        if (engine.urls.isEmpty())
            return QString();
        const QString u = engine.urls.last();
        return u.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    }
    // The current load opens and plays.
    void playCurrent()
    {
        engine.reportState(PlayState::Transitioning);
        engine.reportState(PlayState::Playing);
    }
    // The current song plays and ends by itself.
    void endCurrent()
    {
        playCurrent();
        engine.reportState(PlayState::Stopped);
    }
};

} // namespace kivo::test

Q_DECLARE_METATYPE(kivo::SongRowRef)
