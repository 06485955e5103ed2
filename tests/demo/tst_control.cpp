// The demo server's test controls: the request log, action pages, faults that
// switch on and off, and a clean stop even while a request hangs.

#include "core/mirrortext.h"
#include "core/pageformats.h"
#include "support/demoserver.h"

#include <QTcpSocket>
#include <QTest>
#include <QUrl>

using namespace kivo;
using kivo::test::DemoServer;
using kivo::test::HttpResult;

class DemoControlTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DemoServer> m_server;

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<DemoServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    }
    void init() { QVERIFY(m_server->reset()); }

    void logKeepsRequestsInOrder()
    {
        m_server->post("/soft.asp?mlid=1&page=2");
        m_server->request("GET", "/softhelp.asp");
        m_server->post("/kxrjgq.asp?id=1001&lx=2");
        m_server->setFault(u"/x.asp"_qs, u"500"_qs); // control requests stay out of the log
        m_server->post("/kxrjurl.asp?listid=-1&lx=bd&url=" + QUrl::toPercentEncoding(MirrorText(u"http://a/b.mp3"_qs)));
        const QStringList log = m_server->requestLog();
        QCOMPARE(log.size(), 4);
        QCOMPARE(log.at(0), u"POST /soft.asp?mlid=1&page=2"_qs);
        QCOMPARE(log.at(1), u"GET /softhelp.asp"_qs);
        QCOMPARE(log.at(2), u"POST /kxrjgq.asp?id=1001&lx=2"_qs);
        // What the action page received, decoded: the mirrored address.
        const auto query = kivo::test::decodedQuery(log.at(3));
        QCOMPARE(query.value(2).first, u"url"_qs);
        QCOMPARE(MirrorText(query.value(2).second), u"http://a/b.mp3"_qs);

        m_server->clearLog();
        QVERIFY(m_server->requestLog().isEmpty());
    }

    void actionPagesAnswer_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("exact");
        const QByteArray dedication
            = "/kxrjzf.asp?toemail=friend%40example.com&title=" + QUrl::toPercentEncoding(u"生日快乐"_qs)
            + "&name=" + QUrl::toPercentEncoding(u"小明"_qs) + "&gm=x&url1=y&url=z&id=1001";
        QTest::newRow("dedication") << dedication + "&content=" + QUrl::toPercentEncoding(u"祝你快乐"_qs) << u"成功"_qs
                                    << true;
        QTest::newRow("dedication without a text") << dedication + "&content=" << u"成功"_qs << false;
        QTest::newRow("dedication to a bad address")
            << QByteArray("/kxrjzf.asp?toemail=nobody&title=t&name=n&content=c") << u"成功"_qs << false;
        QTest::newRow("lyrics upload") << "/kxrjgc.asp?id=1001&lx=1&content="
                + QUrl::toPercentEncoding(u"[00:01.00]你好"_qs)
                                       << u"成功"_qs << true;
        QTest::newRow("lyrics for no song") << QByteArray("/kxrjgc.asp?id=5&lx=0&content=x") << u"成功"_qs << false;
        QTest::newRow("queued") << QByteArray("/kxrjgq.asp?id=3001&lx=3") << u"成功"_qs << true;
        QTest::newRow("played from") << QByteArray("/kxrjurl.asp?listid=-1&lx=wj&url=abc") << u"成功"_qs << true;
    }
    void actionPagesAnswer()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, answer);
        QFETCH(bool, exact);
        const HttpResult r = m_server->post(path);
        QCOMPARE(r.status, 200);
        if (path.startsWith("/kxrjzf.asp"))
            QCOMPARE(r.text() == answer, exact); // the player wants exactly "成功"
        else
            QCOMPARE(r.text().contains(answer), exact);
        // The log shows what the page received.
        const QStringList log = m_server->requestLog();
        QCOMPARE(log.value(0), u"POST "_qs + QString::fromUtf8(path));
    }

    void dedicationQueryArrivesDecoded()
    {
        m_server->post("/kxrjzf.asp?toemail=a%40b.cn&title=" + QUrl::toPercentEncoding(u"问候"_qs)
            + "&name=n&content=" + QUrl::toPercentEncoding(u"你好 & 再见"_qs));
        const auto q = kivo::test::decodedQuery(m_server->requestLog().value(0));
        QCOMPARE(q.size(), 4);
        QCOMPARE(q.at(0), qMakePair(u"toemail"_qs, u"a@b.cn"_qs));
        QCOMPARE(q.at(3), qMakePair(u"content"_qs, u"你好 & 再见"_qs));
    }

    void faultsSwitchOnAndOff_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("path");
        for (const char *kind : {"hang", "drip", "500", "reset", "truncate", "garbage", "huge"}) {
            QTest::addRow("%s on a data page", kind) << QString::fromLatin1(kind) << QByteArray("/soft.asp?mlid=1");
            QTest::addRow("%s on a page for people", kind) << QString::fromLatin1(kind) << QByteArray("/softhelp.asp");
        }
        QTest::newRow("truncate on the update file") << u"truncate"_qs << QByteArray("/download/code/kivoplay.exe");
        QTest::newRow("500 on the update file") << u"500"_qs << QByteArray("/download/code/kivoplay.exe");
    }
    void faultsSwitchOnAndOff()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, path);
        const HttpResult normal = m_server->post(path);
        QCOMPARE(normal.status, 200);
        QVERIFY(normal.complete());

        // The fault is for the path whatever the query.
        const QString pathOnly = QString::fromUtf8(path.split('?').first());
        QVERIFY(m_server->setFault(pathOnly, kind));
        const HttpResult spoiled = m_server->post(path, kind == u"drip" ? 30000 : 1500);
        if (kind == u"hang") {
            QVERIFY(spoiled.connected);
            QVERIFY(spoiled.timedOut);
            QVERIFY(!spoiled.gotHeaders);
        } else if (kind == u"drip") {
            QVERIFY(spoiled.complete());
            QCOMPARE(spoiled.body, normal.body);
        } else if (kind == u"500") {
            QCOMPARE(spoiled.status, 500);
        } else if (kind == u"reset") {
            QVERIFY(spoiled.connected);
            QVERIFY(!spoiled.gotHeaders);
            QVERIFY(!spoiled.timedOut);
        } else if (kind == u"truncate") {
            QVERIFY(spoiled.gotHeaders);
            QCOMPARE(spoiled.contentLength, qint64(normal.body.size()));
            QVERIFY(spoiled.body.size() < normal.body.size());
            QVERIFY(!spoiled.timedOut);
        } else if (kind == u"garbage") {
            QCOMPARE(spoiled.status, 200);
            QVERIFY(!spoiled.body.contains("</body>"));
            QVERIFY(HiddenDataPage::payloadOf(spoiled.text()).isEmpty());
        } else if (kind == u"huge") {
            QVERIFY(spoiled.complete());
            QVERIFY(spoiled.body.size() >= 8 << 20);
        }
        // Other pages are untouched while the fault is on.
        QCOMPARE(m_server->post("/news.asp").status, 200);

        QVERIFY(m_server->setFault(pathOnly, u"off"_qs));
        const HttpResult again = m_server->post(path);
        QCOMPARE(again.status, 200);
        QCOMPARE(again.body, normal.body);
    }

    void faultRequestsAreChecked()
    {
        QVERIFY(!m_server->setFault(u"/soft.asp"_qs, u"explode"_qs));
        QVERIFY(!m_server->setFault(QString(), u"hang"_qs));
        QCOMPARE(m_server->request("GET", "/__demo/nosuch").status, 404);
    }

    void faultsSpoilMediaToo()
    {
        QVERIFY(m_server->setFault(u"/media/songs/1003.mp3"_qs, u"truncate"_qs));
        const HttpResult r = m_server->request("GET", "/media/songs/1003.mp3", 5000);
        if (r.status == 404)
            QSKIP("demo media not made (scripts/make-demo-media.sh)");
        QVERIFY(r.gotHeaders);
        QVERIFY(r.body.size() < r.contentLength);
    }

    // A request that hangs must not keep the server from stopping.
    void stopsWhileARequestHangs()
    {
        DemoServer own;
        QVERIFY(own.isRunning());
        QVERIFY(own.setFault(u"/dl.asp"_qs, u"hang"_qs));
        QTcpSocket waiting;
        waiting.connectToHost(u"127.0.0.1"_qs, quint16(own.port()));
        QVERIFY(waiting.waitForConnected(3000));
        waiting.write("POST /dl.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n");
        QVERIFY(waiting.waitForBytesWritten(3000));
        QVERIFY(!waiting.waitForReadyRead(300)); // it hangs
        QVERIFY(own.stop(5000)); // and still the server ends by itself
        waiting.abort();
    }

    void aClientThatGivesUpFreesTheHang()
    {
        QVERIFY(m_server->setFault(u"/dl.asp"_qs, u"hang"_qs));
        // More hanging clients than the server has threads for slow pages would be
        // a problem only if a departed client kept its thread.
        for (int i = 0; i < 60; ++i)
            QVERIFY(m_server->post("/dl.asp", 60).timedOut);
        QVERIFY(m_server->setFault(u"/dl.asp"_qs, u"off"_qs));
        QTest::qWait(200); // lets the server notice the last clients left
        const HttpResult r = m_server->post("/dl.asp", 5000);
        QCOMPARE(r.status, 200);
        QVERIFY(parseNoticePayload(HiddenDataPage::payloadOf(r.text())));
    }
};

QTEST_GUILESS_MAIN(DemoControlTest)
#include "tst_control.moc"
