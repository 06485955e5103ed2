#include "playbackrig.h"

#include "playback/nowplayingmodel.h"
#include "playback/playbacksession.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::Literals::StringLiterals;

class PlayModesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void advanceAfterEnd_data();
    void advanceAfterEnd();
    void shuffleDraws_data();
    void shuffleDraws();
    void repeatOneOutOfRangeRearmsForOnePass();
    void stepPastEnds_data();
    void stepPastEnds();
    void unplayableQueueStopsAfterOnePass();
    void shuffleTriesEveryEntryBeforeStopping();
    void failedAddressNotRetriedByAdvance();
    void playButtonStartsTitledEntry_data();
    void playButtonStartsTitledEntry();
    void addSongToEmptyQueue();
    void playSongRowFillsEntryBeforeRequests_data();
    void playSongRowFillsEntryBeforeRequests();
    void treeListInIdOrderWithoutUntitled();
    void reloadRowSearchesAgain();
    void sessionBeforeAndAfterTheEngine();
    void openedFilesJoinTheQueueAndTheFirstPlays();
};

void PlayModesTest::advanceAfterEnd_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("playing");
    QTest::addColumn<QString>("expected"); // the song started next, empty: stopped

    QTest::newRow("sequential wraps to 0") << 2 << 4 << u"s0"_s;
    QTest::newRow("sequential moves on") << 2 << 1 << u"s2"_s;
    QTest::newRow("no repeat stops") << 0 << 2 << QString();
    QTest::newRow("repeat one replays") << 1 << 3 << u"s3"_s;
}

void PlayModesTest::advanceAfterEnd()
{
    QFETCH(int, mode);
    QFETCH(int, playing);
    QFETCH(QString, expected);
    PlaybackRig rig;
    rig.fill(5);
    rig.player.SetPlayMode(PlayMode(mode));
    rig.player.PlayEntry(playing, false);
    rig.endCurrent();
    QVERIFY(rig.advance());
    const qsizetype handedOver = rig.engine.urls.size();
    if (expected.isEmpty()) {
        QCOMPARE(handedOver, 1);
        QCOMPARE(rig.engine.calls.last(), u"stop"_s);
        QCOMPARE(rig.control.playButtonState(), PlayButtonState::Idle);
        QCOMPARE(rig.control.statusText(), PlayerControl::welcomeText());
    } else {
        QCOMPARE(handedOver, 2);
        QCOMPARE(rig.lastStarted(), expected);
    }
    QVERIFY(!rig.player.isAdvanceArmed());
}

void PlayModesTest::shuffleDraws_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<double>("draw");
    QTest::addColumn<QString>("expected");
    for (int i = 0; i < 5; ++i)
        QTest::addRow("five entries, draw %d", i) << 5 << (i / 5.0 + 0.01) << u"s%1"_s.arg(i);
    QTest::newRow("highest draw") << 5 << 0.999999 << u"s4"_s;
    QTest::newRow("single entry replayed") << 1 << 0.99 << u"s0"_s;
}

void PlayModesTest::shuffleDraws()
{
    QFETCH(int, entries);
    QFETCH(double, draw);
    QFETCH(QString, expected);
    PlaybackRig rig;
    rig.fill(entries);
    rig.player.SetPlayMode(PlayMode::Shuffle);
    rig.player.setRandomSource([draw] { return draw; });
    rig.player.PlayEntry(0, false);
    rig.endCurrent();
    QVERIFY(rig.advance());
    QCOMPARE(rig.engine.urls.size(), 2);
    QCOMPARE(rig.lastStarted(), expected);
}

