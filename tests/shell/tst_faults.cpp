// The player against a server that misbehaves on one page at a time: it does not
// crash, says at most one message per action, and works again once the page is
// sound. The worst delay of the window while it waits is printed (bench/faults
// measures every case against the goal).
#include "support/faultrig.h"

#include <QTest>

using namespace kivo;
using namespace kivo::test;

Q_DECLARE_METATYPE(kivo::test::FaultPage)

namespace {
constexpr int kWaitMs = 1200; // how long each case keeps the fault on while the player waits
}

class FaultsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<FaultRig> m_rig;

private Q_SLOTS:
    void initTestCase()
    {
        m_rig = std::make_unique<FaultRig>();
        QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
    }
    void cleanupTestCase() { m_rig.reset(); }

    void playerOutlivesTheFault_data()
    {
        QTest::addColumn<FaultPage>("page");
        QTest::addColumn<QString>("kind");
        // A representative dozen; bench/faults runs every page with every fault.
        QTest::newRow("start-up hang") << FaultPage::Startup << u"hang"_qs;
        QTest::newRow("start-up garbage") << FaultPage::Startup << u"garbage"_qs;
        QTest::newRow("start-up huge") << FaultPage::Startup << u"huge"_qs;
        QTest::newRow("list reset") << FaultPage::List << u"reset"_qs;
        QTest::newRow("list huge") << FaultPage::List << u"huge"_qs;
        QTest::newRow("search truncate") << FaultPage::Search << u"truncate"_qs;
        QTest::newRow("search drip") << FaultPage::Search << u"drip"_qs;
        QTest::newRow("address search hang") << FaultPage::AddressSearch << u"hang"_qs;
        QTest::newRow("address search 500") << FaultPage::AddressSearch << u"500"_qs;
        QTest::newRow("lyrics huge") << FaultPage::Lyrics << u"huge"_qs;
        QTest::newRow("media garbage") << FaultPage::Media << u"garbage"_qs;
        QTest::newRow("media reset") << FaultPage::Media << u"reset"_qs;
    }
    void playerOutlivesTheFault()
    {
        QFETCH(FaultPage, page);
        QFETCH(QString, kind);
        FaultRig &rig = *m_rig;
        QVERIFY(rig.setFault(page, kind));
        const int boxesBefore = rig.messageBoxes();
        rig.actAndWait(page, kWaitMs);
        qInfo("worst delay with the fault on: %lld ms", rig.worstDelayMs());
        QVERIFY(rig.messageBoxes() - boxesBefore <= 1);
        QVERIFY(rig.setFault(page, u"off"_qs));
        QVERIFY2(rig.actAndWait(page, 15000), "the same action does not work once the fault is off");
    }
};

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
