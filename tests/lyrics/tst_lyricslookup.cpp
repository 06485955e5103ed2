#include "core/pageformats.h"
#include "core/songrecord.h"
#include "lyrics/lyricslookup.h"
#include "lyrics/lyricsupload.h"
#include "online/serverclient.h"
#include "support/cannedhttpserver.h"

#include <QHash>
#include <QNetworkAccessManager>
#include <QTest>
#include <QUrlQuery>

using namespace kivo;
using kivo::test::CannedHttpServer;

namespace {

// Playlist songs 10 (music id 500) and 11 (none); history songs: 20 with its own
// music id, 21 through playlist song 10, 22 with neither.
class FakeLibrary : public LyricsLibrary
{
public:
    std::optional<int> playlistSongMusicId(int id) override
    {
        ++lookups;
        static const QHash<int, int> rows {{10, 500}, {11, 0}};
        return rows.contains(id) ? std::optional<int>(rows.value(id)) : std::nullopt;
    }
    std::optional<HistorySong> historySong(int id) override
    {
        ++lookups;
        static const QHash<int, HistorySong> rows {{20, {700, 0}}, {21, {0, 10}}, {22, {0, 0}}};
        return rows.contains(id) ? std::optional<HistorySong>(rows.value(id)) : std::nullopt;
    }
    int lookups = 0;
};

// Runs a task to completion on the test's event loop (bounded).
template<typename T> T await(QCoro::Task<T> &&task, T fallback)
{
    std::optional<T> result;
    task.then([&](T value) { result = std::move(value); });
    (void)QTest::qWaitFor([&] { return result.has_value(); }, 10000);
    return result.value_or(fallback);
}

} // namespace

class LyricsLookupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        server = std::make_unique<CannedHttpServer>();
        QVERIFY(server->start());
        client = std::make_unique<ServerClient>(&network, server->baseUrl());
    }

    void musicId_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("musicId");
        QTest::newRow("catalogue song is its own id") << 42 << 2 << 42;
        QTest::newRow("playlist song") << 10 << 0 << 500;
        QTest::newRow("playlist song without id") << 11 << 0 << 0;
        QTest::newRow("playlist row missing") << 99 << 0 << 0;
        QTest::newRow("history song with own id") << 20 << 1 << 700;
        QTest::newRow("history song through its playlist song") << 21 << 1 << 500;
        QTest::newRow("history song with neither") << 22 << 1 << 0;
        QTest::newRow("search-service song") << 42 << 3 << 0;
        QTest::newRow("local file") << 5 << -3 << 0;
        QTest::newRow("no id") << 0 << 2 << 0;
    }
    void musicId()
    {
        QFETCH(int, id);
        QFETCH(int, kind);
        QFETCH(int, musicId);
        FakeLibrary library;
        QCOMPARE(MusicIdForEntry(id, kind, &library), musicId);
    }

    void fetchById_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("lyrics");
        QTest::newRow("data page") << HiddenDataPage::wrap(u"[00:01.00]你好<br>[00:02.00]b"_qs).toUtf8()
                                   << u"[00:01.00]你好<br>[00:02.00]b"_qs;
        QTest::newRow("page without body end") << QByteArray("no lyrics here") << QString();
    }
    void fetchById()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, lyrics);
        server->setAnswer(u"/softlrc.asp"_qs, {200, page, "text/html; charset=utf-8", false});
        QCOMPARE(await(FetchLyricsById(client.get(), 7), u"<none>"_qs), lyrics);
        QCOMPARE(server->requests(), QStringList {u"POST /softlrc.asp?id=7"_qs});
    }

    void entryPlayedTwiceFetchesOnce()
    {
        server->setAnswer(u"/softlrc.asp"_qs, {200, HiddenDataPage::wrap(u"[00:01.00]a<br>"_qs).toUtf8()});
        FakeLibrary library;
        QString entryLyrics; // the queue entry's cache
        for (int play = 0; play < 2; ++play)
            entryLyrics = await(ResolveEntryLyrics(client.get(), &library, 10, 0, entryLyrics, true), QString());
        QCOMPARE(entryLyrics, u"[00:01.00]a<br>"_qs);
        QCOMPARE(server->requests(), QStringList {u"POST /softlrc.asp?id=500"_qs});
        QCOMPARE(library.lookups, 1);
    }

    void noRequestWhenOffOrWithoutMusicId()
    {
        FakeLibrary library;
        QCOMPARE(await(ResolveEntryLyrics(client.get(), &library, 42, 2, QString(), false), u"x"_qs), QString());
        QCOMPARE(await(ResolveEntryLyrics(client.get(), &library, 11, 0, QString(), true), u"x"_qs), QString());
        QCOMPARE(
            await(ResolveEntryLyrics(client.get(), &library, 42, 2, u"cached"_qs, false), QString()), u"cached"_qs);
        QVERIFY(server->requests().isEmpty());
    }

    void lyricsSearch_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("word");
        QTest::newRow("server song searches its words") << u"12|||loc|||t|||歌手 歌名 |||2"_qs << u"歌手 歌名"_qs;
        QTest::newRow("id 0 searches the title") << u"0|||loc|||t|||words|||0"_qs << u"我的歌"_qs;
        QTest::newRow("blank words search the title") << u"12|||loc|||t||| |||2"_qs << u"我的歌"_qs;
        QTest::newRow("no number searches the title") << u"x|||loc|||t|||words|||2"_qs << u"我的歌"_qs;
    }
    void lyricsSearch()
    {
        QFETCH(QString, tag);
        QFETCH(QString, word);
        const WebTabRequest tab
            = LyricsSearchForRow(u"http://127.0.0.1:1/"_qs, u"我的歌"_qs, SongRecord::fromText(tag));
        QCOMPARE(tab.title, u"歌词:我的歌"_qs);
        QCOMPARE(tab.url, u"http://127.0.0.1:1/baidugc.asp?word="_qs + encodeQueryValue(word));
        QCOMPARE(QUrl(tab.url).query(QUrl::FullyDecoded), u"word="_qs + word);
        QStringList opened;
        ViewLyrics(tab, [&](const QString &url, const QString &title) { opened << url << title; });
        QCOMPARE(opened, (QStringList {tab.url, tab.title}));
    }

    void viewLyricsWithoutItemDoesNothing()
    {
        bool opened = false;
        ViewLyrics(
            LyricsSearchForRow(u"http://127.0.0.1:1/"_qs, QString(), SongRecord::fromText(u"12|||l|||t|||w|||2"_qs)),
            [&](const QString &, const QString &) { opened = true; });
        QVERIFY(!opened);
    }

    void addLyricsTarget_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("musicId"); // 0: nothing happens
        QTest::newRow("catalogue song") << u"31|||u|||u1|||w|||2"_qs << 31;
        QTest::newRow("playlist song") << u"31|||/m/a.mp3|||t|||w|||0"_qs << 0;
        QTest::newRow("history song") << u"31|||/m/a.mp3|||t|||w|||1"_qs << 0;
        QTest::newRow("search-service song") << u"31|||u|||u1|||w|||3"_qs << 0;
        QTest::newRow("catalogue song without id") << u"0|||u|||u1|||w|||2"_qs << 0;
        QTest::newRow("empty tag") << QString() << 0;
    }
    void addLyricsTarget()
    {
        QFETCH(QString, tag);
        QFETCH(int, musicId);
        QCOMPARE(AddLyricsTarget(SongRecord::fromText(tag)).value_or(0), musicId);
    }

    void uploadChecks_data()
    {
        QTest::addColumn<int>("musicId");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lrc");
        QTest::addColumn<UploadOutcome>("outcome");
        QTest::newRow("no song") << 0 << u"words"_qs << false << UploadOutcome::NoSong;
        QTest::newRow("blank text") << 5 << u" \n "_qs << false << UploadOutcome::EmptyText;
        QTest::newRow("lrc without colon") << 5 << u"[0001]a"_qs << true << UploadOutcome::BadLrcFormat;
        QTest::newRow("lrc without bracket") << 5 << u"00:01 a"_qs << true << UploadOutcome::BadLrcFormat;
        QTest::newRow("same text as plain lyrics") << 5 << u"[0001]a"_qs << false << UploadOutcome::Sent;
        QTest::newRow("lrc") << 5 << u"[00:01.00]a"_qs << true << UploadOutcome::Sent;
    }
    void uploadChecks()
    {
        QFETCH(int, musicId);
        QFETCH(QString, text);
        QFETCH(bool, lrc);
        QFETCH(UploadOutcome, outcome);
        QCOMPARE(checkLyricsUpload(musicId, text, lrc), outcome);
    }

    void upload_data()
    {
        QTest::addColumn<bool>("lrc");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<UploadOutcome>("outcome");
        QTest::newRow("plain, thanked") << false << QByteArray("上传成功") << UploadOutcome::Sent;
        QTest::newRow("lrc, refused by the server") << true << QByteArray("失败") << UploadOutcome::Failed;
        QTest::newRow("no answer") << true << QByteArray() << UploadOutcome::Failed;
    }
    void upload()
    {
        QFETCH(bool, lrc);
        QFETCH(QByteArray, answer);
        QFETCH(UploadOutcome, outcome);
        if (!answer.isEmpty())
            server->setAnswer(u"/kxrjgc.asp"_qs, {200, answer});
        QStringList busy;
        const QString text = u" [00:01.00]a & b\r\n[00:02.00]c\nd "_qs;
        const UploadOutcome got
            = await(UploadLyrics(
                        client.get(), 9, text, lrc, [&](const QString &t) { busy << t; }, [&] { busy << u"hide"_qs; }),
                UploadOutcome::NoSong);
        QCOMPARE(got, outcome);
        QCOMPARE(busy, (QStringList {UploadTexts::kBusy, u"hide"_qs}));
        QCOMPARE(server->requests().size(), 1);
        const QUrlQuery query(QUrl(server->requests().first().section(u' ', 1)).query());
        QCOMPARE(query.queryItemValue(u"id"_qs), u"9"_qs);
        QCOMPARE(query.queryItemValue(u"lx"_qs), lrc ? u"1"_qs : u"0"_qs);
        QCOMPARE(query.queryItemValue(u"content"_qs, QUrl::FullyDecoded), u"[00:01.00]a & b<br>[00:02.00]c<br>d"_qs);
    }

    void refusedUploadSendsNothing()
    {
        int busy = 0;
        QCOMPARE(await(UploadLyrics(
                           client.get(), 9, u"no tags"_qs, true, [&](const QString &) { ++busy; }, [&] { ++busy; }),
                     UploadOutcome::Sent),
            UploadOutcome::BadLrcFormat);
        QCOMPARE(busy, 0);
        QVERIFY(server->requests().isEmpty());
    }

private:
    QNetworkAccessManager network;
    std::unique_ptr<CannedHttpServer> server;
    std::unique_ptr<ServerClient> client;
};

QTEST_GUILESS_MAIN(LyricsLookupTest)
#include "tst_lyricslookup.moc"
