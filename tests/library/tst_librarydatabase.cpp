#include "core/mirrortext.h"
#include "library/librarypages.h"
#include "library/songlocator.h"
#include "libraryfixture.h"
#include "online/resultpages.h"
#include "shell/libraryaccess.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <QCoro/QCoroTask>

using namespace kivo;
using kivo::test::LibraryFixture;

namespace {
SongToStore song(const QString &title, const QString &locator = {}, int kind = 0, int id = 0, const QString &url2 = {})
{
    return SongToStore {title, locator, url2, kind, id};
}
QStringList titles(const QList<StoredSong> &rows)
{
    QStringList l;
    for (const StoredSong &s : rows)
        l << s.title;
    return l;
}
} // namespace

class LibraryDatabaseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hostileTextRoundTrips_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes and sql") << u"It's \"me\" & you; --"_qs;
        QTest::newRow("statement injection") << u"x'); DELETE FROM list; --"_qs;
        QTest::newRow("like wildcards") << u"100% _real_"_qs;
        QTest::newRow("separators") << u"a|||b㊣c㊣㊣<br>d"_qs;
        QTest::newRow("chinese") << u"月亮代表我的心"_qs;
        QTest::newRow("backslashes") << u"C:\\歌\\It's.mp3"_qs;
        QTest::newRow("outer spaces") << u"  padded  "_qs;
        QTest::newRow("long") << QString(5000, u'\'');
        // SQLite takes these as byte-order marks of the UTF-16 text Qt hands it.
        QTest::newRow("leading byte-order mark") << u"\uFEFF歌名"_qs;
        QTest::newRow("leading reversed byte-order mark") << u"\uFFFE歌名 ab"_qs;
    }
    void hostileTextRoundTrips()
    {
        QFETCH(QString, value);
        LibraryFixture f;
        QVERIFY(f.setUp());

        const InsertOutcome playlist = f.db.addPlaylist(value);
        QVERIFY(playlist.added());
        QCOMPARE(f.db.playlists().value(0).title, value);
        QCOMPARE(f.db.addPlaylist(value).kind, InsertOutcome::Kind::AlreadyPresent);
        QVERIFY(f.db.renamePlaylist(playlist.id, value + value));
        QCOMPARE(f.db.playlistsForChooser().value(0).title, value + value);

        const InsertOutcome local = f.db.addSongToPlaylist(playlist.id, song(value, value, 0, 0, value));
        QVERIFY(local.added());
        QCOMPARE(f.db.addSongToPlaylist(playlist.id, song(value)).kind, InsertOutcome::Kind::AlreadyPresent);
        const QString address = u"http://host/"_qs + value;
        QVERIFY(f.db.addSongToPlaylist(playlist.id, song(u"net"_qs, address)).added());
        const auto stored = f.db.playlistSong(local.id);
        QVERIFY(stored);
        QCOMPARE(stored->title, value);
        QCOMPARE(stored->url, value);
        QCOMPARE(stored->url2, value);
        QCOMPARE(f.db.playlistPage(playlist.id).value(0).url1, address);
        QVERIFY(f.db.renameSong(local.id, u"x"_qs + value));
        QCOMPARE(f.db.playlistSong(local.id)->title, u"x"_qs + value);

        QCOMPARE(f.db.findSongByPath(value), std::optional<int>(local.id));
        QCOMPARE(f.db.importLocalFile(playlist.id, value, value, value).kind, InsertOutcome::Kind::AlreadyPresent);

        const HistoryRecordOutcome played = f.db.recordPlay(song(value, value, 0, local.id, value), QDate(2020, 1, 2));
        QVERIFY(played.ok && played.songAdded);
        const auto history = f.db.historyPage(played.newDay->id);
        QCOMPARE(history.size(), 1);
        QCOMPARE(history[0].title, value);
        QCOMPARE(history[0].url, value);
        QCOMPARE(history[0].url2, value);

        QVERIFY(f.db.addCdAlbum(value, 7).added());
        QCOMPARE(f.db.cdAlbums().value(0).title, value);

        QVERIFY(f.db.saveSettingsContent(value));
        QCOMPARE(f.db.configRow()->content, value);
        QCOMPARE(f.count(u"list"_qs), 2);
    }

    void addressesAreStoredMirrored_data()
    {
        QTest::addColumn<QString>("locator");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("emptyColumn");
        QTest::newRow("local path") << u"C:\\music\\a.mp3"_qs << u"url"_qs << u"url1"_qs;
        QTest::newRow("network address") << u"http://127.0.0.1/a.mp3"_qs << u"url1"_qs << u"url"_qs;
        QTest::newRow("mms address") << u"mms://h/x"_qs << u"url1"_qs << u"url"_qs;
    }
    void addressesAreStoredMirrored()
    {
        QFETCH(QString, locator);
        QFETCH(QString, column);
        QFETCH(QString, emptyColumn);
        LibraryFixture f;
        QVERIFY(f.setUp());
        const int pl = f.db.addPlaylist(u"p"_qs).id;
        const int songId = f.db.addSongToPlaylist(pl, song(u"s"_qs, locator)).id;
        const int dayId = f.db.recordPlay(song(u"s"_qs, locator), QDate(2021, 5, 6)).newDay->id;
        for (const QString &table : {u"list"_qs, u"lslist"_qs}) {
            const QString stored = f.raw(u"SELECT "_qs + column + u" FROM "_qs + table).toString();
            QCOMPARE(stored, MirrorText(locator));
            QVERIFY(stored != locator);
            QCOMPARE(f.raw(u"SELECT "_qs + emptyColumn + u" FROM "_qs + table).toString(), QString());
        }
        if (locator.startsWith(u"C:"_qs))
            QVERIFY(f.raw(u"SELECT url FROM list"_qs).toString().startsWith(u"Y2\\"_qs));
        const StoredSong back = f.db.playlistSong(songId).value();
        QCOMPARE(column == u"url"_qs ? back.url : back.url1, locator);
        const StoredSong day = f.db.historySong(f.db.historyPage(dayId).value(0).id).value();
        QCOMPARE(column == u"url"_qs ? day.url : day.url1, locator);
        const StoredSong queued = f.db.playlistQueueRows(pl).value(0);
        QCOMPARE(column == u"url"_qs ? queued.url : queued.url1, locator);
    }

    void importStoresMirroredPathAndComparesExactly()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        const int pl = f.db.addPlaylist(u"p"_qs).id;
        const QString path = u"C:\\Music\\A.mp3"_qs;
        QVERIFY(f.db.importLocalFile(pl, path, u"A.mp3"_qs, u"A.mp3"_qs).added());
        QCOMPARE(f.raw(u"SELECT url FROM list"_qs).toString(), MirrorText(path));
        // Another case is another file name.
        QVERIFY(f.db.importLocalFile(pl, u"c:\\music\\a.mp3"_qs, u"a.mp3"_qs, u"a.mp3"_qs).added());
        // Already stored in any playlist: not added again.
        const int other = f.db.addPlaylist(u"q"_qs).id;
        QCOMPARE(f.db.importLocalFile(other, path, u"A.mp3"_qs, {}).kind, InsertOutcome::Kind::AlreadyPresent);
        QVERIFY(f.db.clearPlaylist(pl));
        QVERIFY(!f.db.findSongByPath(path));
        QVERIFY(f.db.playlists().size() == 2);
    }

    void pagesListTitledRowsNewestFirst()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        const int pl = f.db.addPlaylist(u"p"_qs).id;
        const int other = f.db.addPlaylist(u"q"_qs).id;
        for (const QString &t : {u"one"_qs, u""_qs, u"two"_qs, u"three"_qs})
            QVERIFY(f.db.addSongToPlaylist(pl, song(t, u"/m/"_qs + t)).added());
        QVERIFY(f.db.addSongToPlaylist(other, song(u"elsewhere"_qs)).added());
        QCOMPARE(titles(f.db.playlistPage(pl)), (QStringList {u"three"_qs, u"two"_qs, u"one"_qs}));
        QCOMPARE(titles(f.db.playlistQueueRows(pl)), (QStringList {u"one"_qs, u""_qs, u"two"_qs, u"three"_qs}));
        const StoredSong first = f.db.playlistPage(pl).value(2);
        QCOMPARE(first.folderId, pl);
        // addtime comes from the database, in local time.
        const QDateTime added = QDateTime::fromString(first.addedAt, u"yyyy-MM-dd HH:mm:ss"_qs);
        QVERIFY2(qAbs(added.secsTo(QDateTime::currentDateTime())) < 120, qPrintable(first.addedAt));

        QCOMPARE(f.db.playlists().value(0).id, other);
        QCOMPARE(f.db.playlistsForChooser().value(0).id, pl);
        QVERIFY(f.db.playlistPage(999).isEmpty());
        QVERIFY(!f.db.playlistSong(999));
        QVERIFY(!f.db.playlistOfSong(999));
        QCOMPARE(f.db.playlistOfSong(first.id), std::optional<int>(pl));

        // "从列表中删除" removes the right-clicked row by its id; the page keeps the others.
        QVERIFY(f.db.removePlaylistSong(first.id));
        QCOMPARE(titles(f.db.playlistPage(pl)), (QStringList {u"three"_qs, u"two"_qs}));
    }

    void longPageComesInPartsUntilRefilled()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        const int pl = f.db.addPlaylist(u"长"_qs).id;
        for (int i = 0; i < 11; ++i)
            QVERIFY(f.db.addSongToPlaylist(pl, song(i == 5 ? QString() : u"歌%1"_qs.arg(i))).added());
        LibraryAccess access(f.db);
        ResultPages pages(nullptr);
        LibraryPages libraryPages(&pages, &access);
        libraryPages.setPartRows(3, 4);
        const auto openPage = [&] {
            const int tab = QCoro::waitFor(libraryPages.open({LibraryPage::Type::Playlist, pl, {}, u"长"_qs}));
            return pages.listModel(pages.strip().tab(tab)->view);
        };

        SongListModel *model = openPage();
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model->rowCount(), 3);
        model->removeRowAt(0); // a row command while parts still come
        QTRY_COMPARE(model->rowCount(), 9);
        QStringList shown, ids;
        for (const SongListRow &row : model->rows()) {
            shown << row.cells.value(0);
            ids << row.record()->id;
        }
        QCOMPARE(shown,
            (QStringList {
                u"歌9"_qs, u"歌8"_qs, u"歌7"_qs, u"歌6"_qs, u"歌4"_qs, u"歌3"_qs, u"歌2"_qs, u"歌1"_qs, u"歌0"_qs}));
        QStringList stored;
        for (const StoredSong &s : f.db.playlistPage(pl).mid(1))
            stored << QString::number(s.id);
        QCOMPARE(ids, stored);

        // The list emptied while parts still come stays empty.
        SongListModel *refilled = openPage();
        QAbstractItemModelTester refilledTester(refilled, QAbstractItemModelTester::FailureReportingMode::QtTest);
        refilled->clearRows();
        QTest::qWait(50);
        QCOMPARE(refilled->rowCount(), 0);
    }

    void duplicateChecksIgnoreCase_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("duplicate");
        QTest::newRow("same") << u"Rock"_qs << u"Rock"_qs << true;
        QTest::newRow("other case") << u"Rock"_qs << u"rOCK"_qs << true;
        QTest::newRow("different") << u"Rock"_qs << u"Rocks"_qs << false;
        QTest::newRow("trailing space differs") << u"Rock"_qs << u"Rock "_qs << false;
        QTest::newRow("other case beyond ascii") << u"Ärger Σ"_qs << u"äRGER σ"_qs << true;
        QTest::newRow("differs after a nul") << u"ab\0x"_qs << u"ab\0y"_qs << false;
        QTest::newRow("beyond the basic plane") << u"\U0001F3B5 Ärger"_qs << u"\U0001F3B5 äRGER"_qs << true;
    }
    void duplicateChecksIgnoreCase()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, duplicate);
        LibraryFixture f;
        QVERIFY(f.setUp());
        const InsertOutcome a = f.db.addPlaylist(first);
        const InsertOutcome b = f.db.addPlaylist(second);
        QCOMPARE(b.kind == InsertOutcome::Kind::AlreadyPresent, duplicate);
        QCOMPARE(b.id == a.id, duplicate);
        QVERIFY(f.db.addSongToPlaylist(a.id, song(first)).added());
        QCOMPARE(f.db.addSongToPlaylist(a.id, song(second)).added(), !duplicate);
        // The check is per playlist.
        const int other = f.db.addPlaylist(u"other list"_qs).id;
        QVERIFY(f.db.addSongToPlaylist(other, song(second)).added());
        QVERIFY(f.db.recordPlay(song(first), QDate(2022, 2, 2)).songAdded);
        QCOMPARE(f.db.recordPlay(song(second), QDate(2022, 2, 2)).songAdded, !duplicate);
        // Titles are stored without NUL characters.
        QVERIFY(!f.db.playlistsForChooser().value(0).title.contains(QChar(0)));
        QVERIFY(!f.db.playlistPage(a.id).value(0).title.contains(QChar(0)));
    }

    // A trigger refuses to drop the folder row while songs of it remain, so the
    // deletes must go songs first; a failing delete must leave everything.
    void deletesRemoveSongsFirst()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        f.raw(u"CREATE TRIGGER songs_first BEFORE DELETE ON class WHEN EXISTS "
              "(SELECT 1 FROM list WHERE classid = old.id) BEGIN SELECT RAISE(ABORT, 'songs left'); END"_qs);
        f.raw(u"CREATE TRIGGER day_songs_first BEFORE DELETE ON ls WHEN EXISTS "
              "(SELECT 1 FROM lslist WHERE lsid = old.id) BEGIN SELECT RAISE(ABORT, 'songs left'); END"_qs);
        const int pl = f.db.addPlaylist(u"p"_qs).id;
        const int keep = f.db.addPlaylist(u"keep"_qs).id;
        f.db.addSongToPlaylist(pl, song(u"a"_qs));
        f.db.addSongToPlaylist(pl, song(u"b"_qs));
        f.db.addSongToPlaylist(keep, song(u"c"_qs));
        QVERIFY(f.db.deletePlaylist(pl));
        QCOMPARE(f.count(u"list"_qs), 1);
        QCOMPARE(f.db.playlists().size(), 1);

        const int day = f.db.recordPlay(song(u"a"_qs), QDate(2023, 3, 3)).newDay->id;
        f.db.recordPlay(song(u"b"_qs), QDate(2023, 3, 3));
        const int otherDay = f.db.recordPlay(song(u"a"_qs), QDate(2023, 3, 4)).newDay->id;
        QVERIFY(f.db.deleteHistoryDay(day));
        QCOMPARE(f.db.historyDays().size(), 1);
        QCOMPARE(f.db.historyPage(otherDay).size(), 1);
        QCOMPARE(f.count(u"lslist"_qs), 1);

        f.raw(u"CREATE TRIGGER never BEFORE DELETE ON class BEGIN SELECT RAISE(ABORT, 'no'); END"_qs);
        QVERIFY(!f.db.deletePlaylist(keep));
        QCOMPARE(f.db.playlistPage(keep).size(), 1); // rolled back
    }

    void historyDayTitle_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("title");
        QTest::newRow("no leading zeros") << QDate(2007, 3, 9) << u"2007年3月9日"_qs;
        QTest::newRow("two digits") << QDate(2026, 12, 31) << u"2026年12月31日"_qs;
        QTest::newRow("first day") << QDate(2000, 1, 1) << u"2000年1月1日"_qs;
    }
    void historyDayTitle()
    {
        QFETCH(QDate, day);
        QFETCH(QString, title);
        QCOMPARE(LibraryDatabase::historyDayTitle(day), title);
    }

    void historyRecordsKindIds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("musicId");
        QTest::addColumn<int>("baiduId");
        QTest::addColumn<int>("listId");
        QTest::newRow("playlist song") << 0 << 0 << 0 << 42;
        QTest::newRow("history song") << 1 << 0 << 0 << 0;
        QTest::newRow("server song") << 2 << 42 << 0 << 0;
        QTest::newRow("search service song") << 3 << 0 << 42 << 0;
        QTest::newRow("catalogue kind 4") << 4 << 0 << 0 << 0;
        QTest::newRow("local file") << -3 << 0 << 0 << 0;
    }
    void historyRecordsKindIds()
    {
        QFETCH(int, kind);
        QFETCH(int, musicId);
        QFETCH(int, baiduId);
        QFETCH(int, listId);
        LibraryFixture f;
        QVERIFY(f.setUp());
        const auto outcome
            = f.db.recordPlay(song(u"s"_qs, u"http://h/s.mp3"_qs, kind, 42, u"s+a"_qs), QDate(2024, 4, 4));
        QVERIFY(outcome.ok && outcome.songAdded);
        const StoredSong s = f.db.historyPage(outcome.newDay->id).value(0);
        QCOMPARE(s.musicId, musicId);
        QCOMPARE(s.baiduId, baiduId);
        QCOMPARE(s.listId, listId);
        QCOMPARE(s.url2, u"s+a"_qs);
        QCOMPARE(f.db.historySong(s.id)->listId, listId);
    }

    void historyReportsEachNewDayOnce()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        const QDate day(2007, 3, 9);
        const auto first = f.db.recordPlay(song(u"a"_qs), day);
        QVERIFY(first.ok && first.songAdded && first.newDay);
        QCOMPARE(first.newDay->title, u"2007年3月9日"_qs);
        QCOMPARE(f.db.historyDays().value(0).id, first.newDay->id);

        const auto second = f.db.recordPlay(song(u"b"_qs), day);
        QVERIFY(second.ok && second.songAdded && !second.newDay);
        const auto again = f.db.recordPlay(song(u"a"_qs), day);
        QVERIFY(again.ok && !again.songAdded && !again.newDay);
        QCOMPARE(titles(f.db.historyPage(first.newDay->id)), (QStringList {u"b"_qs, u"a"_qs}));

        const auto nextDay = f.db.recordPlay(song(u"a"_qs), day.addDays(1));
        QVERIFY(nextDay.newDay && nextDay.songAdded);
        QCOMPARE(f.db.historyDays().value(0).title, u"2007年3月10日"_qs);
        QCOMPARE(titles(f.db.historyQueueRows(first.newDay->id)), (QStringList {u"a"_qs, u"b"_qs}));
        QVERIFY(f.db.removeHistorySong(f.db.historyPage(first.newDay->id).value(0).id));
        QCOMPARE(titles(f.db.historyPage(first.newDay->id)), (QStringList {u"a"_qs}));
    }

    void playlistInsertStoresKindIds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("musicId");
        QTest::addColumn<int>("baiduId");
        QTest::newRow("server song") << 2 << 77 << 0;
        QTest::newRow("search service song") << 3 << 0 << 77;
        QTest::newRow("playlist song") << 0 << 0 << 0;
        QTest::newRow("catalogue kind 5") << 5 << 0 << 0;
    }
    void playlistInsertStoresKindIds()
    {
        QFETCH(int, kind);
        QFETCH(int, musicId);
        QFETCH(int, baiduId);
        LibraryFixture f;
        QVERIFY(f.setUp());
        const int pl = f.db.addPlaylist(u"p"_qs).id;
        const int id = f.db.addSongToPlaylist(pl, song(u"s"_qs, {}, kind, 77, u"a+b"_qs)).id;
        const StoredSong s = f.db.playlistSong(id).value();
        QCOMPARE(s.musicId, musicId);
        QCOMPARE(s.baiduId, baiduId);
        QCOMPARE(s.url, QString());
        QCOMPARE(s.url1, QString());
        QCOMPARE(s.url2, u"a+b"_qs);
    }

    void workingAddressGoesToItsColumn()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        const int pl = f.db.addPlaylist(u"p"_qs).id;
        const int id = f.db.addSongToPlaylist(pl, song(u"s"_qs, u"D:\\old.mp3"_qs, 2, 5)).id;
        const auto net = f.db.storeWorkingAddress(id, u"http://h/new.mp3"_qs);
        QVERIFY(net);
        QCOMPARE(net->musicId, 5);
        QCOMPARE(net->url1, u"http://h/new.mp3"_qs);
        QCOMPARE(net->url, u"D:\\old.mp3"_qs);
        QCOMPARE(f.raw(u"SELECT url1 FROM list"_qs).toString(), MirrorText(u"http://h/new.mp3"_qs));
        QCOMPARE(f.db.storeWorkingAddress(id, u"E:\\x.mp3"_qs)->url, u"E:\\x.mp3"_qs);
        QCOMPARE(f.db.playlistSong(id)->url, u"E:\\x.mp3"_qs);
        QVERIFY(!f.db.storeWorkingAddress(id + 1, u"E:\\x.mp3"_qs));
    }

    void cdShelf()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        const InsertOutcome a = f.db.addCdAlbum(u"歌手-专辑"_qs, 310);
        QVERIFY(a.added());
        QCOMPARE(f.db.addCdAlbum(u"other caption"_qs, 310).kind, InsertOutcome::Kind::AlreadyPresent);
        QVERIFY(f.db.addCdAlbum(u"second"_qs, 311).added());
        QCOMPARE(f.db.cdAlbum(a.id)->specialId, 310);
        QCOMPARE(f.db.cdAlbums().value(0).title, u"歌手-专辑"_qs);
        QVERIFY(f.db.removeCdAlbum(a.id));
        QCOMPARE(f.db.cdAlbums().size(), 1);
    }

    void emptyConfigIsNeitherReadNorWritten()
    {
        LibraryFixture f;
        QVERIFY(f.setUp());
        const QDateTime now(QDate(2026, 12, 7), QTime(10, 0));
        QVERIFY(!f.db.loadStartupConfig(now));
        QVERIFY(!f.db.countDownload(now));
        QCOMPARE(f.count(u"config"_qs), 0);
        // The settings add the row for the given day, no downloads counted; a later save
        // changes only the text.
        QVERIFY(f.db.saveSettingsContent(u"30㊣1㊣1㊣1㊣0㊣255"_qs, now));
        QVERIFY(f.db.saveSettingsContent(u"31㊣1㊣1㊣1㊣0㊣255"_qs, now.addDays(3)));
        QCOMPARE(f.count(u"config"_qs), 1);
        QCOMPARE(f.db.configRow()->addedAt, u"2026-12-07 10:00:00"_qs);
        QCOMPARE(f.db.configRow()->downday, 0);
        QCOMPARE(f.db.loadStartupConfig(now)->dailyDownloadCount, 0);
        QCOMPARE(f.db.loadStartupConfig(QDateTime::currentDateTime())->settingsContent, u"31㊣1㊣1㊣1㊣0㊣255"_qs);
    }

    void dailyCounter_data()
    {
        QTest::addColumn<QString>("storedDay");
        QTest::addColumn<QDateTime>("serverDate");
        QTest::addColumn<int>("startCount");
        QTest::addColumn<int>("afterDownload");
        const QDateTime morning(QDate(2026, 12, 7), QTime(8, 0));
        QTest::newRow("same day, later hour") << u"2026-12-07 23:59:59"_qs << morning << 5 << 6;
        QTest::newRow("same day, earlier hour") << u"2026-12-07 00:00:00"_qs << morning << 5 << 6;
        QTest::newRow("day before") << u"2026-12-06 08:00:00"_qs << morning << 0 << 1;
        QTest::newRow("a year before") << u"2025-12-07 08:00:00"_qs << morning << 0 << 1;
        QTest::newRow("unreadable time") << u"yesterday"_qs << morning << 0 << 1;
    }
    void dailyCounter()
    {
        QFETCH(QString, storedDay);
        QFETCH(QDateTime, serverDate);
        QFETCH(int, startCount);
        QFETCH(int, afterDownload);
        LibraryFixture f;
        QVERIFY(f.setUp());
        f.raw(u"INSERT INTO config (addtime, downday, content) VALUES (?, 5, 'x')"_qs, {storedDay});
        const auto start = f.db.loadStartupConfig(serverDate);
        QVERIFY(start);
        QCOMPARE(start->dailyDownloadCount, startCount);
        QCOMPARE(start->settingsContent, u"x"_qs);
        const auto row = f.db.configRow().value();
        QCOMPARE(row.downday, startCount);
        // The row is only rewritten when it belonged to another day.
        QCOMPARE(row.addedAt, startCount ? storedDay : serverDate.toString(u"yyyy-MM-dd HH:mm:ss"_qs));
        QCOMPARE(f.db.countDownload(serverDate), std::optional<int>(afterDownload));
        QCOMPARE(f.db.countDownload(serverDate.addSecs(3600)), std::optional<int>(afterDownload + 1));
        QCOMPARE(f.db.countDownload(serverDate.addDays(1)), std::optional<int>(1));
        QCOMPARE(f.count(u"config"_qs), 1);
    }
};

QTEST_GUILESS_MAIN(LibraryDatabaseTest)
#include "tst_librarydatabase.moc"
