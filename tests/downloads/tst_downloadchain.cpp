// Download runs against the demo server: a chain over several items with dead
// candidates, server faults on an item's address, cancelling, the daily counter
// in the library and the lyric file beside the song.

#include "downloads/downloadmanager.h"
#include "library/libraryfixture.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "playback/playqueue.h"
#include "shell/libraryaccess.h"
#include "support/demoserver.h"
#include "transfer/download.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;
using namespace std::chrono_literals;

namespace {

// Demo songs by number: the title is the search word; 1000 + number the music id.
struct DemoSong
{
    QString title;
    int number;
};
const DemoSong kSong3 {u"夜里的风"_qs, 3}; // no dead candidates
const DemoSong kSong6 {u"秋天的风"_qs, 6};
const DemoSong kSong9 {u"春天的歌"_qs, 9}; // a 404 before the good candidates
const DemoSong kSong47 {u"山上的梦"_qs, 47}; // dead candidates only: 404, silent port, web page
const DemoSong kUnknown {u"没有这首歌"_qs, 99}; // the search finds nothing

// One download list, its page and the folder it downloads into.
struct Rig
{
    Rig(ServerClient *server, DownloadLibrary *library = nullptr)
        : manager({server, library, nullptr, [this] { return limits; }, [this](qint32 n) { limits.todayCount = n; }})
    {
        manager.transfer()->setStallTimeout(1500ms); // the silent candidate gives up soon
        manager.setOptions({root.path(), true});
        QObject::connect(&page, &SongListModel::dataChanged, [this](const QModelIndex &i) {
            if (i.column() == DownloadManager::PercentColumn)
                percents << page.rowAt(i.row()).cells.value(i.column());
        });
    }
    void queue(const DemoSong &song, const QString &locator)
    {
        SongRecord r;
        r.kind = SongKind::MusicId;
        r.id = QString::number(1000 + song.number);
        r.url = locator;
        r.url2 = song.title;
        QVERIFY(manager.QueueSong(SongRowRef {SongPageKind::Catalogue, 1, 0, song.title, r}, nowPlaying)
            == DownloadManager::QueueOutcome::Queued);
    }
    void openPage() { page.setRows(LibraryTree::downloadRows(manager.pageItems())); }
    bool run(int row = 0, int timeoutMs = 30000)
    {
        return manager.StartDownloads(&page, row)
            && QTest::qWaitFor([this] { return !manager.isRunning(); }, timeoutMs);
    }
    QStringList columns(int row) const { return page.rowAt(row).cells; }
    QStringList files() const { return QDir(root.filePath(u"KivoDownload"_qs)).entryList(QDir::Files, QDir::Name); }
    QByteArray bytes(const QString &name) const
    {
        QFile f(root.filePath(u"KivoDownload/"_qs + name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    DownloadLimits limits;
    PlayQueue nowPlaying;
    QTemporaryDir root;
    DownloadManager manager;
    SongListModel page {SongPageKind::Downloads};
    QStringList percents; // every text the percent column showed
};

} // namespace

class DownloadChainTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DemoServer> m_demo;
    QNetworkAccessManager m_nam;
    std::unique_ptr<ServerClient> m_server;

    QString media(int number) const { return m_demo->baseUrl() + u"media/songs/%1.mp3"_qs.arg(1000 + number); }
    QByteArray mediaBytes(int number) const
    {
        return m_demo->request("GET", "/media/songs/" + QByteArray::number(1000 + number) + ".mp3").body;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_demo = std::make_unique<test::DemoServer>();
        QVERIFY2(m_demo->isRunning(), qPrintable(m_demo->error()));
        m_server = std::make_unique<ServerClient>(&m_nam, m_demo->baseUrl());
    }
    void init() { QVERIFY(m_demo->reset()); }

    void chainOverDeadCandidates()
    {
        Rig rig(m_server.get());
        rig.limits.lyrics = true;
        rig.queue(kSong9, QString()); // found after a 404
        rig.queue(kSong47, QString()); // nothing works: keeps its columns
        rig.queue(kSong6, media(6)); // its own address
        rig.queue(kSong6, media(6)); // the same title again: numbered
        rig.openPage();
        QVERIFY(rig.run());

        QCOMPARE(rig.columns(0).value(3), u"100%"_qs);
        QCOMPARE(rig.columns(0).value(2), rig.columns(0).value(1)); // "已下载" is the size
        QCOMPARE(rig.columns(1).value(2), u"3/4"_qs); // the web page, the last candidate tried
        QCOMPARE(rig.columns(1).value(3), QString());
        QCOMPARE(rig.columns(3).value(3), u"100%"_qs);

        QCOMPARE(rig.files(),
            (QStringList {u"春天的歌.lrc"_qs, u"春天的歌.mp3"_qs, u"秋天的风.lrc"_qs, u"秋天的风.mp3"_qs,
                u"秋天的风_0.lrc"_qs, u"秋天的风_0.mp3"_qs}));
        QCOMPARE(rig.bytes(u"秋天的风_0.mp3"_qs), mediaBytes(6));
        const QString lyric = QString::fromUtf8(rig.bytes(u"春天的歌.lrc"_qs));
        QVERIFY(lyric.startsWith(u"[ti:春天的歌]\r\n"_qs));
        QVERIFY(lyric.endsWith(u"\r\n"_qs) && !lyric.contains(u"<br>"_qs));
        // Done items leave the list; the one that failed stays for another try.
        QCOMPARE(rig.manager.queue().entries().first().task.title, kSong47.title);
        QCOMPARE(rig.limits.todayCount, 3); // no counter row: counted for this run
    }

    // An address that fails in any way gives way to the search; when the search finds
    // nothing the item keeps its columns. Never "100%" for a file that is not whole.
    void serverFaults_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *fault : {"reset", "truncate", "500", "stall", "noise", "page"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }
    void serverFaults()
    {
        QFETCH(QString, fault);
        QVERIFY(m_demo->setFault(u"/files/300000.bin"_qs, fault));
        Rig rig(m_server.get());
        const QString faulty = m_demo->baseUrl() + u"files/300000.bin"_qs;
        rig.queue(kUnknown, faulty);
        rig.queue(kSong3, faulty);
        rig.openPage();
        QVERIFY(rig.run());

        QVERIFY(rig.columns(0).value(3) != u"100%"_qs);
        QCOMPARE(rig.columns(1).value(3), u"100%"_qs);
        QCOMPARE(rig.percents.count(u"100%"_qs), 1);
        QCOMPARE(rig.files(), QStringList {u"夜里的风.mp3"_qs});
        QCOMPARE(rig.bytes(u"夜里的风.mp3"_qs), mediaBytes(3));
    }

    // A whole body that cannot be put under its name is not done: at most "99%".
    void bodyThatCannotBeSavedIsNotDone()
    {
        Rig rig(m_server.get());
        rig.manager.setOptions({rig.root.path(), false});
        QVERIFY(QDir(rig.root.path()).mkpath(u"KivoDownload/秋天的风.mp3"_qs));
        rig.queue(kSong6, media(6));
        rig.openPage();
        QVERIFY(rig.run());
        QVERIFY(rig.percents.contains(u"99%"_qs));
        QVERIFY(!rig.percents.contains(u"100%"_qs));
        QCOMPARE(rig.manager.queue().entries().size(), 1);
    }

    // Removing an entry while the run goes on takes that one only: the item being
    // downloaded still leaves the list when done, and the removed one is not fetched.
    void removalDuringARun()
    {
        Rig rig(m_server.get());
        rig.queue(kSong3, m_demo->baseUrl() + u"files/200000.bin?rate=200000"_qs);
        rig.queue(kSong9, media(9));
        rig.queue(kSong6, media(6));
        rig.openPage();
        QVERIFY(rig.manager.StartDownloads(&rig.page, 0));
        QVERIFY(rig.page.downloading());
        QVERIFY(!rig.manager.StartDownloads(&rig.page, 1)); // one run at a time
        QVERIFY(rig.manager.removeDownloadRecord(std::get<DownloadEntryRef>(rig.page.rowAt(1).data).entry));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.manager.isRunning(), 20000);
        QCOMPARE(rig.columns(0).value(3), u"100%"_qs);
        QCOMPARE(rig.columns(1), (QStringList {kSong9.title, {}, {}, {}}));
        QCOMPARE(rig.columns(2).value(3), u"100%"_qs);
        QVERIFY(rig.manager.queue().isEmpty());
    }

