// What the search dialog and the info items ask the server for.
#include "online/infopages.h"
#include "online/searchrequest.h"

#include <QTest>

using namespace kivo;

namespace {
const QString kBase = u"http://127.0.0.1:9/"_qs;
}

class SearchInfoTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void search_data()
    {
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("singer");
        QTest::addColumn<int>("scope");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("url"); // after the base
        QTest::addColumn<QString>("title");
        const int site = int(SearchScope::Site), net = int(SearchScope::Network);
        const int mp3 = int(SearchType::Mp3), wma = int(SearchType::Wma), lyrics = int(SearchType::Lyrics);
        const int list = int(SearchRequest::Target::ListTab), web = int(SearchRequest::Target::WebTab);
        const int none = int(SearchRequest::Target::Nothing);
        QTest::newRow("site: song and singer apart")
            << u"A"_qs << u"B"_qs << site << mp3 << list << u"softss.asp?1=1&word1=A&word2=B"_qs << u"A(B)"_qs;
        QTest::newRow("network wma: joined by a plus")
            << u"A"_qs << u"B"_qs << net << wma << list << u"baidulist.asp?1=1&word=A+B&lx=2"_qs << u"A(B)"_qs;
        QTest::newRow("network mp3: no type")
            << u"A"_qs << QString() << net << mp3 << list << u"baidulist.asp?1=1&word=A"_qs << u"A"_qs;
        QTest::newRow("lyrics of a singer on the network")
            << QString() << u"B"_qs << net << lyrics << web << u"baidugc.asp?1=1&word=B"_qs << u"(B)"_qs;
        QTest::newRow("lyrics on the site carry lx=0")
            << u"A"_qs << QString() << site << lyrics << web << u"baidugc.asp?1=1&word=A&lx=0"_qs << u"A"_qs;
        QTest::newRow("network without words: nothing")
            << u"  "_qs << u" "_qs << net << mp3 << none << QString() << QString();
        QTest::newRow("site without words: the bare search")
            << QString() << QString() << site << mp3 << list << u"softss.asp?1=1"_qs << QString();
        // Typed words are values: "&", "=", "+" and Chinese text cannot break the query.
        QTest::newRow("typed separators are encoded")
            << u"a&b=c"_qs << u"x+y 林"_qs << net << mp3 << list
            << u"baidulist.asp?1=1&word=a%26b%3Dc+x%2By%20%E6%9E%97"_qs << u"a&b=c(x+y 林)"_qs;
    }
    void search()
    {
        QFETCH(QString, song);
        QFETCH(QString, singer);
        QFETCH(int, scope);
        QFETCH(int, type);
        QFETCH(int, target);
        QFETCH(QString, url);
        QFETCH(QString, title);
        const SearchRequest r = buildSearchRequest(kBase, {song, singer, SearchScope(scope), SearchType(type)});
        QCOMPARE(int(r.target), target);
        QCOMPARE(r.url, url.isEmpty() ? QString() : kBase + url);
        QCOMPARE(r.title, title);
    }

    void catalogueInfoItems_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("introduction"); // empty: nothing opens
        QTest::newRow("a category opens nothing") << u"b0-3-17"_qs << u"流行(12)"_qs << QString();
        QTest::newRow("an artist") << u"b0-3-17-52"_qs << u"林海风(8)"_qs
                                   << u"softgc.asp?nclassid=52&word=%E6%9E%97%E6%B5%B7%E9%A3%8E"_qs;
        QTest::newRow("an album, b removed from its id")
            << u"b0-3-17-52-b306"_qs << u"A&B(3)"_qs << u"softgc.asp?specialid=306&word=A%26B"_qs;
    }
    void catalogueInfoItems()
    {
        QFETCH(QString, key);
        QFETCH(QString, caption);
        QFETCH(QString, introduction);
        const auto intro = introductionPage(kBase, key, caption);
        QCOMPARE(bool(intro), !introduction.isEmpty());
        if (intro)
            QCOMPARE(*intro, (InfoPage {kBase + introduction, u"简介:"_qs + caption}));
        QCOMPARE(
            buyCdPage(kBase, u"A&B(3)"_qs), (InfoPage {kBase + u"cdsearch.asp?title=A%26B"_qs, u"购买CD：A&B(3)"_qs}));
        QCOMPARE(artistNewsPage(kBase, u"星河(2)"_qs),
            (InfoPage {kBase + u"newslist.asp?title=%E6%98%9F%E6%B2%B3"_qs, u"相关新闻：星河(2)"_qs}));
    }

    void shelfAndRowItemsTakeTheLastDashPart()
    {
        QCOMPARE(shelfBuyPage(kBase, u"林海风 - 海风集 (2)"_qs),
            (InfoPage {
                kBase + u"cdsearch.asp?title=%E6%B5%B7%E9%A3%8E%E9%9B%86"_qs, u"购买CD：林海风 - 海风集 (2)"_qs}));
        // The count in parentheses goes before the name is taken, dashes in it included.
        QCOMPARE(ringtonePageUrl(kBase, u"S-Song(live-1)"_qs), kBase + u"smsss.asp?word=Song"_qs);
        QCOMPARE(ringtonePageUrl(kBase, u"Song"_qs), kBase + u"smsss.asp?word=Song"_qs);
    }
};

QTEST_GUILESS_MAIN(SearchInfoTest)
#include "tst_searchinfo.moc"
