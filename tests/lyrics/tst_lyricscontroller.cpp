#include "lyrics/lyricscontroller.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace kivo;

class LyricsControllerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lyricsOfAnEarlierEntryAreDropped()
    {
        LyricsController lyrics;
        const quint64 first = lyrics.clearCurrentLyrics();
        const quint64 second = lyrics.clearCurrentLyrics(); // another entry started while the first waited
        QVERIFY(!lyrics.setCurrentLyrics(u"[00:01.00]old<br>[00:02.00]x<br>[00:03.00]y"_qs, first));
        QVERIFY(lyrics.currentLyrics().isEmpty());
        QVERIFY(lyrics.setCurrentLyrics(u"[00:01.00]new<br>[00:02.00]x"_qs, second));
        QCOMPARE(lyrics.currentLyrics().text(), u"[00:01.00]new[1000]<br>"_qs);
    }

    void ticksOnlyWhileOn()
    {
        LyricsController lyrics;
        PlaybackClock clock {true, 1.0, 100};
        int reads = 0;
        lyrics.setClock([&] {
            ++reads;
            return clock;
        });
        lyrics.setCurrentLyrics(u"[00:01.00]line one<br>[00:05.00]x"_qs, lyrics.clearCurrentLyrics());
        QSignalSpy changed(&lyrics, &LyricsController::screenChanged);
        lyrics.startTicking();
        QTRY_VERIFY_WITH_TIMEOUT(reads >= 3, 5000);
        QCOMPARE(lyrics.screen().main.baseText, u"line one"_qs);
        lyrics.stopTicking();
        const int stopped = reads;
        QTest::qWait(50);
        QCOMPARE(reads, stopped);
        QVERIFY(changed.size() >= 1);
    }

    // The timer wakes on the tenths the screen moves by, not on every 10 ms beat,
    // and the screen is what a steady beat would have left at the same position.
    void sleepsBetweenTenthsYetShowsWhatASteadyBeatShows()
    {
        LyricsController lyrics;
        auto width = [](const QString &t) { return int(t.size()) * 150; };
        lyrics.setMainGeometry(7000, width);
        QElapsedTimer played;
        played.start();
        int reads = 0;
        double last = 0;
        lyrics.setClock([&] {
            ++reads;
            last = 1.0 + played.nsecsElapsed() / 1e9;
            return PlaybackClock {true, last, 100};
        });
        const QString raw = u"[00:01.00]a line of forty characters to be sung<br>[00:03.00]x"_qs;
        lyrics.setCurrentLyrics(raw, lyrics.clearCurrentLyrics());
        QSignalSpy changed(&lyrics, &LyricsController::screenChanged);
        lyrics.startTicking();
        QTest::qWait(800);
        lyrics.stopTicking();
        const double seconds = last - 1.0;
        QVERIFY2(reads <= int(seconds * 10) + 4, qPrintable(QString::number(reads))); // a steady beat: 80
        QVERIFY(reads >= int(seconds * 10) / 2); // yet it follows the tenths
        QVERIFY(changed.size() >= 6); // the wipe moved on most tenths

        // Steady 10 ms beats up to the same position leave the same wipe.
        LyricGeometry geometry;
        geometry.mainFrameWidth = 7000;
        geometry.mainTextWidth = width;
        LyricScreen steady;
        const LrcLyrics normalised = NormalizeLrc(raw);
        for (double t = 1.0; t <= last; t += 0.01)
            LyricTick({true, t, 100}, normalised, geometry, steady);
        LyricTick({true, last, 100}, normalised, geometry, steady);
        QCOMPARE(lyrics.screen().main.overlayWidth, steady.main.overlayWidth);
        QCOMPARE(lyrics.screen().main.baseColor, steady.main.baseColor);
    }

    // Some sound outputs move the engine's position in steps of about 50 ms: a
    // reading just short of the next tenth is not read again every few milliseconds.
    void aPositionMovingInStepsIsNotPolled()
    {
        LyricsController lyrics;
        lyrics.setMainGeometry(7000, [](const QString &t) { return int(t.size()) * 150; });
        QElapsedTimer played;
        played.start();
        int reads = 0;
        lyrics.setClock([&] {
            ++reads;
            const double step = 0.0496;
            return PlaybackClock {true, 1.0 + std::floor(played.nsecsElapsed() / 1e9 / step) * step, 100};
        });
        lyrics.setCurrentLyrics(
            u"[00:01.00]a line of forty characters to be sung<br>[00:03.00]x"_qs, lyrics.clearCurrentLyrics());
        QSignalSpy changed(&lyrics, &LyricsController::screenChanged);
        lyrics.startTicking();
        QTest::qWait(800);
        lyrics.stopTicking();
        QVERIFY2(reads <= 8 * 3 + 4, qPrintable(QString::number(reads)));
        QVERIFY(changed.size() >= 6); // the wipe still moves on most tenths
    }

    void sleepsWhilePausedUntilWoken()
    {
        LyricsController lyrics;
        bool playing = false;
        int reads = 0;
        lyrics.setClock([&] {
            ++reads;
            return PlaybackClock {playing, 5.0, 100};
        });
        lyrics.startTicking();
        QTest::qWait(150);
        QCOMPARE(reads, 1);
        QCOMPARE(lyrics.nextBeatMs(), 0);
        QVERIFY(lyrics.isTicking());
        playing = true;
        lyrics.wake();
        QTRY_VERIFY_WITH_TIMEOUT(reads >= 3, 2000);
        QCOMPARE(lyrics.screen().readout, u"00:05"_qs);
    }

    void stopShowsWelcomeAndStartPositions()
    {
        LyricsController lyrics;
        lyrics.setMainGeometry(3000, [](const QString &t) { return int(t.size()) * 150; });
        lyrics.setClock([] { return PlaybackClock {true, 50, 100}; });
        lyrics.tick();
        QCOMPARE(lyrics.screen().mainKnobLeft, 5480 + 1635);
        lyrics.setReadout(u"[40%]"_qs);
        QCOMPARE(lyrics.screen().readout, u"[40%]"_qs);
        lyrics.resetAfterStop();
        QCOMPARE(lyrics.screen().readout, u"00:00"_qs);
        QCOMPARE(lyrics.screen().mainKnobLeft, 5480);
        QCOMPARE(lyrics.screen().main.baseWidth, int(kWelcomeLine.size()) * 150);
    }
};

QTEST_GUILESS_MAIN(LyricsControllerTest)
#include "tst_lyricscontroller.moc"
