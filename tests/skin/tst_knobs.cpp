#include "skin/knobs.h"

#include <QTest>

using namespace kivo;

Q_DECLARE_METATYPE(KnobTrack)

namespace {

// One drag of the offset knob: press at x 0, move by each of `moves`, release.
void drag(LyricOffsetKnob &knob, float &offset, const QList<int> &moves)
{
    knob.press(0);
    for (int dx : moves)
        knob.move(dx);
    knob.release(offset);
}

} // namespace

class KnobsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void slideKnob_data()
    {
        QTest::addColumn<KnobTrack>("track");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected"); // -1: stays
        QTest::newRow("main volume inside") << KnobTracks::mainVolume << 4600 << 100 << 4700;
        QTest::newRow("main volume to its right end") << KnobTracks::mainVolume << 5000 << 120 << 5120;
        QTest::newRow("main volume past it: at the end") << KnobTracks::mainVolume << 5000 << 400 << 5120;
        QTest::newRow("main position left end") << KnobTracks::mainPosition << 5500 << -20 << 5480;
        QTest::newRow("main position past left end: at it") << KnobTracks::mainPosition << 5500 << -900 << 5480;
        QTest::newRow("mini volume") << KnobTracks::miniVolume << 2640 << 540 << 3180;
        QTest::newRow("mini position past right end: at it") << KnobTracks::miniPosition << 6300 << 30 << 6320;
        QTest::newRow("already at the end") << KnobTracks::miniPosition << 6320 << 30 << -1;
    }
    void slideKnob()
    {
        QFETCH(KnobTrack, track);
        QFETCH(int, left);
        QFETCH(int, x);
        QFETCH(int, expected);
        KnobDrag drag;
        QVERIFY(!drag.move(left, x, track)); // not held: hovering moves nothing
        drag.press(0);
        const std::optional<int> next = drag.move(left, x, track);
        QCOMPARE(next.value_or(-1), expected);
        drag.release();
        QVERIFY(!drag.move(left, x, track));
    }

    void knobValues()
    {
        QCOMPARE(volumeForKnob(KnobTracks::mainVolume, 4580), 0);
        QCOMPARE(volumeForKnob(KnobTracks::mainVolume, 4850), 50);
        QCOMPARE(volumeForKnob(KnobTracks::miniVolume, 3180), 100);
        QCOMPARE(knobForVolume(KnobTracks::miniVolume, 50), 2910);
        QCOMPARE(positionForKnob(KnobTracks::mainPosition, 5480 + 3270 / 2, 200.0), 100.0);
        QCOMPARE(positionForKnob(KnobTracks::miniPosition, 3480 + 2840, 200.0), 200.0);
        QCOMPARE(positionForKnob(KnobTracks::miniPosition, 4000, 0.0), 0.0);
    }

    void offsetKnob_data()
    {
        QTest::addColumn<bool>("mini");
        QTest::addColumn<QList<QList<int>>>("drags");
        QTest::addColumn<int>("left");
        QTest::addColumn<float>("offset");
        using Drags = QList<QList<int>>;
        QTest::newRow("two one-step drags") << false << Drags {{100, 220}, {220}} << 1620 << 3.0f;
        QTest::newRow("small moves do nothing") << false << Drags {{100, 219, -219}} << 1180 << 0.0f;
        QTest::newRow("one step left") << false << Drags {{-220}} << 960 << -1.0f;
        QTest::newRow("left limit 30") << false << Drags {{-220}, {-220}, {-220}, {-220}, {-220}, {-220}} << 80
                                       << -5.0f - 4 - 3 - 2 - 1 - 5;
        QTest::newRow("right limit 2335")
            << false << Drags {{220}, {220}, {220}, {220}, {220}, {220}} << 2280 << 1.0f + 2 + 3 + 4 + 5 + 5;
        QTest::newRow("mini from its own neutral") << true << Drags {{220}, {-220}} << 998 << 1.0f;
        QTest::newRow("mini right limit 1895")
            << true << Drags {{220}, {220}, {220}, {220, 220}} << 1878 << 1.f + 2 + 3 + 4;
    }
    void offsetKnob()
    {
        QFETCH(bool, mini);
        QFETCH(QList<QList<int>>, drags);
        QFETCH(int, left);
        QFETCH(float, offset);
        LyricOffsetKnob knob(mini ? LyricOffsetKnob::kMini : LyricOffsetKnob::kMain);
        knob.toggle();
        float shared = 0;
        for (const QList<int> &moves : drags)
            drag(knob, shared, moves);
        QCOMPARE(knob.left(), left);
        QCOMPARE(shared, offset);
    }

    void toggleKeepsOffsetDoubleClickClearsIt()
    {
        LyricOffsetKnob knob(LyricOffsetKnob::kMain);
        QVERIFY(!knob.isVisible());
        knob.toggle();
        float offset = 0;
        drag(knob, offset, {220});
        drag(knob, offset, {220});
        QCOMPARE(offset, 3.0f);
        knob.toggle();
        QVERIFY(!knob.isVisible());
        knob.toggle();
        QCOMPARE(knob.left(), 1180);
        QCOMPARE(offset, 3.0f);
        drag(knob, offset, {});
        QCOMPARE(offset, 3.0f); // a click at neutral adds nothing
        drag(knob, offset, {220});
        knob.doubleClick(offset);
        QCOMPARE(knob.left(), 1180);
        QCOMPARE(offset, 0.0f);
    }

    void oneOffsetForBothWindows()
    {
        LyricOffsetKnob main(LyricOffsetKnob::kMain), mini(LyricOffsetKnob::kMini);
        main.toggle();
        mini.toggle();
        float offset = 0;
        drag(main, offset, {220});
        mini.press(0); // its own anchor: the main knob's press does not move it
        main.move(400);
        drag(mini, offset, {-220});
        QCOMPARE(offset, 0.0f);
        QCOMPARE(mini.left(), 778);
    }

    void twipConversion()
    {
        QCOMPARE(twipsToPixels(6750), 450);
        QCOMPARE(twipsToPixels(1155), 77);
        QCOMPARE(twipsToPixels(22), 1);
        QCOMPARE(twipsToPixels(23), 2);
        QCOMPARE(pixelsToTwips(3), 45);
    }
};

QTEST_GUILESS_MAIN(KnobsTest)
#include "tst_knobs.moc"
