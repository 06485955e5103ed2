// Start-up of the main window against the demo content server.
#include "library/librarydatabase.h"
#include "online/serverclient.h"
#include "shell/ui/mainwindow.h"
#include "support/demoserver.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

namespace {
// A main window over a fresh library whose download counter was counted at the
// given times, started against the demo server.
struct Run
{
    QTemporaryDir dir;
    LibraryDatabase library;
    QNetworkAccessManager nam;
    std::unique_ptr<ServerClient> client;
    ProgramState state;
    std::unique_ptr<MainWindow> window;
    bool finished = false;

    Run(const test::DemoServer &server, const QList<QDateTime> &downloads)
    {
        const QString file = dir.path() + u"/kx.dat"_qs;
        if (LibraryDatabase::create(file).status == LibraryCreateOutcome::Status::Failed || !library.open(file).ok())
            return;
        library.saveSettingsContent(u"26㊣1㊣1㊣1㊣0㊣255"_qs);
        for (const QDateTime &at : downloads)
            library.countDownload(at);
        client = std::make_unique<ServerClient>(&nam, server.baseUrl());
        MainWindowContext ctx;
        ctx.programDir = dir.path();
        ctx.server = client.get();
        ctx.state = &state;
        ctx.applyStoredConfig = [this](const QDateTime &day) -> qint32 {
            const auto config = library.loadStartupConfig(day);
            return config ? config->dailyDownloadCount : 0;
        };
        window = std::make_unique<MainWindow>(ctx);
        window->show();
        QSignalSpy done(window.get(), &MainWindow::startupSequenceFinished);
        finished = done.wait(15000);
    }
};
} // namespace

class StartupDemoTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        server = std::make_unique<test::DemoServer>();
        if (!server->isRunning())
            QFAIL(qPrintable(server->error()));
    }

    void startupAppliesTheStartPageAndConfig()
    {
        QVERIFY(server->reset());
        QVERIFY(server->setNoticeField(u"notice"_qs, u"欢迎使用演示服务器"_qs));
        QVERIFY(server->setNoticeField(u"link"_qs, server->baseUrl() + u"softhelp.asp|||使用帮助"_qs));
        QVERIFY(server->setNoticeField(u"queue"_qs, u"12"_qs));
        QVERIFY(server->setNoticeField(u"daily"_qs, u"3"_qs));
        QVERIFY(server->setNoticeField(u"date"_qs, u"2026-12-07"_qs));
        // A counter that belongs to the same day, at another hour.
        Run run(*server, {QDateTime(QDate(2026, 12, 7), QTime(8, 0)), QDateTime(QDate(2026, 12, 7), QTime(9, 0))});
        QVERIFY(run.finished);

        QCOMPARE(run.window->findChild<QLabel *>(u"Label1"_qs)->text(), u"欢迎使用演示服务器"_qs);
        QCOMPARE(run.window->findChild<QLabel *>(u"Label7"_qs)->text(), u"使用帮助"_qs);
        QCOMPARE(run.window->linkTarget(), server->baseUrl() + u"softhelp.asp"_qs);
        QCOMPARE(run.state.maxQueuedDownloads, qint16(12));
        QCOMPARE(run.state.dailyDownloadLimit, qint16(3));
        QCOMPARE(run.state.serverDate.date(), QDate(2026, 12, 7));
        QCOMPARE(run.state.dailyDownloadCount, 2); // same day, another hour: the count stands
        QVERIFY(server->requestLog().contains(u"POST /dl.asp"_qs));
    }

    void anotherDayResetsTheCounter()
    {
        QVERIFY(server->reset());
        QVERIFY(server->setNoticeField(u"date"_qs, u"2026-12-08"_qs));
        Run run(*server, {QDateTime(QDate(2026, 12, 7), QTime(23, 0))});
        QVERIFY(run.finished);
        QCOMPARE(run.state.dailyDownloadCount, 0);
        QCOMPARE(run.library.configRow()->downday, 0);
    }

private:
    std::unique_ptr<test::DemoServer> server;
};

QTEST_MAIN(StartupDemoTest)
#include "tst_startupdemo.moc"
