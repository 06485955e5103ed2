#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace kivo {

// How long the thread it lives on kept its events waiting: a timer of a short
// interval, each tick measuring how late it came. A stall still under way when the
// figure is read counts as well. Used by the fault suite and the benchmarks; the
// player itself runs none.
class ResponsivenessProbe : public QObject
{
    Q_OBJECT
public:
    explicit ResponsivenessProbe(int intervalMs = 10, QObject *parent = nullptr);

    void start();
    void stop();
    // Forgets the worst delay so far (the probe keeps running).
    void reset();
    // The worst lateness of a tick in milliseconds since start or reset.
    qint64 worstDelayMs() const;

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastTick = 0;
    qint64 m_worst = 0;
};

} // namespace kivo
