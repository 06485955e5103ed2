#include "lyrics/lyricscontroller.h"

#include <QSignalSpy>
#include <QTest>

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
        QVERIFY(changed.size() >= 3);
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
