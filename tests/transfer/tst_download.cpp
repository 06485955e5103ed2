// The transfer object against the demo server and a raw local server: what a
// complete transfer is, what every server fault ends in, cancelling, redirects,
// the request it sends and GetHeader's rules.

#include "support/demoserver.h"
#include "transfer/download.h"
#include "transfer/headerblock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kivo;
using kivo::test::DemoServer;

namespace {

// Answers every connection with the same raw bytes and keeps the request's head.
class RawServer : public QObject
{
public:
    explicit RawServer(QByteArray answer)
        : m_answer(std::move(answer))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *s = m_server.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s] {
                request += s->readAll();
                if (request.contains("\r\n\r\n")) {
                    s->write(m_answer);
                    s->disconnectFromHost();
                }
            });
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/song.mp3").arg(m_server.serverPort()); }
    QByteArray request;

private:
    QTcpServer m_server;
    QByteArray m_answer;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Run
{
    bool complete = false;
    QString sizeHeader;
    QList<qint64> progress;
    QList<int> passedBack;
};

Run fetch(download &tg, const QString &url, const QString &saveFile)
{
    Run run;
    const auto connection = QObject::connect(&tg, &download::GetData, [&run](qint64 p, int u1, int u2, int u3) {
        run.progress.append(p);
        run.passedBack = {u1, u2, u3};
    });
    tg.setURL(url);
    tg.setSaveFile(saveFile);
    QCoro::waitFor(tg.Execute());
    run.sizeHeader = tg.GetHeader(QStringLiteral("Content-Length"));
    run.complete = QCoro::waitFor(tg.StartDownLoad(7, 8, 9));
    QObject::disconnect(connection);
    return run;
}

} // namespace

class DownloadTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DemoServer> m_server;
    QTemporaryDir m_dir;

    QString url(const QString &path) const { return m_server->baseUrl() + path.mid(1); }
    QString target() const { return m_dir.filePath(QStringLiteral("song.mp3")); }
    QByteArray served(const QByteArray &path) const { return m_server->request("GET", path, 10000).body; }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<DemoServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    }
    void init()
    {
        QVERIFY(m_server->reset());
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(name));
    }

    void headerRules_data()
    {
        const QString block = QStringLiteral("X-Content-Length: 9") + QChar(0) + u"Content-Length: 4096"_qs + QChar(0)
            + u"Content-Type: audio/mpeg"_qs + QChar(0) + u"X-Note: Date: none"_qs + QChar(0)
            + u"Date: Tue, 01 Oct 2024 08:00:00 GMT"_qs + QChar(0) + u"Server: demo"_qs + QChar(0)
            + u"Last-Modified: Mon, 30 Sep 2024 08:00:00 GMT"_qs + QChar(0) + u"X-Long: "_qs + QString(1200, u'a')
            + QChar(0);
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("length") << block << u"Content-Length"_qs << u"4096"_qs;
        QTest::newRow("name in any case") << block << u"content-length"_qs << u"4096"_qs;
        QTest::newRow("type") << block << u"CONTENT-TYPE"_qs << u"audio/mpeg"_qs;
        QTest::newRow("date, not a value naming it") << block << u"Date"_qs << u"Tue, 01 Oct 2024 08:00:00 GMT"_qs;
        QTest::newRow("last modified") << block << u"Last-Modified"_qs << u"Mon, 30 Sep 2024 08:00:00 GMT"_qs;
        QTest::newRow("server, past 1024 bytes") << block << u"Server"_qs << u"demo"_qs;
        QTest::newRow("unknown name") << block << u"X-Long"_qs << u"0"_qs;
        QTest::newRow("empty name: the block") << block << QString() << block;
        QTest::newRow("empty block") << QString() << u"Server"_qs << u"0"_qs;
        QTest::newRow("absent header") << (u"Server: x"_qs + QChar(0)) << u"Content-Length"_qs << u"0"_qs;
        QTest::newRow("server spelling differs")
            << (u"content-length: 5"_qs + QChar(0)) << u"Content-Length"_qs << u"0"_qs;
    }
    void headerRules()
    {
        QFETCH(QString, block);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QCOMPARE(headerFromBlock(block, name), value);
    }

    // What goes out and how the answer's headers read, with an application-wide
    // proxy that would refuse every request.
    void requestAndHeaders()
    {
        RawServer server("HTTP/1.1 200 OK\r\ncontent-length: 5\r\nServer: kivo-test\r\nX-Pad: " + QByteArray(1200, 'p')
            + "\r\nDate: Tue, 01 Oct 2024 08:00:00 GMT\r\n\r\nhello");
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, u"127.0.0.1"_qs, 1));
        download tg(DownloadVariant::Player);
        tg.setURL(server.url());
        tg.setSaveFile(target());
        QCoro::waitFor(tg.Execute());
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QVERIFY(tg.filedd());
        QCOMPARE(tg.GetHeader(u"server"_qs), u"kivo-test"_qs);
        QCOMPARE(tg.GetHeader(u"Date"_qs), u"Tue, 01 Oct 2024 08:00:00 GMT"_qs);
        QCOMPARE(tg.GetHeader(u"Content-Length"_qs), u"0"_qs); // spelled otherwise by the server
        QCOMPARE(tg.contentLength(), 5);
        QVERIFY(tg.GetHeader(QString()).contains(u"Server: kivo-test"_qs + QChar(0)));
        QVERIFY(QCoro::waitFor(tg.StartDownLoad()));
        QCOMPARE(readAll(target()), QByteArray("hello"));
        QCOMPARE(tg.GetHeader(u"Server"_qs), u"0"_qs); // the transfer has ended

        const QByteArray head = server.request.toLower();
        QVERIFY2(head.contains("\r\nuser-agent: vardek\r\n"), head.constData());
        QVERIFY(head.contains("\r\naccept-encoding: identity\r\n"));
        QVERIFY(head.contains("\r\ncache-control: no-cache\r\n"));
    }

    void completes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("reference");
        QTest::addColumn<qint64>("length");
        QTest::newRow("with Content-Length") << u"/files/700000.bin"_qs << QByteArray("/files/700000.bin") << 700000ll;
        QTest::newRow("without Content-Length")
            << u"/files/700000.bin?nolength=1"_qs << QByteArray("/files/700000.bin") << -1ll;
        QTest::newRow("after 5 redirects")
            << u"/redirect/5/files/3000.bin"_qs << QByteArray("/files/3000.bin") << 3000ll;
    }
    void completes()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, reference);
        QFETCH(qint64, length);
        writeFile(target(), "an older file of that name");
        download tg(DownloadVariant::Player);
        const Run run = fetch(tg, url(path), target());
        QVERIFY(run.complete);
        QVERIFY(tg.result().isComplete());
        QCOMPARE(readAll(target()), served(reference));
        QVERIFY(!QFile::exists(download::partFileFor(target())));
        QCOMPARE(tg.contentLength(), length);
        QCOMPARE(run.sizeHeader, length < 0 ? u"0"_qs : QString::number(length));
        QCOMPARE(run.progress.last(), tg.result().received);
        QVERIFY(std::is_sorted(run.progress.begin(), run.progress.end()));
        QCOMPARE(run.passedBack, QList<int>({7, 8, 9}));
        QVERIFY(!tg.filedd());
    }

    // A response without Content-Length never shows the size of the one before.
    void sizeIsResetForEveryAttempt()
    {
        download tg(DownloadVariant::Player);
        QCOMPARE(fetch(tg, url(u"/files/1000.bin"_qs), target()).sizeHeader, u"1000"_qs);
        QCOMPARE(fetch(tg, url(u"/files/1000.bin?nolength=1"_qs), target()).sizeHeader, u"0"_qs);
        QCOMPARE(tg.contentLength(), -1);
    }

    void serverFaultsFail_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("path");
        QTest::addColumn<TransferOutcome>("outcome");
        const QString file = u"/files/200000.bin"_qs;
        QTest::newRow("reset") << u"reset"_qs << file << TransferOutcome::NetworkError;
        QTest::newRow("truncated body") << u"truncate"_qs << file << TransferOutcome::LengthMismatch;
        QTest::newRow("500") << u"500"_qs << file << TransferOutcome::HttpError;
        QTest::newRow("stall") << u"stall"_qs << file << TransferOutcome::NetworkError;
        QTest::newRow("garbage without Content-Length") << u"noise"_qs << file << TransferOutcome::NetworkError;
        QTest::newRow("404 page") << QString() << u"/files/none.bin"_qs << TransferOutcome::HttpError;
        QTest::newRow("6 redirects") << QString() << u"/redirect/6/files/10.bin"_qs << TransferOutcome::NetworkError;
        QTest::newRow("redirect loop") << QString() << u"/redirect/loop"_qs << TransferOutcome::NetworkError;
        QTest::newRow("redirect to file:") << QString() << u"/redirect/file"_qs << TransferOutcome::NetworkError;
    }
    void serverFaultsFail()
    {
        QFETCH(QString, fault);
        QFETCH(QString, path);
        QFETCH(TransferOutcome, outcome);
        if (!fault.isEmpty())
            QVERIFY(m_server->setFault(path, fault));
        writeFile(target(), "an older file of that name");
        download tg(DownloadVariant::Player);
        tg.setStallTimeout(std::chrono::milliseconds(400));
        const Run run = fetch(tg, url(path), target());
        QVERIFY(!run.complete);
        QCOMPARE(tg.result().outcome, outcome);
        QCOMPARE(readAll(target()), QByteArray("an older file of that name"));
        QVERIFY(!QFile::exists(download::partFileFor(target())));
        if (!run.progress.isEmpty()) // never shown as all there
            QVERIFY(run.progress.last() < tg.contentLength());
    }

    // The updater's events; its texts for server failures are checked with the program.
    void updaterVariantReports_data()
    {
        QTest::addColumn<QString>("saveFile");
        QTest::addColumn<QString>("error");
        QTest::newRow("complete") << u"kivoplay.new"_qs << QString();
        QTest::newRow("file cannot be written")
            << u"no/folder/kivoplay.new"_qs << u"文件{path}正在使用,无法进行操作"_qs;
    }
    void updaterVariantReports()
    {
        QFETCH(QString, saveFile);
        QFETCH(QString, error);
        const QString path = m_dir.filePath(saveFile);
        download tg(DownloadVariant::Updater);
        int over = 0;
        QStringList errors;
        connect(&tg, &download::DownLoadOver, this, [&] { ++over; });
        connect(&tg, &download::ErrMassage, this, [&](const QString &text) { errors.append(text); });
        const Run run = fetch(tg, url(u"/download/code/kivoplay.exe"_qs), path);
        QVERIFY(!run.complete); // the updater learns the end from its events
        QCOMPARE(over, error.isEmpty() ? 1 : 0);
        QCOMPARE(errors, error.isEmpty() ? QStringList() : QStringList {error.replace(u"{path}"_qs, path)});
        QCOMPARE(QFile::exists(path), error.isEmpty());
    }

    void cancelBeforeTheBodyWritesNothing()
    {
        download tg(DownloadVariant::Player);
        tg.setURL(url(u"/files/5000.bin"_qs));
        tg.setSaveFile(target());
        QCoro::waitFor(tg.Execute());
        tg.Cancel();
        QVERIFY(!tg.filedd());
        QVERIFY(!QCoro::waitFor(tg.StartDownLoad()));
        QCOMPARE(tg.result().outcome, TransferOutcome::Cancelled);
        QVERIFY(QDir(m_dir.path()).isEmpty());
    }

    void cancelFromAProgressHandlerStopsAtOnce()
    {
        download tg(DownloadVariant::Player);
        int reportsAfterCancel = 0;
        bool cancelled = false;
        connect(&tg, &download::GetData, this, [&] {
            reportsAfterCancel += cancelled ? 1 : 0;
            cancelled = true;
            tg.Cancel();
        });
        const Run run = fetch(tg, url(u"/files/3000000.bin?rate=1500000"_qs), target());
        QVERIFY(!run.complete);
        QCOMPARE(tg.result().outcome, TransferOutcome::Cancelled);
        QCOMPARE(reportsAfterCancel, 0);
        QVERIFY(QDir(m_dir.path()).isEmpty());
    }

    void cancelWhileWaitingForAnAnswer()
    {
        QVERIFY(m_server->setFault(u"/files/10.bin"_qs, u"hang"_qs));
        download tg(DownloadVariant::Player);
        tg.setURL(url(u"/files/10.bin"_qs));
        QTimer::singleShot(100, &tg, [&tg] { tg.Cancel(); });
        QElapsedTimer clock;
        clock.start();
        QCoro::waitFor(tg.Execute());
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(!tg.filedd());
        QCOMPARE(tg.result().outcome, TransferOutcome::Cancelled);
    }
};

QTEST_GUILESS_MAIN(DownloadTest)
#include "tst_download.moc"
