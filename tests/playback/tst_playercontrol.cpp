#include "playbackrig.h"

#include <QSignalSpy>
#include <QTest>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::Literals::StringLiterals;

class PlayerControlTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void watchdogGivesUp_data();
    void watchdogGivesUp();
    void bufferingEndRetriesBelow31_data();
    void bufferingEndRetriesBelow31();
    void errorRetriesNextCandidate();
    void overtakenStartHandsNothingOver();
    void reportsOfReplacedLoadAreDropped();
    void playingWorkRunsOncePerLoad();
    void songStartIsAnnouncedOncePerStart();
    void newLoadResetsTheTimeReadout();
    void playPauseButton_data();
    void playPauseButton();
    void stopResetsEverything();
    void transitioningLeavesFullScreen();
};

void PlayerControlTest::watchdogGivesUp_data()
{
    QTest::addColumn<int>("timeout");
    QTest::addColumn<bool>("buffering");
    QTest::addColumn<bool>("video");
    QTest::addColumn<int>("ticks"); // -1: never within 1000 ticks

    QTest::newRow("still locating, default time-out") << 26 << false << false << 52;
    QTest::newRow("buffering, default time-out") << 26 << true << false << 130;
    QTest::newRow("locating, 10 s") << 10 << false << false << 20;
    QTest::newRow("buffering, 10 s") << 10 << true << false << 50;
    QTest::newRow("slow video locating") << 26 << false << true << -1;
    QTest::newRow("slow video buffering") << 26 << true << true << -1;
}

void PlayerControlTest::watchdogGivesUp()
{
    QFETCH(int, timeout);
    QFETCH(bool, buffering);
    QFETCH(bool, video);
    QFETCH(int, ticks);
    PlaybackRig rig;
    rig.fill(2);
    rig.control.setLoadTimeoutSeconds(timeout);
    rig.player.PlayEntry(0, false);
    rig.engine.setMediaKind(video ? MediaKind::Video : MediaKind::Audio);
    rig.engine.reportState(PlayState::Transitioning);
    QCOMPARE(rig.control.statusText(), u"查找定位:s0"_s);
    QCOMPARE(rig.control.playButtonState(), PlayButtonState::Opening);
    if (buffering) {
        rig.engine.reportState(PlayState::Buffering);
        QCOMPARE(rig.control.statusText(), u"正在加载:s0"_s);
        rig.engine.setBufferingProgress(40);
    }
    int count = 0;
    QString lastPosition;
    while (rig.control.watchdog().isRunning() && count < 1000) {
        rig.control.watchdogTick();
        ++count;
        if (buffering && !video && rig.control.watchdog().isRunning()) {
            QCOMPARE(rig.control.statusText(), u"正在载入(40%)"_s);
            QCOMPARE(rig.control.positionText(), u"[%1%]"_s.arg(count * 100 / (timeout * 5)));
        }
    }
    if (ticks < 0) {
        QCOMPARE(count, 1000);
        QVERIFY(rig.control.watchdog().count() < 5 * timeout);
        QVERIFY(!rig.player.pendingPlay().failed);
        return;
    }
    QCOMPARE(count, ticks);
    if (buffering)
        QCOMPARE(rig.control.positionText(), u"[100%]"_s);
    QVERIFY(rig.player.pendingPlay().failed);
    // Retried with its address dropped: no candidate left, so the advance is armed.
    QVERIFY(rig.queue.at(0).locator.isEmpty());
    QVERIFY(rig.player.isAdvanceArmed());
}

void PlayerControlTest::bufferingEndRetriesBelow31_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("retried");
    QTest::newRow("30 % retried") << 30 << true;
    QTest::newRow("31 % accepted") << 31 << false;
    QTest::newRow("0 % retried") << 0 << true;
    QTest::newRow("100 % accepted") << 100 << false;
}

