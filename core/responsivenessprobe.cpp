#include "core/responsivenessprobe.h"

#include <algorithm>

namespace kivo {

ResponsivenessProbe::ResponsivenessProbe(int intervalMs, QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(intervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ResponsivenessProbe::tick);
}

void ResponsivenessProbe::start()
{
    m_clock.start();
    m_lastTick = 0;
    m_worst = 0;
    m_timer.start();
}

void ResponsivenessProbe::stop()
{
    m_worst = worstDelayMs();
    m_timer.stop();
}

void ResponsivenessProbe::reset()
{
    m_worst = 0;
    m_lastTick = m_clock.isValid() ? m_clock.elapsed() : 0;
}

qint64 ResponsivenessProbe::worstDelayMs() const
{
    if (!m_timer.isActive())
        return m_worst;
    const qint64 ongoing = m_clock.elapsed() - m_lastTick - m_timer.interval();
    return std::max(m_worst, ongoing);
}

void ResponsivenessProbe::tick()
{
    const qint64 now = m_clock.elapsed();
    m_worst = std::max(m_worst, now - m_lastTick - m_timer.interval());
    m_lastTick = now;
}

} // namespace kivo
