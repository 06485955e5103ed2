#include "playback/queueplayer.h"

#include "core/logging.h"
#include "playback/lyricshooks.h"
#include "playback/playqueue.h"
#include "playback/songsourceresolver.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPointer>
#include <QRandomGenerator>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace kivo {

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
    connect(m_queue, &PlayQueue::entryRemoved, this, &QueuePlayer::followRemoval);
    connect(m_queue, &PlayQueue::emptied, this, &QueuePlayer::followEmptying);
}

void QueuePlayer::followRemoval(int index)
{
    // The numbers move with their entries, so previous and next neither skip nor
    // repeat a song. With the current entry gone, "next" is the one that followed it.
    if (index <= m_currentIndex)
        --m_currentIndex;
    // The removal bumped the queue's generation once.
    const bool activeIntact = m_activeIndex >= 0 && m_activeGeneration + 1 == m_queue->generation();
    if (index < m_activeIndex) {
        --m_activeIndex;
    } else if (index == m_activeIndex) {
        m_activeIndex = -1;
    }
    // The song that plays is still the same entry, at its new number.
    if (activeIntact && m_activeIndex >= 0)
        m_activeGeneration = m_queue->generation();
    if (m_pending.isSet() && index < m_pending.index)
        --m_pending.index;
    else if (index == m_pending.index)
        m_pending = PendingPlay {};
}

void QueuePlayer::followEmptying()
{
    // A queue filled anew has no current entry yet: "next" is its first.
    m_currentIndex = -1;
    m_pending = PendingPlay {};
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
    if (!m_engine)
        Q_EMIT engineNeeded();
    if (!m_engine) {
        qCWarning(lcEngine) << "entry" << index << "not started: the media engine is not loaded";
        Q_EMIT engineMissing();
        co_return;
    }
    if (!retry) {
        ++m_starts;
        Q_EMIT entryStarting(); // a retry keeps what its watchdog showed
    }
    const quint64 start = m_starts;
    applyLyricsWhenFound(index, m_queue->generation(), stillCurrent);
    if (!stillCurrent() || !m_queue->contains(index))
        co_return;
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
    if (const std::optional<QString> local = m_lyrics->LoadLocalLyrics(address))
        storeLyrics(index, *local);
    m_lyrics->ResetLyricDisplay();

    m_engine->setUrl(address);
    m_activeLoad = m_engine->currentLoad();
    m_activeIndex = index;
    m_activeAddress = address;
    m_activeGeneration = m_queue->generation();
    m_activeStart = start;
    m_currentIndex = index;
    m_pending = PendingPlay {index, address, false};
    m_fruitless = {};
    m_engine->stop();
    m_engine->play();
}

void QueuePlayer::attachEngine(MediaEngine *engine)
{
    if (!m_engine)
        m_engine = engine;
}

QCoro::Task<void> QueuePlayer::applyLyricsWhenFound(int index, quint64 generation, std::function<bool()> stillCurrent)
{
    QPointer<QueuePlayer> self(this);
    const std::optional<QString> lyrics = co_await m_lyrics->ResolveEntryLyrics(m_queue->at(index), stillCurrent);
    // Only into the entry they were found for: the queue may have been refilled meanwhile.
    if (self && lyrics && m_queue->generation() == generation && m_queue->contains(index))
        storeLyrics(index, *lyrics);
}

void QueuePlayer::storeLyrics(int index, const QString &lyrics)
{
    QueueEntry &entry = m_queue->at(index);
    if (entry.lyrics == lyrics)
        return;
    entry.lyrics = lyrics;
    m_queue->touch(index);
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
    e.title = row.title;
    if (const DownloadEntryRef *download = row.downloadEntry()) {
        e.kind = SongKind::DownloadPage;
        e.locator = download->locator.trimmed();
        e.url2 = download->searchText.trimmed();
        return e;
    }
    const SongRecord none;
    const SongRecord &r = row.record() ? *row.record() : none;
    const qint64 id = r.id.trimmed().toLongLong();
    if (r.kind == SongKind::MusicId) {
        e.url2 = r.url2.trimmed() + u"+"_s + r.url1.trimmed();
        notices.append({id, 2});
    } else if (r.kind == SongKind::SearchId) {
        e.url2 = r.url2.trimmed();
        notices.append({id, 3});
    } else if (r.isLibrary()) {
        e.url2 = r.url2.trimmed();
        if (const qint64 searchId = r.baiduId.trimmed().toLongLong())
            notices.append({searchId, 3});
        if (const qint64 musicId = r.musicId.trimmed().toLongLong())
            notices.append({musicId, 2});
    }
    e.id = qint32(id);
    e.kind = qint16(r.kind);
    e.locator = r.address().trimmed();
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
    if (const auto entry = row.queueEntry()) {
        PlayEntry(*entry, false);
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
    if (const auto entry = row->queueEntry()) {
        PlayEntry(*entry, false);
        return;
    }
    QList<std::pair<qint64, int>> notices;
    m_queue->append(entryFromRow(*row, notices));
    sendNotices(notices);
}

SongRowData QueuePlayer::ReloadRow(const SongRowRef &row)
{
    // A song of a page and a download entry lose their address; a now-playing entry
    // plays again from its own.
    SongRowRef reloaded = row;
    if (auto *record = std::get_if<SongRecord>(&reloaded.data))
        record->clearAddress();
    else if (auto *download = std::get_if<DownloadEntryRef>(&reloaded.data))
        download->locator.clear();
    PlaySongRow(reloaded);
    return reloaded.data;
}

void QueuePlayer::fillFromTreeList(PlaybackLibrary::ListKind kind, qint32 id, bool append)
{
    QList<TreeListSong> songs = m_library ? m_library->treeListSongs(kind, id) : QList<TreeListSong> {};
    // In id order, and only songs with a title: an untitled one would be an empty slot.
    std::stable_sort(songs.begin(), songs.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
    const qint16 songKind = kind == PlaybackLibrary::ListKind::Playlist ? SongKind::Playlist : SongKind::History;
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

namespace kivo {

void QueuePlayer::OpenLocalFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    QList<QueueEntry> entries;
    for (const QString &path : paths)
        entries.append(importedEntry(path));
    // They join a queue with songs, or become the queue, told to the views once.
    const bool join = m_queue->hasSongs();
    const int first = join ? m_queue->highest() + 1 : 0;
    if (join)
        m_queue->appendAll(entries);
    else
        m_queue->assign(entries);
    m_fruitless = {};
    m_currentIndex = first;
    PlayEntry(first, false);
}

} // namespace kivo