void PlayerControlTest::bufferingEndRetriesBelow31()
{
    QFETCH(int, percent);
    QFETCH(bool, retried);
    PlaybackRig rig;
    rig.server.payloads[u"word=w"_s] = u"lead<br>http://a/1.mp3<br>http://a/2.mp3<br>"_s;
    rig.player.AddSongToQueue(pageRow(u"歌"_s, u"5||||||s|||w|||3"_s));
    rig.player.PlayEntry(1, false);
    QCOMPARE(rig.engine.urls, QStringList {u"http://a/1.mp3"_s});
    QSignalSpy ads(&rig.control, &PlayerControl::advertisingPageRequested);
    rig.engine.reportState(PlayState::Transitioning);
    rig.engine.reportBuffering(true, 12);
    QCOMPARE(rig.control.statusText(), u"正在载入(12%)"_s);
    QCOMPARE(ads.size(), 1);
    QCOMPARE(ads.first().first().toString(), u"webgg.asp"_s);
    rig.engine.reportBuffering(false, percent);
    if (retried) {
        QCOMPARE(rig.engine.urls, (QStringList {u"http://a/1.mp3"_s, u"http://a/2.mp3"_s}));
        QCOMPARE(rig.control.playButtonState(), PlayButtonState::Opening);
    } else {
        QCOMPARE(rig.engine.urls.size(), 1);
    }
}

void PlayerControlTest::errorRetriesNextCandidate()
{
    PlaybackRig rig;
    rig.server.payloads[u"word=w"_s] = u"lead<br>http://a/1.mp3<br>http://a/2.mp3<br>"_s;
    rig.player.PlaySongRow(pageRow(u"歌"_s, u"5||| http://dead/0.mp3 |||s|||w|||3"_s));
    rig.engine.reportError();
    QCOMPARE(rig.control.statusText(), u"重新定位:歌"_s);
    rig.engine.reportError();
    rig.engine.reportError();
    QCOMPARE(rig.engine.urls, (QStringList {u"http://dead/0.mp3"_s, u"http://a/1.mp3"_s, u"http://a/2.mp3"_s}));
    QCOMPARE(rig.server.requestsContaining(u"baiduurl.asp"_s).size(), 1);
    // Exhausted: nothing more to try, the entry is not searched again.
    QVERIFY(rig.player.isAdvanceArmed());
    QVERIFY(rig.queue.at(0).url2.isEmpty());
    QVERIFY(rig.queue.at(0).candidates.isEmpty());
}

void PlayerControlTest::overtakenStartHandsNothingOver()
{
    PlaybackRig rig;
    rig.fill(2);
    rig.queue.at(0).locator.clear();
    rig.queue.at(0).url2 = u"slow"_s;
    rig.server.payloads[u"word=slow"_s] = u"x<br>http://h/late.mp3<br>"_s;
    rig.server.hold = true;
    rig.player.PlayEntry(0, false); // waits for the search
    QVERIFY(rig.engine.urls.isEmpty());
    rig.server.hold = false;
    rig.player.PlayEntry(1, false); // the user chose another song meanwhile
    QCOMPARE(rig.engine.urls, QStringList {u"http://h/s1.mp3"_s});
    rig.server.release();
    QTRY_COMPARE_WITH_TIMEOUT(rig.server.answered, 1, 2000);
    QCOMPARE(rig.engine.urls, QStringList {u"http://h/s1.mp3"_s});
    QCOMPARE(rig.player.currentIndex(), 1);
    QVERIFY(!rig.player.isAdvanceArmed());
    // The overtaken search stored nothing into the entry either.
    QVERIFY(rig.queue.at(0).candidates.isEmpty());

    // A song starts while its lyrics are still on the way; lyrics that arrive after
    // another start are not shown.
    PlaybackRig second;
    second.fill(2);
    second.lyrics.hold = true;
    second.player.PlayEntry(0, false);
    QCOMPARE(second.engine.urls, QStringList {u"http://h/s0.mp3"_s});
    second.player.PlayEntry(1, false);
    QCOMPARE(second.engine.urls, (QStringList {u"http://h/s0.mp3"_s, u"http://h/s1.mp3"_s}));
    second.lyrics.release();
    QTRY_COMPARE_WITH_TIMEOUT(second.lyrics.answered, 2, 2000);
    QCOMPARE(second.lyrics.shown, QStringList {u"s1"_s});
}

