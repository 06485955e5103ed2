#include "core/pageformats.h"
#include "library/librarypages.h"
#include "library/ui/librarytreeview.h"
#include "online/ui/adpane.h"
#include "online/ui/cataloguetreeview.h"
#include "online/ui/resultarea.h"
#include "online/ui/tabheader.h"
#include "skin/commandmenus.h"
#include "support/fakepagefetcher.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

using namespace kivo;
using kivo::test::FakePageFetcher;

namespace {
class FakePane : public WebPane
{
public:
    using WebPane::WebPane;
    QList<QUrl> visited;
    void navigate(const QUrl &url) override { visited << url; }
    void finish() { Q_EMIT loadFinished(true); }
    void click(const QString &url) { Q_EMIT linkRequested(url); }
};

class FakeFactory : public WebPaneFactory
{
public:
    QList<FakePane *> panes;
    QStringList hosts;
    WebPane *createPane(QWidget *parent, const QString &allowedHost) override
    {
        hosts << allowedHost;
        panes << new FakePane(parent);
        return panes.last();
    }
};

class FakeLibrary : public LibrarySource
{
public:
    QList<LibraryListEntry> playlists() const override { return {{4, u"我的歌"_qs}}; }
    QList<LibraryListEntry> historyDays() const override { return {}; }
    QList<LibraryAlbumEntry> albums() const override { return {{1, u"88"_qs, u"甲-乙"_qs}}; }
    QList<LibrarySong> playlistSongs(int id, PageSlice) const override
    {
        return id == 4 ? QList<LibrarySong> {{1, u"一"_qs, {}, u"http://h/1.mp3"_qs, {}, {}, {}, u"t"_qs, {}}}
                       : QList<LibrarySong> {};
    }
    QList<LibrarySong> historySongs(int, PageSlice) const override { return {}; }
};
} // namespace

class TestResultArea : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        FakePageFetcher fetcher;
        ResultPages pages {&fetcher};
        ResultArea area {&pages};
        Fixture()
        {
            area.resize(600, 400);
            area.show();
        }
    };

