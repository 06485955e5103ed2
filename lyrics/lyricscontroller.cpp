#include "lyrics/lyricscontroller.h"

#include <algorithm>
#include <cmath>

namespace kivo {

namespace {

constexpr int kBeatMs = 10; // the first beat after a start or a wake
// Some sound outputs move the engine's position in steps (about 50 ms with the null
// output): a reading that has not moved is read again only after this long.
constexpr int kUnmovedMs = 20;

bool operator==(const LyricLabels &a, const LyricLabels &b)
{
    return a.baseLeft == b.baseLeft && a.baseWidth == b.baseWidth && a.baseColor == b.baseColor
        && a.overlayLeft == b.overlayLeft && a.overlayWidth == b.overlayWidth && a.baseText == b.baseText
        && a.overlayText == b.overlayText;
}

// What the windows draw of the screen (not the tick's own bookkeeping).
bool sameShown(const LyricScreen &a, const LyricScreen &b)
{
    return a.main == b.main && a.mini == b.mini && a.readout == b.readout && a.mainKnobLeft == b.mainKnobLeft
        && a.miniKnobLeft == b.miniKnobLeft;
}

} // namespace

LyricsController::LyricsController(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(kBeatMs);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LyricsController::tick);
}

void LyricsController::setMainGeometry(int frameWidthTwips, std::function<int(const QString &)> textWidthTwips)
{
    m_geometry.mainFrameWidth = frameWidthTwips;
    m_geometry.mainTextWidth = std::move(textWidthTwips);
    if (m_geometry.mainTextWidth)
        m_screen.main.baseWidth = m_geometry.mainTextWidth(m_screen.main.baseText);
}

void LyricsController::setMiniGeometry(int frameWidthTwips, std::function<int(const QString &)> textWidthTwips)
{
    m_geometry.miniFrameWidth = frameWidthTwips;
    m_geometry.miniTextWidth = std::move(textWidthTwips);
    if (m_geometry.miniTextWidth)
        m_screen.mini.baseWidth = m_geometry.miniTextWidth(m_screen.mini.baseText);
}

quint64 LyricsController::clearCurrentLyrics()
{
    m_lyrics = {};
    return ++m_ticket;
}

bool LyricsController::setCurrentLyrics(const QString &rawLyrics, quint64 ticket)
{
    if (ticket != m_ticket)
        return false;
    m_lyrics = NormalizeLrc(rawLyrics);
    return true;
}

void LyricsController::startTicking()
{
    if (m_ticking)
        return;
    m_ticking = true;
    m_lastTenth = -1;
    m_timer.start(kBeatMs);
}

void LyricsController::stopTicking()
{
    m_ticking = false;
    m_timer.stop();
}

void LyricsController::wake()
{
    if (!m_ticking)
        return;
    m_lastTenth = -1;
    m_timer.start(kBeatMs);
}

void LyricsController::tick()
{
    if (!m_clock)
        return;
    const PlaybackClock clock = m_clock();
    if (!clock.playing) {
        m_timer.stop(); // paused: nothing moves until the engine plays again
        return;
    }
    const LyricScreen before = m_screen;
    const double tenths = std::isfinite(clock.positionSeconds) ? clock.positionSeconds * 10.0 : 0.0;
    const long long tenth = static_cast<long long>(std::floor(tenths + 1e-7));
    LyricTick(clock, m_lyrics, m_geometry, m_screen);
    // The line, wipe, colour, knobs and readout change only with the position's
    // tenth of a second, and the wipe of a new tenth shows on the beat after the one
    // that read it: that beat runs at once instead of 10 ms later.
    if (tenth != m_lastTenth)
        LyricTick(clock, m_lyrics, m_geometry, m_screen);
    m_lastTenth = tenth;
    const bool unmoved = clock.positionSeconds == m_lastPosition;
    m_lastPosition = clock.positionSeconds;
    if (m_ticking) {
        // Until just after the next tenth begins.
        const double untilNext = (double(tenth + 1) - tenths) * 100.0;
        const int wait = std::clamp(int(std::ceil(untilNext)) + 1, 1, 100);
        m_timer.start(unmoved ? std::max(wait, kUnmovedMs) : wait);
    }
    if (!sameShown(before, m_screen))
        Q_EMIT screenChanged();
}

void LyricsController::resetLyricDisplay()
{
    ResetLyricDisplay(m_screen);
    Q_EMIT screenChanged();
}

void LyricsController::showCaption(const QString &text, bool black)
{
    ShowLyricCaption(m_screen, text, m_geometry, black);
    Q_EMIT screenChanged();
}

void LyricsController::resetAfterStop()
{
    ResetLyricLineAfterStop(m_screen, m_geometry);
    Q_EMIT screenChanged();
}

void LyricsController::setReadout(const QString &text)
{
    m_screen.readout = text;
    m_screen.readoutSeconds = -1;
    Q_EMIT screenChanged();
}

void LyricsController::resetPosition()
{
    ResetPositionReadouts(m_screen);
    Q_EMIT screenChanged();
}

void LyricsController::showPosition(double positionSeconds)
{
    ShowPlayingPosition(m_screen, positionSeconds, clock().durationSeconds, true);
    Q_EMIT screenChanged();
}

void LyricsController::flipReadoutMode()
{
    m_screen.remainingTimeMode = !m_screen.remainingTimeMode;
    m_screen.readoutSeconds = -1;
    Q_EMIT screenChanged();
}

} // namespace kivo
