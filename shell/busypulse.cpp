#include "shell/busypulse.h"

#include <algorithm>

namespace kivo {

BusyPulse::Step BusyPulse::tick()
{
    m_level += m_brightening ? 10 : -10;
    if (m_level > 200)
        m_brightening = false;
    if (m_level < 8)
        m_brightening = true;
    const auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    Step step;
    step.color = QColor(clamp(m_level), clamp(m_level + 3), clamp(m_level + 3));
    if (m_ticks >= 10 * m_timeoutSeconds) {
        step.hide = true;
        m_ticks = 0;
        return step;
    }
    ++m_ticks;
    return step;
}

} // namespace kivo
