#include "lyrics/lyricscontroller.h"

namespace kivo {

LyricsController::LyricsController(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(10);
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
    if (!m_timer.isActive())
        m_timer.start();
}

void LyricsController::stopTicking()
{
    m_timer.stop();
}

void LyricsController::tick()
{
    if (!m_clock)
        return;
    LyricTick(m_clock(), m_lyrics, m_geometry, m_screen);
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
