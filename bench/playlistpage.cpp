// Opening a playlist page of 100,000 songs (the queries and the typed rows) the way the
// page opens: its first screenful, then the rest in parts keyed on id. Beside each, the
// sqlite3 program reading the same rows from the same file.
#include "library/librarydatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace kivo;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kx.dat"));
    if (LibraryDatabase::create(path).status != LibraryCreateOutcome::Status::Created)
        return 1;
    LibraryDatabase db;
    if (!db.open(path).ok())
        return 1;
    const int playlist = db.addPlaylist(QStringLiteral("大列表")).id;
    constexpr int kSongs = 100000;
    {
        // Filling goes straight through SQL in one transaction; only the page is timed.
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        raw.setDatabaseName(path);
        raw.open();
        raw.transaction();
        QSqlQuery q(raw);
        q.prepare(
            QStringLiteral("INSERT INTO list (classid, title, url, url1, url2, musicid) VALUES (?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < kSongs; ++i) {
            const bool local = i % 2 == 0;
            q.addBindValue(playlist);
            q.addBindValue(QStringLiteral("歌手%1 - 第%2首歌").arg(i % 500).arg(i));
            q.addBindValue(local ? QStringLiteral("Y2\\N{HRx\\~RXMVI\\%1.nk<").arg(i) : QStringLiteral(""));
            q.addBindValue(local ? QStringLiteral("") : QStringLiteral("SGGK://nfhrx.vcznkov.xln/%1.nk<").arg(i));
            q.addBindValue(QStringLiteral("歌手%1+第%2首歌").arg(i % 500).arg(i));
            q.addBindValue(i);
            if (!q.exec()) {
                std::fprintf(stderr, "fill failed: %s\n", qPrintable(q.lastError().text()));
                return 1;
            }
        }
        raw.commit();
        q.finish();
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));

    auto cpuMs = [] {
        timespec t {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    constexpr int kFirstRows = 256, kPartRows = 8192;
    std::vector<double> runs;
    std::vector<double> firstRuns;
    std::vector<double> cpuRuns;
    qsizetype rows = 0;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        QList<StoredSong> part = db.playlistPage(playlist, {0, kFirstRows});
        firstRuns.push_back(timer.nsecsElapsed() / 1e6);
        rows = part.size();
        while (part.size() == (rows == kFirstRows ? kFirstRows : kPartRows)) {
            part = db.playlistPage(playlist, {part.last().id, kPartRows});
            rows += part.size();
        }
        runs.push_back(timer.nsecsElapsed() / 1e6);
        cpuRuns.push_back(cpuMs() - cpuStart);
    }
    if (rows != kSongs) {
        std::fprintf(stderr, "expected %d rows, got %lld\n", kSongs, static_cast<long long>(rows));
        return 1;
    }
    std::sort(runs.begin(), runs.end());
    std::sort(firstRuns.begin(), firstRuns.end());
    std::sort(cpuRuns.begin(), cpuRuns.end());
    // The reference: the sqlite3 program reading the same rows from the same file (its
    // start-up included), the whole page and its first screenful.
    const auto sqliteMs = [&](const QString &limit) {
        std::vector<double> reference;
        const QString sql
            = QStringLiteral("SELECT id, classid, title, url, url1, url2, musicid, baiduid, addtime FROM list "
                             "WHERE classid = %1 AND title <> '' ORDER BY id DESC%2;")
                  .arg(playlist)
                  .arg(limit);
        for (int run = 0; run < 7; ++run) {
            QProcess sqlite;
            sqlite.setStandardOutputFile(QProcess::nullDevice());
            QElapsedTimer timer;
            timer.start();
            sqlite.start(QStringLiteral("sqlite3"), {path, sql});
            if (!sqlite.waitForFinished(60000) || sqlite.exitCode() != 0)
                return -1.0;
            reference.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(reference.begin(), reference.end());
        return reference[reference.size() / 2];
    };
    const double sqlite = sqliteMs(QString()), sqliteFirst = sqliteMs(QStringLiteral(" LIMIT %1").arg(kFirstRows));
    if (sqlite < 0 || sqliteFirst < 0) {
        std::fprintf(stderr, "playlistpage: the sqlite3 program did not read the rows\n");
        return 1;
    }
    const double page = runs[runs.size() / 2], first = firstRuns[firstRuns.size() / 2];
    std::printf("playlistpage median_ms: %.1f ms, the whole page in parts of %d (sqlite3 %.1f ms, ratio %.2f, "
                "goal <= 1.50)\n",
        page, kPartRows, sqlite, sqlite > 0 ? page / sqlite : 0.0);
    std::printf("playlistpage first_screenful_ms: %.1f ms, %d rows (sqlite3 %.1f ms; goal <= 50 ms)\n", first,
        kFirstRows, sqliteFirst);
    // The same on this thread's processor time: steadier on a busy machine.
    std::printf("playlistpage median_cpu_ms: %.1f\n", cpuRuns[cpuRuns.size() / 2]);
    return 0;
}