void PlayModesTest::repeatOneOutOfRangeRearmsForOnePass()
{
    PlaybackRig rig;
    rig.fill(5);
    rig.player.SetPlayMode(PlayMode::RepeatOne);
    rig.player.setCurrentIndex(7);
    rig.player.PlayEntry(7, false);
    int rearmed = 0;
    while (rig.advance() && rearmed < 100)
        ++rearmed;
    // Re-armed on each attempt for one pass over the queue, then the player stops.
    QCOMPARE(rearmed, 5);
    QVERIFY(rig.engine.urls.isEmpty());
    QCOMPARE(rig.control.playButtonState(), PlayButtonState::Idle);
    QCOMPARE(rig.control.statusText(), PlayerControl::welcomeText());
}

void PlayModesTest::stepPastEnds_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("playing");
    QTest::addColumn<bool>("next");
    QTest::addColumn<QString>("expected");
    QTest::newRow("next on last, no repeat: stops") << 0 << 4 << true << QString();
    QTest::newRow("next on last, sequential: entry 0") << 2 << 4 << true << u"s0"_s;
    QTest::newRow("previous on 0, sequential: entry 0") << 2 << 0 << false << u"s0"_s;
    QTest::newRow("next in the middle ignores the mode") << 0 << 1 << true << u"s2"_s;
}

void PlayModesTest::stepPastEnds()
{
    QFETCH(int, mode);
    QFETCH(int, playing);
    QFETCH(bool, next);
    QFETCH(QString, expected);
    PlaybackRig rig;
    rig.fill(5);
    rig.player.SetPlayMode(PlayMode(mode));
    rig.player.PlayEntry(playing, false);
    rig.playCurrent();
    next ? rig.press(PlayerCommand::Next) : rig.press(PlayerCommand::Previous);
    rig.advance();
    if (expected.isEmpty()) {
        QCOMPARE(rig.engine.urls.size(), 1);
        QCOMPARE(rig.control.playButtonState(), PlayButtonState::Idle);
    } else {
        QCOMPARE(rig.engine.urls.size(), 2);
        QCOMPARE(rig.lastStarted(), expected);
    }
}

void PlayModesTest::unplayableQueueStopsAfterOnePass()
{
    PlaybackRig rig;
    rig.fill(3);
    for (int i = 0; i <= rig.queue.highest(); ++i)
        rig.queue.at(i).locator.clear();
    rig.player.SetPlayMode(PlayMode::Sequential);
    rig.press(PlayerCommand::PlayPause);
    int advances = 0;
    while (rig.advance() && advances < 100)
        ++advances;
    QCOMPARE(advances, 3);
    QVERIFY(rig.engine.urls.isEmpty());
    QCOMPARE(rig.control.playButtonState(), PlayButtonState::Idle);
}

// Shuffle draws entries again: it gives up only once every entry failed.
void PlayModesTest::shuffleTriesEveryEntryBeforeStopping()
{
    PlaybackRig rig;
    rig.fill(5);
    for (int i : {0, 1, 2, 4})
        rig.queue.at(i).locator.clear();
    rig.player.SetPlayMode(PlayMode::Shuffle);
    QList<int> draws;
    rig.player.setRandomSource([&draws] { return draws.isEmpty() ? 0.0 : (draws.takeFirst() + 0.5) / 5; });
    for (bool playable : {true, false}) {
        if (!playable)
            rig.queue.at(3).locator.clear();
        draws = {0, 1, 0, 1, 0, 1, 4, 4, 2, 3, 3};
        rig.player.PlayEntry(0, false);
        int advances = 0;
        while (rig.advance() && advances < 100)
            ++advances;
        // Entry 3, the last one drawn, plays; or the player stops right after it failed.
        QCOMPARE(advances, 10);
        QCOMPARE(rig.engine.urls.size(), 1);
    }
    QCOMPARE(rig.lastStarted(), u"s3"_s);
    QCOMPARE(rig.control.playButtonState(), PlayButtonState::Idle);
}

