// Queueing songs for download: what each kind of row queues, the queue limit and
// its messages.

#include "downloads/downloadmanager.h"
#include "downloads/songdownload.h"
#include "lyrics/lyricslookup.h"
#include "playback/playqueue.h"

#include <QSignalSpy>
#include <QTest>

using namespace kivo;

namespace {

class FakeLyricsLibrary : public LyricsLibrary
{
public:
    std::optional<int> playlistSongMusicId(int id) override
    {
        return id == 7 ? std::optional<int>(1007) : std::nullopt;
    }
    std::optional<HistorySong> historySong(int id) override
    {
        return id == 8 ? std::optional<HistorySong>({1008, 0}) : std::nullopt;
    }
};

SongRowRef catalogueRow(int kind, const QString &id = u"1005"_qs)
{
    SongRecord r;
    r.kind = kind;
    r.id = id;
    r.url = u"http://h/a.mp3 "_qs;
    r.url1 = u" 歌手 "_qs;
    r.url2 = u" 歌名 "_qs;
    return {SongPageKind::Catalogue, 1, 0, u"歌名"_qs, r};
}

SongRowRef libraryRow(int kind, const QString &baiduId, const QString &musicId)
{
    SongRecord r = SongRecord::fromText(u"12||| /m/a.mp3 |||歌名 ||| 搜索 |||"_qs + QString::number(kind) + u"|||"_qs
        + baiduId + u"|||"_qs + musicId + u"|||0"_qs);
    return {SongPageKind::Playlist, 1, 0, u"歌名"_qs, r};
}

SongRowRef nowPlayingRow(int entry)
{
    return {SongPageKind::NowPlaying, 1, 0, u"正在放"_qs, QueueEntryNumber {entry}};
}

} // namespace

class DownloadQueueTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rowsQueue_data()
    {
        QTest::addColumn<SongRowRef>("row");
        QTest::addColumn<QStringList>("fields"); // title, locator, search text [, lyrics id]
        QTest::addColumn<QString>("notice"); // "id lx", empty: none
        const QStringList catalogue {u"歌名"_qs, u"http://h/a.mp3"_qs};
        QTest::newRow("music id") << catalogueRow(2) << (catalogue + QStringList {u"歌名+歌手"_qs, u"1005"_qs})
                                  << u"1005 2"_qs;
        QTest::newRow("search id") << catalogueRow(3) << (catalogue + QStringList {u"歌名"_qs}) << u"1005 3"_qs;
        QTest::newRow("kind 5") << catalogueRow(5) << QStringList {u"歌名"_qs, {}, {}} << QString();
        const QStringList library {u"歌名"_qs, u"/m/a.mp3"_qs, u"搜索"_qs};
        QTest::newRow("playlist, search id first") << libraryRow(0, u"55"_qs, u"66"_qs) << library << u"55 3"_qs;
        QTest::newRow("history, music id")
            << libraryRow(1, u"0"_qs, u"66"_qs) << (library + QStringList {u"66"_qs}) << u"66 2"_qs;
        QTest::newRow("now playing, catalogue")
            << nowPlayingRow(0) << QStringList {u"正在放"_qs, u"http://h/n.mp3"_qs, u"n+m"_qs, u"2001"_qs} << QString();
        QTest::newRow("now playing, playlist")
            << nowPlayingRow(1) << QStringList {u"正在放"_qs, u"/m/p.mp3"_qs, QString(), u"1007"_qs} << QString();
        QTest::newRow("now playing, history")
            << nowPlayingRow(2) << QStringList {u"正在放"_qs, QString(), u"h"_qs, u"1008"_qs} << QString();
    }
    void rowsQueue()
    {
        QFETCH(SongRowRef, row);
        QFETCH(QStringList, fields);
        QFETCH(QString, notice);
        PlayQueue queue;
        queue.replace(0, {u"a"_qs, u" http://h/n.mp3 "_qs, u"n+m"_qs, 2001, SongKind::MusicId});
        queue.append({u"b"_qs, u"/m/p.mp3"_qs, QString(), 7, SongKind::Playlist});
        queue.append({u"c"_qs, QString(), u"h"_qs, 8, SongKind::History});
        FakeLyricsLibrary library;
        const std::optional<SongDownload> d = songDownloadForRow(row, queue, &library);
        QVERIFY(d);
        QCOMPARE(d->task.pageFields(), fields);
        QCOMPARE(d->notice ? u"%1 %2"_qs.arg(d->notice->id).arg(d->notice->lx) : QString(), notice);
    }

    void queueLimit_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("accepted");
        QTest::newRow("30 holds 31") << 30 << 31;
        QTest::newRow("0 is no limit") << 0 << 40;
    }
    void queueLimit()
    {
        QFETCH(int, limit);
        QFETCH(int, accepted);
        DownloadLimits limits;
        limits.maxQueued = qint16(limit);
        DownloadManager manager({nullptr, nullptr, nullptr, [&] { return limits; }, {}});
        QSignalSpy messages(&manager, &DownloadManager::message);
        PlayQueue nowPlaying;
        for (int i = 0; i < 40; ++i)
            manager.QueueSong(catalogueRow(5), nowPlaying);
        QCOMPARE(manager.queue().entries().size(), accepted);
        const auto text = [&](int i) { return messages.at(i).first().value<DownloadMessage>().text(); };
        QCOMPARE(text(0), u"添加下载歌曲成功。"_qs);
        QVERIFY(!messages.at(0).first().value<DownloadMessage>().isCritical());
        if (limit != 0) {
            QCOMPARE(text(accepted), u"错误：下载个数已经超过：%1。"_qs.arg(limit));
            QVERIFY(messages.at(accepted).first().value<DownloadMessage>().isCritical());
        }
        QCOMPARE(messages.size(), 40);
    }
};

QTEST_GUILESS_MAIN(DownloadQueueTest)
#include "tst_downloadqueue.moc"
