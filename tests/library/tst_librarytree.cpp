#include "library/librarytree.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace kivo;

namespace {
class FakeLibrary : public LibrarySource
{
public:
    QList<LibraryListEntry> playlists() const override { return {{9, u"新的"_qs}, {3, u"旧的"_qs}}; }
    QList<LibraryListEntry> historyDays() const override { return {{5, u"2024-05-02"_qs}}; }
    QList<LibraryAlbumEntry> albums() const override { return {{2, u"77"_qs, u"歌手-专辑"_qs}}; }
    QList<LibrarySong> playlistSongs(int, PageSlice) const override { return {}; }
    QList<LibrarySong> historySongs(int, PageSlice) const override { return {}; }
};

QString menuText(const LibraryMenu &m)
{
    static const char *const names[] = {"none", "nowplaying", "playlists", "cdshelf"};
    QString s = QString::fromLatin1(names[int(m.type)]);
    if (m.type == LibraryMenu::Type::Playlists || m.type == LibraryMenu::Type::None) {
        s += u":"_qs;
        s += m.addList ? u"A"_qs : u"-"_qs;
        s += m.renameList ? u"R"_qs : u"-"_qs;
        s += m.deleteList ? u"D"_qs : u"-"_qs;
        s += m.playList ? u"P"_qs : u"-"_qs;
        s += m.queueList ? u"Q"_qs : u"-"_qs;
    }
    return s;
}
} // namespace

class TestLibraryTree : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nodes()
    {
        KeyedTreeModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        LibraryTree tree(&model);
        tree.AddLibraryNodes();
        tree.LoadLibraryNodes(FakeLibrary());
        tree.addPlaylistNode({12, u"最新"_qs});
        QStringList keys;
        for (const auto &c : model.node(u"c0"_qs)->children)
            keys << c->key;
        QCOMPARE(keys, (QStringList {u"c12"_qs, u"c9"_qs, u"c3"_qs}));
        QVERIFY(model.node(u"f2-77"_qs));
        QCOMPARE(model.index(0, 0).data().toString(), u"我的媒体库"_qs);
        QVERIFY(model.removeNode(u"c9"_qs));
        QVERIFY(!model.node(u"c9"_qs));
    }

    void doubleClick_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("specialId");
        using T = LibraryPage::Type;
        QTest::newRow("a0") << u"a0"_qs << int(T::Nothing) << 0 << QString();
        QTest::newRow("c0") << u"c0"_qs << int(T::Nothing) << 0 << QString();
        QTest::newRow("d0") << u"d0"_qs << int(T::Nothing) << 0 << QString();
        QTest::newRow("f0") << u"f0"_qs << int(T::Nothing) << 0 << QString();
        QTest::newRow("now playing") << u"b0"_qs << int(T::NowPlaying) << 0 << QString();
        QTest::newRow("downloads") << u"e0"_qs << int(T::Downloads) << 0 << QString();
        QTest::newRow("playlist") << u"c9"_qs << int(T::Playlist) << 9 << QString();
        QTest::newRow("history day") << u"d5"_qs << int(T::History) << 5 << QString();
        QTest::newRow("cd album") << u"f2-77"_qs << int(T::CdAlbum) << 0 << u"77"_qs;
        QTest::newRow("unknown key") << u"zz"_qs << int(T::Nothing) << 0 << QString();
    }
    void doubleClick()
    {
        QFETCH(QString, key);
        QFETCH(int, type);
        QFETCH(int, id);
        QFETCH(QString, specialId);
        KeyedTreeModel model;
        LibraryTree tree(&model);
        tree.AddLibraryNodes();
        tree.LoadLibraryNodes(FakeLibrary());
        const LibraryPage p = tree.pageFor(key);
        QCOMPARE(int(p.type), type);
        QCOMPARE(p.id, id);
        QCOMPARE(p.specialId, specialId);
    }

    void rightClick_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("menu");
        QTest::newRow("now playing") << u"b0"_qs << u"nowplaying"_qs;
        QTest::newRow("playlists: only add") << u"c0"_qs << u"playlists:A----"_qs;
        QTest::newRow("a playlist: all but add") << u"c9"_qs << u"playlists:-RDPQ"_qs;
        QTest::newRow("a history day") << u"d5"_qs << u"playlists:--DPQ"_qs;
        QTest::newRow("history itself: no menu") << u"d0"_qs << u"none:--DPQ"_qs;
        QTest::newRow("cd album") << u"f2-77"_qs << u"cdshelf"_qs;
        QTest::newRow("cd shelf itself") << u"f0"_qs << u"none:ARDPQ"_qs;
        QTest::newRow("downloads") << u"e0"_qs << u"none:ARDPQ"_qs;
        QTest::newRow("root") << u"a0"_qs << u"none:ARDPQ"_qs;
    }
    void rightClick()
    {
        QFETCH(QString, key);
        QFETCH(QString, menu);
        QCOMPARE(menuText(LibraryTree::menuFor(key)), menu);
    }

    void playlistRows()
    {
        QList<LibrarySong> songs(3);
        songs[0] = {1, u"有"_qs, u"/m/a.mp3"_qs, u"http://h/a"_qs, u"x"_qs, u"b"_qs, u"m"_qs, u"t1"_qs, u"4"_qs};
        songs[1] = {2, QString(), u"/m/b.mp3"_qs, {}, {}, {}, {}, u"t2"_qs, {}};
        songs[2] = {3, u"无"_qs, {}, {}, {}, {}, {}, u"t3"_qs, u"4"_qs};
        const auto exists = [](const QString &p) { return p == u"/m/a.mp3"_qs; };
        const auto rows = LibraryTree::playlistRows(songs, SongKind::History, exists);
        QCOMPARE(rows.size(), 2); // a song without a title is never listed
        QCOMPARE(rows[0].cells, (QStringList {u"有"_qs, u"t1"_qs}));
        QCOMPARE(rows[0].record()->toText(), u"1|||/m/a.mp3 |||有 |||x|||1|||b|||m|||0|||4"_qs);
        QCOMPARE(SongRecord::fromText(rows[1].record()->toText()).locator, QString());
        const auto plain = LibraryTree::playlistRows(songs, SongKind::Playlist, exists);
        QCOMPARE(plain[0].record()->toText(), u"1|||/m/a.mp3 |||有 |||x|||0|||b|||m|||0"_qs);
    }

    void nowPlayingAndDownloadRows()
    {
        const auto rows = LibraryTree::nowPlayingRows(
            {{1, u"本地"_qs, u"/m/a.mp3"_qs}, {2, QString(), u"x"_qs}, {3, u"网"_qs, u"http://h/a.mp3"_qs}});
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].cells.at(1), u"本地文件"_qs);
        QCOMPARE(rows[1].cells.at(1), u"网络文件"_qs);
        QCOMPARE(std::get<QueueEntryNumber>(rows[1].data).value, 3);
        const auto downs = LibraryTree::downloadRows({{1, {u"歌"_qs, u"u"_qs, u"v"_qs}}, {2, {}}});
        QCOMPARE(downs.size(), 1);
        QCOMPARE(downs[0].cells, (QStringList {u"歌"_qs, QString(), QString(), QString()}));
        QCOMPARE(std::get<DownloadEntryRef>(downs[0].data), (DownloadEntryRef {1, u"u"_qs, u"v"_qs, {}}));
    }
};

QTEST_GUILESS_MAIN(TestLibraryTree)
#include "tst_librarytree.moc"
