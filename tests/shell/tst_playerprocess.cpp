// The player as a process: its program folder, the library check and the version check.
#include "core/pageformats.h"
#include "support/cannedhttpserver.h"
#include "support/privatebus.h"
#include "support/programfolder.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace kivo;
using kivo::test::CannedHttpServer;
using kivo::test::ProgramFolder;

class PlayerProcessTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingLibraryEndsTheProgram()
    {
        CannedHttpServer http;
        QVERIFY(http.start());
        ProgramFolder folder(http.baseUrl(), false);
        QVERIFY(folder.isValid());
        QProcess player;
        folder.startPlayer(player);
        // The message box waits for the user; the player must not have gone on
        // to the server, nor have made a library.
        QTest::qWait(1500);
        QVERIFY(http.requests().isEmpty());
        QVERIFY(!QFile::exists(folder.dataFile()));
        player.kill();
        player.waitForFinished(5000);
    }

    void damagedLibraryIsReportedAndLeftAlone()
    {
        CannedHttpServer http;
        QVERIFY(http.start());
        ProgramFolder folder(http.baseUrl(), false);
        QVERIFY(folder.isValid());
        QFile damaged(folder.dataFile());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        const QByteArray bytes = QByteArray("SQLite format 3") + QByteArray(3000, '\x5a');
        damaged.write(bytes);
        damaged.close();
        QProcess player;
        folder.startPlayer(player);
        QTest::qWait(1500);
        QVERIFY(http.requests().isEmpty()); // start-up never began
        player.kill();
        player.waitForFinished(5000);
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), bytes);
        QVERIFY(!QFile::exists(folder.dataFile() + u"-wal"_qs));
    }

    void newerVersionStartsTheUpdaterAndQuits_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("withUpdater");
        QTest::addColumn<bool>("updates");
        QTest::newRow("newer, updater present") << u"1.4"_qs << true << true;
        QTest::newRow("same, updater present") << u"1.31"_qs << true << false;
        QTest::newRow("newer, no updater") << u"1.4"_qs << false << false;
    }
    void newerVersionStartsTheUpdaterAndQuits()
    {
        QFETCH(QString, version);
        QFETCH(bool, withUpdater);
        QFETCH(bool, updates);
        CannedHttpServer http;
        QVERIFY(http.start());
        const QString payload
            = buildNoticePayload({u"通知"_qs, u""_qs, u"x|||y"_qs, u"30"_qs, u"200"_qs, u"2026-12-07"_qs, version});
        http.setAnswer(u"/dl.asp"_qs, {200, HiddenDataPage::wrap(payload).toUtf8(), "text/html; charset=utf-8", false});
        ProgramFolder folder(http.baseUrl());
        QVERIFY(folder.isValid());
        if (withUpdater)
            folder.addFakeUpdater();
        QProcess player;
        folder.startPlayer(player);
        QVERIFY(player.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(http.requests().contains(u"POST /dl.asp"_qs), 10000);
        if (updates) {
            // It ends itself (possibly before the log was read: waitForFinished would
            // then say false, so wait on the state).
            QTRY_COMPARE_WITH_TIMEOUT(player.state(), QProcess::NotRunning, 10000);
            QTRY_VERIFY_WITH_TIMEOUT(folder.updaterWasStarted(), 5000);
        } else {
            QTest::qWait(1500);
            QCOMPARE(player.state(), QProcess::Running); // keeps running
            QVERIFY(!folder.updaterWasStarted());
            player.kill();
            player.waitForFinished(5000);
        }
    }

    void laterStartsHandTheirFilesToTheRunningPlayer()
    {
        test::PrivateBus bus;
        if (!bus.isRunning())
            QSKIP("dbus-daemon is not available");
        CannedHttpServer http;
        QVERIFY(http.start());
        ProgramFolder folder(http.baseUrl());
        QVERIFY(folder.isValid());
        for (const char *name : {"a.mp3", "b.mp3"}) {
            QFile song(folder.path() + u'/' + QLatin1String(name));
            QVERIFY(song.open(QIODevice::WriteOnly));
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
        qputenv("QT_LOGGING_RULES", "kivo.desktop.debug=true");
        QProcess first;
        first.setProcessChannelMode(QProcess::MergedChannels);
        QByteArray log;
        auto said = [&](const QString &line) {
            log += first.readAll();
            return log.contains(line.toUtf8());
        };
        folder.startPlayer(first, u"offscreen"_qs, {u"a.mp3"_qs});
        QTRY_VERIFY_WITH_TIMEOUT(said(u"opening "_qs + folder.path() + u"/a.mp3"_qs), 10000);

        // A missing file is skipped; the others go to the running player, which stays the one.
        QProcess second;
        folder.startPlayer(second, u"offscreen"_qs, {u"gone.mp3"_qs, u"b.mp3"_qs});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(said(u"opening "_qs + folder.path() + u"/b.mp3"_qs), 5000);
        QProcess third;
        folder.startPlayer(third);
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(said(u"a later start brings the player back"_qs), 5000);

        // With no bus named, a start carries on by itself.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        QProcess alone;
        folder.startPlayer(alone, u"offscreen"_qs, {u"b.mp3"_qs});
        QVERIFY(!alone.waitForFinished(1500));
        qunsetenv("QT_LOGGING_RULES");
        for (QProcess *p : {&alone, &first}) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
};

QTEST_GUILESS_MAIN(PlayerProcessTest)
#include "tst_playerprocess.moc"