void PlayerControlTest::reportsOfReplacedLoadAreDropped()
{
    PlaybackRig rig;
    rig.fill(3);
    rig.player.PlayEntry(0, false);
    const LoadId first = rig.engine.currentLoad();
    rig.player.PlayEntry(2, false);
    rig.engine.reportStateOf(first, PlayState::Playing);
    rig.engine.reportStateOf(first, PlayState::Stopped);
    Q_EMIT rig.engine.errorOccurred(first, u"loading failed"_s);
    Q_EMIT rig.engine.buffering(false, 0, first);
    QVERIFY(!rig.player.isAdvanceArmed());
    QVERIFY(rig.library.history.isEmpty());
    QCOMPARE(rig.engine.urls.size(), 2);
    QCOMPARE(rig.control.statusText(), PlayerControl::welcomeText());
}

void PlayerControlTest::playingWorkRunsOncePerLoad()
{
    PlaybackRig rig;
    rig.library.rows[9] = PlaylistSongIds {88, 0};
    rig.server.payloads[u"word=w"_s] = u"x<br>http://a/1.mp3<br>"_s;
    rig.player.PlaySongRow(pageRow(u"歌"_s, u"9||||||u1|||w|||0|||0|||0"_s));
    QSignalSpy days(&rig.control, &PlayerControl::historyDayAdded);
    rig.playCurrent();
    QCOMPARE(rig.control.statusText(), u"歌"_s);
    QVERIFY(rig.control.lyricTimerEnabled());
    QCOMPARE(rig.queue.at(0).locator, u"http://a/1.mp3"_s);
    // Pause, resume, an underrun and its end: still one history row and one report.
    rig.engine.reportState(PlayState::Paused);
    rig.engine.reportState(PlayState::Playing);
    rig.engine.reportBuffering(true, 0);
    rig.engine.reportState(PlayState::Buffering);
    rig.engine.reportBuffering(false, 100);
    rig.engine.reportState(PlayState::Playing);
    // Each return to playing shows the title again and ends the load watchdog.
    QCOMPARE(rig.control.statusText(), u"歌"_s);
    QVERIFY(!rig.control.watchdog().isRunning());
    QCOMPARE(rig.library.history, QStringList {u"歌"_s});
    QCOMPARE(rig.library.stored, QStringList {u"9 http://a/1.mp3"_s});
    QCOMPARE(rig.server.requestsContaining(u"kxrjurl.asp"_s).size(), 1);
    QCOMPARE(days.size(), 1);
    QCOMPARE(days.first().at(0).toInt(), 7);

    // A history song is not recorded again; with history off nothing is recorded.
    PlaybackRig history;
    history.player.PlaySongRow(pageRow(u"旧"_s, u"3|||/m/a.mp3|||||||||1|||0|||0"_s));
    history.playCurrent();
    QVERIFY(history.library.history.isEmpty());
    PlaybackRig off;
    off.control.setHistoryEnabled(false);
    off.fill(1);
    off.player.PlayEntry(0, false);
    off.playCurrent();
    QVERIFY(off.library.history.isEmpty());
}

void PlayerControlTest::songStartIsAnnouncedOncePerStart()
{
    PlaybackRig rig;
    rig.server.payloads[u"word=w"_s] = u"x<br>http://a/1.mp3<br>http://a/2.mp3<br>http://a/3.mp3<br>"_s;
    QSignalSpy started(&rig.control, &PlayerControl::songStarted);
    rig.player.PlaySongRow(pageRow(u"歌"_s, u"7|||||||||w+林海风|||3"_s));
    // The first candidate fails before it plays: nothing said yet.
    rig.engine.reportState(PlayState::Transitioning);
    rig.engine.reportError();
    QTRY_COMPARE(rig.engine.urls.size(), 2);
    QVERIFY(started.isEmpty());
    rig.playCurrent();
    QCOMPARE(started.size(), 1);
    QCOMPARE(started.first(), (QVariantList {u"歌"_s, u"林海风"_s}));
    // Pause and resume, a stale report of the failed load, and a retry after it had
    // played: still the one announcement.
    rig.engine.reportState(PlayState::Paused);
    rig.engine.reportState(PlayState::Playing);
    rig.engine.reportStateOf(1, PlayState::Playing);
    rig.engine.reportError();
    QTRY_COMPARE(rig.engine.urls.size(), 3);
    rig.playCurrent();
    QCOMPARE(started.size(), 1);
    // The same song started again is a new start.
    rig.player.PlayEntry(0, false);
    rig.playCurrent();
    QCOMPARE(started.size(), 2);
}

