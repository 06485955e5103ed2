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

        // A library whose counter belongs to the same day at another hour.
        QTemporaryDir dir;
        const QString file = dir.path() + u"/kx.dat"_qs;
        QVERIFY(LibraryDatabase::create(file).status != LibraryCreateOutcome::Status::Failed);
        LibraryDatabase library;
        QVERIFY(library.open(file).ok());
        QVERIFY(library.saveSettingsContent(u"26㊣1㊣1㊣1㊣0㊣255"_qs));
        QVERIFY(library.countDownload(QDateTime(QDate(2026, 12, 7), QTime(8, 0))));
        QVERIFY(library.countDownload(QDateTime(QDate(2026, 12, 7), QTime(9, 0))));

        QNetworkAccessManager nam;
        ServerClient client(&nam, server->baseUrl());
        ProgramState state;
        MainWindowContext ctx;
        ctx.programDir = dir.path();
        ctx.server = &client;
        ctx.state = &state;
        ctx.applyStoredConfig = [&](const QDateTime &day) -> qint32 {
            const auto config = library.loadStartupConfig(day);
            return config ? config->dailyDownloadCount : 0;
        };
        MainWindow window(ctx);
        window.show();
        QSignalSpy finished(&window, &MainWindow::startupSequenceFinished);
        QVERIFY(finished.wait(15000));

        QCOMPARE(window.findChild<QLabel *>(u"Label1"_qs)->text(), u"欢迎使用演示服务器"_qs);
        QCOMPARE(window.findChild<QLabel *>(u"Label7"_qs)->text(), u"使用帮助"_qs);
        QCOMPARE(window.linkTarget(), server->baseUrl() + u"softhelp.asp"_qs);
        QCOMPARE(state.maxQueuedDownloads, qint16(12));
        QCOMPARE(state.dailyDownloadLimit, qint16(3));
        QCOMPARE(state.serverDate.date(), QDate(2026, 12, 7));
        QCOMPARE(state.dailyDownloadCount, 2); // same day, another hour: the count stands
        QVERIFY(server->requestLog().contains(u"POST /dl.asp"_qs));
    }

    void anotherDayResetsTheCounter()
    {
        QVERIFY(server->reset());
        QVERIFY(server->setNoticeField(u"date"_qs, u"2026-12-08"_qs));
        QTemporaryDir dir;
        const QString file = dir.path() + u"/kx.dat"_qs;
        QVERIFY(LibraryDatabase::create(file).status != LibraryCreateOutcome::Status::Failed);
        LibraryDatabase library;
        QVERIFY(library.open(file).ok());
        QVERIFY(library.saveSettingsContent(u"26㊣1㊣1㊣1㊣0㊣255"_qs));
        QVERIFY(library.countDownload(QDateTime(QDate(2026, 12, 7), QTime(23, 0))));

        QNetworkAccessManager nam;
        ServerClient client(&nam, server->baseUrl());
        ProgramState state;
        MainWindowContext ctx;
        ctx.programDir = dir.path();
        ctx.server = &client;
        ctx.state = &state;
        ctx.applyStoredConfig = [&](const QDateTime &day) -> qint32 {
            const auto config = library.loadStartupConfig(day);
            return config ? config->dailyDownloadCount : 0;
        };
        MainWindow window(ctx);
        window.show();
        QSignalSpy finished(&window, &MainWindow::startupSequenceFinished);
        QVERIFY(finished.wait(15000));
        QCOMPARE(state.dailyDownloadCount, 0);
        QCOMPARE(library.configRow()->downday, 0);
    }

private:
    std::unique_ptr<test::DemoServer> server;
};

QTEST_MAIN(StartupDemoTest)
#include "tst_startupdemo.moc"
