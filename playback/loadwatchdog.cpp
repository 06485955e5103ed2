#include "playback/loadwatchdog.h"

namespace kivo {

LoadWatchdog::LoadWatchdog(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(200);
    connect(&m_timer, &QTimer::timeout, this, &LoadWatchdog::ticked);
}

void LoadWatchdog::start()
{
    setRunning(true);
}

void LoadWatchdog::restart()
{
    m_count = 0;
    setRunning(true);
}

void LoadWatchdog::stop()
{
    setRunning(false);
}

void LoadWatchdog::setRunning(bool on)
{
    m_running = on;
    if (on && !m_timer.isActive())
        m_timer.start();
    else if (!on)
        m_timer.stop();
}

WatchdogStep LoadWatchdog::step(const WatchdogView &view)
{
    WatchdogStep out;
    if (view.state == PlayState::Playing) {
        stop();
        return out;
    }
    const bool buffering = view.state == PlayState::Buffering;
    if (buffering && view.bufferingProgress >= 100)
        stop();
    ++m_count;
    if (buffering && view.bufferingProgress < 100) {
        out.showProgress = true;
        out.progress = view.bufferingProgress;
        // In whole numbers: the full time-out is 5 ticks per second, so the count is
        // 100 % exactly when it reaches the give-up mark.
        out.elapsedPercent = m_count * 100 / (m_timeoutSeconds * 5);
    }
    const bool locatingTooLong = view.locating && m_count >= 2 * m_timeoutSeconds;
    const bool tooLong = m_count >= 5 * m_timeoutSeconds;
    if (!locatingTooLong && !tooLong)
        return out;
    if (view.video) {
        // A slow video is waited for.
        m_count = 0;
        return out;
    }
    stop();
    out.giveUp = true;
    return out;
}

} // namespace kivo
