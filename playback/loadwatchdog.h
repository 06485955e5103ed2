#pragma once

#include "playback/mediaengine.h"

#include <QObject>
#include <QTimer>

namespace kivo {

// What the watchdog sees at one tick.
struct WatchdogView
{
    PlayState state = PlayState::Undefined;
    int bufferingProgress = 0;
    bool locating = false; // the status line still says "查找定位:"
    bool video = false;
};

// The outcome of one tick.
struct WatchdogStep
{
    bool showProgress = false; // show "正在载入(p%)" and "[q%]"
    int progress = 0; // p
    int elapsedPercent = 0; // q: the share of the time-out used so far
    bool giveUp = false;
};

// Counts 200 ms ticks from the moment an address is handed over and gives up on an
// address that does not start: after 2 ticks per second of time-out while the media
// is still being located, after 5 per second in any case. A video is never given up.
class LoadWatchdog : public QObject
{
    Q_OBJECT
public:
    explicit LoadWatchdog(QObject *parent = nullptr);

    void setTimeoutSeconds(int seconds) { m_timeoutSeconds = qMax(1, seconds); }
    int timeoutSeconds() const { return m_timeoutSeconds; }

    // Timer3: start keeps the count, restart sets it to 0 first.
    void start();
    void restart();
    void stop();
    bool isRunning() const { return m_running; }
    int count() const { return m_count; }
    void resetCount() { m_count = 0; }

    // One tick; the QTimer calls it every 200 ms while running, tests call it directly.
    WatchdogStep step(const WatchdogView &view);

Q_SIGNALS:
    // The QTimer ticked (the owner then calls step with the engine's view).
    void ticked();

private:
    void setRunning(bool on);

    QTimer m_timer;
    bool m_running = false;
    int m_count = 0;
    int m_timeoutSeconds = 26;
};

} // namespace kivo
