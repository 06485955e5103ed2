#include "online/tabstrip.h"

#include <QTest>

using namespace kivo;

namespace {
// "1@0 2@1200 *3@2400": placed tabs with their left positions, * marks the front tab.
QString stripText(const TabStrip &s)
{
    QStringList parts;
    for (int n : s.placedTabs()) {
        const ResultTabInfo *t = s.tab(n);
        parts << (t && t->state == HeaderState::Selected ? u"*"_qs : QString()) + QString::number(n) + u"@"_qs
                + QString::number(s.leftOf(n));
    }
    return parts.join(u' ');
}

void openMany(TabStrip &s, int count, TabKind kind = TabKind::List)
{
    for (int i = 0; i < count; ++i)
        s.open(kind, u"tab"_qs);
}

// Each header knows the number that placed it at most once, and exactly one is in front.
void checkInvariants(const TabStrip &s)
{
    QVERIFY(s.placedTabs().size() <= TabStrip::kStripSlots);
    int front = 0;
    for (int n : s.openTabs())
        if (s.tab(n)->state == HeaderState::Selected)
            ++front;
    QVERIFY(front <= 1);
    if (!s.openTabs().isEmpty())
        QCOMPARE(front, 1);
    QCOMPARE(s.stripWidth(), int(s.placedTabs().size()) * TabStrip::kHeaderWidth);
}
} // namespace

