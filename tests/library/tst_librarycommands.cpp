// The playlist, history, now-playing and CD-shelf commands against a real library
// file: what they store, what the tree and the pages show, and what the user reads.

#include "library/libraryoperations.h"
#include "library/librarytree.h"
#include "library/nowplayingport.h"
#include "library/playlistwrites.h"
#include "libraryfixture.h"
#include "online/songlistmodel.h"

#include <QTest>

using namespace kivo;

namespace {

// The queue as a list of songs; records what was removed.
struct FakeQueue : NowPlayingPort
{
    QList<SongToStore> songs;
    QList<int> removed;
    QList<SongToStore> queuedSongs() const override { return songs; }
    std::optional<SongToStore> queuedSong(int entry) const override
    {
        return entry >= 0 && entry < songs.size() ? std::optional(songs.at(entry)) : std::nullopt;
    }
    bool removeEntry(int entry) override
    {
        removed.append(entry);
        songs.removeAt(entry);
        return true;
    }
    void clear() override { songs.clear(); }
};

const LibraryMessage kDone {LibraryMessage::Icon::None, u"操作成功."_qs};
const LibraryMessage kNameTaken {LibraryMessage::Icon::Critical, u"此播放列表名称已经存在."_qs};
const LibraryMessage kGone {LibraryMessage::Icon::Critical, u"操作失败：播放列表已经不存在。"_qs};

} // namespace

class LibraryCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::LibraryFixture> lib;
    KeyedTreeModel model;
    std::unique_ptr<LibraryTree> tree;
    std::unique_ptr<PlaylistWrites> writes;
    FakeQueue queue;
    std::unique_ptr<LibraryOperations> ops;

    int newPlaylist(const QString &name)
    {
        ops->AddPlaylist(name);
        return lib->raw(u"SELECT max(id) FROM class"_qs).toInt();
    }
    QStringList childKeys(const QString &parent)
    {
        QStringList keys;
        for (const auto &child : model.node(parent)->children)
            keys << child->key;
        return keys;
    }
    static SongRowRef catalogueRow(const QString &title, int kind, const QString &id)
    {
        SongRecord r;
        r.id = id;
        r.kind = kind;
        r.url = u"http://h/a.mp3"_qs;
        r.url1 = u"歌手"_qs;
        r.url2 = u"专辑"_qs;
        return SongRowRef {SongPageKind::Catalogue, 1, 0, title, r};
    }

