#include "core/pageformats.h"
#include "online/listpage.h"

#include <QTest>

using namespace kivo;

namespace {
// "a㊣b㊣㊣c㊣㊣" from "a|b;c" so rows stay readable.
QString payload(const QString &compact)
{
    QString p = compact;
    p.replace(u';', kRecordSep);
    p.replace(u'|', kFieldSep);
    return p;
}

QString describe(const TreeNodeSpec &n)
{
    QString s = n.key + u" \""_qs + n.caption + u"\" img"_qs + QString::number(n.image);
    if (n.tag)
        s += u" tag="_qs + n.tag->toText();
    if (n.kind == TreeNodeKind::PreviousPage || n.kind == TreeNodeKind::NextPage)
        s += u" page="_qs + QString::number(n.pageNumber);
    return s;
}
} // namespace

class TestListPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void treeMode_data()
    {
        QTest::addColumn<QString>("parentKey");
        QTest::addColumn<QString>("records");
        QTest::addColumn<QStringList>("nodes");
        QTest::newRow("paging 1/1 adds nothing") << u"b0"_qs << u"0|-1| |1|1;"_qs << QStringList();
        QTest::newRow("paging 2/3: previous in place, next last")
            << u"b0-4"_qs << u"0|-1| |3|2;0|歌手甲| |5|17|urlkxrj_1.asp?id=17;"_qs
            << QStringList {u"b0-4-pas2 \"上一页(2/3)\" img14 page=1"_qs,
                   u"b0-4-17 \"歌手甲(5)\" img4 tag=0|||17|||urlkxrj_1.asp?id=17"_qs,
                   u"b0-4-pax2 \"下一页(2/3)\" img15 page=3"_qs};
        QTest::newRow("paging 3/3: only previous")
            << u"b0"_qs << u"0|-1| |3|3;"_qs << QStringList {u"b0-pas3 \"上一页(3/3)\" img14 page=2"_qs};
        QTest::newRow("entry count 0 without parentheses")
            << u"b0"_qs << u"1|专辑乙| |0|9|urlkxrj_4.asp?id=9;"_qs
            << QStringList {u"b0-9 \"专辑乙\" img3 tag=1|||9|||urlkxrj_4.asp?id=9"_qs};
        QTest::newRow("non-numeric count without parentheses")
            << u"b0-1-2"_qs << u"0|丙| |x|3|p.asp;"_qs << QStringList {u"b0-1-2-3 \"丙\" img5 tag=0|||3|||p.asp"_qs};
        QTest::newRow("deep parent image 8") << u"b0-1-2-3"_qs << u"1|丁| |2|4|q.asp;"_qs
                                             << QStringList {u"b0-1-2-3-4 \"丁(2)\" img8 tag=1|||4|||q.asp"_qs};
        QTest::newRow("non-numeric field 0 skipped")
            << u"b0"_qs << u"x|甲| |1|5|p;0|乙| |1|6|q;"_qs << QStringList {u"b0-6 \"乙(1)\" img3 tag=0|||6|||q"_qs};
        QTest::newRow("songs are not nodes") << u"b0"_qs << u"2|歌|2020-1-1|5|1|u|u1|u2;"_qs << QStringList();
        QTest::newRow("text after the last separator ignored")
            << u"b0"_qs << u"0|甲| |1|5|p;0|乙| |1|6|q"_qs << QStringList {u"b0-5 \"甲(1)\" img3 tag=0|||5|||p"_qs};
        QTest::newRow("category without id dropped") << u"b0"_qs << u"0|甲;"_qs << QStringList();
        QTest::newRow("short paging record keeps no next node") << u"b0"_qs << u"0|-1| |3;"_qs << QStringList();
    }
    void treeMode()
    {
        QFETCH(QString, parentKey);
        QFETCH(QString, records);
        QFETCH(QStringList, nodes);
        const ListPageContent c = parseListPage(payload(records), ListPageMode::Tree, parentKey);
        QStringList got;
        for (const TreeNodeSpec &n : c.nodes)
            got << describe(n);
        QCOMPARE(got, nodes);
        QVERIFY(c.songs.isEmpty());
    }

    void listMode_data()
    {
        QTest::addColumn<QString>("records");
        QTest::addColumn<QStringList>("rows"); // title, popularity, added, record text
        QTest::addColumn<QString>("status");
        QTest::newRow("summary only") << u"2|-1|120|6|2;"_qs << QStringList() << u"共有资源：120个，第2/6页"_qs;
        QTest::newRow("summary with blanks trimmed")
            << u"2| -1 | 120 | 6 | 2 ;"_qs << QStringList() << u"共有资源：120个，第2/6页"_qs;
        QTest::newRow("song rows in order")
            << u"2|甲|2021-3-4|17|101|http://a|http://b|c;3|乙|2021-3-5|2|102| | | ;2|-1|2|1|1;"_qs
            << QStringList {u"甲/17/2021-3-4/101||| http://a|||http://b|||c|||2"_qs,
                   u"乙/2/2021-3-5/102||| |||||||||3"_qs}
            << u"共有资源：2个，第1/1页"_qs;
        QTest::newRow("short song record")
            << u"2|丙|2021;"_qs << QStringList {u"丙//2021/||| |||||||||2"_qs} << QString();
        QTest::newRow("categories and tree paging ignored")
            << u"0|类| |3|4|p;0|-1| |3|2;"_qs << QStringList() << QString();
        QTest::newRow("CR and LF removed")
            << u"2|丁\r\n|d|1|7|u|v|w;"_qs << QStringList {u"丁/1/d/7||| u|||v|||w|||2"_qs} << QString();
        QTest::newRow("blank payload") << u"  "_qs << QStringList() << QString();
    }
    void listMode()
    {
        QFETCH(QString, records);
        QFETCH(QStringList, rows);
        QFETCH(QString, status);
        const ListPageContent c = parseListPage(payload(records), ListPageMode::List);
        QStringList got;
        for (const CatalogueSong &s : c.songs)
            got << s.title + u"/"_qs + s.popularity + u"/"_qs + s.added + u"/"_qs + s.record.toText();
        QCOMPARE(got, rows);
        QCOMPARE(c.summary ? c.summary->summaryText() : QString(), status);
        QVERIFY(c.nodes.isEmpty());
    }

    void pageTurn_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("target"); // 0: nothing
        QTest::newRow("first") << 1 << u"3"_qs << u"6"_qs << 1;
        QTest::newRow("first on first") << 1 << u"1"_qs << u"6"_qs << 0;
        QTest::newRow("previous") << 2 << u"3"_qs << u"6"_qs << 2;
        QTest::newRow("previous on page 1") << 2 << u"1"_qs << u"6"_qs << 0;
        QTest::newRow("next") << 3 << u"3"_qs << u"6"_qs << 4;
        QTest::newRow("next on last") << 3 << u"6"_qs << u"6"_qs << 0;
        QTest::newRow("last") << 4 << u"3"_qs << u"6"_qs << 6;
        QTest::newRow("any other action is last") << 9 << u"3"_qs << u"6"_qs << 6;
        QTest::newRow("last on last") << 4 << u"6"_qs << u"6"_qs << 0;
        QTest::newRow("no pages") << 4 << u"0"_qs << u"0"_qs << 0;
        QTest::newRow("garbled state") << 3 << u"x"_qs << u"6"_qs << 0;
        QTest::newRow("next on the highest page") << 3 << u"2147483647"_qs << u"2147483647"_qs << 0;
        QTest::newRow("previous on the lowest page") << 2 << u"-2147483648"_qs << u"2147483647"_qs << 0;
    }
    void pageTurn()
    {
        QFETCH(int, action);
        QFETCH(QString, current);
        QFETCH(QString, count);
        QFETCH(int, target);
        const auto got = pageTurnTarget(action, PagingState {u"120"_qs, current, count});
        QCOMPARE(got.value_or(0), target);
        QVERIFY(!pageTurnTarget(action, std::nullopt));
    }

    void catalogueTagText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("path");
        QTest::newRow("fixed chart") << u"2||| |||soft.asp?mlid=1"_qs << true << 2 << u"soft.asp?mlid=1"_qs;
        QTest::newRow("path trimmed") << u"0|||5||| kxrjbaidu.asp?bdid=3 "_qs << true << 0
                                      << u"kxrjbaidu.asp?bdid=3"_qs;
        QTest::newRow("two fields") << u"0|||5"_qs << false << 0 << QString();
        QTest::newRow("kind not a number") << u"x|||5|||p"_qs << false << 0 << QString();
    }
    void catalogueTagText()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, kind);
        QFETCH(QString, path);
        const auto tag = CatalogueTag::fromText(text);
        QCOMPARE(bool(tag), valid);
        if (tag) {
            QCOMPARE(tag->kind, kind);
            QCOMPARE(tag->pagePath, path);
        }
    }
};

QTEST_GUILESS_MAIN(TestListPage)
#include "tst_listpage.moc"
