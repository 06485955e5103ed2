// Browsing the demo server's catalogue in the main window: down the music library to
// a song list, turning list pages and tree pages, and the start-up's web panes.
#include "library/librarydatabase.h"
#include "online/cataloguetree.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "online/ui/cataloguetreeview.h"
#include "online/ui/resultarea.h"
#include "shell/libraryaccess.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "support/demoserver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

class BrowseDemoTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        server = std::make_unique<test::DemoServer>();
        if (!server->isRunning())
            QFAIL(qPrintable(server->error()));
        // No announcement page: its tab would load concurrently with the news pane.
        QVERIFY(server->setNoticeField(u"announcement"_qs, u" "_qs));
        const QString file = dir.path() + u"/kx.dat"_qs;
        QVERIFY(LibraryDatabase::create(file).status != LibraryCreateOutcome::Status::Failed);
        QVERIFY(library.open(file).ok());
        access = std::make_unique<LibraryAccess>(library);
        client = std::make_unique<ServerClient>(&nam, server->baseUrl());
        MainWindowContext ctx;
        ctx.programDir = dir.path();
        ctx.server = client.get();
        ctx.state = &state;
        ctx.library = access.get();
        window = std::make_unique<MainWindow>(ctx);
        window->show();
        QSignalSpy finished(window.get(), &MainWindow::startupSequenceFinished);
        QVERIFY(finished.wait(20000));
        catalogue = window->online()->catalogueView()->tree();
    }
    void cleanupTestCase()
    {
        window.reset();
        library.release();
    }

    void startupLoadsTheNewsPaneLast()
    {
        // The web pane fetches its page after the start-up page; give it a moment.
        QTRY_VERIFY_WITH_TIMEOUT(server->requestLog().contains(u"GET /webggt.asp"_qs), 15000);
        QStringList log = server->requestLog();
        log.removeIf([](const QString &line) { return line.contains(u"favicon"_qs); });
        QVERIFY(log.indexOf(u"POST /dl.asp"_qs) < log.indexOf(u"GET /webggt.asp"_qs));
        QCOMPARE(log.last(), u"GET /webggt.asp"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(window->findChild<QWidget *>(u"Webggt"_qs)->isVisible(), 15000);
    }

    void musicLibraryDownToASongList()
    {
        server->clearLog();
        QString key = u"b0"_qs;
        // Each level: open the node, then follow its first child, until a song list opens.
        for (int depth = 0; depth < 6; ++depth) {
            const int tabsBefore = int(window->online()->pages()->strip().openTabs().size());
            open(key);
            const KeyedTreeModel::Node *node = catalogue->model()->node(key);
            QVERIFY(node);
            if (node->children.empty()) {
                // A song list: a tab opened with rows and a summary.
                QTRY_COMPARE(int(window->online()->pages()->strip().openTabs().size()), tabsBefore + 1);
                break;
            }
            key = node->children.front()->key;
        }
        QCOMPARE(key.split(QLatin1Char('-')).size(), 5); // b0-x-y-z-w
        const QStringList log = dataRequests();
        QVERIFY(log.first().startsWith(u"POST /urlkxrj_0.asp?id=1"_qs));
        QVERIFY(log.last().contains(u"urlkxrj_4.asp"_qs));
        QVERIFY(log.last().endsWith(u"&page=1"_qs));
        QVERIFY(statusLine().startsWith(u"共有资源："_qs));
    }

    void songListPagesTurn()
    {
        server->clearLog();
        open(u"c0-1"_qs); // 新歌TOP100, a song list of several pages
        QTRY_VERIFY(statusLine().contains(u"第1/"_qs));
        window->button(PlayerCommand::NextPage)->click();
        QTRY_VERIFY_WITH_TIMEOUT(statusLine().contains(u"第2/"_qs), 10000);
        window->button(PlayerCommand::PreviousPage)->click();
        QTRY_VERIFY_WITH_TIMEOUT(statusLine().contains(u"第1/"_qs), 10000);
        window->button(PlayerCommand::PreviousPage)->click(); // nothing before the first page
        const QStringList log = dataRequests();
        QCOMPARE(log,
            (QStringList {u"POST /soft.asp?mlid=1&page=1"_qs, u"POST /soft.asp?mlid=1&page=2"_qs,
                u"POST /soft.asp?mlid=1&page=1"_qs}));
    }

    void treeLevelsPage()
    {
        server->clearLog();
        open(u"c0-3"_qs); // 新手TOP100: a category level with tree paging
        const KeyedTreeModel::Node *node = catalogue->model()->node(u"c0-3"_qs);
        QVERIFY(node && !node->children.empty());
        const QString next = node->children.back()->key;
        QVERIFY2(next.startsWith(u"c0-3-pax"_qs), qPrintable(next));
        const QString firstBefore = node->children.front()->key;
        open(next);
        node = catalogue->model()->node(u"c0-3"_qs);
        QVERIFY(node->children.front()->key.startsWith(u"c0-3-pas"_qs)); // "上一页" now first
        QVERIFY(node->children.at(1)->key != firstBefore);
        QCOMPARE(dataRequests().last(), u"POST /soft.asp?mlid=3&page=2"_qs);
        // A category that already shows its children is not fetched again.
        server->clearLog();
        open(u"c0-3"_qs);
        QVERIFY(dataRequests().isEmpty());
    }

    void advertisingPaneWhileAVideoLoads()
    {
        OnlineViews *online = window->online();
        server->clearLog();
        online->loadAdvertisingPane(client->pageUrl(u"webgg.asp"_qs));
        QTRY_VERIFY_WITH_TIMEOUT(server->requestLog().contains(u"GET /webgg.asp"_qs), 15000);
        QVERIFY(!online->pictureBox()->isVisible()); // pointed at its page, not yet shown
        online->showVideoLoading();
        QVERIFY(online->pictureBox()->isVisible());
        QVERIFY(window->findChild<QWidget *>(u"Webgg"_qs));
        online->hideAdvertisingPane(); // the video shows
        QVERIFY(!online->pictureBox()->isVisible());
        online->showVideoLoading();
        online->OpenWebTab(client->pageUrl(u"softhelp.asp"_qs), u"帮助中心"_qs); // a tab comes to the front
        QVERIFY(!online->pictureBox()->isVisible());
    }

    void everyControlHasAName()
    {
        // Buttons, lists, trees and tab captions a user acts on are found by what a
        // user would call them.
        QStringList unnamed;
        const auto widgets = window->findChildren<QWidget *>();
        for (QWidget *w : widgets) {
            const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractItemView *>(w)
                || qobject_cast<QAbstractSlider *>(w) || w->inherits("kivo::TabHeader");
            // A view's own scroll bars and header sections are announced by their role.
            if (w->inherits("QScrollBar") || w->inherits("QHeaderView"))
                continue;
            if (control && w->accessibleName().isEmpty())
                unnamed << QString::fromLatin1(w->metaObject()->className()) + u" "_qs + w->objectName();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", "_qs)));
    }

private:
    // The player's data requests (POST); the web panes' page loads (GET) may still
    // trickle in from earlier steps.
    QStringList dataRequests() const
    {
        QStringList log = server->requestLog();
        log.removeIf([](const QString &line) { return !line.startsWith(u"POST "_qs); });
        return log;
    }

    void open(const QString &key)
    {
        bool done = false;
        catalogue->openNode(key).then([&](bool) { done = true; });
        QTRY_VERIFY_WITH_TIMEOUT(done, 15000);
    }
    QString statusLine() const { return window->online()->resultArea()->statusLabel()->text(); }

    QTemporaryDir dir;
    std::unique_ptr<test::DemoServer> server;
    LibraryDatabase library;
    std::unique_ptr<LibraryAccess> access;
    QNetworkAccessManager nam;
    std::unique_ptr<ServerClient> client;
    ProgramState state;
    std::unique_ptr<MainWindow> window;
    CatalogueTree *catalogue = nullptr;
};

QTEST_MAIN(BrowseDemoTest)
#include "tst_browsedemo.moc"
