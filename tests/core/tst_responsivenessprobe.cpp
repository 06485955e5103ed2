// The probe the fault suite measures with: a stall counts whether it ended or not.
#include "core/responsivenessprobe.h"

#include <QElapsedTimer>
#include <QTest>

#include <thread>

using namespace kivo;

class ResponsivenessProbeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stallsCountEndedOrUnderWay()
    {
        ResponsivenessProbe probe(10);
        probe.start();
        QTest::qWait(50);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        // Read while the stall is still under way: no tick has measured it yet.
        QVERIFY(probe.worstDelayMs() >= 700);
        QTest::qWait(50); // the next tick ends it and keeps it
        QVERIFY(probe.worstDelayMs() >= 700);
        probe.reset();
        QTest::qWait(50);
        QVERIFY(probe.worstDelayMs() < 700);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        probe.stop(); // stopping at the end of a stall keeps it as well
        QVERIFY(probe.worstDelayMs() >= 700);
    }
};

QTEST_GUILESS_MAIN(ResponsivenessProbeTest)
#include "tst_responsivenessprobe.moc"