void PlayModesTest::failedAddressNotRetriedByAdvance()
{
    PlaybackRig rig;
    rig.fill(3);
    rig.control.setRetryOnTimeout(false);
    rig.player.SetPlayMode(PlayMode::RepeatOne);
    rig.player.PlayEntry(1, false);
    rig.engine.reportState(PlayState::Transitioning);
    rig.engine.setState(PlayState::Transitioning);
    for (int i = 0; i < 200 && rig.control.watchdog().isRunning(); ++i)
        rig.control.watchdogTick();
    QVERIFY(rig.player.pendingPlay().failed);
    QVERIFY(rig.advance());
    QCOMPARE(rig.engine.urls.size(), 1);
    QVERIFY(!rig.player.isAdvanceArmed());
    QVERIFY(!rig.player.pendingPlay().isSet());
}

void PlayModesTest::playButtonStartsTitledEntry_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("expected");
    QTest::newRow("above the highest") << 9 << u"s0"_s;
    QTest::newRow("below 0") << -1 << u"s0"_s;
    QTest::newRow("in range") << 2 << u"s2"_s;
    QTest::newRow("empty slot") << 1 << u"s0"_s;
}

void PlayModesTest::playButtonStartsTitledEntry()
{
    QFETCH(int, current);
    QFETCH(QString, expected);
    PlaybackRig rig;
    rig.fill(3);
    rig.queue.at(1).title.clear();
    rig.player.setCurrentIndex(current);
    rig.press(PlayerCommand::PlayPause);
    QCOMPARE(rig.engine.urls.size(), 1);
    QCOMPARE(rig.lastStarted(), expected);
    QCOMPARE(rig.player.currentIndex(), expected.mid(1).toInt());

    PlaybackRig empty;
    empty.press(PlayerCommand::PlayPause);
    QVERIFY(empty.engine.calls.isEmpty());
    QVERIFY(!empty.player.isAdvanceArmed());
}

void PlayModesTest::addSongToEmptyQueue()
{
    PlaybackRig rig;
    NowPlayingModel model(&rig.queue);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    rig.player.AddSongToQueue(std::nullopt);
    QCOMPARE(rig.queue.highest(), 0);
    rig.player.AddSongToQueue(pageRow(u"歌一"_s, u"11|||http://h/a.mp3||| |||x|||4"_s));
    QCOMPARE(rig.queue.highest(), 1);
    QVERIFY(rig.queue.at(0).title.isEmpty());
    QCOMPARE(rig.queue.at(1).title, u"歌一"_s);
    QVERIFY(rig.engine.calls.isEmpty());
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0).data().toString(), u"歌一"_s);
    QCOMPARE(model.index(0).data(NowPlayingModel::TagRole).toString(), u"1"_s);

    // A now-playing row plays its entry.
    rig.player.AddSongToQueue(nowPlayingRow(u"歌一"_s, 1));
    QCOMPARE(rig.engine.urls, QStringList {u"http://h/a.mp3"_s});
}

void PlayModesTest::playSongRowFillsEntryBeforeRequests_data()
{
    QTest::addColumn<SongRowRef>("row");
    QTest::addColumn<QString>("url2");
    QTest::addColumn<QString>("locator");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("notices");

    QTest::newRow("music id") << pageRow(u"歌"_s, u"42|||http://h/a.mp3||| 歌手 ||| 歌名 |||2"_s) << u"歌名+歌手"_s
                              << u"http://h/a.mp3"_s << 2 << QStringList {u"kxrjgq.asp?id=42&lx=2"_s};
    QTest::newRow("search id") << pageRow(u"歌"_s, u"43|||||| |||词|||3"_s) << u"词"_s << QString() << 3
                               << QStringList {u"kxrjgq.asp?id=43&lx=3"_s};
    QTest::newRow("other catalogue") << pageRow(u"歌"_s, u"44|||http://h/b.mp3|||x|||y|||5"_s) << QString()
                                     << u"http://h/b.mp3"_s << 5 << QStringList {};
    QTest::newRow("playlist song with both ids")
        << pageRow(u"歌"_s, u"9|||/m/a.mp3|||u1|||搜|||0|||77|||88"_s) << u"搜"_s << u"/m/a.mp3"_s << 0
        << QStringList {u"kxrjgq.asp?id=77&lx=3"_s, u"kxrjgq.asp?id=88&lx=2"_s};
    QTest::newRow("history song without ids")
        << pageRow(u"歌"_s, u"9|||/m/a.mp3|||||||||1|||0|||0"_s) << QString() << u"/m/a.mp3"_s << 1 << QStringList {};
    QTest::newRow("download page") << SongRowRef {SongPageKind::Downloads, 1, 0, u"歌"_s,
        DownloadEntryRef {0, u" /d/a.mp3 "_s, u" w "_s, {}}}
                                   << u"w"_s << u"/d/a.mp3"_s << -2 << QStringList {};
}

