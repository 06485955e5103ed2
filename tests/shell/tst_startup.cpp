#include "core/pageformats.h"
#include "online/serverclient.h"
#include "shell/busypulse.h"
#include "shell/installsettings.h"
#include "shell/startupsequence.h"
#include "shell/versioncheck.h"
#include "shell/weblinks.h"
#include "support/cannedhttpserver.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

namespace {

// Records what the start-up sequence asks of the window, in order.
class RecordingHost : public StartupHost
{
public:
    QStringList calls;
    QString notice, announcement, linkTarget, linkCaption, versionMessage, newsPane;
    bool updater = false, quitting = false;
    qint32 storedCount = 7;
    QDateTime configDate;

    bool isQuitting() const override { return quitting; }
    void showBusy(const QString &) override { calls << u"showBusy"_qs; }
    void hideBusy() override { calls << u"hideBusy"_qs; }
    void buildCatalogueTree() override { calls << u"catalogue"_qs; }
    void addLibraryNodes() override { calls << u"libraryNodes"_qs; }
    void setNoticeLine(const QString &t) override { notice = t; }
    void openAnnouncement(const QString &u) override { announcement = u; }
    void setLink(const QString &t, const QString &c) override
    {
        linkTarget = t;
        linkCaption = c;
    }
    qint32 applyStoredConfig(const QDateTime &d) override
    {
        calls << u"config"_qs;
        configDate = d;
        return storedCount;
    }
    QCoro::Task<> loadLibraryNodes() override
    {
        calls << u"loadLibrary"_qs;
        co_return;
    }
    bool updaterExists() const override { return updater; }
    void startUpdaterAndQuit() override { calls << u"update"_qs; }
    void showNewVersionMessage(const QString &t) override { versionMessage = t; }
    void navigateNewsPane(const QString &u) override
    {
        calls << u"newsPane"_qs;
        newsPane = u;
    }
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void versionComparison_data()
    {
        QTest::addColumn<QString>("published");
        QTest::addColumn<bool>("newer");
        QTest::newRow("1.4") << u"1.4"_qs << true;
        QTest::newRow("1.31") << u"1.31"_qs << false;
        QTest::newRow("1.30") << u"1.30"_qs << false;
        QTest::newRow("1.100") << u"1.100"_qs << false;
        QTest::newRow("1.31 with trailing blank") << u"1.31 "_qs << false;
        QTest::newRow("1.32 with blanks") << u" 1.32\t"_qs << true;
        QTest::newRow("empty") << QString() << false;
    }
    void versionComparison()
    {
        QFETCH(QString, published);
        QFETCH(bool, newer);
        QCOMPARE(isNewerVersion(published, u"1.31"_qs), newer);
    }

    void newVersionMessageText()
    {
        QCOMPARE(newVersionMessage(u"1.4"_qs, u"http://h/down.asp"_qs),
            u"发现新版本V1.4，请下载最新版本。\n\rhttp://h/down.asp"_qs);
    }

    void noticeApplied_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("queue");
        QTest::addColumn<int>("daily");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("version");
        const QDate today = QDate::currentDate();
        QTest::newRow("three fields only")
            << QStringList {u"通知"_qs, u""_qs, u"http://l|||看看"_qs} << 30 << 200 << today << u"1.31"_qs;
        QTest::newRow("non-numeric queue, daily still read")
            << QStringList {u"通知"_qs, u""_qs, u"x"_qs, u"many"_qs, u"50"_qs} << 30 << 50 << today << u"1.31"_qs;
        QTest::newRow("all fields") << QStringList {u"通知"_qs, u" "_qs, u"x"_qs, u"12"_qs, u"40"_qs, u"2026-3-9"_qs,
            u"1.4"_qs} << 12 << 40 << QDate(2026, 3, 9)
                                    << u"1.4"_qs;
        QTest::newRow("bad date keeps today")
            << QStringList {u"通知"_qs, u""_qs, u"x"_qs, u"12"_qs, u"40"_qs, u"someday"_qs, u"1.5"_qs} << 12 << 40
            << today << u"1.5"_qs;
    }
    void noticeApplied()
    {
        QFETCH(QStringList, fields);
        QFETCH(int, queue);
        QFETCH(int, daily);
        QFETCH(QDate, date);
        QFETCH(QString, version);
        RecordingHost host;
        QNetworkAccessManager nam;
        ServerClient server(&nam, u"http://127.0.0.1:1/"_qs);
        ProgramState state;
        StartupSequence seq(host, server, state);
        seq.applyNotice(u"garbage"_qs + buildNoticePayload(fields) + u"tail"_qs);
        QCOMPARE(host.notice, fields.at(0));
        QCOMPARE(int(state.maxQueuedDownloads), queue);
        QCOMPARE(int(state.dailyDownloadLimit), daily);
        QCOMPARE(state.serverDate.date(), date);
        QCOMPARE(state.publishedVersion, version);
        QVERIFY(host.announcement.isEmpty()); // a blank page field opens nothing
    }

