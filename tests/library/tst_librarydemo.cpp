// The library tree of the main window over a real library file: stored playlists,
// days and albums appear at start-up, and their pages open with the stored songs.
#include "core/songrecord.h"
#include "library/librarydatabase.h"
#include "library/librarypages.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "shell/libraryaccess.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "support/demoserver.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

class LibraryDemoTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedListsAppearAndOpen()
    {
        test::DemoServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.error()));
        QTemporaryDir dir;
        const QString file = dir.path() + u"/kx.dat"_qs;
        QVERIFY(LibraryDatabase::create(file).status != LibraryCreateOutcome::Status::Failed);
        LibraryDatabase library;
        QVERIFY(library.open(file).ok());
        const int list = library.addPlaylist(u"It's \"mine\""_qs).id;
        const QString localSong = dir.path() + u"/本地 歌.mp3"_qs;
        QFile touch(localSong);
        QVERIFY(touch.open(QIODevice::WriteOnly));
        touch.close();
        QVERIFY(library.addSongToPlaylist(list, {u"本地歌"_qs, localSong, u"本地歌"_qs, 0, 0}).id > 0);
        QVERIFY(library.addSongToPlaylist(list, {u"网络歌"_qs, u"http://h/a.mp3"_qs, u"网络歌"_qs, 2, 1002}).id > 0);
        const auto played
            = library.recordPlay({u"昨天的歌"_qs, u"http://h/b.mp3"_qs, u"昨天的歌"_qs, 2, 1003}, QDate(2026, 3, 9));
        QVERIFY(played.newDay);
        QVERIFY(library.addCdAlbum(u"歌手-专辑"_qs, 501).id > 0);

        LibraryAccess access(library);
        QNetworkAccessManager nam;
        ServerClient client(&nam, server.baseUrl());
        ProgramState state;
        MainWindowContext ctx;
        ctx.programDir = dir.path();
        ctx.server = &client;
        ctx.state = &state;
        ctx.library = &access;
        MainWindow window(ctx);
        window.show();
        QSignalSpy finished(&window, &MainWindow::startupSequenceFinished);
        QVERIFY(finished.wait(20000));

        OnlineViews *online = window.online();
        KeyedTreeModel *model = online->libraryTree()->model();
        const QString listKey = u"c%1"_qs.arg(list);
        const QString dayKey = u"d%1"_qs.arg(played.newDay->id);
        QVERIFY(model->node(listKey));
        QCOMPARE(model->node(listKey)->caption, u"It's \"mine\""_qs);
        QCOMPARE(model->node(dayKey)->caption, u"2026年3月9日"_qs);
        QVERIFY(model->node(u"f1-501"_qs));

        // The playlist page: newest first, the local file as the locator of its row.
        const int tab = openPage(online, listKey);
        QVERIFY(tab > 0);
        const SongListModel *rows = online->pages()->listModel(online->pages()->strip().tab(tab)->view);
        QCOMPARE(rows->rowCount(), 2);
        QCOMPARE(rows->rowAt(0).cells.value(0), u"网络歌"_qs);
        const SongRecord local = *rows->rowAt(1).record();
        QCOMPARE(local.kind, 0);
        QCOMPARE(local.locator, localSong);

        // The history day's page, and the album from the shelf through the server.
        QVERIFY(openPage(online, dayKey) > 0);
        server.clearLog();
        QVERIFY(openPage(online, u"f1-501"_qs) > 0);
        QStringList posts = server.requestLog(); // the web panes' page loads may still come in
        posts.removeIf([](const QString &line) { return !line.startsWith(u"POST "_qs); });
        QCOMPARE(posts, QStringList {u"POST /urlkxrj_4.asp?id=501&page=1"_qs});
        window.quitApplication();
        library.release();
    }

private:
    static int openPage(OnlineViews *online, const QString &key)
    {
        std::optional<int> tab;
        online->libraryPages()->open(online->libraryTree()->pageFor(key)).then([&](int t) { tab = t; });
        (void)QTest::qWaitFor([&] { return tab.has_value(); }, 15000);
        return tab.value_or(-1);
    }
};

QTEST_MAIN(LibraryDemoTest)
#include "tst_librarydemo.moc"
