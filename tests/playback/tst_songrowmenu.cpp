#include "playback/playqueue.h"
#include "playback/songrowmenu.h"
#include "playbackrig.h"

#include <QTest>

using namespace kivo;
using namespace Qt::Literals::StringLiterals;

// Expected menu as a string of item letters that are visible: P add to playlist,
// Q add to queue, R remove, D download, F dedicate, O open local, L add lyrics,
// N rename (lower-case n: shown but disabled); "-" no popup, "M" download manager.
static QString describe(const SongRowMenuPlan &plan)
{
    using Popup = SongRowMenuPlan::Popup;
    if (plan.popup == Popup::None)
        return u"-"_s;
    if (plan.popup == Popup::DownloadManager)
        return u"M"_s;
    QString s;
    s += plan.addToPlaylist ? u"P"_s : QString();
    s += plan.addToQueue ? u"Q"_s : QString();
    s += plan.removeFromList ? u"R"_s : QString();
    s += plan.download ? u"D"_s : QString();
    s += plan.dedicate ? u"F"_s : QString();
    s += plan.openLocal ? u"O"_s : QString();
    s += plan.addLyrics ? u"L"_s : QString();
    if (plan.rename)
        s += plan.renameEnabled ? u"N"_s : u"n"_s;
    return s;
}

class SongRowMenuTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void plan_data();
    void plan();
};

void SongRowMenuTest::plan_data()
{
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<SongRowRef>("row");
    QTest::addColumn<QString>("expected");
    const SongRowRef download {SongPageKind::Downloads, 1, 0, u"歌"_s, DownloadEntryRef {0, {}, {}, {}}};
    SongRowRef downloading = download;
    downloading.downloading = true;

    QTest::newRow("left button") << false << true << test::pageRow(u"歌"_s, u"1|||/a.mp3||||||0"_s) << u"-"_s;
    QTest::newRow("not selected") << true << false << test::pageRow(u"歌"_s, u"1|||/a.mp3||||||0"_s) << u"-"_s;
    QTest::newRow("empty row") << true << true << test::pageRow(QString(), u"1|||/a.mp3||||||0"_s) << u"-"_s;
    QTest::newRow("download page") << true << true << download << u"M"_s;
    QTest::newRow("download page while downloading") << true << true << downloading << u"-"_s;
    QTest::newRow("playlist song, local without search text")
        << true << true << test::pageRow(u"歌"_s, u"1|||/a.mp3|||||| |||0"_s) << u"QRON"_s;
    QTest::newRow("playlist song, network")
        << true << true << test::pageRow(u"歌"_s, u"1|||http://h/a.mp3|||||||||0"_s) << u"QRDFON"_s;
    QTest::newRow("history song, local without search text")
        << true << true << test::pageRow(u"歌"_s, u"1|||/a.mp3|||||||||1"_s) << u"PQRn"_s;
    QTest::newRow("history song with search text")
        << true << true << test::pageRow(u"歌"_s, u"1|||/a.mp3||||||词|||1"_s) << u"PQRDFn"_s;
    QTest::newRow("catalogue music id") << true << true << test::pageRow(u"歌"_s, u"5|||http://h/a|||x|||y|||2"_s)
                                        << u"PQDFL"_s;
    QTest::newRow("catalogue search id") << true << true << test::pageRow(u"歌"_s, u"5|||||||||y|||3"_s) << u"PQDF"_s;
    QTest::newRow("now playing, local file") << true << true << test::nowPlayingRow(u"歌"_s, 0) << u"PRO"_s;
    QTest::newRow("now playing, searchable") << true << true << test::nowPlayingRow(u"歌"_s, 1) << u"PRDFO"_s;
}

void SongRowMenuTest::plan()
{
    QFETCH(bool, right);
    QFETCH(bool, selected);
    QFETCH(SongRowRef, row);
    QFETCH(QString, expected);
    PlayQueue queue;
    QueueEntry local;
    local.title = u"a"_s;
    local.locator = u"/m/a.mp3"_s;
    queue.replace(0, local);
    QueueEntry searchable = local;
    searchable.url2 = u"词"_s;
    queue.append(searchable);
    QCOMPARE(describe(planSongRowMenu(right, selected, row, queue)), expected);
}

QTEST_GUILESS_MAIN(SongRowMenuTest)
#include "moc_playbackrig.cpp"
#include "tst_songrowmenu.moc"