void PlayModesTest::playSongRowFillsEntryBeforeRequests()
{
    QFETCH(SongRowRef, row);
    QFETCH(QString, url2);
    QFETCH(QString, locator);
    QFETCH(int, kind);
    QFETCH(QStringList, notices);
    PlaybackRig rig;
    rig.fill(3);
    QStringList seenTitles;
    rig.server.onRequest = [&](const QString &) { seenTitles << rig.queue.at(0).title + rig.queue.at(0).locator; };
    rig.player.PlaySongRow(row);

    QCOMPARE(rig.queue.highest(), 0);
    const QueueEntry &e = rig.queue.at(0);
    QCOMPARE(e.title, u"歌"_s);
    QCOMPARE(e.url2, url2);
    QCOMPARE(e.locator, locator);
    QCOMPARE(int(e.kind), kind);
    QStringList sent;
    for (const QString &r : rig.server.requestsContaining(u"kxrjgq.asp"_s))
        sent << r.section(u"/"_s, -1);
    QCOMPARE(sent, notices);
    // Every request saw the entry already filled.
    for (const QString &seen : std::as_const(seenTitles))
        QCOMPARE(seen, u"歌"_s + locator);
    if (!locator.isEmpty())
        QCOMPARE(rig.engine.urls, QStringList {locator});
}

void PlayModesTest::treeListInIdOrderWithoutUntitled()
{
    PlaybackRig rig;
    rig.library.playlists[5] = {{30, u"c"_s, u"/m/c.mp3"_s, {}}, {10, u"a"_s, u"/m/a.mp3"_s, {}},
        {20, u""_s, u"/m/x.mp3"_s, {}}, {15, u"b"_s, {}, u"b 词"_s}};
    rig.player.PlayTreeList(PlaybackLibrary::ListKind::Playlist, 5);
    QCOMPARE(rig.queue.highest(), 2);
    QCOMPARE(rig.queue.at(0).title, u"a"_s);
    QCOMPARE(rig.queue.at(1).title, u"b"_s);
    QCOMPARE(rig.queue.at(2).title, u"c"_s);
    QCOMPARE(int(rig.queue.at(1).kind), 0);
    QCOMPARE(rig.engine.urls, QStringList {u"/m/a.mp3"_s});

    rig.library.days[2] = {{4, u"d"_s, u"/m/d.mp3"_s, {}}};
    rig.player.AppendTreeList(PlaybackLibrary::ListKind::HistoryDay, 2);
    QCOMPARE(rig.queue.highest(), 3);
    QCOMPARE(int(rig.queue.at(3).kind), 1);
    QCOMPARE(rig.engine.urls.size(), 1);

    PlaybackRig empty;
    empty.library.days[2] = rig.library.days[2];
    empty.player.AppendTreeList(PlaybackLibrary::ListKind::HistoryDay, 2);
    QCOMPARE(empty.queue.highest(), 0);
    QCOMPARE(empty.queue.at(0).title, u"d"_s);
    empty.player.PlayTreeList(PlaybackLibrary::ListKind::Playlist, 99);
    QVERIFY(!empty.queue.hasSongs());
    QVERIFY(empty.engine.urls.isEmpty());
}

