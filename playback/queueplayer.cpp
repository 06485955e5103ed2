#include "playback/queueplayer.h"

#include "online/pageformats.h"
#include "playback/lyricshooks.h"
#include "playback/playqueue.h"
#include "playback/songsourceresolver.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace kivo {

namespace {

QString field(const QStringList &fields, int i)
{
    return i < fields.size() ? fields.at(i).trimmed() : QString();
}

} // namespace

QueuePlayer::QueuePlayer(PlayQueue *queue, MediaEngine *engine, SongSourceResolver *resolver, LyricsHooks *lyrics,
    PlaybackLibrary *library, QObject *parent)
    : QObject(parent)
    , m_queue(queue)
    , m_engine(engine)
    , m_resolver(resolver)
    , m_lyrics(lyrics)
    , m_library(library)
    , m_random([] {
        // Seeded from the clock at each draw.
        QRandomGenerator generator {quint32(QDateTime::currentMSecsSinceEpoch())};
        return generator.generateDouble();
    })
{
    m_advanceTimer.setSingleShot(true);
    m_advanceTimer.setInterval(10);
    connect(&m_advanceTimer, &QTimer::timeout, this, &QueuePlayer::AdvanceAfterEnd);
}

void QueuePlayer::markPendingFailed()
{
    if (m_pending.isSet())
        m_pending.failed = true;
}

QCoro::Task<void> QueuePlayer::PlayEntry(int index, bool retry)
{
    // Each start has its own identity: a start overtaken by a newer one while it waits
    // for the server hands nothing to the engine and arms nothing.
    const quint64 serial = ++m_startSerial;
    auto stillCurrent = [this, serial] { return serial == m_startSerial; };
    // From here on the load playing so far is superseded: its reports are dropped.
    m_activeLoad = 0;

    m_lyrics->clearCurrentLyrics();
    if (!m_queue->contains(index)) {
        nothingStarted(index);
        co_return;
    }
    co_await m_lyrics->ResolveEntryLyrics(index, stillCurrent);
    if (!stillCurrent())
        co_return;
    if (!m_queue->contains(index)) {
        nothingStarted(index);
        co_return;
    }
    if (retry)
        m_queue->at(index).locator.clear();
    m_title = m_queue->at(index).title;
    Q_EMIT titleChanged(m_title);

    const QString address = co_await m_resolver->ResolveEntryAddress(index, stillCurrent);
    if (!stillCurrent())
        co_return;
    if (address.isEmpty() || !m_queue->contains(index)) {
        nothingStarted(index);
        co_return;
    }
    m_lyrics->LoadLocalLyrics(index, address);
    m_lyrics->ResetLyricDisplay();

    m_engine->setUrl(address);
    m_activeLoad = m_engine->currentLoad();
    m_activeIndex = index;
    m_activeAddress = address;
    m_activeGeneration = m_queue->generation();
    m_currentIndex = index;
    m_pending = PendingPlay {index, address, false};
    m_fruitless = {};
    m_engine->stop();
    m_engine->play();
}

void QueuePlayer::nothingStarted(int index)
{
    // Without a bound an unplayable queue would be walked every 10 ms for ever: after
    // as many fruitless starts in a row as there are entries, stop. Shuffle draws
    // entries again, so it stops only once every entry was tried (or after a number of
    // draws that leaves an entry undrawn about e^-40 of the time).
    const int entries = m_queue->highest() + 1;
    ++m_fruitless.starts;
    bool exhausted = m_fruitless.starts > entries;
    if (m_mode == PlayMode::Shuffle) {
        if (m_queue->contains(index))
            m_fruitless.entries.insert(index);
        const auto tried = std::count_if(
            m_fruitless.entries.cbegin(), m_fruitless.entries.cend(), [this](int i) { return m_queue->contains(i); });
        exhausted = tried >= entries || m_fruitless.starts > 40 * entries;
    }
    if (exhausted) {
        m_fruitless = {};
        Q_EMIT stopRequested();
        return;
    }
    armAdvance();
}

bool QueuePlayer::activeEntryIntact() const
{
    return m_activeIndex >= 0 && m_queue->contains(m_activeIndex) && m_activeGeneration == m_queue->generation();
}

void QueuePlayer::StepPrevious()
{
    m_fruitless = {};
    m_currentIndex -= 1;
    PlayEntry(m_currentIndex, false);
}

void QueuePlayer::StepNext()
{
    m_fruitless = {};
    m_currentIndex += 1;
    PlayEntry(m_currentIndex, false);
}

void QueuePlayer::SetPlayMode(PlayMode mode)
{
    if (m_mode == mode)
        return;
    m_mode = mode;
    Q_EMIT playModeChanged(mode);
}

void QueuePlayer::armAdvance()
{
    m_advanceTimer.start();
}

void QueuePlayer::cancelAdvance()
{
    m_advanceTimer.stop();
}

