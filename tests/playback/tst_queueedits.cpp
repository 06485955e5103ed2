// Entries removed from the queue, or the queue filled anew, while a song plays:
// previous and next go to the neighbours the user sees, neither skipping nor repeating.

#include "playbackrig.h"

#include <QTest>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::Literals::StringLiterals;

class QueueEditsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stepsAfterAnEdit_data()
    {
        QTest::addColumn<int>("playing");
        QTest::addColumn<int>("removed"); // -1: the queue is filled anew instead
        QTest::addColumn<bool>("next");
        QTest::addColumn<QString>("expected");
        QTest::newRow("earlier entry removed, next") << 3 << 1 << true << u"s4"_s;
        QTest::newRow("earlier entry removed, previous") << 3 << 1 << false << u"s2"_s;
        QTest::newRow("later entry removed, next") << 1 << 3 << true << u"s2"_s;
        QTest::newRow("playing entry removed, next") << 2 << 2 << true << u"s3"_s;
        QTest::newRow("queue filled anew, next") << 0 << -1 << true << u"s0"_s;
    }
    void stepsAfterAnEdit()
    {
        QFETCH(int, playing);
        QFETCH(int, removed);
        QFETCH(bool, next);
        QFETCH(QString, expected);
        PlaybackRig rig;
        rig.fill(5);
        rig.player.PlayEntry(playing, false);
        if (removed >= 0)
            rig.queue.remove(removed);
        else
            rig.fill(3);
        next ? rig.player.StepNext() : rig.player.StepPrevious();
        QCOMPARE(rig.lastStarted(), expected);
    }

    // The song that plays stays the active entry at its new number.
    void activeEntryFollowsItsNumber()
    {
        PlaybackRig rig;
        rig.fill(4);
        rig.player.PlayEntry(2, false);
        rig.queue.remove(0);
        QVERIFY(rig.player.activeEntryIntact());
        QCOMPARE(rig.queue.at(rig.player.activeIndex()).title, u"s2"_s);
        rig.queue.remove(1);
        QVERIFY(!rig.player.activeEntryIntact());
    }
};

QTEST_MAIN(QueueEditsTest)
#include "moc_playbackrig.cpp"
#include "tst_queueedits.moc"