    void sequenceRunsInOrderAgainstServer_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("updater");
        QTest::addColumn<QString>("expectedLast");
        QTest::newRow("same version") << u"1.31"_qs << false << u"newsPane"_qs;
        QTest::newRow("newer, no updater: message, then news pane") << u"1.4"_qs << false << u"newsPane"_qs;
        QTest::newRow("newer with updater: update and stop") << u"1.4"_qs << true << u"update"_qs;
    }
    void sequenceRunsInOrderAgainstServer()
    {
        QFETCH(QString, version);
        QFETCH(bool, updater);
        QFETCH(QString, expectedLast);
        test::CannedHttpServer http;
        QVERIFY(http.start());
        const QString payload = buildNoticePayload({u"欢迎"_qs, u"http://h/gg.asp"_qs, u"http://h/l|||链接"_qs,
            u"25"_qs, u"150"_qs, u"2026-12-01"_qs, version});
        http.setAnswer(u"/dl.asp"_qs, {200, HiddenDataPage::wrap(payload).toUtf8(), "text/html; charset=utf-8", false});
        QNetworkAccessManager nam;
        ServerClient server(&nam, http.baseUrl());
        RecordingHost host;
        host.updater = updater;
        ProgramState state;
        bool done = false;
        StartupSequence seq(host, server, state);
        seq.run().then([&] { done = true; });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);

        QCOMPARE(http.requests(), QStringList {u"POST /dl.asp"_qs});
        QCOMPARE(host.calls.mid(0, 6),
            (QStringList {
                u"showBusy"_qs, u"catalogue"_qs, u"libraryNodes"_qs, u"loadLibrary"_qs, u"config"_qs, u"hideBusy"_qs}));
        QCOMPARE(host.calls.last(), expectedLast);
        QCOMPARE(host.notice, u"欢迎"_qs);
        QCOMPARE(host.announcement, u"http://h/gg.asp"_qs);
        QCOMPARE(host.linkCaption, u"链接"_qs);
        QCOMPARE(host.configDate.date(), QDate(2026, 12, 1)); // config is read against the server's date
        QCOMPARE(state.dailyDownloadCount, 7);
        QCOMPARE(host.versionMessage.isEmpty(), version == u"1.31"_qs || updater);
        if (expectedLast == u"newsPane"_qs)
            QCOMPARE(host.newsPane, http.baseUrl() + u"webggt.asp"_qs);
    }

    void unreachableServerKeepsDefaults()
    {
        QNetworkAccessManager nam;
        ServerClient server(&nam, u"http://127.0.0.1:1/"_qs);
        RecordingHost host;
        ProgramState state;
        bool done = false;
        StartupSequence seq(host, server, state);
        seq.run().then([&] { done = true; });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        QCOMPARE(state.maxQueuedDownloads, qint16(30));
        QCOMPARE(state.dailyDownloadLimit, qint16(200));
        QCOMPARE(state.publishedVersion, u"1.31"_qs);
        QVERIFY(host.notice.isEmpty());
        QCOMPARE(host.calls.last(), u"newsPane"_qs);
    }

    void storedNodesComeBeforeTheStartupPageAndExitStops()
    {
        test::CannedHttpServer http;
        QVERIFY(http.start());
        http.setAnswer(u"/dl.asp"_qs, {200, {}, {}, true});
        QNetworkAccessManager nam;
        ServerClient server(&nam, http.baseUrl());
        RecordingHost host;
        ProgramState state;
        bool done = false;
        StartupSequence seq(host, server, state);
        seq.run().then([&] { done = true; });
        QTRY_COMPARE(server.pendingRequests(), 1);
        // The stored playlists, days and albums do not wait for the start-up page.
        QVERIFY(host.calls.contains(u"loadLibrary"_qs));
        host.quitting = true;
        server.abortAll();
        QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
        QVERIFY(!host.calls.contains(u"config"_qs));
        QVERIFY(!host.calls.contains(u"newsPane"_qs));
    }

    void busyPulse()
    {
        BusyPulse pulse(1); // one second of request time-out: ten ticks
        int highest = 0;
        for (int i = 0; i < 10; ++i) {
            const auto step = pulse.tick();
            QVERIFY(!step.hide);
            highest = std::max(highest, step.color.red());
            QCOMPARE(step.color.green(), std::min(255, step.color.red() + 3));
        }
        QCOMPARE(highest, 100);
        QVERIFY(pulse.tick().hide); // the eleventh tick gives up
        BusyPulse turning(60);
        for (int i = 0; i < 21; ++i)
            turning.tick();
        QCOMPARE(turning.level(), 210);
        QVERIFY(!turning.brightening()); // above 200 it darkens again
        turning.tick();
        QCOMPARE(turning.level(), 200);
    }

    void webLinks_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("openable");
        QTest::newRow("http") << u"http://example.test/a"_qs << true;
        QTest::newRow("https") << u" https://example.test "_qs << true;
        QTest::newRow("file") << u"file:///etc/passwd"_qs << false;
        QTest::newRow("bare path") << u"/usr/bin/xterm"_qs << false;
        QTest::newRow("javascript") << u"javascript:alert(1)"_qs << false;
        QTest::newRow("bare word") << u"example"_qs << false;
        QTest::newRow("empty") << QString() << false;
    }
    void webLinks()
    {
        QFETCH(QString, address);
        QFETCH(bool, openable);
        QCOMPARE(isOpenableWebLink(address), openable);
    }

    void installSettings()
    {
        QTemporaryDir dir;
        QFile ini(InstallSettings::iniPath(dir.path()));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[install]\nServerBaseUrl=http://127.0.0.1:9/kx\nDownloadPageUrl=http://d/down.asp\n");
        ini.close();
        const auto s = InstallSettings::load(dir.path());
        QCOMPARE(s.serverBaseUrl, u"http://127.0.0.1:9/kx/"_qs);
        QCOMPARE(s.downloadPageUrl, u"http://d/down.asp"_qs);
        QVERIFY(s.updateServerUrl.isEmpty());
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
