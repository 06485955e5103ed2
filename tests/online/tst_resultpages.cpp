#include "core/pageformats.h"
#include "online/resultpages.h"
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

// A page of a paged list: one song named after the page, and the summary.
QString listPage(int page, int pages)
{
    return payload(u"2|第"_qs + QString::number(page) + u"页|d|1|"_qs + QString::number(page) + u"|u|v|w;2|-1|"_qs
        + QString::number(pages * 10) + u"|"_qs + QString::number(pages) + u"|"_qs + QString::number(page) + u";"_qs);
}
} // namespace

class TestResultPages : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        FakePageFetcher fetcher;
        ResultPages pages {&fetcher};
        const QString list = fetcher.base + u"soft.asp?mlid=1"_qs;
        Fixture()
        {
            for (int p = 1; p <= 6; ++p)
                fetcher.payloads[list + u"&page="_qs + QString::number(p)] = listPage(p, 6);
        }
        bool load(int page, int tab = 0) { return QCoro::waitFor(pages.LoadListPage({list, page, tab, u"榜"_qs, {}})); }
        QString firstTitle(int tab)
        {
            const SongListModel *m = pages.listModel(pages.strip().tab(tab)->view);
            return m->rowCount() ? m->rowAt(0).cells.at(0) : QString();
        }
    };