void QueuePlayer::AdvanceAfterEnd()
{
    m_advanceTimer.stop();
    Q_EMIT indicatorsReset();

    int n = 0;
    switch (m_mode) {
    case PlayMode::NoRepeat:
        m_fruitless = {};
        Q_EMIT stopRequested();
        return;
    case PlayMode::RepeatOne:
        n = m_currentIndex;
        break;
    case PlayMode::Sequential:
        n = m_currentIndex + 1;
        if (n > m_queue->highest())
            n = 0;
        break;
    case PlayMode::Shuffle:
        n = int(m_random() * (m_queue->highest() + 1));
        n = std::min(n, m_queue->highest());
        break;
    }
    m_currentIndex = n;

    // The watchdog already gave up on this very address for this entry.
    const bool alreadyFailed = m_queue->contains(n) && m_pending.failed && m_pending.index == n
        && m_pending.address == m_queue->at(n).locator;
    m_pending = PendingPlay {};
    if (!alreadyFailed)
        PlayEntry(n, false);
}

QueueEntry QueuePlayer::entryFromRow(const SongRowRef &row, QList<std::pair<qint64, int>> &notices) const
{
    QueueEntry e;
    e.title = row.text;
    const QStringList f = row.tag.split(kTagSep);
    if (row.isDownloadPage()) {
        e.kind = EntryKind::DownloadPage;
        e.locator = field(f, 1);
        e.url2 = field(f, 2);
        return e;
    }
    const qint16 kind = qint16(field(f, 4).toInt());
    const qint64 id = field(f, 0).toLongLong();
    if (kind == EntryKind::MusicId) {
        e.url2 = field(f, 3) + u"+"_s + field(f, 2);
        notices.append({id, 2});
    } else if (kind == EntryKind::SearchId) {
        e.url2 = field(f, 3);
        notices.append({id, 3});
    } else if (kind < EntryKind::MusicId) {
        e.url2 = field(f, 3);
        if (const qint64 searchId = field(f, 5).toLongLong())
            notices.append({searchId, 3});
        if (const qint64 musicId = field(f, 6).toLongLong())
            notices.append({musicId, 2});
    }
    e.id = qint32(id);
    e.kind = kind;
    e.locator = field(f, 1);
    return e;
}

void QueuePlayer::sendNotices(const QList<std::pair<qint64, int>> &notices)
{
    for (const auto &[id, lx] : notices)
        m_resolver->notifySongQueued(id, lx);
}

void QueuePlayer::PlaySongRow(const SongRowRef &row)
{
    m_fruitless = {};
    if (row.isNowPlayingPage()) {
        PlayEntry(row.tag.toInt(), false);
        return;
    }
    // The entry is complete before any request goes out, so events that run while
    // the requests wait see a whole entry.
    QList<std::pair<qint64, int>> notices;
    const QueueEntry entry = entryFromRow(row, notices);
    m_queue->reset();
    m_queue->replace(0, entry);
    sendNotices(notices);
    PlayEntry(0, false);
}

void QueuePlayer::AddSongToQueue(const std::optional<SongRowRef> &row)
{
    if (!row)
        return;
    if (row->isNowPlayingPage()) {
        PlayEntry(row->tag.toInt(), false);
        return;
    }
    QList<std::pair<qint64, int>> notices;
    m_queue->append(entryFromRow(*row, notices));
    sendNotices(notices);
}

QString QueuePlayer::ReloadRow(const SongRowRef &row)
{
    SongRowRef reloaded = row;
    if (row.tag.contains(kTagSep)) {
        QStringList f = row.tag.split(kTagSep);
        f[1] = u" "_s;
        reloaded.tag = f.join(kTagSep);
    }
    PlaySongRow(reloaded);
    return reloaded.tag;
}

void QueuePlayer::fillFromTreeList(PlaybackLibrary::ListKind kind, qint32 id, bool append)
{
    QList<TreeListSong> songs = m_library ? m_library->treeListSongs(kind, id) : QList<TreeListSong> {};
    // In id order, and only songs with a title: an untitled one would be an empty slot.
    std::stable_sort(songs.begin(), songs.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
    const qint16 songKind = kind == PlaybackLibrary::ListKind::Playlist ? EntryKind::Playlist : EntryKind::History;
    if (!append)
        m_queue->reset();
    for (const TreeListSong &s : std::as_const(songs)) {
        if (s.title.trimmed().isEmpty())
            continue;
        QueueEntry e;
        e.title = s.title;
        e.id = s.id;
        e.kind = songKind;
        e.locator = s.locator;
        e.url2 = s.url2;
        if (!m_queue->hasSongs())
            m_queue->replace(0, e);
        else
            m_queue->append(e);
    }
}

void QueuePlayer::PlayTreeList(PlaybackLibrary::ListKind kind, qint32 id)
{
    fillFromTreeList(kind, id, false);
    if (m_queue->hasSongs()) {
        m_fruitless = {};
        m_currentIndex = 0;
        PlayEntry(0, false);
    }
}

void QueuePlayer::AppendTreeList(PlaybackLibrary::ListKind kind, qint32 id)
{
    fillFromTreeList(kind, id, true);
}

} // namespace kivo
