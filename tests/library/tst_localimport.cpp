// The local import: which files the window takes, how they fill the queue, and what
// an import stores in a playlist of a real library file.
#include "core/mirrortext.h"
#include "library/localfiles.h"
#include "library/localimport.h"
#include "libraryfixture.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

using namespace kivo;

namespace {

// The queue as titles, entry 0 first; the empty state is no titles.
struct FakeQueue : ImportQueuePort
{
    QStringList titles;
    bool hasSongs() const override { return !titles.isEmpty(); }
    void replaceQueue(const QList<ImportItem> &items) override
    {
        titles.clear();
        appendToQueue(items);
    }
    void appendToQueue(const QList<ImportItem> &items) override
    {
        for (const ImportItem &i : items)
            titles.append(i.title);
    }
};

QStringList numbered(const QString &prefix, int n)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out.append(prefix + QString::number(i));
    return out;
}

bool touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

} // namespace

class LocalImportTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fillsTheQueue_data()
    {
        QTest::addColumn<QStringList>("queue");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("append");
        QTest::addColumn<QStringList>("expected");
        const QStringList ten = numbered(u"q"_qs, 10);
        QTest::newRow("three replace ten")
            << ten << QList<int> {4, 0, 2} << false << false << QStringList {u"f0"_qs, u"f2"_qs, u"f4"_qs};
        QTest::newRow("append to an empty queue starts at 0")
            << QStringList {} << QList<int> {1} << false << true << QStringList {u"f1"_qs};
        QTest::newRow("append after the songs")
            << QStringList {u"q0"_qs} << QList<int> {3} << false << true << QStringList {u"q0"_qs, u"f3"_qs};
        QTest::newRow("open all with one selected") << ten << QList<int> {2} << true << false << numbered(u"f"_qs, 5);
        QTest::newRow("open all without a selection") << ten << QList<int> {} << true << false << ten;
    }
    void fillsTheQueue()
    {
        QFETCH(QStringList, queue);
        QFETCH(QList<int>, selected);
        QFETCH(bool, all);
        QFETCH(bool, append);
        QFETCH(QStringList, expected);
        FakeQueue port;
        port.titles = queue;
        QList<ImportItem> items;
        for (const QString &file : chosenImportFiles(numbered(u"f"_qs, 5), selected, all))
            items.append(ImportItem::localFile(u"/music/"_qs + file));
        importIntoQueue(port, items, append);
        QCOMPARE(port.titles, expected);
    }

    void filtersAndCollectsDroppedFolders()
    {
        QTemporaryDir dir;
        for (const char *name : {"b/二.FLAC", "b/c/三.Mp3", "一.wma", "notes.txt", "b/cover.jpg", "x.opus"})
            QVERIFY(touch(dir.filePath(QString::fromUtf8(name))));
        QCOMPARE(playableFilesIn(dir.path()), (QStringList {u"x.opus"_qs, u"一.wma"_qs}));
        const QStringList got = collectPlayableFiles({dir.filePath(u"b"_qs), dir.filePath(u"一.wma"_qs),
            dir.filePath(u"notes.txt"_qs), dir.filePath(u"b/二.FLAC"_qs)});
        QCOMPARE(got,
            (QStringList {dir.filePath(u"b/c/三.Mp3"_qs), dir.filePath(u"b/二.FLAC"_qs), dir.filePath(u"一.wma"_qs)}));
    }

    // Stored once per path anywhere in the library, mirrored, titled by the file name.
    void storesEachPathOnce()
    {
        test::LibraryFixture lib;
        QVERIFY(lib.setUp());
        const int first = lib.db.addPlaylist(u"一"_qs).id;
        const int second = lib.db.addPlaylist(u"二"_qs).id;
        const QString song = u"/home/听/歌手 - 'n' 歌.mp3"_qs;
        const QList<ImportItem> items {ImportItem::localFile(song), ImportItem::localFile(song),
            {u"电台"_qs, u"http://radio.example/live"_qs, QString()}};
        PlaylistImportOutcome outcome = importIntoPlaylist(lib.path, first, items);
        QVERIFY(outcome.stored());
        QCOMPARE(outcome.added, 2);
        QCOMPARE(lib.raw(u"SELECT url FROM list WHERE title = ?"_qs, {u"歌手 - 'n' 歌.mp3"_qs}).toString(),
            MirrorText(song));
        QCOMPARE(lib.raw(u"SELECT url2 FROM list WHERE url <> ''"_qs).toString(), u"歌手 - 'n' 歌.mp3"_qs);

        // The same path for another playlist, and the same address again for this one.
        QVERIFY(importIntoPlaylist(lib.path, second, {items.first()}).stored());
        outcome = importIntoPlaylist(lib.path, first, {items.last()});
        QCOMPARE(outcome.skipped, 1);
        QCOMPARE(lib.count(u"list"_qs), 2);
    }

    void writesNothingForAGonePlaylistOrACancel()
    {
        test::LibraryFixture lib;
        QVERIFY(lib.setUp());
        const int id = lib.db.addPlaylist(u"将删"_qs).id;
        QVERIFY(lib.db.deletePlaylist(id));
        const QList<ImportItem> items {ImportItem::localFile(u"/m/a.mp3"_qs)};
        const PlaylistImportOutcome gone = importIntoPlaylist(lib.path, id, items);
        QCOMPARE(gone.status, PlaylistImportOutcome::Status::PlaylistGone);
        QCOMPARE(gone.failureMessage(), u"操作失败：播放列表已经不存在。"_qs);

        const int kept = lib.db.addPlaylist(u"留"_qs).id;
        std::atomic<bool> cancelled {false};
        QList<ImportItem> many;
        for (const QString &name : numbered(u"/m/歌"_qs, 2000))
            many.append(ImportItem::localFile(name + u".mp3"_qs));
        const PlaylistImportOutcome stopped = importIntoPlaylist(lib.path, kept, many, &cancelled, [&](int done) {
            if (done >= 1000)
                cancelled = true;
        });
        QCOMPARE(stopped.status, PlaylistImportOutcome::Status::Cancelled);
        QCOMPARE(lib.count(u"list"_qs), 0);
    }

    void reportsOnItsOwnThread()
    {
        test::LibraryFixture lib;
        QVERIFY(lib.setUp());
        const int id = lib.db.addPlaylist(u"后台"_qs).id;
        BackgroundPlaylistImport job(lib.path, id, {ImportItem::localFile(u"/m/b.ogg"_qs)});
        QSignalSpy finished(&job, &BackgroundPlaylistImport::finished);
        job.start();
        QVERIFY(finished.wait(10000));
        QVERIFY(finished.first().first().value<PlaylistImportOutcome>().stored());
        QCOMPARE(lib.db.playlistPage(id).size(), 1);
    }
};

QTEST_GUILESS_MAIN(LocalImportTest)
#include "tst_localimport.moc"