    void cancelEndsTheRun()
    {
        Rig rig(m_server.get());
        rig.queue(kSong3, m_demo->baseUrl() + u"files/2000000.bin?rate=100000"_qs);
        rig.queue(kSong6, media(6));
        rig.openPage();
        QVERIFY(rig.manager.StartDownloads(&rig.page, 0));
        QTRY_VERIFY_WITH_TIMEOUT(rig.columns(0).value(3).endsWith(u'%'), 10000);
        rig.manager.downclose();
        QVERIFY(!rig.manager.isRunning() && !rig.page.downloading());
        QCOMPARE(rig.columns(0).value(3), u"中止"_qs);
        QTest::qWait(300);
        QCOMPARE(rig.columns(1), (QStringList {kSong6.title, {}, {}, {}})); // the chain ended
        QCOMPARE(rig.files(), QStringList()); // no partial file
        QCOMPARE(rig.manager.queue().entries().size(), 2);
    }

    // The counter lives in the library's config row: the first download of a new day
    // counts 1; the daily limit ends a run before the next item.
    void dailyCounterAndLimit()
    {
        test::LibraryFixture f;
        QVERIFY(f.setUp());
        f.raw(u"INSERT INTO config (addtime, downday, content) VALUES ('2026-12-06 23:00:00', 7, '')"_qs);
        LibraryAccess access(f.db);
        Rig rig(m_server.get(), &access);
        rig.limits.serverDate = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
        rig.limits.todayCount = 0;
        rig.limits.daily = 1;
        rig.queue(kSong6, media(6));
        rig.queue(kSong3, media(3));
        rig.openPage();
        QSignalSpy messages(&rig.manager, &DownloadManager::message);
        QVERIFY(rig.run());
        QCOMPARE(rig.limits.todayCount, 1);
        QCOMPARE(f.db.configRow()->downday, 1);
        QVERIFY(f.db.configRow()->addedAt.startsWith(u"2026-12-07"_qs));
        QCOMPARE(rig.columns(1).value(3), QString());
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().first().value<DownloadMessage>().text(), u"错误：今天的下载次数已经达到上限：1。"_qs);

        rig.limits.daily = 2; // the last item may come; nothing after it is refused
        QVERIFY(rig.run(1));
        QCOMPARE(f.db.configRow()->downday, 2);
        QCOMPARE(rig.limits.todayCount, 2);
        QCOMPARE(messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(DownloadChainTest)
#include "tst_downloadchain.moc"