private Q_SLOTS:
    void loadOpensATabWithRowsAndStatus()
    {
        Fixture f;
        QVERIFY(f.load(2));
        QCOMPARE(f.pages.strip().openTabs(), QList<int> {1});
        SongListModel *m = f.pages.listModel(1);
        QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(m->rowAt(0).cells, (QStringList {u"第2页"_qs, u"音频文件"_qs, u"1"_qs, u"d"_qs}));
        QCOMPARE(m->rowAt(0).record()->toText(), u"2||| u|||v|||w|||2"_qs);
        QCOMPARE(m->headerData(3, Qt::Horizontal).toString(), u"添加时间"_qs);
        QCOMPARE(f.pages.strip().status(), (StatusLine {u"共有资源：60个，第2/6页"_qs, 1}));
        QCOMPARE(f.pages.strip().tab(1)->listUrl, f.list);
    }

    void blankPayloadLeavesNoTab()
    {
        Fixture f;
        QVERIFY(f.load(2));
        f.fetcher.payloads[f.list + u"&page=1"_qs] = u" \r\n "_qs;
        QVERIFY(!f.load(1));
        QCOMPARE(f.pages.strip().openTabs(), QList<int> {1});
        QCOMPARE(f.pages.strip().frontTab(), 1);
        QCOMPARE(f.pages.strip().status(), (StatusLine {u"共有资源：60个，第2/6页"_qs, 1}));
    }

    void turnPages_data()
    {
        QTest::addColumn<int>("startPage");
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("requests"); // requests after the first load
        QTest::addColumn<QString>("shown");
        QTest::newRow("next") << 2 << 3 << 1 << u"第3页"_qs;
        QTest::newRow("previous") << 2 << 2 << 1 << u"第1页"_qs;
        QTest::newRow("first") << 4 << 1 << 1 << u"第1页"_qs;
        QTest::newRow("last") << 2 << 4 << 1 << u"第6页"_qs;
        QTest::newRow("previous on page 1") << 1 << 2 << 0 << u"第1页"_qs;
        QTest::newRow("next on the last page") << 6 << 3 << 0 << u"第6页"_qs;
    }
    void turnPages()
    {
        QFETCH(int, startPage);
        QFETCH(int, action);
        QFETCH(int, requests);
        QFETCH(QString, shown);
        Fixture f;
        QVERIFY(f.load(startPage));
        QSignalSpy busy(&f.pages, &ResultPages::busyChanged);
        QCOMPARE(QCoro::waitFor(f.pages.TurnListPage(PageTurn(action))), requests > 0);
        QCOMPARE(f.fetcher.requested.size(), 1 + requests);
        QCOMPARE(busy.size(), requests > 0 ? 2 : 0);
        QCOMPARE(f.pages.strip().openTabs(), QList<int> {1}); // the same tab is refilled
        QCOMPARE(f.firstTitle(1), shown);
        QCOMPARE(f.pages.listModel(1)->rowCount(), 1);
    }

    void pageButtonsActOnlyOnTheListInFront()
    {
        Fixture f;
        QVERIFY(f.load(2));
        QVERIFY(f.pages.OpenWebTab(u"http://127.0.0.1:9/softhelp.asp"_qs, u"帮助中心"_qs));
        QVERIFY(!QCoro::waitFor(f.pages.TurnListPage(PageTurn::Next)));
        QCOMPARE(f.pages.OpenWebTab(u"  "_qs, u"空"_qs), 0);
        QCOMPARE(f.pages.strip().openTabs().size(), 2);
        // A library page in front: the server list behind it does not turn either.
        f.pages.ActivateResultTab(1);
        f.pages.OpenResultTab(TabKind::List, u"播放列表"_qs);
        QVERIFY(!QCoro::waitFor(f.pages.TurnListPage(PageTurn::Next)));
        QCOMPARE(f.fetcher.requested.size(), 1);
    }

    void tabsOpenInTheOrderOfTheClicks()
    {
        Fixture f;
        f.fetcher.holdReplies = true;
        auto first = f.pages.LoadListPage({f.list, 1, 0, u"甲"_qs, {}});
        auto second = f.pages.LoadListPage({f.list, 2, 0, u"乙"_qs, {}});
        f.fetcher.releaseRequest(1); // the second answer comes first
        QVERIFY(QCoro::waitFor(second));
        f.fetcher.releaseRequest(0);
        QVERIFY(QCoro::waitFor(first));
        QCOMPARE(f.pages.strip().tab(1)->title, u"甲"_qs);
        QCOMPARE(f.firstTitle(1), u"第1页"_qs);
        QCOMPARE(f.pages.strip().tab(2)->title, u"乙"_qs);
        QCOMPARE(f.firstTitle(2), u"第2页"_qs);
    }

    void pageForAClosedTabIsDropped()
    {
        Fixture f;
        QVERIFY(f.load(2));
        f.fetcher.holdReplies = true;
        auto turning = f.pages.TurnListPage(PageTurn::Next);
        QVERIFY(f.pages.CloseResultTab(1));
        // The number comes back for another tab before the old reply arrives.
        f.pages.OpenResultTab(TabKind::List, u"新"_qs);
        f.fetcher.release();
        QVERIFY(!QCoro::waitFor(turning));
        QCOMPARE(f.pages.listModel(f.pages.strip().tab(1)->view)->rowCount(), 0);
        QCOMPARE(f.pages.strip().tab(1)->title, u"新"_qs);
    }

    void olderPageReplyLosesToNewer()
    {
        Fixture f;
        QVERIFY(f.load(2));
        f.fetcher.holdReplies = true;
        auto toThree = f.pages.LoadListPage({f.list, 3, 1, {}, {}});
        auto toSix = f.pages.LoadListPage({f.list, 6, 1, {}, {}});
        // The newer reply arrives first; the older one, arriving last, must not win.
        f.fetcher.releaseRequest(2);
        f.fetcher.releaseRequest(1);
        QCoro::waitFor(toThree);
        QCoro::waitFor(toSix);
        QCOMPARE(f.firstTitle(1), u"第6页"_qs);
        QCOMPARE(f.pages.strip().tab(1)->paging->current, u"6"_qs);
    }

    void downloadPageStaysOpenWhileDownloading()
    {
        Fixture f;
        const auto opened = f.pages.OpenResultTab(TabKind::List, u"下载管理"_qs);
        f.pages.listModel(opened.view)->setPageKind(SongPageKind::Downloads);
        f.pages.listModel(opened.view)->setDownloading(true);
        QSignalSpy refused(&f.pages, &ResultPages::closeRefusedWhileDownloading);
        QVERIFY(!f.pages.CloseResultTab(opened.tab));
        QCOMPARE(refused.size(), 1);
        f.pages.listModel(opened.view)->setDownloading(false);
        QVERIFY(f.pages.CloseResultTab(opened.tab));
        QVERIFY(!f.pages.listModel(opened.view));
    }

    void largeModelFillsInOneReset()
    {
        SongListModel model(SongPageKind::Playlist);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QList<SongListRow> rows(100000);
        for (qsizetype i = 0; i < rows.size(); ++i)
            rows[i].cells = {QString::number(i), u"2020-1-1"_qs};
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
        model.setRows(std::move(rows));
        QCOMPARE(model.rowCount(), 100000);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(inserts.size(), 0);
        QCOMPARE(model.index(99999, 0).data().toString(), u"99999"_qs);
        model.removeRowAt(0);
        model.setCell(0, 1, u"x"_qs);
        QCOMPARE(model.index(0, 1).data().toString(), u"x"_qs);
        QCOMPARE(model.columnCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestResultPages)
#include "tst_resultpages.moc"
