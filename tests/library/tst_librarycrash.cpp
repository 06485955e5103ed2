// A player killed at any moment while it writes to the library leaves a library
// that opens, passes SQLite's integrity check and holds no song without its day or
// its playlist. KIVO_CRASH_TRIALS sets the count (bench/crashdb.sh runs 100).

#include "library/librarydatabase.h"
#include "support/testpaths.h"

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace kivo;

namespace {

// What is wrong with the library after a kill; empty when nothing is.
QString damageOf(const QString &path)
{
    {
        LibraryDatabase db;
        const LibraryOpenOutcome opened = db.open(path);
        if (!opened.ok())
            return opened.message();
    }
    const QString name = QStringLiteral("crash-check");
    QString damage;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        raw.setDatabaseName(path);
        QSqlQuery q(raw);
        auto first = [&q](const char *sql) {
            return q.exec(QString::fromLatin1(sql)) && q.next() ? q.value(0).toString() : QStringLiteral("(failed)");
        };
        if (!raw.open())
            damage = QStringLiteral("no second connection");
        else if (const QString check = first("PRAGMA integrity_check"); check != QLatin1String("ok"))
            damage = QStringLiteral("integrity: ") + check;
        else if (const QString n = first("SELECT count(*) FROM lslist WHERE lsid NOT IN (SELECT id FROM ls)");
                 n != u"0")
            damage = n + QStringLiteral(" history songs without their day");
        else if (const QString n = first("SELECT count(*) FROM list WHERE classid NOT IN (SELECT id FROM class)");
                 n != u"0")
            damage = n + QStringLiteral(" playlist songs without their playlist");
    }
    QSqlDatabase::removeDatabase(name);
    return damage;
}

int trialCount()
{
    const int n = qEnvironmentVariableIntValue("KIVO_CRASH_TRIALS");
    return n > 0 ? n : 20;
}

// Runs the writer for a while and kills it. True when the kill came during a write;
// a writer that ended by itself fails the test.
bool killedDuringWrite(const QStringList &args, int ms)
{
    QProcess writer;
    writer.start(test::buildDir() + u"/tests/crashwriter"_qs, args);
    if (!writer.waitForStarted(5000))
        qFatal("crashwriter does not start");
    QThread::msleep(ms);
    if (writer.state() != QProcess::Running)
        qFatal("crashwriter ended by itself: %s", writer.readAllStandardError().constData());
    ::kill(pid_t(writer.processId()), SIGKILL);
    writer.waitForFinished(5000);
    return writer.readAllStandardOutput().endsWith('w');
}

} // namespace

class LibraryCrashTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The player is killed at random moments while it writes; the library it leaves
    // is whole each time, and the next run goes on with it.
    void killedWritersLeaveAWholeLibrary()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"data/kx.dat"_qs);
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        const int trials = trialCount();
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int duringWrite = 0;
        QStringList failures;
        for (int i = 0; i < trials; ++i) {
            if (killedDuringWrite({u"write"_qs, path, QString::number(random.generate())}, random.bounded(30, 400)))
                ++duringWrite;
            if (const QString damage = damageOf(path); !damage.isEmpty())
                failures << QStringLiteral("trial %1: %2").arg(i).arg(damage);
        }
        qInfo("%d trials, %d killed during a write, %lld failed (seed %u)", trials, duringWrite,
            qlonglong(failures.size()), seed);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
        QVERIFY(duringWrite > 0);
    }

    // A library being made when the maker is killed is either not there, so that it
    // is made again, or whole: never a file that is refused ever after.
    void killedMakersLeaveNoHalfMadeLibrary()
    {
        QTemporaryDir dir;
        QRandomGenerator random(QRandomGenerator::global()->generate());
        for (int i = 0; i < 5; ++i)
            killedDuringWrite({u"make"_qs, dir.filePath(QString::number(i))}, random.bounded(100, 300));
        QDirIterator made(dir.path(), {u"kx.dat"_qs}, QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        for (; made.hasNext(); ++count) {
            const QString path = made.next();
            LibraryDatabase db;
            QVERIFY2(db.open(path).ok(), qPrintable(db.open(path).message()));
        }
        QVERIFY(count > 5);
    }
};

QTEST_GUILESS_MAIN(LibraryCrashTest)
#include "tst_librarycrash.moc"