private Q_SLOTS:
    void headersFollowTheStrip()
    {
        Fixture f;
        QSignalSpy scroll(&f.area, &ResultArea::scrollButtonsVisibleChanged);
        for (int i = 0; i < 3; ++i)
            f.area.pages()->OpenResultTab(TabKind::List, u" 列表 "_qs);
        QList<int> lefts;
        for (int t = 1; t <= 3; ++t) {
            TabHeader *h = f.area.header(t);
            QCOMPARE(h->objectName(), u"xs1"_qs);
            QCOMPARE(h->caption()->objectName(), u"xs2"_qs);
            QCOMPARE(h->caption()->text(), u"列表"_qs); // trimmed; the tool tip keeps the title
            QCOMPARE(h->toolTip(), u" 列表 "_qs);
            lefts << h->x();
        }
        QCOMPARE(lefts, (QList<int> {0, 80, 160}));
        QCOMPARE(f.area.header(3)->state(), HeaderState::Selected);
        QCOMPARE(f.area.listView(3)->objectName(), u"ListView1"_qs);
        QVERIFY(f.area.listView(3)->isVisible());
        QVERIFY(!f.area.listView(1)->isVisible());

        QTest::mouseClick(f.area.header(1), Qt::LeftButton);
        QCOMPARE(f.pages.strip().frontTab(), 1);
        QVERIFY(f.area.listView(1)->isVisible());
        QTest::mouseDClick(f.area.header(2), Qt::LeftButton);
        QVERIFY(!f.area.header(2));
        QCOMPARE(f.area.header(3)->x(), 80);

        for (int i = 0; i < 4; ++i)
            f.area.pages()->OpenResultTab(TabKind::List, u"x"_qs);
        QCOMPARE(scroll.size(), 1);
        QCOMPARE(scroll.at(0).at(0).toBool(), true);
        QVERIFY(!f.area.header(1)->isVisible());
    }

    void statusLineShowsServerTextPlainly()
    {
        Fixture f;
        f.area.pages()->OpenWebTab(u"http://127.0.0.1:9/a.asp"_qs, u"<b>粗</b>"_qs);
        QCOMPARE(f.area.statusLabel()->objectName(), u"Label6"_qs);
        QCOMPARE(f.area.statusLabel()->textFormat(), Qt::PlainText);
        QCOMPARE(f.area.statusLabel()->text(), u"<b>粗</b>"_qs);
        QCOMPARE(f.area.header(1)->caption()->textFormat(), Qt::PlainText);
    }

    void webTabShowsItsPageOnceLoaded()
    {
        Fixture f;
        FakeFactory factory;
        // A tab opened before the module is there gets its pane later.
        f.area.pages()->OpenWebTab(u"http://127.0.0.1:9/softhelp.asp"_qs, u"帮助中心"_qs);
        QVERIFY(f.area.loadingIndicator(1)->isVisible());
        f.area.setWebPaneFactory(&factory);
        QCOMPARE(factory.panes.size(), 1);
        QCOMPARE(factory.hosts, QStringList {u"127.0.0.1"_qs});
        FakePane *pane = factory.panes.at(0);
        QCOMPARE(pane->visited, QList<QUrl> {QUrl(u"http://127.0.0.1:9/softhelp.asp"_qs)});
        QVERIFY(!pane->isVisible());
        pane->finish();
        QTRY_VERIFY_WITH_TIMEOUT(pane->isVisible(), 5000);
        QVERIFY(!f.area.loadingIndicator(1)->isVisible());
        QVERIFY(f.pages.strip().tab(1)->pageShown);

        // A "softfile:" link opens another web tab at the server.
        pane->click(u"SOFTFILE:News/123.htm"_qs);
        QCOMPARE(f.pages.strip().openTabs().size(), 2);
        QCOMPARE(f.pages.strip().tab(2)->title, u"资讯新闻显示"_qs);
        QCOMPARE(
            factory.panes.at(1)->visited.value(0).toString(), QUrl(u"http://127.0.0.1:9/\\news/123.htm"_qs).toString());
        pane->click(u"softfile:"_qs);
        QCOMPARE(f.pages.strip().openTabs().size(), 2);

        // Back to the first tab: its page shows at once.
        f.area.pages()->ActivateResultTab(1);
        QVERIFY(pane->isVisible());
        QVERIFY(!f.area.loadingIndicator(1)->isVisible());
        QVERIFY(f.area.pages()->CloseResultTab(1));
        QVERIFY(!f.area.webPane(1));
    }

    void webTabKeepsItsIndicatorUntilThePageHasLoaded()
    {
        Fixture f;
        FakeFactory factory;
        f.area.setWebPaneFactory(&factory);
        f.area.pages()->OpenWebTab(u"http://127.0.0.1:9/slow.asp"_qs, u"慢"_qs);
        FakePane *pane = factory.panes.at(0);
        // All bytes counted, or a load that failed: the page is not complete, no box says so.
        Q_EMIT pane->loadProgress(100);
        Q_EMIT pane->loadFinished(false);
        QTest::qWait(700);
        QVERIFY(f.area.loadingIndicator(1)->isVisible());
        QVERIFY(!pane->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        // A new window it asks for opens a tab, a "softfile:" one by the link rule.
        f.area.openNewWindow(QUrl(u"softfile:news/2.htm"_qs));
        QCOMPARE(
            factory.panes.at(1)->visited.value(0).toString(), QUrl(u"http://127.0.0.1:9/\\news/2.htm"_qs).toString());
        pane->finish();
        f.area.pages()->ActivateResultTab(1);
        QTRY_VERIFY_WITH_TIMEOUT(pane->isVisible(), 2000);
    }

    void adPaneShowsOnceLoaded()
    {
        QWidget window;
        AdPane ad(&window);
        window.show();
        ad.load(QUrl(u"http://127.0.0.1:9/webggt.asp"_qs));
        QVERIFY(!ad.isVisible());
        FakeFactory factory;
        ad.setWebPaneFactory(&factory, u"127.0.0.1"_qs);
        QCOMPARE(factory.panes.at(0)->visited, QList<QUrl> {QUrl(u"http://127.0.0.1:9/webggt.asp"_qs)});
        Q_EMIT factory.panes.at(0)->loadProgress(40);
        QVERIFY(!ad.isVisible());
        // A page that cannot be opened shows nothing in the small pane.
        Q_EMIT factory.panes.at(0)->loadProgress(100);
        Q_EMIT factory.panes.at(0)->loadFinished(false);
        QVERIFY(!ad.isVisible());
        factory.panes.at(0)->finish();
        QVERIFY(ad.isVisible());
        QCOMPARE(ad.objectName(), u"Webggt"_qs);
        // Its links go to the owner, which opens tabs for them.
        QSignalSpy links(&ad, &AdPane::linkRequested);
        factory.panes.at(0)->click(u"softfile:news/3.htm"_qs);
        QCOMPARE(links.size(), 1);
    }

    void adPaneMakesItsViewForItsFirstPage()
    {
        AdPane ad;
        FakeFactory factory;
        ad.setWebPaneFactory(&factory, u"127.0.0.1"_qs);
        QVERIFY(factory.panes.isEmpty()); // no engine process for a pane nobody asked for
        ad.load(QUrl(u"http://127.0.0.1:9/webggt.asp"_qs));
        QCOMPARE(factory.panes.size(), 1);
        QCOMPARE(factory.panes.at(0)->visited, QList<QUrl> {QUrl(u"http://127.0.0.1:9/webggt.asp"_qs)});
    }

    void catalogueRightClickMenu()
    {
        FakePageFetcher fetcher;
        ResultPages pages(&fetcher);
        KeyedTreeModel model;
        CatalogueTree tree(&model, &pages);
        CatalogueTree::BuildCatalogueTree(model);
        for (const QString &key : {u"b0-1"_qs, u"b0-1-2"_qs, u"b0-1-2-3"_qs, u"b0-1-2-3-4"_qs}) {
            TreeNodeSpec s;
            s.key = key;
            s.caption = key;
            model.addNode(key.left(key.lastIndexOf(u'-')), s);
        }
        CommandMenus menus;
        LastTreeButton button;
        CatalogueTreeView view(&tree, &menus, &button);
        QCOMPARE(view.objectName(), u"TreeView1"_qs);
        QVERIFY(!view.prepareArtistMenu(u"b0-1-2"_qs));
        QVERIFY(view.prepareArtistMenu(u"b0-1-2-3"_qs));
        QVERIFY(menus.artist.news->isVisible());
        QVERIFY(!menus.artist.addToShelf->isVisible());
        QVERIFY(!menus.artist.buyCd->isVisible());
        QVERIFY(view.prepareArtistMenu(u"b0-1-2-3-4"_qs));
        QVERIFY(!menus.artist.news->isVisible());
        QVERIFY(menus.artist.addToShelf->isVisible());
        QVERIFY(menus.artist.introduction->isVisible());
    }

    // Deep captions can be read: the tree scrolls sideways and shows each whole caption
    // as its tooltip; a tab header too narrow for its title ends it with "…".
    void longCaptionsStayReadable()
    {
        FakePageFetcher fetcher;
        ResultPages pages(&fetcher);
        KeyedTreeModel model;
        CatalogueTree tree(&model, &pages);
        CatalogueTree::BuildCatalogueTree(model);
        const QString caption = u"一位名字很长很长的歌手的一张名字也很长的专辑(12)"_qs;
        QString parent = u"b0"_qs;
        for (const QString &key : {u"b0-1"_qs, u"b0-1-2"_qs, u"b0-1-2-3"_qs}) {
            model.addNode(parent, TreeNodeSpec {key, caption, 3});
            parent = key;
        }
        CommandMenus menus;
        LastTreeButton button;
        CatalogueTreeView view(&tree, &menus, &button);
        view.resize(160, 190);
        view.show();
        view.expandAll();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY(view.horizontalScrollBar()->maximum() > 0);
        QCOMPARE(model.indexOf(u"b0-1-2-3"_qs).data(Qt::ToolTipRole).toString(), caption);

        TabHeader header(1, caption);
        QVERIFY(header.caption()->text().endsWith(u"…"_qs));
        QCOMPARE(header.caption()->toolTip(), caption);
    }

    void libraryMenusAndPages()
    {
        FakePageFetcher fetcher;
        ResultPages pages(&fetcher);
        FakeLibrary library;
        KeyedTreeModel model;
        LibraryTree tree(&model);
        tree.AddLibraryNodes();
        tree.LoadLibraryNodes(library);
        LibraryPages libraryPages(&pages, &library);
        CommandMenus menus;
        LastTreeButton button;
        LibraryTreeView view(&tree, &libraryPages, &menus, &button);
        QCOMPARE(view.objectName(), u"TreeView2"_qs);

        QCOMPARE(view.prepareMenu(u"c0"_qs), menus.lists.menu);
        QVERIFY(menus.lists.addList->isEnabled());
        QVERIFY(!menus.lists.renameList->isEnabled());
        QVERIFY(!menus.lists.appendList->isEnabled());
        QCOMPARE(view.prepareMenu(u"c4"_qs), menus.lists.menu);
        QVERIFY(!menus.lists.addList->isEnabled());
        QVERIFY(menus.lists.deleteList->isEnabled());
        QCOMPARE(view.prepareMenu(u"d0"_qs), nullptr);
        QCOMPARE(view.prepareMenu(u"b0"_qs), menus.nowPlaying.menu);
        QCOMPARE(view.prepareMenu(u"f1-88"_qs), menus.shelf.menu);
        QCOMPARE(view.prepareMenu(u"e0"_qs), nullptr);

        libraryPages.setFileExists([](const QString &) { return false; });
        const int tab = QCoro::waitFor(libraryPages.open(tree.pageFor(u"c4"_qs)));
        QCOMPARE(tab, 1);
        SongListModel *m = pages.listModel(pages.strip().tab(tab)->view);
        QCOMPARE(m->pageKind(), SongPageKind::Playlist);
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), u"添加时间"_qs);
        QCOMPARE(m->rowAt(0).record()->locator, u"http://h/1.mp3"_qs);
        QCOMPARE(pages.strip().tab(tab)->title, u"我的歌"_qs);

        // A CD album's songs come from the server.
        fetcher.payloads[fetcher.base + u"urlkxrj_4.asp?id=88&page=1"_qs]
            = QStringList {u"2"_qs, u"歌"_qs}.join(kFieldSep) + kRecordSep;
        QCOMPARE(QCoro::waitFor(libraryPages.open(tree.pageFor(u"f1-88"_qs))), 2);
        QCOMPARE(pages.strip().tab(2)->title, u"甲-乙"_qs);
        QCOMPARE(QCoro::waitFor(libraryPages.open(tree.pageFor(u"f0"_qs))), 0);
    }
};

QTEST_MAIN(TestResultArea)
#include "tst_resultarea.moc"