private Q_SLOTS:
    void init()
    {
        lib = std::make_unique<test::LibraryFixture>();
        QVERIFY(lib->setUp());
        model.clear();
        tree = std::make_unique<LibraryTree>(&model);
        tree->AddLibraryNodes();
        writes = std::make_unique<PlaylistWrites>(lib->db);
        queue = {};
        ops = std::make_unique<LibraryOperations>(tree.get(), writes.get(), &queue);
    }

    // Names are trimmed, stored as typed (quotes included), unique ignoring case, and
    // new playlists come first under "播放列表".
    void playlistNames()
    {
        const QString hostile = u"it's \"mine\"'); DELETE FROM class;--"_qs;
        QCOMPARE(ops->AddPlaylist(u"  老歌  "_qs), std::nullopt);
        QCOMPARE(ops->AddPlaylist(u" "_qs + hostile), std::nullopt);
        QCOMPARE(lib->count(u"class"_qs), 2);
        const int id = lib->raw(u"SELECT id FROM class WHERE title = ?"_qs, {hostile}).toInt();
        QCOMPARE(childKeys(u"c0"_qs).first(), u"c%1"_qs.arg(id));
        QCOMPARE(ops->AddPlaylist(u"IT'S \"MINE\"'); delete from class;--"_qs), kNameTaken);
        QCOMPARE(ops->AddPlaylist(u"   "_qs), std::nullopt);
        QCOMPARE(lib->count(u"class"_qs), 2);

        const QString key = u"c%1"_qs.arg(id);
        QCOMPARE(ops->RenamePlaylist(key, u" 老歌 "_qs), kNameTaken);
        QCOMPARE(ops->RenamePlaylist(key, u"新歌 "_qs), std::nullopt);
        QCOMPARE(lib->raw(u"SELECT title FROM class WHERE id = ?"_qs, {id}).toString(), u"新歌"_qs);
        QCOMPARE(model.node(key)->caption, u"新歌"_qs);
        // Another case of its own name is a rename, not a clash.
        QCOMPARE(ops->RenamePlaylist(key, u"新歌"_qs), std::nullopt);
        lib->raw(u"DELETE FROM class WHERE id = ?"_qs, {id});
        QCOMPARE(ops->RenamePlaylist(key, u"别的"_qs), kGone);
    }

    // Adding songs: the entry a row gives, the duplicate title, the playlist gone
    // while the chooser was open.
    void addingSongs()
    {
        const int id = newPlaylist(u"收藏"_qs);
        const auto song = ops->entryForRow(catalogueRow(u" 月光 "_qs, 2, u"77"_qs));
        QVERIFY(song);
        QCOMPARE(ops->AddToPlaylist(*song, id), kDone);
        QCOMPARE(lib->raw(u"SELECT musicid FROM list WHERE title = '月光'"_qs).toInt(), 77);
        QCOMPARE(lib->raw(u"SELECT url2 FROM list WHERE title = '月光'"_qs).toString(), u"专辑+歌手"_qs);
        QCOMPARE(ops->AddToPlaylist(*ops->entryForRow(catalogueRow(u"月光"_qs, 3, u"5"_qs)), id),
            (LibraryMessage {LibraryMessage::Icon::None, u"歌曲在播放列表中已经存在."_qs}));
        QCOMPARE(ops->entryForRow(catalogueRow(u"x"_qs, 2, u"7a"_qs)), std::nullopt);

        // A history row keeps its catalogue ids; a now-playing row is its queue entry.
        SongRecord history;
        history.id = u"3"_qs;
        history.kind = SongKind::History;
        history.title = u"旧"_qs;
        history.musicId = u"41"_qs;
        history.baiduId = u"42"_qs;
        QCOMPARE(ops->AddToPlaylist(*ops->entryForRow({SongPageKind::History, 1, 0, u"旧"_qs, history}), id), kDone);
        QCOMPARE(lib->raw(u"SELECT musicid || '/' || baiduid FROM list WHERE title = '旧'"_qs).toString(), u"41/42"_qs);
        queue.songs = {{u"它's"_qs, u"/m/a.mp3"_qs, u""_qs, SongKind::SearchId, 9}};
        QCOMPARE(
            ops->AddToPlaylist(*ops->entryForRow({SongPageKind::NowPlaying, 1, 0, u"1"_qs, QueueEntryNumber {0}}), id),
            kDone);
        QCOMPARE(lib->raw(u"SELECT baiduid FROM list WHERE title = ?"_qs, {u"它's"_qs}).toInt(), 9);

        lib->raw(u"DELETE FROM class WHERE id = ?"_qs, {id});
        const int before = lib->count(u"list"_qs);
        QCOMPARE(ops->AddToPlaylist(*song, id), kGone);
        QCOMPARE(ops->AddToPlaylist(PlaylistEntry {true, {}}, id), kGone);
        QCOMPARE(lib->count(u"list"_qs), before);
    }

    // Saving the queue: repeated titles are stored once, the report is still a success.
    void saveQueueAs()
    {
        queue.songs = {{u"同名"_qs, u"http://h/1"_qs}, {u"同名"_qs, u"http://h/2"_qs}, {u"别"_qs, u"/m/b.mp3"_qs}};
        QCOMPARE(ops->SaveNowPlayingAs(u"  晚上 "_qs), kDone);
        QCOMPARE(lib->raw(u"SELECT count(*) FROM list JOIN class ON class.id = list.classid "
                          "WHERE class.title = '晚上'"_qs)
                     .toInt(),
            2);
        QCOMPARE(ops->SaveNowPlayingAs(u"晚上"_qs), kNameTaken);
    }

    // Deleting: the songs go before their playlist (the day's entries before the day),
    // and when the second statement fails nothing is deleted.
    void deleteOrder_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("deletes");
        QTest::newRow("songs first") << u"WHEN EXISTS (SELECT 1 FROM %1 WHERE %2 = old.id)"_qs << true;
        QTest::newRow("second fails") << QString() << false;
    }
    void deleteOrder()
    {
        QFETCH(QString, trigger);
        QFETCH(bool, deletes);
        const int playlist = newPlaylist(u"待删"_qs);
        writes->addSong(playlist, {u"歌"_qs, u"/m/x.mp3"_qs});
        lib->raw(u"INSERT INTO ls (title) VALUES ('2007年3月9日')"_qs);
        const int day = lib->raw(u"SELECT max(id) FROM ls"_qs).toInt();
        lib->raw(u"INSERT INTO lslist (lsid, title) VALUES (?, '歌')"_qs, {day});
        tree->addHistoryDayNode({day, u"2007年3月9日"_qs});
        for (const auto &[table, songs, owner] :
            {std::tuple {u"class"_qs, u"list"_qs, u"classid"_qs}, {u"ls"_qs, u"lslist"_qs, u"lsid"_qs}}) {
            const QString when = trigger.isEmpty() ? QString() : trigger.arg(songs, owner);
            QVERIFY(lib->raw(u"CREATE TRIGGER refuse_"_qs + table + u" BEFORE DELETE ON "_qs + table + u' ' + when
                           + u" BEGIN SELECT RAISE(ABORT, 'refused'); END"_qs)
                        .isNull());
        }
        for (const QString &key : {u"c%1"_qs.arg(playlist), u"d%1"_qs.arg(day)}) {
            const CommandResult result = ops->DeletePlaylistOrDay(key);
            QCOMPARE(result.has_value(), !deletes);
            if (result)
                QCOMPARE(result->text, u"操作失败：refused"_qs);
            QCOMPARE(model.node(key) == nullptr, deletes);
        }
        QCOMPARE(lib->count(u"list"_qs) + lib->count(u"class"_qs), deletes ? 0 : 2);
        QCOMPARE(lib->count(u"lslist"_qs) + lib->count(u"ls"_qs), deletes ? 0 : 2);
    }

    // Keys that are not exactly a letter and a positive number name nothing.
    void strictKeys()
    {
        newPlaylist(u"一"_qs);
        for (const QString &key : {u"c0"_qs, u"c 1"_qs, u"c+1"_qs, u"c1x"_qs, u"c"_qs, u"x1"_qs})
            QCOMPARE(ops->DeletePlaylistOrDay(key), std::nullopt);
        QCOMPARE(lib->count(u"class"_qs), 1);
        QCOMPARE(LibraryOperations::shelfIdOfKey(u"f3-12"_qs), 3);
        QCOMPARE(LibraryOperations::shelfIdOfKey(u"f3-1x"_qs), std::nullopt);
    }

    // Removing rows: now-playing rows leave the queue and the later rows are numbered
    // anew; playlist rows leave the library; a rename stores the trimmed title.
    void pageRows()
    {
        queue.songs = {{u"a"_qs}, {u"b"_qs}, {u"c"_qs}, {u"d"_qs}};
        SongListModel playing(SongPageKind::NowPlaying);
        QList<SongListRow> rows;
        for (int i = 0; i < 4; ++i)
            rows.append({{queue.songs.at(i).title}, QueueEntryNumber {i}});
        playing.setRows(rows);
        QCOMPARE(ops->RemoveRows(&playing, {2, 1}), std::nullopt);
        QCOMPARE(queue.removed, (QList<int> {2, 1}));
        QCOMPARE(playing.rowCount(), 2);
        QCOMPARE(playing.rowAt(1).cells.first(), u"d"_qs);
        QCOMPARE(playing.rowAt(1).data, SongRowData(QueueEntryNumber {1}));
        // "清空" empties the queue and the open page whose rows stood for it.
        ops->ClearNowPlaying({&playing});
        QVERIFY(queue.songs.isEmpty());
        QCOMPARE(playing.rowCount(), 0);

        const int playlist = newPlaylist(u"表"_qs);
        const int song = writes->addSong(playlist, {u"歌"_qs, u"/m/x.mp3"_qs}).id;
        QVERIFY(song > 0);
        SongListModel page(SongPageKind::Playlist);
        page.setRows(LibraryTree::playlistRows({{song, u"歌"_qs}}, SongKind::Playlist));
        QCOMPARE(ops->RenameSong(&page, 0, u"  新名 "_qs), std::nullopt);
        QCOMPARE(lib->raw(u"SELECT title FROM list"_qs).toString(), u"新名"_qs);
        QCOMPARE(page.rowAt(0).cells.first(), u"新名"_qs);
        QCOMPARE(ops->RemoveRows(&page, {0}), std::nullopt);
        QCOMPARE(page.rowCount(), 0);
        QCOMPARE(lib->count(u"list"_qs), 0);
    }

    void cdShelf()
    {
        QCOMPARE(ops->AddToCdShelf(u"b1-2-3-4"_qs, u"专辑(2001)"_qs, u"歌手(12)"_qs), std::nullopt);
        QCOMPARE(ops->AddToCdShelf(u"b1-2-3-4-55"_qs, u"专辑(2001)"_qs, u"歌手(12)"_qs),
            (LibraryMessage {LibraryMessage::Icon::None, u"收藏CD专辑成功。"_qs}));
        const int id = lib->raw(u"SELECT id FROM cd WHERE specialid = 55"_qs).toInt();
        QCOMPARE(lib->raw(u"SELECT title FROM cd"_qs).toString(), u"歌手-专辑"_qs);
        QCOMPARE(childKeys(u"f0"_qs).last(), u"f%1-55"_qs.arg(id));
        QCOMPARE(ops->AddToCdShelf(u"b1-2-3-4-55"_qs, u"专辑"_qs, u"歌手"_qs),
            (LibraryMessage {LibraryMessage::Icon::Critical, u"您已经收藏过此CD专辑。"_qs}));
        QCOMPARE(ops->RemoveFromCdShelf(u"f%1-55"_qs.arg(id)),
            (LibraryMessage {LibraryMessage::Icon::None, u"专辑已经删除。"_qs}));
        QCOMPARE(lib->count(u"cd"_qs), 0);
        QVERIFY(!model.node(u"f%1-55"_qs.arg(id)));
    }
};

QTEST_MAIN(LibraryCommandsTest)
#include "tst_librarycommands.moc"
