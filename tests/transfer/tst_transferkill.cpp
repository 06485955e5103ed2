// A transfer killed at any moment never leaves a cut-off file under the final
// name: the name holds nothing or the whole body. KIVO_KILL_TRIALS sets the count
// (bench/killtrials.sh runs 100).

#include "support/demoserver.h"
#include "support/testpaths.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using kivo::test::DemoServer;

class TransferKillTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedTransfersLeaveNoCutOffFile()
    {
        DemoServer server;
        QVERIFY2(server.isRunning(), qPrintable(server.error()));
        const QByteArray whole = server.request("GET", "/files/600000.bin", 10000).body;
        QCOMPARE(whole.size(), 600000);
        // About 0.25 s per run; kills land before, during and after the transfer.
        const QString url = server.baseUrl() + u"files/600000.bin?rate=2000000"_qs;
        QTemporaryDir dir;
        const QString target = dir.filePath(u"song.mp3"_qs);
        const int trials = qEnvironmentVariableIntValue("KIVO_KILL_TRIALS") > 0
            ? qEnvironmentVariableIntValue("KIVO_KILL_TRIALS")
            : 20;
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int killedMidway = 0;
        for (int i = 0; i < trials; ++i) {
            QProcess fetch;
            fetch.start(kivo::test::toolsDir() + u"/kivofetch"_qs, {url, target});
            QVERIFY(fetch.waitForStarted(5000));
            QThread::msleep(random.bounded(400));
            const qint64 pid = fetch.processId(); // 0 once the process has been reaped
            if (!fetch.waitForFinished(0) && pid > 0) {
                ::kill(pid_t(pid), SIGKILL);
                QVERIFY(fetch.waitForFinished(5000));
                ++killedMidway;
            }
            // A file from an earlier trial may stay; it must be whole, as every one.
            QFile f(target);
            if (f.open(QIODevice::ReadOnly))
                QVERIFY2(f.readAll() == whole, qPrintable(QStringLiteral("trial %1, seed %2").arg(i).arg(seed)));
        }
        qInfo("%d trials, %d killed while running (seed %u)", trials, killedMidway, seed);
        QVERIFY(killedMidway > 0);
    }
};

QTEST_GUILESS_MAIN(TransferKillTest)
#include "tst_transferkill.moc"
