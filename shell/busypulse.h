#pragma once

#include <QColor>

namespace kivo {

// The busy overlay's caption pulse, one step per 50 ms tick. The level moves by
// 10 between its turning points; after ten ticks per second of the request
// time-out the overlay gives up, so it never outlives a hung request.
class BusyPulse
{
public:
    explicit BusyPulse(int requestTimeoutSeconds = 60)
        : m_timeoutSeconds(requestTimeoutSeconds)
    { }

    struct Step
    {
        QColor color;
        bool hide = false;
    };
    Step tick();
    void restart() { m_ticks = 0; }

    int level() const { return m_level; }
    int ticks() const { return m_ticks; }
    bool brightening() const { return m_brightening; }
    void setRequestTimeoutSeconds(int seconds) { m_timeoutSeconds = seconds; }

private:
    int m_timeoutSeconds;
    int m_level = 0;
    int m_ticks = 0;
    bool m_brightening = true;
};

} // namespace kivo