void PlayerControlTest::newLoadResetsTheTimeReadout()
{
    PlaybackRig rig;
    rig.fill(2);
    rig.queue.at(1).locator.clear();
    rig.queue.at(1).url2 = u"w"_s;
    rig.player.PlayEntry(0, false);
    rig.playCurrent();
    QVERIFY(rig.control.lyricTimerEnabled());
    // The next song's address is being searched for: the old song's time is gone.
    rig.server.hold = true;
    rig.player.PlayEntry(1, false);
    QVERIFY(!rig.control.lyricTimerEnabled());
    QCOMPARE(rig.control.positionText(), u"00:00"_s);
    rig.server.release();
}

void PlayerControlTest::playPauseButton_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("engineState");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("after");
    QTest::newRow("opening, not playing yet") << 2 << 9 << QString() << 2;
    QTest::newRow("opening, playing: pause") << 2 << 3 << u"pause"_s << 1;
    QTest::newRow("resumed, playing: pause") << 3 << 3 << u"pause"_s << 1;
    QTest::newRow("paused: resume") << 1 << 2 << u"play"_s << 3;
}

void PlayerControlTest::playPauseButton()
{
    QFETCH(int, button);
    QFETCH(int, engineState);
    QFETCH(QString, call);
    QFETCH(int, after);
    PlaybackRig rig;
    rig.fill(1);
    rig.player.PlayEntry(0, false);
    rig.engine.reportState(PlayState::Transitioning);
    rig.engine.reportState(PlayState::Playing);
    if (button == 1) {
        rig.press(PlayerCommand::PlayPause);
    } else if (button == 3) {
        rig.press(PlayerCommand::PlayPause);
        rig.engine.setState(PlayState::Paused);
        rig.press(PlayerCommand::PlayPause);
    } else {
        rig.engine.reportState(PlayState::Transitioning);
    }
    QCOMPARE(int(rig.control.playButtonState()), button);
    rig.engine.setState(PlayState(engineState));
    rig.engine.calls.clear();
    rig.press(PlayerCommand::PlayPause);
    QCOMPARE(rig.engine.calls, call.isEmpty() ? QStringList {} : QStringList {call});
    QCOMPARE(int(rig.control.playButtonState()), after);
}

void PlayerControlTest::stopResetsEverything()
{
    PlaybackRig rig;
    rig.fill(2);
    QSignalSpy stopped(&rig.control, &PlayerControl::stopped);
    rig.player.PlayEntry(0, false);
    rig.engine.reportState(PlayState::Transitioning);
    rig.player.armAdvance();
    rig.press(PlayerCommand::Stop);
    QCOMPARE(rig.engine.calls.last(), u"stop"_s);
    QVERIFY(!rig.control.watchdog().isRunning());
    QVERIFY(!rig.player.isAdvanceArmed());
    QVERIFY(!rig.control.lyricTimerEnabled());
    QCOMPARE(rig.control.statusText(), u"Kivo欢迎您，祝您愉快。"_s);
    QCOMPARE(rig.control.positionText(), u"00:00"_s);
    QCOMPARE(rig.control.playButtonState(), PlayButtonState::Idle);
    QCOMPARE(stopped.size(), 1);

    rig.press(PlayerCommand::Mute);
    QVERIFY(rig.engine.isMuted());
    rig.press(PlayerCommand::Mute);
    QVERIFY(!rig.engine.isMuted());
}

void PlayerControlTest::transitioningLeavesFullScreen()
{
    PlaybackRig rig;
    rig.fill(1);
    rig.engine.setFullScreen(true);
    rig.player.PlayEntry(0, false);
    rig.engine.reportState(PlayState::Transitioning);
    QVERIFY(!rig.engine.isFullScreen());

    QSignalSpy shown(&rig.control, &PlayerControl::videoShown);
    rig.engine.setMediaKind(MediaKind::Video);
    rig.engine.reportState(PlayState::Playing);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().first().toString(), u"s0视频显示"_s);
    rig.engine.setMediaKind(MediaKind::Audio);
    rig.press(PlayerCommand::ShowVideo);
    QCOMPARE(shown.size(), 1);
}

QTEST_GUILESS_MAIN(PlayerControlTest)
#include "moc_playbackrig.cpp"
#include "tst_playercontrol.moc"
