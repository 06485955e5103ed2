#include "core/pageformats.h"
#include "online/serverclient.h"
#include "support/cannedhttpserver.h"

#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <QCoro/QCoroTask>

using namespace kivo;
using kivo::test::CannedHttpServer;

namespace {
// Runs a task to completion on the test's event loop (bounded by QTRY's time-out).
QString fetch(ServerClient &client, const QString &url, bool hidden = false)
{
    std::optional<QString> result;
    auto task = hidden ? client.fetchHiddenPayload(url) : client.fetchPage(url);
    task.then([&](QString text) { result = text; });
    (void)QTest::qWaitFor([&] { return result.has_value(); }, 10000);
    return result.value_or(u"<no answer>"_qs);
}
} // namespace

class ServerClientTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        server = std::make_unique<CannedHttpServer>();
        QVERIFY(server->start());
        client = std::make_unique<ServerClient>(&network, server->baseUrl());
    }

    void postsWithoutBodyAndReturnsText()
    {
        server->setAnswer(u"/a.asp"_qs, {200, "你好", "text/html; charset=utf-8", false});
        QCOMPARE(fetch(*client, client->pageUrl(u"a.asp?x=1"_qs)), u"你好"_qs);
        QCOMPARE(server->requests(), QStringList {u"POST /a.asp?x=1"_qs});
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("text");
        const QByteArray gb("\xc4\xe3\xba\xc3"); // 你好 in GB18030
        QTest::newRow("named utf-8") << QByteArray("\xe4\xbd\xa0\xe5\xa5\xbd") << QByteArray("text/html; charset=UTF-8")
                                     << u"你好"_qs;
        QTest::newRow("named gbk") << gb << QByteArray("text/html; charset=\"gbk\"") << u"你好"_qs;
        QTest::newRow("unnamed valid utf-8") << QByteArray("\xe4\xbd\xa0") << QByteArray("text/html") << u"你"_qs;
        QTest::newRow("unnamed gb18030") << gb << QByteArray("text/html") << u"你好"_qs;
        // One damaged byte or a cut-off body must not turn the whole page into Latin-1.
        QTest::newRow("damaged gb18030") << QByteArray("\xc4\xe3\xff\xba\xc3") << QByteArray("text/html")
                                         << u"你\uFFFD好"_qs;
        QTest::newRow("cut-off gb18030") << QByteArray("\xc4\xe3\xba") << QByteArray() << u"你\uFFFD"_qs;
        QTest::newRow("damaged utf-8") << QByteArray("\xe4\xbd\xa0\xff\xe5\xa5\xbd") << QByteArray()
                                       << u"你\uFFFD好"_qs;
        QTest::newRow("named latin1") << QByteArray("caf\xe9") << QByteArray("text/plain;charset=iso-8859-1")
                                      << u"café"_qs;
    }
    void decodes()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, text);
        QCOMPARE(decodeResponseBody(body, contentType), text);
    }

    void failuresYieldEmptyText_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("logged"); // the one warning: path, status or error, time
        QTest::newRow("404") << u"missing.asp"_qs << u"^/missing.asp failed: 404 after \\d+ ms$"_qs;
        QTest::newRow("500") << u"broken.asp"_qs << u"^/broken.asp failed: 500 after \\d+ ms$"_qs;
        QTest::newRow("hang past time-out") << u"hang.asp"_qs << u"^/hang.asp failed: .+ after \\d+ ms$"_qs;
        QTest::newRow("larger than any page")
            << u"huge.asp"_qs << u"^/huge.asp failed: larger than 2 MiB, given up after \\d+ ms$"_qs;
    }
    void failuresYieldEmptyText()
    {
        QFETCH(QString, url);
        QFETCH(QString, logged);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(logged));
        server->setAnswer(u"/broken.asp"_qs, {500, "oops", "text/plain", false});
        server->setAnswer(u"/hang.asp"_qs, {200, {}, {}, true});
        server->setAnswer(u"/huge.asp"_qs, {200, QByteArray(3 * 1024 * 1024, 'a'), "text/html", false});
        client->setRequestTimeout(std::chrono::milliseconds(300));
        QSignalSpy states(client.get(), &ServerClient::stateChanged);
        QCOMPARE(fetch(*client, client->pageUrl(url)), QString());
        // The overlay's caption starts at "正在解析(Analyze......)" and ends on the error.
        QCOMPARE(states.first().at(0).value<RequestState>(), RequestState::Resolving);
        QCOMPARE(states.last().at(0).value<RequestState>(), RequestState::Error);
    }

    void refusedPortAndBadSchemeYieldEmptyText()
    {
        QCOMPARE(fetch(*client, u"http://127.0.0.1:1/x.asp"_qs), QString());
        QCOMPARE(fetch(*client, u"file:///etc/passwd"_qs), QString());
    }

    void hiddenPayload()
    {
        server->setAnswer(
            u"/dl.asp"_qs, {200, HiddenDataPage::wrap(u"DLXX㊣公告㊣㊣x|||y㊣END㊣"_qs).toUtf8(), "text/html", false});
        QCOMPARE(fetch(*client, client->pageUrl(u"dl.asp"_qs), true), u"DLXX㊣公告㊣㊣x|||y㊣END㊣"_qs);
        // An empty URL makes no request.
        QCOMPARE(fetch(*client, QString(), true), QString());
        QCOMPARE(server->requests().size(), 1);
    }

    void abortAllEndsWaitingRequests()
    {
        server->setAnswer(u"/hang.asp"_qs, {200, {}, {}, true});
        std::optional<QString> result;
        client->fetchPage(client->pageUrl(u"hang.asp"_qs)).then([&](QString t) { result = t; });
        QTRY_COMPARE(client->pendingRequests(), 1);
        client->abortAll();
        QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 5000);
        QCOMPARE(*result, QString());
    }

    void queryValuesAreEncoded_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("separators") << u"a&b=c+d#e"_qs << u"a%26b%3Dc%2Bd%23e"_qs;
        QTest::newRow("chinese") << u"月光"_qs << u"%E6%9C%88%E5%85%89"_qs;
        QTest::newRow("space and percent") << u"50% off"_qs << u"50%25%20off"_qs;
        QTest::newRow("mirrored path") << u"Y2\\[|"_qs << u"Y2%5C%5B%7C"_qs;
    }
    void queryValuesAreEncoded()
    {
        QFETCH(QString, value);
        QFETCH(QString, encoded);
        QCOMPARE(encodeQueryValue(value), encoded);
        // and the value arrives intact at the server
        server->setAnswer(u"/q.asp"_qs, {200, "ok", "text/plain", false});
        fetch(*client, client->pageUrl(u"q.asp?word="_qs + encodeQueryValue(value) + u"&n=1"_qs));
        const QString line = server->requests().last();
        QCOMPARE(
            QUrl::fromPercentEncoding(line.section(u"word="_qs, 1).section(QLatin1Char('&'), 0, 0).toLatin1()), value);
    }

private:
    QNetworkAccessManager network;
    std::unique_ptr<CannedHttpServer> server;
    std::unique_ptr<ServerClient> client;
};

QTEST_GUILESS_MAIN(ServerClientTest)
#include "tst_serverclient.moc"
