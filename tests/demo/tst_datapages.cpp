// The demo server's data pages: envelopes, list grammar, paging and the depth of
// the catalogue, read the way the player reads them.

#include "core/pageformats.h"
#include "support/demoserver.h"

#include <QSet>
#include <QTest>

using namespace kivo;
using kivo::test::DemoServer;

namespace {

struct ListPage
{
    bool wellFormed = false; // a marker, a payload, "</body>"
    QList<QStringList> records;
    int count(ListRecordKind kind) const
    {
        int n = 0;
        for (const QStringList &r : records)
            n += classifyListRecord(r) == kind;
        return n;
    }
    const QStringList *first(ListRecordKind kind) const
    {
        for (const QStringList &r : records)
            if (classifyListRecord(r) == kind)
                return &r;
        return nullptr;
    }
};

} // namespace

class DemoDataPagesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DemoServer> m_server;

    QString payload(const QByteArray &pathAndQuery, bool *wellFormed = nullptr)
    {
        const auto r = m_server->post(pathAndQuery);
        const QString page = r.text();
        if (wellFormed)
            *wellFormed = r.status == 200 && r.complete() && page.startsWith(kHiddenBodyMarker)
                && page.endsWith(kBodyEnd) && r.header("Content-Type") == "text/html; charset=utf-8";
        return HiddenDataPage::payloadOf(page);
    }

    ListPage list(const QByteArray &pathAndQuery)
    {
        ListPage p;
        p.records = splitListPayload(payload(pathAndQuery, &p.wellFormed));
        return p;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<DemoServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    }

    void listPages_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("expect"); // 0 category level, 2 song list
        for (int mlid = 1; mlid <= 6; ++mlid) {
            const int kind = mlid <= 2 ? 2 : 0;
            QTest::addRow("soft %d", mlid) << "/soft.asp?mlid=" + QByteArray::number(mlid) << kind;
            QTest::addRow("soft %d video", mlid) << "/soft.asp?mlid=" + QByteArray::number(mlid) + "&classid=1" << kind;
        }
        for (int bdid : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11})
            QTest::addRow("mp3 chart %d", bdid)
                << "/kxrjbaidu.asp?bdid=" + QByteArray::number(bdid) << (bdid == 3 ? 0 : 2);
        QTest::newRow("library") << QByteArray("/urlkxrj_0.asp?id=1") << 0;
        QTest::newRow("video library") << QByteArray("/urlkxrj_0.asp?id=1&classid=1") << 0;
        QTest::newRow("news") << QByteArray("/news.asp") << 0;
        QTest::newRow("album") << QByteArray("/urlkxrj_4.asp?id=501") << 2;
        // 春 and 林海风, percent-encoded as the player sends them.
        QTest::newRow("site search") << QByteArray("/softss.asp?1=1&word1=%E6%98%A5&word2=") << 2;
        QTest::newRow("network search") << QByteArray("/baidulist.asp?1=1&word=%E6%98%A5+%E6%9E%97%E6%B5%B7%E9%A3%8E")
                                        << 2;
    }
    void listPages()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, expect);
        const ListPage p = list(path);
        QVERIFY(p.wellFormed);
        QVERIFY(!p.records.isEmpty());
        for (const QStringList &r : p.records) {
            QVERIFY2(classifyListRecord(r) != ListRecordKind::Invalid, qPrintable(r.join(u'|')));
            if (classifyListRecord(r) == ListRecordKind::Song) {
                QCOMPARE(r.size(), 8);
                QVERIFY(!r.at(1).trimmed().isEmpty());
                QVERIFY(r.at(4).trimmed().toInt() > 0);
            }
            if (classifyListRecord(r) == ListRecordKind::Category) {
                QCOMPARE(r.size(), 6);
                QVERIFY(!r.at(5).trimmed().isEmpty()); // a page path to go on with
            }
        }
        if (expect == 2) {
            QCOMPARE(p.count(ListRecordKind::Summary), 1);
            QVERIFY(p.count(ListRecordKind::Song) >= 1);
            QCOMPARE(p.count(ListRecordKind::Category), 0);
        } else {
            QVERIFY(p.count(ListRecordKind::Category) >= 1);
            QCOMPARE(p.count(ListRecordKind::Song), 0);
        }
    }

    void searchFindsWhatWasAskedFor()
    {
        // Only songs whose title holds 春 and whose singer is 林海风 (by the network search).
        const ListPage p = list("/baidulist.asp?1=1&word=%E6%98%A5+%E6%9E%97%E6%B5%B7%E9%A3%8E");
        for (const QStringList &r : p.records)
            if (classifyListRecord(r) == ListRecordKind::Song) {
                QVERIFY(r.at(1).contains(u"春"));
                QCOMPARE(r.at(6), u"林海风"_qs);
                QCOMPARE(r.at(0).trimmed(), u"3"_qs);
            }
        const ListPage none = list("/softss.asp?1=1&word1=%E6%B2%A1%E6%9C%89%E8%BF%99%E9%A6%96");
        QVERIFY(none.wellFormed);
        QCOMPARE(none.count(ListRecordKind::Song), 0);
    }

    void songListPagingMatchesTheSummary_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("newest") << QByteArray("/soft.asp?mlid=1");
        QTest::newRow("popular") << QByteArray("/soft.asp?mlid=2");
        QTest::newRow("mp3 top") << QByteArray("/kxrjbaidu.asp?bdid=2");
        QTest::newRow("classics") << QByteArray("/kxrjbaidu.asp?bdid=6");
        QTest::newRow("one album") << QByteArray("/urlkxrj_4.asp?id=503");
    }
    void songListPagingMatchesTheSummary()
    {
        QFETCH(QByteArray, path);
        const ListPage first = list(path + "&page=1");
        const QStringList *summary = first.first(ListRecordKind::Summary);
        QVERIFY(summary);
        const int total = summary->at(2).toInt();
        const int pages = summary->at(3).toInt();
        QCOMPARE(pages, (total + 14) / 15);
        QSet<QString> ids;
        for (int page = 1; page <= pages; ++page) {
            const ListPage p = list(path + "&page=" + QByteArray::number(page));
            const QStringList *s = p.first(ListRecordKind::Summary);
            QVERIFY(s);
            QCOMPARE(s->at(2).toInt(), total);
            QCOMPARE(s->at(3).toInt(), pages);
            QCOMPARE(s->at(4).toInt(), page);
            QCOMPARE(p.count(ListRecordKind::Song), page < pages ? 15 : total - 15 * (pages - 1));
            for (const QStringList &r : p.records)
                if (classifyListRecord(r) == ListRecordKind::Song)
                    ids.insert(r.at(4));
        }
        QCOMPARE(ids.size(), total); // every song once, on exactly one page
    }

    void longListsHaveThreePagesOrMore()
    {
        const ListPage page = list("/soft.asp?mlid=1"); // keep the page: first() points into it
        const QStringList *s = page.first(ListRecordKind::Summary);
        QVERIFY(s);
        QVERIFY(s->at(2).toInt() >= 40);
        QVERIFY(s->at(3).toInt() >= 3);
    }

    void treePagingCoversTheLevel_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("newcomers") << QByteArray("/soft.asp?mlid=3");
        QTest::newRow("albums") << QByteArray("/soft.asp?mlid=5");
        QTest::newRow("singers chart") << QByteArray("/kxrjbaidu.asp?bdid=3");
        QTest::newRow("new voices") << QByteArray("/urlkxrj_2.asp?id=31");
    }
    void treePagingCoversTheLevel()
    {
        QFETCH(QByteArray, path);
        const ListPage first = list(path);
        const QStringList *paging = first.first(ListRecordKind::TreePaging);
        QVERIFY(paging);
        const int pages = paging->at(3).toInt();
        QVERIFY(pages >= 2);
        QCOMPARE(paging->at(4).toInt(), 1);
        QSet<QString> ids;
        for (int page = 1; page <= pages; ++page) {
            const ListPage p = list(path + "&page=" + QByteArray::number(page));
            const QStringList *pg = p.first(ListRecordKind::TreePaging);
            QVERIFY(pg);
            QCOMPARE(pg->at(4).toInt(), page);
            QVERIFY(p.count(ListRecordKind::Category) <= 10);
            for (const QStringList &r : p.records)
                if (classifyListRecord(r) == ListRecordKind::Category) {
                    QVERIFY2(!ids.contains(r.at(4)), "an entry shows on two pages");
                    ids.insert(r.at(4));
                }
        }
        QVERIFY(ids.size() > 10);
    }

    // Walks the music library as the tree does and finds keys of five parts whose
    // nodes are song lists.
    void libraryReachesFivePartKeys()
    {
        struct Node
        {
            QString key;
            QByteArray path;
        };
        QList<Node> open {{u"b0"_qs, "/urlkxrj_0.asp?id=1"}};
        int deepest = 1;
        int songListsAtFive = 0;
        int visited = 0;
        while (!open.isEmpty() && visited < 200) {
            const Node n = open.takeFirst();
            ++visited;
            const ListPage p = list(n.path);
            QVERIFY2(p.wellFormed && !p.records.isEmpty(), n.path.constData());
            for (const QStringList &r : p.records) {
                if (classifyListRecord(r) != ListRecordKind::Category)
                    continue;
                const QString key = n.key + u'-' + r.at(4).trimmed();
                deepest = std::max<int>(deepest, int(key.split(u'-').size()));
                const QByteArray path = '/' + r.at(5).trimmed().toUtf8();
                if (r.at(0).trimmed() == u"0") {
                    open.append({key, path});
                } else if (key.split(u'-').size() == 5) {
                    const ListPage songs = list(path);
                    QVERIFY(songs.count(ListRecordKind::Song) >= 1);
                    ++songListsAtFive;
                }
            }
        }
        QCOMPARE(deepest, 5);
        QVERIFY(songListsAtFive >= 20);
    }

    void noticeCarriesAllSevenFields()
    {
        bool wellFormed = false;
        const auto notice = parseNoticePayload(payload("/dl.asp", &wellFormed));
        QVERIFY(wellFormed);
        QVERIFY(notice);
        QVERIFY(!notice->noticeLine.isEmpty());
        QVERIFY(notice->announcementUrl.startsWith(m_server->baseUrl()));
        QVERIFY(notice->linkTarget.startsWith(m_server->baseUrl()));
        QVERIFY(!notice->linkCaption.isEmpty());
        QCOMPARE(notice->maxQueuedDownloads, std::optional<qint16>(30));
        QCOMPARE(notice->dailyDownloadLimit, std::optional<qint16>(200));
        QVERIFY(notice->serverDate);
        QCOMPARE(notice->serverDate->date(), QDate::currentDate());
        QCOMPARE(notice->publishedVersion, std::optional<QString>(u"1.31"_qs));
        // The announcement page it names is served.
        const auto page = m_server->request("GET", QUrl(notice->announcementUrl).path().toUtf8());
        QCOMPARE(page.status, 200);
    }

    void noticeFieldsCanBeSet()
    {
        QVERIFY(m_server->setNoticeField(u"version"_qs, u"1.40"_qs));
        QVERIFY(m_server->setNoticeField(u"daily"_qs, u"2"_qs));
        QVERIFY(m_server->setNoticeField(u"notice"_qs, u"今天停机维护"_qs));
        auto notice = parseNoticePayload(payload("/dl.asp"));
        QVERIFY(notice);
        QCOMPARE(notice->publishedVersion, std::optional<QString>(u"1.40"_qs));
        QCOMPARE(notice->dailyDownloadLimit, std::optional<qint16>(2));
        QCOMPARE(notice->noticeLine, u"今天停机维护"_qs);

        QVERIFY(m_server->setNoticeField(u"count"_qs, u"3"_qs));
        notice = parseNoticePayload(payload("/dl.asp"));
        QVERIFY(notice);
        QVERIFY(!notice->maxQueuedDownloads && !notice->publishedVersion);
        QVERIFY(!m_server->setNoticeField(u"nosuchfield"_qs, u"1"_qs));

        QVERIFY(m_server->reset());
        notice = parseNoticePayload(payload("/dl.asp"));
        QCOMPARE(notice->publishedVersion, std::optional<QString>(u"1.31"_qs));
    }

    void pagesForPeopleAreHtml_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("softfileLink");
        QTest::newRow("guestbook") << QByteArray("/softbook.asp") << true;
        QTest::newRow("help") << QByteArray("/softhelp.asp") << true;
        QTest::newRow("ad") << QByteArray("/webgg.asp") << true;
        QTest::newRow("ad 2") << QByteArray("/webggt.asp") << true;
        QTest::newRow("artist intro") << QByteArray("/softgc.asp?nclassid=101&word=%E6%9E%97%E6%B5%B7%E9%A3%8E")
                                      << false;
        QTest::newRow("album intro") << QByteArray("/softgc.asp?specialid=501&word=x") << false;
        QTest::newRow("buy") << QByteArray("/cdsearch.asp?title=%E8%BF%9C%E8%A1%8C") << false;
        QTest::newRow("artist news") << QByteArray("/newslist.asp?title=%E6%9E%97%E6%B5%B7%E9%A3%8E") << true;
        QTest::newRow("lyrics search") << QByteArray("/baidugc.asp?1=1&word=%E6%98%A5%E5%A4%A9%E7%9A%84%E9%A3%8E&lx=0")
                                       << false;
        QTest::newRow("ring tones") << QByteArray("/smsss.asp?word=x%3Cb%3E") << false;
        QTest::newRow("news category") << QByteArray("/news/c1.htm") << true;
        QTest::newRow("news item") << QByteArray("/news/3.htm") << false;
        QTest::newRow("news, backslash") << QByteArray("/\\news/3.htm") << false;
        QTest::newRow("news, encoded backslash") << QByteArray("/%5Cnews/3.htm") << false;
        QTest::newRow("news, as a browser sends it") << QByteArray("//news/3.htm") << false;
        QTest::newRow("download page") << QByteArray("/down.asp") << false;
    }
    void pagesForPeopleAreHtml()
    {
        QFETCH(QByteArray, path);
        QFETCH(bool, softfileLink);
        for (const QByteArray method : {"GET", "POST"}) {
            const auto r = m_server->request(method, path);
            QCOMPARE(r.status, 200);
            QVERIFY(r.complete());
            QCOMPARE(r.header("Content-Type"), QByteArray("text/html; charset=utf-8"));
            const QString html = r.text();
            QVERIFY(html.startsWith(u"<!DOCTYPE html>"));
            QVERIFY(html.trimmed().endsWith(u"</body>"));
            QCOMPARE(html.count(u"<body>"), 1);
            QVERIFY(!html.contains(u"<b>")); // words from the query are escaped
            QCOMPARE(html.contains(u"softfile:"), softfileLink);
        }
    }

    void softfileLinksLeadToPages()
    {
        const QString html = m_server->request("GET", "/news/c1.htm").text();
        static const QRegularExpression link(QStringLiteral("href=\"softfile:([^\"]+)\""));
        int links = 0;
        for (auto it = link.globalMatch(html); it.hasNext(); ++links) {
            // The player lower-cases the link and opens base + "\" + the rest.
            const QByteArray rest = it.next().captured(1).toLower().toUtf8();
            const auto r = m_server->request("GET", "/%5C" + rest);
            QCOMPARE(r.status, 200);
            QVERIFY(r.text().endsWith(u"</body>"));
        }
        QVERIFY(links >= 2);
    }

    void unknownPagesAre404()
    {
        QCOMPARE(m_server->post("/nosuch.asp").status, 404);
        QCOMPARE(m_server->post("/news/99.htm").status, 404);
        QCOMPARE(m_server->post("/media/../CMakeCache.txt").status, 404);
    }
};

QTEST_GUILESS_MAIN(DemoDataPagesTest)
#include "tst_datapages.moc"
