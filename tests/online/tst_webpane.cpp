// The WebEngine pane of the kivoweb module, loaded the way the player loads it.
#include "online/ui/webpane.h"

#include <QApplication>
#include <QLabel>
#include <QLibrary>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace kivo;

namespace {
// Serves one page on 127.0.0.1 and records the paths asked for.
class PageServer : public QObject
{
public:
    QTcpServer server;
    QStringList paths;
    QByteArray page; // at "/"
    QByteArray linkPage; // at "/b"

    bool start()
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = server.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    const QByteArray request = s->readAll();
                    const QList<QByteArray> first = request.left(request.indexOf('\r')).split(' ');
                    const QString path = first.size() > 1 ? QString::fromLatin1(first.at(1)) : QString();
                    paths << path;
                    const bool html = path == u"/"_qs || path == u"/b"_qs;
                    const QByteArray body = path == u"/"_qs ? page : path == u"/b"_qs ? linkPage : QByteArray("x");
                    const QByteArray type = html ? "text/html; charset=utf-8" : "text/plain";
                    s->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nConnection: close\r\nContent-Length: "
                        + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
            }
        });
        return true;
    }
    QString url(const QString &host, const QString &path) const
    {
        return u"http://"_qs + host + u":"_qs + QString::number(server.serverPort()) + path;
    }
};
} // namespace

class TestWebPane : public QObject
{
    Q_OBJECT
    WebPaneFactory *m_factory = nullptr;

public:
    QLibrary *lib = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
#if defined(__SANITIZE_ADDRESS__)
        // Qt WebEngine 6.4 itself trips the sanitizer when a page goes
        // (new-delete-type-mismatch inside WebContentsAdapter), whatever the pane does.
        QSKIP("Qt WebEngine does not run under AddressSanitizer");
#endif
        if (!lib || !lib->isLoaded())
            QSKIP("the web module is not built");
        using Entry = WebPaneFactory *(*)();
        auto entry = reinterpret_cast<Entry>(lib->resolve("kivoWebPaneFactory"));
        QVERIFY(entry);
        m_factory = entry();
        QVERIFY(m_factory);
    }

    void serverPageLoadsLinksAndBlocksOtherHosts()
    {
        PageServer server;
        QVERIFY(server.start());
        server.page = "<html><body><img src=\"" + server.url(u"127.0.0.1"_qs, u"/ok.png"_qs).toUtf8() + "\"><img src=\""
            + server.url(u"localhost"_qs, u"/blocked.png"_qs).toUtf8() + "\"></body></html>";
        server.linkPage = "<html><body><a id=\"l\" href=\"SOFTFILE:News/123.htm\">l</a><script>"
                          "window.addEventListener('load', function () { document.getElementById('l').click(); });"
                          "</script></body></html>";
        QWidget window;
        window.resize(400, 300);
        WebPane *pane = m_factory->createPane(&window, u"127.0.0.1"_qs);
        pane->resize(400, 300);
        window.show();
        QSignalSpy finished(pane, &WebPane::loadFinished);
        QSignalSpy links(pane, &WebPane::linkRequested);
        pane->navigate(QUrl(server.url(u"127.0.0.1"_qs, u"/"_qs)));
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        // Pictures from the server's host load; from any other host they are blocked.
        QVERIFY(server.paths.contains(u"/ok.png"_qs));
        QVERIFY(!server.paths.contains(u"/blocked.png"_qs));
        // A page without colours of its own shows on white, so its dark text reads.
        QWidget *view = nullptr;
        for (QWidget *w : QApplication::allWidgets())
            view = w->inherits("QWebEngineView") ? w : view;
        QVERIFY(view);
        QTRY_VERIFY_WITH_TIMEOUT(
            qGray(view->grab().toImage().pixel(view->width() / 2, view->height() / 2)) > 200, 10000);

        // A "softfile:" link goes to the player and the page stays where it is.
        pane->navigate(QUrl(server.url(u"127.0.0.1"_qs, u"/b"_qs)));
        QTRY_VERIFY_WITH_TIMEOUT(!links.isEmpty(), 60000);
        QVERIFY(links.at(0).at(0).toString().toLower().contains(u"softfile:news/123.htm"_qs));
        delete pane;
    }

    // A page that cannot be opened: a blank in the skin's colours with one quiet line,
    // not the engine's English error page on white.
    void pageThatCannotBeOpened()
    {
        QWidget window;
        window.resize(400, 300);
        WebPane *pane = m_factory->createPane(&window, u"127.0.0.1"_qs);
        pane->setFailureText(u"页面无法打开"_qs);
        pane->resize(400, 300);
        window.show();
        QSignalSpy finished(pane, &WebPane::loadFinished);
        pane->navigate(QUrl(u"http://127.0.0.1:1/news.asp"_qs)); // nobody listens there
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        auto *line = pane->findChild<QLabel *>();
        QVERIFY(line && line->isVisible());
        QCOMPARE(line->text(), u"页面无法打开"_qs);
        const QImage shown = pane->grab().toImage();
        QVERIFY(qGray(shown.pixel(4, 4)) < 60);
        delete pane;
    }
};

int main(int argc, char **argv)
{
    // WebEngine is loaded from a module: it needs shared GL contexts set up front.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The "softfile" scheme is registered before the application object, as the player does.
    QLibrary lib(QStringLiteral(KIVO_BUILD_DIR "/lib/kivoweb"));
    if (lib.load()) {
        if (auto registerSchemes = reinterpret_cast<void (*)()>(lib.resolve("kivoRegisterWebSchemes")))
            registerSchemes();
    }
    QApplication app(argc, argv);
    TestWebPane test;
    test.lib = &lib;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webpane.moc"
