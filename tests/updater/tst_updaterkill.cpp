// An update killed at any moment leaves a player that starts: the old one or the
// new one, never a missing or cut-off file. KIVO_KILL_TRIALS sets the count
// (bench/killtrials.sh runs 100).

#include "support/demoserver.h"
#include "updatefolder.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <csignal>

using kivo::test::DemoServer;

class UpdaterKillTest : public QObject
{
    Q_OBJECT

    // Starts the real update program in the folder (offscreen; it never ends by itself).
    static void startUpdate(QProcess &update, const UpdateFolder &folder)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        update.setProcessEnvironment(env);
        update.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        update.start(folder.file(u"update"_qs), {});
    }
    static void kill(QProcess &update)
    {
        const qint64 pid = update.processId(); // 0 once reaped: never signal that
        if (pid > 0 && !update.waitForFinished(0))
            ::kill(pid_t(pid), SIGKILL);
        update.waitForFinished(5000);
    }

private Q_SLOTS:
    void killedUpdatesLeaveAPlayerThatStarts()
    {
        DemoServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.error()));
        // A few tenths of a second of transfer, so kills also land in it.
        QCOMPARE(server.request("POST", "/__demo/update?rate=100000").status, 200);
        UpdateFolder folder(server.baseUrl());
        QVERIFY(folder.isValid() && folder.addUpdater());
        const QByteArray oldPlayer = folder.oldPlayerBytes();
        const QByteArray newPlayer = UpdateFolder::bytesOf(UpdateFolder::standIn());

        // One whole run first: how long an update takes here sets the kill window.
        QProcess update;
        QElapsedTimer clock;
        clock.start();
        startUpdate(update, folder);
        QTRY_COMPARE_WITH_TIMEOUT(UpdateFolder::bytesOf(folder.player()), newPlayer, 10000);
        const int window = int(clock.elapsed() * 5 / 4);
        kill(update);

        const int trials = qEnvironmentVariableIntValue("KIVO_KILL_TRIALS") > 0
            ? qEnvironmentVariableIntValue("KIVO_KILL_TRIALS")
            : 20;
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int replaced = 0;
        for (int i = 0; i < trials; ++i) {
            QVERIFY(folder.restorePlayer());
            startUpdate(update, folder);
            QVERIFY(update.waitForStarted(5000));
            QThread::msleep(random.bounded(window));
            kill(update);
            const QByteArray player = UpdateFolder::bytesOf(folder.player());
            const QString trial = QStringLiteral("trial %1, seed %2").arg(i).arg(seed);
            QVERIFY2(player == oldPlayer || player == newPlayer, qPrintable(trial));
            QVERIFY2(folder.playerStarts(), qPrintable(trial));
            replaced += player == newPlayer ? 1 : 0;
        }
        qInfo("%d trials in a %d ms window, %d replaced the player (seed %u)", trials, window, replaced, seed);
    }
};

QTEST_GUILESS_MAIN(UpdaterKillTest)
#include "tst_updaterkill.moc"
