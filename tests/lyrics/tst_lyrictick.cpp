#include "lyrics/lyrictick.h"

#include <QRegularExpression>
#include <QTest>

#include <limits>

using namespace kivo;

namespace {

// Every character is 100 twips wide on both lines; frames are 1000 twips wide.
LyricGeometry geometry()
{
    LyricGeometry g;
    g.mainFrameWidth = 1000;
    g.miniFrameWidth = 1000;
    g.mainTextWidth = [](const QString &t) { return int(t.size()) * 100; };
    g.miniTextWidth = [](const QString &t) { return int(t.size()) * 100; };
    return g;
}

// Runs the 10 ms timer from `from` to `to` seconds (both included).
void play(LyricScreen &screen, const LrcLyrics &lyrics, double from, double to, double duration = 200)
{
    const LyricGeometry g = geometry();
    for (int ms = qRound(from * 1000); ms <= qRound(to * 1000); ms += 10)
        LyricTick({true, ms / 1000.0, duration}, lyrics, g, screen);
}

} // namespace

class LyricTickTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void positionKey_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("key");
        QTest::newRow("no offset") << 65.34 << 0 << u"01:05.3"_qs;
        QTest::newRow("+12 carries a minute") << 59.9 << 12 << u"01:01.1"_qs;
        QTest::newRow("-10 borrows a second") << 5.3 << -10 << u"00:04.3"_qs;
        QTest::newRow("+1 at 59.95") << 59.95 << 1 << u"01:00.0"_qs;
        QTest::newRow("minutes wrap at 60") << 3599.9 << 2 << u"00:00.1"_qs;
        QTest::newRow("borrow below zero stops at minute 0") << 0.2 << -5 << u"00:59.7"_qs;
        QTest::newRow("below -10 leaves negative tenths") << 5.3 << -15 << u"0:04.-2"_qs;
        QTest::newRow("hours are dropped") << 3725.0 << 0 << u"02:05.0"_qs;
        QTest::newRow("huge negative offset") << 5.3 << -2147483647 << u"-999987"_qs;
        QTest::newRow("huge positive offset") << 5.3 << 2147483647 << u"01:45.3"_qs;
    }
    void positionKey()
    {
        QFETCH(double, position);
        QFETCH(int, offset);
        QFETCH(QString, key);
        QCOMPARE(lyricPositionKey(position, offset).view().toString(), key);
    }

    void readout_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("duration");
        QTest::addColumn<bool>("remaining");
        QTest::addColumn<QString>("text");
        QTest::newRow("remaining") << 65.0 << 200.0 << true << u"02:15"_qs;
        QTest::newRow("elapsed") << 65.0 << 200.0 << false << u"01:05"_qs;
        QTest::newRow("elapsed is cut, not rounded") << 65.7 << 200.0 << false << u"01:05"_qs;
        QTest::newRow("elapsed over an hour") << 3725.0 << 4000.0 << false << u"02:05"_qs;
        QTest::newRow("past the end") << 210.0 << 200.0 << true << u"00:00"_qs;
    }
    void readout()
    {
        QFETCH(double, position);
        QFETCH(double, duration);
        QFETCH(bool, remaining);
        QFETCH(QString, text);
        QCOMPARE(positionReadout(position, duration, remaining), text);
        LyricScreen screen;
        screen.remainingTimeMode = remaining;
        LyricTick({true, position, duration}, {}, geometry(), screen);
        QCOMPARE(screen.readout, text);
    }

    // Positions no clock reaches, or no number at all, give a key and a readout of the
    // usual form rather than wrapped-around arithmetic.
    void absurdPositionsSaturate()
    {
        const QRegularExpression key(u"^\\d\\d:\\d\\d\\.\\d$"_qs), readout(u"^\\d\\d:\\d\\d$"_qs);
        for (double position : {1e19, -1e19, 1e300, std::numeric_limits<double>::infinity(), std::nan("")}) {
            QVERIFY(key.match(lyricPositionKey(position, 5).view()).hasMatch());
            for (double duration : {200.0, 1e19, -1e19}) {
                QVERIFY(readout.match(positionReadout(position, duration, true)).hasMatch());
                LyricScreen screen;
                screen.remainingTimeMode = true;
                LyricTick({true, position, duration}, {}, geometry(), screen);
            }
        }
    }

    void lineShowsAtItsKeyAndHighlightEndsEarly()
    {
        const LrcLyrics lyrics = NormalizeLrc(u"[00:01.00]Hello<br>[00:03.00]World<br>[00:06.00]end"_qs);
        LyricScreen screen;
        play(screen, lyrics, 0.0, 0.99);
        QCOMPARE(screen.main.baseText, kWelcomeLine);
        play(screen, lyrics, 1.0, 1.0);
        QCOMPARE(screen.main.baseText, u"Hello"_qs);
        QCOMPARE(screen.mini.overlayText, u"Hello"_qs);
        QCOMPARE(screen.lineDurationMs, 2000);
        QCOMPARE(screen.main.baseWidth, 500);
        QCOMPARE(screen.main.overlayWidth, 0);
        QCOMPARE(screen.main.baseColor, kLyricFadeStart);

        play(screen, lyrics, 1.01, 2.0);
        QVERIFY(screen.main.overlayWidth > 0 && screen.main.overlayWidth < 500);
        QCOMPARE(screen.mini.overlayWidth, screen.main.overlayWidth);
        // Done 300 ms before the span ends: full width by 2.8 s, not before 2.6 s.
        play(screen, lyrics, 2.01, 2.6);
        QVERIFY(screen.main.overlayWidth < 500);
        play(screen, lyrics, 2.61, 2.8);
        QCOMPARE(screen.main.overlayWidth, 500);
        play(screen, lyrics, 2.81, 3.0);
        QCOMPARE(screen.main.baseText, u"World"_qs);
        QCOMPARE(screen.main.overlayWidth, 0);
    }

    void colourFadesThenHolds()
    {
        const LrcLyrics lyrics = NormalizeLrc(u"[00:01.00]Hello<br>[00:09.00]x<br>[00:10.00]y"_qs);
        LyricScreen screen;
        QList<int> greens;
        const LyricGeometry g = geometry();
        for (int ms : {1000, 1100, 1200, 1300, 1500, 2500, 3000}) {
            for (int step = 0; step < 10; ++step)
                LyricTick({true, (ms + step * 10) / 1000.0, 200}, lyrics, g, screen);
            greens << qGreen(screen.main.baseColor);
            QCOMPARE(screen.mini.baseColor, screen.main.baseColor);
        }
        // Redder as the line goes on, then it stays at the last green at or above 0.
        // The line restarts during its first tenth, then fades 40 steps at once.
        QCOMPARE(greens[0], 180);
        QCOMPARE(greens[1], 180 - 40);
        for (qsizetype i = 1; i < greens.size(); ++i)
            QVERIFY(greens[i] <= greens[i - 1]);
        QCOMPARE(greens.last(), greens[greens.size() - 2]);
        QCOMPARE(qRed(screen.main.baseColor), 200);
        QCOMPARE(qBlue(screen.main.baseColor), 200);
    }

    void wideLineScrollsNearItsEnd()
    {
        // 20 characters: 2000 twips in a 1000-twip frame; a short line fits and stays.
        const LrcLyrics lyrics = NormalizeLrc(u"[00:01.00]abcdefghijklmnopqrst<br>[00:04.00]short<br>[00:09.00]z"_qs);
        LyricScreen screen;
        play(screen, lyrics, 1.0, 1.5);
        QCOMPARE(screen.main.baseLeft, 0);
        play(screen, lyrics, 1.51, 3.99);
        QVERIFY(screen.main.baseLeft < -900);
        QCOMPARE(screen.main.overlayLeft, screen.main.baseLeft);
        QCOMPARE(screen.mini.baseLeft, screen.main.baseLeft);
        play(screen, lyrics, 4.0, 8.0);
        QCOMPARE(screen.main.baseText, u"short"_qs);
        QCOMPARE(screen.main.baseLeft, 0);
    }

    void offsetShowsLinesEarlier()
    {
        const LrcLyrics lyrics = NormalizeLrc(u"[00:02.00]Soon<br>[00:05.00]x<br>[00:06.00]y"_qs);
        LyricScreen screen;
        screen.lyricsOffsetTenths = 12;
        play(screen, lyrics, 0.8, 0.8);
        QCOMPARE(screen.main.baseText, u"Soon"_qs);
    }

    void knobsFollowThePosition()
    {
        LyricScreen screen;
        LyricTick({true, 100, 200}, {}, geometry(), screen);
        QCOMPARE(screen.mainKnobLeft, 5480 + 1635);
        QCOMPARE(screen.miniKnobLeft, 3480 + 1420);
        LyricTick({true, 100, 0}, {}, geometry(), screen); // no duration: knobs stay
        QCOMPARE(screen.mainKnobLeft, 5480 + 1635);
    }

    void nothingWhileNotPlayingOrWithShortLyrics()
    {
        const LrcLyrics lyrics = NormalizeLrc(u"[00:01.00]Hello<br>[00:09.00]x<br>[00:10.00]y"_qs);
        LyricScreen screen;
        LyricTick({false, 1.0, 200}, lyrics, geometry(), screen);
        QCOMPARE(screen.main.baseText, kWelcomeLine);
        QCOMPARE(screen.readout, u"00:00"_qs);
        LyricTick({true, 1.0, 200}, LrcLyrics::fromText(u"[01.0]a"_qs), geometry(), screen);
        QCOMPARE(screen.main.baseText, kWelcomeLine);
    }

    void lineWithoutSpanLastsToTheEnd()
    {
        // Not normalised: the found line lasts until the end of the media (3:20).
        LyricScreen screen;
        play(screen, LrcLyrics::fromText(u"[03:10.00]tail end<br>"_qs), 190.0, 190.0);
        QCOMPARE(screen.main.baseText, u"tail end"_qs);
        QCOMPARE(screen.lineDurationMs, 10000 + 990);
    }

    void zeroSpanLeavesHighlightButUpdatesRemaining()
    {
        const LrcLyrics lyrics = NormalizeLrc(u"[00:01.00]a<br>[ti:t]<br>"_qs);
        LyricScreen screen;
        play(screen, lyrics, 1.0, 1.5);
        QCOMPARE(screen.lineDurationMs, 0);
        QCOMPARE(screen.main.overlayWidth, 0);
        QVERIFY(screen.lineRemainingCs < 0);
    }

    void resetAndStop()
    {
        const LrcLyrics lyrics = NormalizeLrc(u"[00:01.00]Hello<br>[00:09.00]x<br>[00:10.00]y"_qs);
        LyricScreen screen;
        play(screen, lyrics, 1.0, 1.5);
        ResetLyricDisplay(screen);
        QCOMPARE(screen.main.baseText, u"Hello"_qs); // kept until the next line
        QVERIFY(screen.mini.overlayText.isEmpty());
        QCOMPARE(screen.mini.overlayLeft, 10);
        QCOMPARE(screen.main.overlayWidth, 0);
        ShowLyricCaption(screen, u"查找定位:歌"_qs, geometry(), true);
        QCOMPARE(screen.mini.baseText, u"查找定位:歌"_qs);
        QCOMPARE(screen.mini.baseColor, kLyricBlack);
        QCOMPARE(screen.main.baseWidth, 600);
        ResetLyricLineAfterStop(screen, geometry());
        QCOMPARE(screen.main.baseText, kWelcomeLine);
        QCOMPARE(screen.main.baseColor, kLyricBlack);
        QCOMPARE(screen.main.baseWidth, int(kWelcomeLine.size()) * 100);
        QCOMPARE(screen.readout, u"00:00"_qs);
        QCOMPARE(screen.miniKnobLeft, 3480);
    }
};

QTEST_GUILESS_MAIN(LyricTickTest)
#include "tst_lyrictick.moc"