class TestTabStrip : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opening_data()
    {
        QTest::addColumn<int>("opens");
        QTest::addColumn<QString>("strip");
        QTest::addColumn<bool>("scrollButtons");
        QTest::newRow("one") << 1 << u"*1@0"_qs << false;
        QTest::newRow("five fill 6000 twips") << 5 << u"1@0 2@1200 3@2400 4@3600 *5@4800"_qs << false;
        QTest::newRow("sixth wraps to the left") << 6 << u"*6@0"_qs << true;
        QTest::newRow("eleventh wraps again") << 11 << u"*11@0"_qs << true;
    }
    void opening()
    {
        QFETCH(int, opens);
        QFETCH(QString, strip);
        QFETCH(bool, scrollButtons);
        TabStrip s;
        openMany(s, opens);
        QCOMPARE(stripText(s), strip);
        QCOMPARE(s.scrollButtonsVisible(), scrollButtons);
        checkInvariants(s);
    }

    void numbersAreReusedOldestFirst()
    {
        TabStrip s;
        openMany(s, 3); // list views 1..3
        const auto web = s.open(TabKind::Web, u"w"_qs);
        QCOMPARE(web.tab, 4);
        QCOMPARE(web.view, 1); // web views are numbered apart from list views
        s.close(2);
        s.close(1);
        const auto a = s.open(TabKind::List, u"a"_qs);
        QCOMPARE(a.tab, 2);
        QCOMPARE(a.view, 2);
        const auto b = s.open(TabKind::List, u"b"_qs);
        QCOMPARE(b.tab, 1);
        QCOMPARE(b.view, 1);
        QCOMPARE(s.open(TabKind::List, u"c"_qs).tab, 5);
        s.close(4);
        QCOMPARE(s.open(TabKind::Web, u"w2"_qs).view, 1);
        checkInvariants(s);
    }

    void reusedNumberIsANewTab()
    {
        TabStrip s;
        const auto first = s.open(TabKind::List, u"a"_qs);
        const quint64 serial = s.tab(first.tab)->serial;
        s.close(first.tab);
        const auto again = s.open(TabKind::List, u"b"_qs);
        QCOMPARE(again.tab, first.tab);
        QVERIFY(!s.tabIfSame(again.tab, serial));
    }

    void scrolling_data()
    {
        QTest::addColumn<int>("opens");
        QTest::addColumn<QString>("moves"); // b = back, f = forward
        QTest::addColumn<QString>("strip");
        QTest::addColumn<bool>("changedLast");
        QTest::newRow("ten tabs, back places 1-5 and fronts 5")
            << 10 << u"b"_qs << u"1@0 2@1200 3@2400 4@3600 *5@4800"_qs << true;
        QTest::newRow("back at the first tabs does nothing")
            << 10 << u"bb"_qs << u"1@0 2@1200 3@2400 4@3600 *5@4800"_qs << false;
        QTest::newRow("forward after back shows 6-10")
            << 10 << u"bf"_qs << u"6@0 7@1200 8@2400 9@3600 *10@4800"_qs << true;
        QTest::newRow("forward places at most five")
            << 16 << u"bbf"_qs << u"11@0 12@1200 13@2400 14@3600 *15@4800"_qs << true;
        QTest::newRow("forward at the end does nothing") << 7 << u"f"_qs << u"6@0 *7@1200"_qs << false;
    }
    void scrolling()
    {
        QFETCH(int, opens);
        QFETCH(QString, moves);
        QFETCH(QString, strip);
        QFETCH(bool, changedLast);
        TabStrip s;
        openMany(s, opens);
        bool changed = false;
        for (QChar m : moves)
            changed = s.scroll(m == u'b' ? TabStrip::Direction::Back : TabStrip::Direction::Forward);
        QCOMPARE(stripText(s), strip);
        QCOMPARE(changed, changedLast);
        checkInvariants(s);
    }

    void fourEarlierTabsDoNotScrollBack()
    {
        TabStrip s;
        openMany(s, 9);
        QVERIFY(s.close(1)); // not in the strip: the strip stays as it is
        QCOMPARE(stripText(s), u"6@0 7@1200 8@2400 *9@3600"_qs);
        QVERIFY(!s.scroll(TabStrip::Direction::Back));
        QCOMPARE(stripText(s), u"6@0 7@1200 8@2400 *9@3600"_qs);
    }

    void closing_data()
    {
        QTest::addColumn<int>("opens");
        QTest::addColumn<QString>("before"); // moves before closing: b back, a<n> activate n
        QTest::addColumn<int>("close");
        QTest::addColumn<QString>("strip");
        QTest::addColumn<bool>("scrollButtons");
        QTest::newRow("middle: later headers move left, follower in front")
            << 4 << QString() << 2 << u"1@0 *3@1200 4@2400"_qs << false;
        QTest::newRow("last: the one before comes forward") << 3 << QString() << 3 << u"1@0 *2@1200"_qs << false;
        QTest::newRow("hidden tab moves in at the right end")
            << 10 << u"b"_qs << 3 << u"1@0 2@1200 *4@2400 5@3600 6@4800"_qs << true;
        QTest::newRow("only header: last five open tabs laid out")
            << 11 << QString() << 11 << u"6@0 7@1200 8@2400 9@3600 *10@4800"_qs << true;
        QTest::newRow("down to five open hides the scroll buttons")
            << 6 << QString() << 6 << u"1@0 2@1200 3@2400 4@3600 *5@4800"_qs << false;
        QTest::newRow("only tab") << 1 << QString() << 1 << QString() << false;
    }
    void closing()
    {
        QFETCH(int, opens);
        QFETCH(QString, before);
        QFETCH(int, close);
        QFETCH(QString, strip);
        QFETCH(bool, scrollButtons);
        TabStrip s;
        openMany(s, opens);
        if (before == u"b"_qs)
            s.scroll(TabStrip::Direction::Back);
        QVERIFY(s.close(close));
        QCOMPARE(stripText(s), strip);
        QCOMPARE(s.scrollButtonsVisible(), scrollButtons);
        QVERIFY(!s.openTabs().contains(close));
        checkInvariants(s);
        // A header opened afterwards never overlaps a placed one.
        s.open(TabKind::List, u"n"_qs);
        checkInvariants(s);
    }

    void activateAndStatus()
    {
        TabStrip s;
        const auto list = s.open(TabKind::List, u"歌"_qs);
        s.tab(list.tab)->paging = PagingState {u"120"_qs, u"2"_qs, u"6"_qs};
        const auto web = s.open(TabKind::Web, u" 帮助中心 "_qs);
        QVERIFY(!s.activate(web.tab)); // already in front
        QVERIFY(s.activate(list.tab));
        QCOMPARE(s.status(), (StatusLine {u"共有资源：120个，第2/6页"_qs, list.tab}));
        QVERIFY(s.activate(web.tab));
        QCOMPARE(s.status(), (StatusLine {u" 帮助中心 "_qs, 0}));
        const auto plain = s.open(TabKind::List, u"空"_qs);
        s.activate(list.tab);
        QVERIFY(s.activate(plain.tab));
        QCOMPARE(s.status(), StatusLine {});
    }

    void closingTheStatusTabForgetsIt()
    {
        TabStrip s;
        const auto a = s.open(TabKind::List, u"a"_qs);
        const auto b = s.open(TabKind::List, u"b"_qs);
        s.tab(a.tab)->paging = PagingState {u"1"_qs, u"1"_qs, u"2"_qs};
        s.activate(a.tab);
        s.activate(b.tab);
        s.setStatus({u"x"_qs, a.tab}); // the status line still names a
        s.close(a.tab);
        QVERIFY(!s.status().tab);
        QVERIFY(s.status().caption.isEmpty());
        // The next tab takes number a; the status line must not point at it.
        s.open(TabKind::List, u"c"_qs);
        QVERIFY(!s.status().tab);
    }

    void hover()
    {
        TabStrip s;
        openMany(s, 3);
        s.hover(1);
        QCOMPARE(s.tab(1)->state, HeaderState::Hover);
        s.hover(3); // the front header stays selected
        QCOMPARE(s.tab(1)->state, HeaderState::Normal);
        QCOMPARE(s.tab(3)->state, HeaderState::Selected);
        s.hover(1);
        QVERIFY(s.activate(1)); // a hovered header can be brought forward
    }
};

QTEST_GUILESS_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