void PlayModesTest::reloadRowSearchesAgain()
{
    PlaybackRig rig;
    rig.server.payloads[u"word="_s] = u"x<br>http://h/found.mp3<br>"_s;
    const SongRowData kept = rig.player.ReloadRow(pageRow(u"歌"_s, u"9|||/m/a.mp3|||u1|||搜|||0|||0|||0"_s));
    SongRecord expected = SongRecord::fromText(u"9|||/m/a.mp3|||u1|||搜|||0|||0|||0"_s);
    expected.locator.clear(); // the row keeps everything but its address
    QCOMPARE(std::get<SongRecord>(kept), expected);
    QCOMPARE(rig.engine.urls, QStringList {u"http://h/found.mp3"_s});

    const SongRowData same = rig.player.ReloadRow(nowPlayingRow(u"歌"_s, 0));
    QCOMPARE(std::get<QueueEntryNumber>(same).value, 0);
}

void PlayModesTest::sessionBeforeAndAfterTheEngine()
{
    FakeServer server;
    FakeLibrary library;
    CommandDispatcher commands;
    PlaybackSession session(&server, &library, nullptr, &commands);
    session.SetPlayMode(PlayMode::Sequential);
    QSignalSpy missing(&session, &PlaybackSession::engineMissing);
    // The queue takes songs before the engine is there; playing says there is none.
    session.player()->PlaySongRow(pageRow(u"a"_s, u"9|||/m/a.mp3|||a||||||0"_s));
    QCOMPARE(session.nowPlayingModel()->rowCount(), 1);
    QCOMPARE(missing.size(), 1);
    commands.dispatch(PlayerCommand::PlayPause);
    QCOMPARE(missing.size(), 2);

    auto *engine = new FakeMediaEngine;
    session.attachEngine(engine, false);
    QCOMPARE(session.player()->playMode(), PlayMode::Sequential);
    commands.dispatch(PlayerCommand::PlayPause);
    QCOMPARE(engine->urls, QStringList {u"/m/a.mp3"_s});

    // A start before the engine came brings it in.
    PlaybackSession early(&server, &library, nullptr, &commands);
    auto *late = new FakeMediaEngine;
    early.setEngineLoader([&] {
        early.attachEngine(late, false);
        return true;
    });
    early.player()->PlaySongRow(pageRow(u"b"_s, u"9|||/m/b.mp3|||b||||||0"_s));
    QCOMPARE(late->urls, QStringList {u"/m/b.mp3"_s});
}

QTEST_GUILESS_MAIN(PlayModesTest)
#include "moc_playbackrig.cpp"
#include "tst_playmodes.moc"

void PlayModesTest::openedFilesJoinTheQueueAndTheFirstPlays()
{
    // An empty queue: the files from entry 0; the first plays as a local file.
    PlaybackRig rig;
    rig.player.OpenLocalFiles({u"/m/a.mp3"_s, u"/m/b.flac"_s});
    QCOMPARE(rig.queue.highest(), 1);
    QCOMPARE(rig.queue.at(0).title, u"a.mp3"_s);
    QCOMPARE(rig.queue.at(0).kind, qint16(SongKind::ImportedFile));
    QCOMPARE(rig.engine.urls, QStringList {u"/m/a.mp3"_s});
    // A queue with songs keeps them; the first new one plays, and the modes walk on from it.
    rig.player.OpenLocalFiles({u"/m/c.mp3"_s, u"/m/d.mp3"_s});
    QCOMPARE(rig.queue.highest(), 3);
    QCOMPARE(rig.engine.urls.last(), u"/m/c.mp3"_s);
    rig.player.SetPlayMode(PlayMode::Sequential);
    rig.endCurrent();
    QVERIFY(rig.advance());
    QCOMPARE(rig.engine.urls.last(), u"/m/d.mp3"_s);
}
