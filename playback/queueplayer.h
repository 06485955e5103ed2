#pragma once

#include "core/songrow.h"
#include "playback/mediaengine.h"
#include "playback/playbacklibrary.h"

#include <QObject>
#include <QSet>
#include <QTimer>

#include <QCoro/QCoroTask>

#include <functional>
#include <optional>

namespace kivo {

class LyricsHooks;
class PlayQueue;
class SongSourceResolver;
struct QueueEntry;

enum class PlayMode { NoRepeat = 0, RepeatOne = 1, Sequential = 2, Shuffle = 3 };

// The entry and address last handed to the engine, and whether the load watchdog
// gave up on that address.
struct PendingPlay
{
    int index = -1;
    QString address;
    bool failed = false;
    bool isSet() const { return index >= 0; }
};

// Works through the now-playing queue: starts entries, steps, and after a song ends
// lets the play mode choose the next one.
class QueuePlayer : public QObject
{
    Q_OBJECT
public:
    QueuePlayer(PlayQueue *queue, MediaEngine *engine, SongSourceResolver *resolver, LyricsHooks *lyrics,
        PlaybackLibrary *library, QObject *parent = nullptr);

    PlayQueue *queue() const { return m_queue; }
    // Null until the engine module is there: the queue works without it.
    MediaEngine *engine() const { return m_engine; }
    void attachEngine(MediaEngine *engine);
    SongSourceResolver *resolver() const { return m_resolver; }
    PlaybackLibrary *library() const { return m_library; }

    int currentIndex() const { return m_currentIndex; }
    void setCurrentIndex(int index) { m_currentIndex = index; }
    PlayMode playMode() const { return m_mode; }
    const PendingPlay &pendingPlay() const { return m_pending; }
    // The load watchdog gave up on the pending address.
    void markPendingFailed();
    // The load of the address PlayEntry handed over last; reports of other loads are stale.
    LoadId activeLoad() const { return m_activeLoad; }
    // Entry and address of that load; the entry only while the queue was not refilled since.
    int activeIndex() const { return m_activeIndex; }
    QString activeAddress() const { return m_activeAddress; }
    bool activeEntryIntact() const;
    // Counts starts that are not retries; the load handed over last belongs to activeStart().
    quint64 activeStart() const { return m_activeStart; }
    // Title of the entry last started (shown in the status texts).
    QString currentTitle() const { return m_title; }

    // Starts entry index; retry drops its locator so the next candidate is tried.
    // Returns when the address was handed over (or nothing could be started).
    QCoro::Task<void> PlayEntry(int index, bool retry);
    void StepPrevious();
    void StepNext();
    void SetPlayMode(PlayMode mode);

    // Arms and disarms the one-tick advance (Timer2).
    void armAdvance();
    void cancelAdvance();
    bool isAdvanceArmed() const { return m_advanceTimer.isActive(); }
    void AdvanceAfterEnd();

    // Song list pages.
    void PlaySongRow(const SongRowRef &row);
    void AddSongToQueue(const std::optional<SongRowRef> &row);
    // Plays the row again without its stored address; returns what the row keeps.
    SongRowData ReloadRow(const SongRowRef &row);
    void PlayTreeList(PlaybackLibrary::ListKind kind, qint32 id);
    void AppendTreeList(PlaybackLibrary::ListKind kind, qint32 id);
    // Files opened from the desktop: appended as local files (an empty queue starts
    // at entry 0), the first of them played.
    void OpenLocalFiles(const QStringList &paths);

    // The random draw of the shuffle mode: a number in [0, bound). Tests replace it.
    void setRandomSource(std::function<double()> uniform01) { m_random = std::move(uniform01); }

Q_SIGNALS:
    void playModeChanged(kivo::PlayMode mode);
    // The advance resets the watchdog count and shows the idle play button.
    void indicatorsReset();
    // Mode 0 after a song ended, or nothing playable left: the stop button's actions.
    void stopRequested();
    void titleChanged(const QString &title);
    // A start (not a retry) begins: what was shown of the song before it is over.
    void entryStarting();
    // A start needs the engine, which is not there yet: load it now if it can be.
    void engineNeeded();
    // A start found no engine to play with; nothing was started.
    void engineMissing();

private:
    QueueEntry entryFromRow(const SongRowRef &row, QList<std::pair<qint64, int>> &notices) const;
    void sendNotices(const QList<std::pair<qint64, int>> &notices);
    void fillFromTreeList(PlaybackLibrary::ListKind kind, qint32 id, bool append);
    void storeLyrics(int index, const QString &lyrics);
    // Looks up the entry's lyrics without holding its start back; they are kept and
    // shown only while that start is still the current one.
    QCoro::Task<void> applyLyricsWhenFound(int index, quint64 generation, std::function<bool()> stillCurrent);
    void nothingStarted(int index);
    void followRemoval(int index);
    void followEmptying();

    PlayQueue *m_queue;
    MediaEngine *m_engine;
    SongSourceResolver *m_resolver;
    LyricsHooks *m_lyrics;
    PlaybackLibrary *m_library;
    int m_currentIndex = 0;
    PlayMode m_mode = PlayMode::NoRepeat;
    PendingPlay m_pending;
    LoadId m_activeLoad = 0;
    int m_activeIndex = -1;
    QString m_activeAddress;
    quint64 m_activeGeneration = 0;
    QString m_title;
    quint64 m_startSerial = 0;
    quint64 m_starts = 0;
    quint64 m_activeStart = 0;
    // Starts in a row that found nothing to play, and the distinct entries among them;
    // the advance ends once every entry was tried.
    struct FruitlessRun
    {
        int starts = 0;
        QSet<int> entries;
    };
    FruitlessRun m_fruitless;
    QTimer m_advanceTimer;
    std::function<double()> m_random;
};

} // namespace kivo
