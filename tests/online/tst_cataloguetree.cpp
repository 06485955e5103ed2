#include "core/pageformats.h"
#include "online/cataloguetree.h"
#include "support/fakepagefetcher.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;
using kivo::test::FakePageFetcher;

namespace {
QString payload(const QString &compact)
{
    QString p = compact;
    p.replace(u';', kRecordSep);
    p.replace(u'|', kFieldSep);
    return p;
}

QStringList childKeys(const KeyedTreeModel &m, const QString &key)
{
    QStringList keys;
    for (const auto &c : m.node(key)->children)
        keys << c->key;
    return keys;
}
} // namespace

class TestCatalogueTree : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        FakePageFetcher fetcher;
        KeyedTreeModel model;
        QAbstractItemModelTester tester {&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
        ResultPages pages {&fetcher};
        CatalogueTree tree {&model, &pages};
        Fixture() { CatalogueTree::BuildCatalogueTree(model); }
        QString url(const QString &path) const { return fetcher.base + path; }
        bool open(const QString &key) { return QCoro::waitFor(tree.openNode(key)); }
    };

private Q_SLOTS:
    void fixedNodes()
    {
        KeyedTreeModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        CatalogueTree::BuildCatalogueTree(model);
        QCOMPARE(model.nodeCount(), 30);
        QCOMPARE(childKeys(model, u"a0"_qs),
            (QStringList {u"b0"_qs, u"g0"_qs, u"h0"_qs, u"c0"_qs, u"d0"_qs, u"e0"_qs, u"f0"_qs}));
        QCOMPARE(childKeys(model, u"d0"_qs).size(), 10);
        QVERIFY(!model.node(u"d7"_qs));
        QCOMPARE(model.node(u"c0-9"_qs)->tag->toText(), u"0||| |||soft.asp?mlid=3&classid=1"_qs);
        QCOMPARE(model.node(u"d2"_qs)->caption, u"歌曲TOP500"_qs);
        // A chart node's image follows its kind.
        for (const QString &parent : {u"c0"_qs, u"d0"_qs})
            for (const auto &c : model.node(parent)->children)
                QCOMPARE(c->image, c->tag->kind == 0 ? 3 : 4);
        QCOMPARE(model.node(u"f0"_qs)->image, 13);
        QVERIFY(!model.node(u"b0"_qs)->tag);
    }

    void doubleClickDecision_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("path"); // below the base URL
        QTest::addColumn<QString>("title");
        using T = CatalogueAction::Type;
        QTest::newRow("root") << u"a0"_qs << int(T::Nothing) << QString() << QString();
        QTest::newRow("c0") << u"c0"_qs << int(T::Nothing) << QString() << QString();
        QTest::newRow("d0") << u"d0"_qs << int(T::Nothing) << QString() << QString();
        QTest::newRow("music library") << u"b0"_qs << int(T::LoadTree) << u"urlkxrj_0.asp?id=1"_qs << QString();
        QTest::newRow("video library") << u"g0"_qs << int(T::LoadTree) << u"urlkxrj_0.asp?id=1&classid=1"_qs
                                       << QString();
        QTest::newRow("news") << u"h0"_qs << int(T::LoadTree) << u"news.asp"_qs << QString();
        QTest::newRow("guestbook") << u"e0"_qs << int(T::OpenWeb) << u"softbook.asp"_qs << u"留言建议"_qs;
        QTest::newRow("help") << u"f0"_qs << int(T::OpenWeb) << u"softhelp.asp"_qs << u"帮助中心"_qs;
        QTest::newRow("song chart") << u"c0-1"_qs << int(T::LoadList) << u"soft.asp?mlid=1"_qs << u"新歌TOP100"_qs;
        QTest::newRow("category chart") << u"c0-3"_qs << int(T::LoadTree) << u"soft.asp?mlid=3"_qs << QString();
        QTest::newRow("mp3 chart") << u"d4"_qs << int(T::LoadList) << u"kxrjbaidu.asp?bdid=4"_qs << u"电影金曲"_qs;
    }
    void doubleClickDecision()
    {
        QFETCH(QString, key);
        QFETCH(int, type);
        QFETCH(QString, path);
        QFETCH(QString, title);
        Fixture f;
        const CatalogueAction a = f.tree.decide(key);
        QCOMPARE(int(a.type), type);
        if (a.type != CatalogueAction::Type::Nothing) {
            QCOMPARE(a.url, f.url(path));
            QCOMPARE(a.title, title);
        }
    }

    void categoryFetchedOnce()
    {
        Fixture f;
        f.fetcher.payloads[f.url(u"soft.asp?mlid=3"_qs)] = payload(u"0|歌手甲| |2|31|urlkxrj_1.asp?id=31;"_qs);
        QVERIFY(f.open(u"c0-3"_qs));
        QVERIFY(!f.open(u"c0-3"_qs));
        QCOMPARE(f.fetcher.requested, QStringList {f.url(u"soft.asp?mlid=3"_qs)});
        QCOMPARE(childKeys(f.model, u"c0-3"_qs), QStringList {u"c0-3-31"_qs});
        QCOMPARE(f.model.node(u"c0-3-31"_qs)->image, 4);
    }

    void emptyLevelIsFetchedAgain()
    {
        Fixture f;
        QVERIFY(!f.open(u"b0"_qs));
        QVERIFY(!f.open(u"b0"_qs));
        QCOMPARE(f.fetcher.requested.size(), 2);
        QCOMPARE(f.model.node(u"b0"_qs)->loading, false);
    }

    void listChartOpensANewTabEachTime()
    {
        Fixture f;
        f.fetcher.payloads[f.url(u"soft.asp?mlid=1&page=1"_qs)] = payload(u"2|歌|2021-1-1|3|8|u|v|w;2|-1|1|1|1;"_qs);
        QVERIFY(f.open(u"c0-1"_qs));
        QVERIFY(f.open(u"c0-1"_qs));
        QCOMPARE(f.fetcher.requested,
            (QStringList {f.url(u"soft.asp?mlid=1&page=1"_qs), f.url(u"soft.asp?mlid=1&page=1"_qs)}));
        QCOMPARE(f.pages.strip().openTabs(), (QList<int> {1, 2}));
        QCOMPARE(f.pages.strip().tab(2)->title, u"新歌TOP100"_qs);
        QCOMPARE(f.pages.listModel(2)->rowCount(), 1);
        QCOMPARE(f.pages.strip().tab(2)->listUrl, f.url(u"soft.asp?mlid=1"_qs));
    }

    void pagingNodesRefillTheParent()
    {
        Fixture f;
        const QString path = u"urlkxrj_1.asp?id=31"_qs;
        f.fetcher.payloads[f.url(u"urlkxrj_0.asp?id=1"_qs)] = payload(u"0|流行| |40|31|"_qs + path + u";"_qs);
        f.fetcher.payloads[f.url(path)] = payload(u"0|-1| |3|1;0|甲| |1|7|a.asp;"_qs);
        f.fetcher.payloads[f.url(path + u"&page=2"_qs)] = payload(u"0|-1| |3|2;0|乙| |1|8|b.asp;"_qs);
        f.fetcher.payloads[f.url(path + u"&page=3"_qs)] = payload(u"0|-1| |3|3;0|丙| |1|9|c.asp;"_qs);
        QVERIFY(f.open(u"b0"_qs));
        QVERIFY(f.open(u"b0-31"_qs));
        QCOMPARE(childKeys(f.model, u"b0-31"_qs), (QStringList {u"b0-31-7"_qs, u"b0-31-pax1"_qs}));
        QSignalSpy selected(&f.tree, &CatalogueTree::selectRequested);
        QVERIFY(f.open(u"b0-31-pax1"_qs));
        QCOMPARE(f.fetcher.requested.last(), f.url(path + u"&page=2"_qs));
        QCOMPARE(childKeys(f.model, u"b0-31"_qs), (QStringList {u"b0-31-pas2"_qs, u"b0-31-8"_qs, u"b0-31-pax2"_qs}));
        QCOMPARE(selected.size(), 1);
        QCOMPARE(f.model.node(u"b0-31-pax2"_qs)->pageNumber, 3);
        QVERIFY(f.open(u"b0-31-pax2"_qs));
        QCOMPARE(f.fetcher.requested.last(), f.url(path + u"&page=3"_qs));
        QCOMPARE(childKeys(f.model, u"b0-31"_qs), (QStringList {u"b0-31-pas3"_qs, u"b0-31-9"_qs}));
        QVERIFY(f.open(u"b0-31-pas3"_qs));
        QCOMPARE(f.fetcher.requested.last(), f.url(path + u"&page=2"_qs));
    }

    void pagingNodesUnderTheLibraryRoots()
    {
        Fixture f;
        for (const QString &root : {u"b0"_qs, u"g0"_qs}) {
            const QString path = root == u"b0"_qs ? u"urlkxrj_0.asp?id=1"_qs : u"urlkxrj_0.asp?id=1&classid=1"_qs;
            f.fetcher.payloads[f.url(path)] = payload(u"0|-1| |2|1;0|甲| |1|7|a.asp;"_qs);
            f.fetcher.payloads[f.url(path + u"&page=2"_qs)] = payload(u"0|-1| |2|2;0|乙| |1|8|b.asp;"_qs);
            QVERIFY(f.open(root));
            QVERIFY(f.open(root + u"-pax1"_qs));
            QCOMPARE(f.fetcher.requested.last(), f.url(path + u"&page=2"_qs));
            QCOMPARE(childKeys(f.model, root), (QStringList {root + u"-pas2"_qs, root + u"-8"_qs}));
        }
    }

    void categoriesOfAListPageBecomeTheNodesChildren()
    {
        Fixture f;
        const QString list = f.url(u"soft.asp?mlid=1&page="_qs);
        f.fetcher.payloads[list + u"1"_qs] = payload(u"2|歌|d|3|8|u|v|w;1|专辑| |2|55|list.asp?id=55;2|-1|20|2|1;"_qs);
        f.fetcher.payloads[list + u"2"_qs] = payload(u"2|歌二|d|3|9|u|v|w;1|别的| |1|56|x.asp;2|-1|20|2|2;"_qs);
        QVERIFY(f.open(u"c0-1"_qs));
        QCOMPARE(f.pages.listModel(1)->rowCount(), 1);
        QCOMPARE(childKeys(f.model, u"c0-1"_qs), QStringList {u"c0-1-55"_qs});
        QCOMPARE(f.model.node(u"c0-1-55"_qs)->caption, u"专辑(2)"_qs);
        QCOMPARE(f.tree.decide(u"c0-1-55"_qs).url, f.url(u"list.asp?id=55"_qs));
        // A page turn and a page not opened from a node add nothing to the tree.
        QVERIFY(QCoro::waitFor(f.pages.TurnListPage(PageTurn::Next)));
        QVERIFY(QCoro::waitFor(f.pages.LoadListPage({f.url(u"soft.asp?mlid=1"_qs), 2, 0, u"搜"_qs, {}})));
        QCOMPARE(childKeys(f.model, u"c0-1"_qs), QStringList {u"c0-1-55"_qs});
        QCOMPARE(f.model.nodeCount(), 31);
    }

    void idsWithLettersStayInTheirBranch()
    {
        Fixture f;
        // A music-library category whose server id holds "h", "e" and "pa": still a music node.
        f.fetcher.payloads[f.url(u"urlkxrj_0.asp?id=1"_qs)] = payload(u"0|怪| |1|hepax9|x.asp;"_qs);
        f.fetcher.payloads[f.url(u"x.asp"_qs)] = payload(u"0|子| |1|1|y.asp;"_qs);
        QVERIFY(f.open(u"b0"_qs));
        const CatalogueAction a = f.tree.decide(u"b0-hepax9"_qs);
        QCOMPARE(a.type, CatalogueAction::Type::LoadTree);
        QCOMPARE(a.url, f.url(u"x.asp"_qs));
        QVERIFY(!a.clearChildrenFirst);
        QVERIFY(f.tree.artistMenuFor(u"b0-hepax9"_qs) == std::nullopt); // two parts: no menu
    }

    void noTwoCopiesOfALevel()
    {
        Fixture f;
        f.fetcher.holdReplies = true;
        f.fetcher.payloads[f.url(u"urlkxrj_0.asp?id=1"_qs)] = payload(u"0|流行| |40|31|p;"_qs);
        auto first = f.tree.openNode(u"b0"_qs);
        auto second = f.tree.openNode(u"b0"_qs); // while the first is still on its way
        QCOMPARE(f.fetcher.requested.size(), 1);
        f.fetcher.release();
        QVERIFY(QCoro::waitFor(first));
        QVERIFY(!QCoro::waitFor(second));
        QCOMPARE(childKeys(f.model, u"b0"_qs), QStringList {u"b0-31"_qs});
    }

    void levelForAGoneNodeIsDropped()
    {
        Fixture f;
        const QString path = u"urlkxrj_1.asp?id=31"_qs;
        f.fetcher.payloads[f.url(u"urlkxrj_0.asp?id=1"_qs)] = payload(u"0|流行| |40|31|"_qs + path + u";"_qs);
        QVERIFY(f.open(u"b0"_qs));
        f.fetcher.holdReplies = true;
        f.fetcher.payloads[f.url(path)] = payload(u"0|甲| |1|7|a.asp;"_qs);
        auto pending = f.tree.openNode(u"b0-31"_qs);
        // The parent is refilled while the level is on its way; the node comes back anew.
        f.model.removeChildren(u"b0"_qs);
        TreeNodeSpec again;
        again.key = u"b0-31"_qs;
        again.caption = u"流行"_qs;
        again.tag = CatalogueTag {0, u"31"_qs, path};
        f.model.addNode(u"b0"_qs, again);
        f.fetcher.release();
        QVERIFY(!QCoro::waitFor(pending));
        QVERIFY(childKeys(f.model, u"b0-31"_qs).isEmpty());
    }

    void newsBranch_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("opensWeb");
        QTest::newRow("three fields") << u"1|||4|||newslist.asp?id=4"_qs << true;
        QTest::newRow("two fields") << u"1|||4"_qs << false;
        QTest::newRow("blank path") << u"1|||4||| "_qs << false;
    }
    void newsBranch()
    {
        QFETCH(QString, tag);
        QFETCH(bool, opensWeb);
        Fixture f;
        f.fetcher.payloads[f.url(u"news.asp"_qs)] = payload(u"1|娱乐|  |0|4|x;"_qs);
        QVERIFY(f.open(u"h0"_qs));
        f.model.node(u"h0-4"_qs)->tag = CatalogueTag::fromText(tag);
        QSignalSpy web(&f.pages, &ResultPages::webNavigate);
        QCOMPARE(f.open(u"h0-4"_qs), opensWeb);
        QCOMPARE(web.size(), opensWeb ? 1 : 0);
        if (opensWeb) {
            QCOMPARE(web.at(0).at(1).toString(), f.url(u"newslist.asp?id=4"_qs));
            QCOMPARE(f.pages.strip().tab(1)->title, u"娱乐娱乐资讯列表"_qs);
            QCOMPARE(f.pages.strip().status(), (StatusLine {u"娱乐娱乐资讯列表"_qs, 0}));
        }
    }

    void artistMenu_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("paging");
        QTest::addColumn<QString>("items"); // "" no menu, else A(dd) B(uy) N(ews)
        QTest::newRow("artist: four parts") << u"b0-1-2-3"_qs << false << u"N"_qs;
        QTest::newRow("album: five parts") << u"b0-1-2-3-4"_qs << false << u"AB"_qs;
        QTest::newRow("deeper still album") << u"b0-1-2-3-4-5"_qs << false << u"AB"_qs;
        QTest::newRow("three parts") << u"b0-1-2"_qs << false << QString();
        QTest::newRow("paging node") << u"b0-1-2-pax2"_qs << true << QString();
        QTest::newRow("video library") << u"g0-1-2-3"_qs << false << QString();
        QTest::newRow("chart") << u"c0-1-2-3"_qs << false << QString();
    }
    void artistMenu()
    {
        QFETCH(QString, key);
        QFETCH(bool, paging);
        QFETCH(QString, items);
        const auto m = CatalogueTree::artistMenuFor(key, paging);
        QString got;
        if (m)
            got = QString(m->addToShelf ? u"A"_qs : QString()) + (m->buyCd ? u"B"_qs : QString())
                + (m->news ? u"N"_qs : QString());
        QCOMPARE(got, items);
        QCOMPARE(bool(m), !items.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCatalogueTree)
#include "tst_cataloguetree.moc"
