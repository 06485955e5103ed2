#pragma once

#include "lyrics/lrclyrics.h"
#include "lyrics/lyrictick.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace kivo {

// The lyric state of the running player: the lyrics of the song now playing
// (`currentLyrics`), what both lyric lines and position readouts show, the shared
// lyric offset and readout mode, and the 10 ms timer that moves them.
//
// The lyric steps of starting a queue entry (the entry keeps what they find):
//   ticket = clearCurrentLyrics();
//   raw = co_await ResolveEntryLyrics(...), while the start goes on without waiting:
//     if (isCurrentTicket(ticket) and no lyric file was shown) store raw in the entry;
//     setCurrentLyrics(raw, ticket);
//   address = ...;
//   if (auto local = LoadLocalLyrics(address, enabled)) { store *local in the entry; setCurrentLyrics(*local, ticket);
//   } resetLyricDisplay();
// The engine's playing state calls startTicking(), its stopped state stopTicking().
class LyricsController : public QObject
{
    Q_OBJECT
public:
    explicit LyricsController(QObject *parent = nullptr);

    // Where the engine stands; read on every tick.
    void setClock(std::function<PlaybackClock()> clock) { m_clock = std::move(clock); }
    PlaybackClock clock() const { return m_clock ? m_clock() : PlaybackClock {}; }
    // Frame widths and text measures of the two lines (the windows supply them).
    void setMainGeometry(int frameWidthTwips, std::function<int(const QString &)> textWidthTwips);
    void setMiniGeometry(int frameWidthTwips, std::function<int(const QString &)> textWidthTwips);

    const LrcLyrics &currentLyrics() const { return m_lyrics; }
    // Empties currentLyrics for an entry that starts; lyrics found for an entry that
    // started earlier carry an older ticket and are dropped.
    quint64 clearCurrentLyrics();
    bool isCurrentTicket(quint64 ticket) const { return ticket == m_ticket; }
    // Normalises and shows lyrics; false (nothing changes) for a stale ticket.
    bool setCurrentLyrics(const QString &rawLyrics, quint64 ticket);

    const LyricScreen &screen() const { return m_screen; }

    // The timer: on while playing. Its beat is 10 ms, but it sleeps through the beats
    // that cannot show anything new: what it shows moves with the position's tenths
    // of a second, so it wakes once on each new tenth and runs there also the beat
    // after it (which carries the tenth's arithmetic to the screen). While the clock
    // is not playing it sleeps until wake().
    void startTicking();
    void stopTicking();
    bool isTicking() const { return m_ticking; }
    // The engine plays again (or moved): the sleeping timer goes on at once.
    void wake();
    // One tick now (the timer calls it on its beats); screenChanged only when
    // something shown changed.
    void tick();
    // Milliseconds the timer waits before its next beat (0 while it sleeps).
    int nextBeatMs() const { return m_timer.isActive() ? m_timer.interval() : 0; }

    void resetLyricDisplay();
    // Status texts ("查找定位:" + title, …) on both lines, highlight emptied; the
    // transitioning state also turns the line black.
    void showCaption(const QString &text, bool black = false);
    // The stop button: welcome line, readouts "00:00", knobs at their start.
    void resetAfterStop();
    // An empty readout while an address loads.
    void setReadout(const QString &text);
    // A new load starts: readouts "00:00", knobs at their start.
    void resetPosition();
    // The user dropped a position knob: knobs and readouts show that place at once,
    // also while paused (when the tick does not move them).
    void showPosition(double positionSeconds);

    // Shared by both windows: the time readouts' mode and the lyric offset.
    bool remainingTimeMode() const { return m_screen.remainingTimeMode; }
    void flipReadoutMode();
    float &lyricsOffsetTenths() { return m_screen.lyricsOffsetTenths; }

Q_SIGNALS:
    // Something shown changed; windows read screen().
    void screenChanged();

private:
    std::function<PlaybackClock()> m_clock;
    LyricGeometry m_geometry;
    LrcLyrics m_lyrics;
    LyricScreen m_screen;
    QTimer m_timer;
    bool m_ticking = false;
    long long m_lastTenth = -1; // the position's tenth at the last beat
    double m_lastPosition = -1; // the position the last tick read
    quint64 m_ticket = 0;
};

} // namespace kivo
