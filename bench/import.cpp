// Importing 1,000 / 10,000 / 100,000 local files into a playlist, and opening that
// playlist's page afterwards. Beside each import: plain SQLite inserts of the same rows
// in one transaction, measured in the same run on a library of its own.
#include "core/mirrortext.h"
#include "library/librarydatabase.h"
#include "library/librarypages.h"
#include "library/localfiles.h"
#include "library/localimport.h"
#include "online/resultpages.h"
#include "online/songlistmodel.h"
#include "shell/libraryaccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <QCoro/QCoroTask>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kivo;

namespace {

// Empty files with names like the ones people keep, Chinese included, 1,000 a folder.
QStringList makeFiles(const QString &root, int count)
{
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString folder = root + u"/专辑 %1"_qs.arg(i / 1000);
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        const QString path
            = folder + (i % 3 ? u"/歌手%1 - 第%2首歌.mp3"_qs : u"/Artist %1 - Song No.%2.flac"_qs).arg(i % 500).arg(i);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        paths.append(path);
    }
    return paths;
}

QString freshLibrary(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    return LibraryDatabase::create(path).status == LibraryCreateOutcome::Status::Created ? path : QString();
}

// The reference: the same rows straight into SQLite, with the same duplicate probe.
double plainInsertMs(const QString &path, int playlistId, const QList<ImportItem> &items)
{
    double ms = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"plain"_qs);
        db.setDatabaseName(path);
        db.open();
        QElapsedTimer timer;
        timer.start();
        QSqlQuery(db).exec(u"BEGIN IMMEDIATE"_qs);
        QSqlQuery find(db);
        find.prepare(u"SELECT 1 FROM list WHERE url = ? LIMIT 1"_qs);
        QSqlQuery insert(db);
        insert.prepare(u"INSERT INTO list (classid, title, url, url1, url2) VALUES (?, ?, ?, '', ?)"_qs);
        for (const ImportItem &item : items) {
            const QString url = MirrorText(item.locator);
            find.bindValue(0, url);
            find.exec();
            if (find.next())
                continue;
            find.finish();
            insert.bindValue(0, playlistId);
            insert.bindValue(1, item.title);
            insert.bindValue(2, url);
            insert.bindValue(3, item.url2);
            insert.exec();
        }
        QSqlQuery(db).exec(u"COMMIT"_qs);
        ms = timer.nsecsElapsed() / 1e6;
        find.finish();
        insert.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(u"plain"_qs);
    return ms;
}

// The reference for opening the page: the same rows read straight from SQLite, every
// column as text, newest first; `limit` 0 reads them all.
double plainReadMs(const QString &path, int playlistId, int limit)
{
    double ms = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"plainread"_qs);
        db.setDatabaseName(path);
        db.open();
        QElapsedTimer timer;
        timer.start();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.prepare(u"SELECT id, classid, title, url, url1, url2, musicid, baiduid, addtime FROM list "
                  "WHERE classid = ? AND title <> '' ORDER BY id DESC LIMIT ?"_qs);
        q.addBindValue(playlistId);
        q.addBindValue(limit > 0 ? limit : -1);
        q.exec();
        qsizetype chars = 0;
        while (q.next())
            for (int c = 0; c < 9; ++c)
                chars += q.value(c).toString().size();
        ms = timer.nsecsElapsed() / 1e6;
        q.finish();
        db.close();
        if (chars == 0)
            ms = -1;
    }
    QSqlDatabase::removeDatabase(u"plainread"_qs);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    double previous = 0, previousPlain = 0;
    for (const int count : {1000, 10000, 100000}) {
        const QStringList files = makeFiles(dir.filePath(u"files-%1"_qs.arg(count)), count);
        if (files.size() != count) {
            std::fprintf(stderr, "could not make %d files\n", count);
            return 1;
        }
        QList<ImportItem> items;
        items.reserve(count);
        for (const QString &file : files)
            items.append(ImportItem::localFile(file));

        const QString path = freshLibrary(dir, u"kx-%1.dat"_qs.arg(count));
        const QString plainPath = freshLibrary(dir, u"plain-%1.dat"_qs.arg(count));
        LibraryDatabase db;
        LibraryDatabase plainDb;
        if (path.isEmpty() || plainPath.isEmpty() || !db.open(path).ok() || !plainDb.open(plainPath).ok())
            return 1;
        const int playlist = db.addPlaylist(u"导入"_qs).id;
        const int plainPlaylist = plainDb.addPlaylist(u"导入"_qs).id;
        plainDb.release();

        QElapsedTimer timer;
        timer.start();
        const PlaylistImportOutcome outcome = importIntoPlaylist(path, playlist, items);
        const double ms = timer.nsecsElapsed() / 1e6;
        const double plainMs = plainInsertMs(plainPath, plainPlaylist, items);
        if (!outcome.stored() || outcome.added != count) {
            std::fprintf(stderr, "import of %d stored %d\n", count, outcome.added);
            return 1;
        }
        std::printf("import files_%d: %.1f ms (plain sqlite insert %.1f ms)\n", count, ms, plainMs);
        if (previous > 0)
            std::printf("import growth_x10_to_%d: x%.1f (plain sqlite x%.1f, goal <= x12)\n", count, ms / previous,
                plainMs / previousPlain);
        previous = ms;
        previousPlain = plainMs;

        // The playlist page as a double-click on its node opens it: query, locators
        // checked on disk, rows into the list model; the first screenful at once, the
        // rest in parts on the following event-loop turns.
        LibraryAccess access(db);
        ResultPages pages(nullptr);
        LibraryPages libraryPages(&pages, &access);
        std::vector<double> firsts, wholes;
        int rows = -1;
        for (int run = 0; run < 5; ++run) {
            timer.restart();
            const int tab = QCoro::waitFor(libraryPages.open({LibraryPage::Type::Playlist, playlist, {}, u"导入"_qs}));
            firsts.push_back(timer.nsecsElapsed() / 1e6);
            const ResultTabInfo *opened = pages.strip().tab(tab);
            SongListModel *model = opened ? pages.listModel(opened->view) : nullptr;
            QElapsedTimer limit;
            limit.start();
            while (model && model->rowCount() < count && limit.elapsed() < 60000)
                QCoreApplication::processEvents();
            wholes.push_back(timer.nsecsElapsed() / 1e6);
            rows = model ? model->rowCount() : -1;
            if (opened)
                pages.CloseResultTab(tab); // the lists stay one at a time, as a user keeps them
        }
        const auto plainRead = [&](int limit) {
            std::vector<double> reads;
            for (int run = 0; run < 3; ++run)
                reads.push_back(plainReadMs(plainPath, plainPlaylist, limit));
            std::sort(reads.begin(), reads.end());
            return reads[1];
        };
        const double plainFirst = plainRead(256), plainWhole = plainRead(0);
        const double firstOpen = firsts.front(), firstWhole = wholes.front();
        std::sort(firsts.begin(), firsts.end());
        std::sort(wholes.begin(), wholes.end());
        std::printf("import page_open_%d: first screenful %.1f ms (first run %.1f ms; plain sqlite read %.1f ms), "
                    "whole page %.1f ms (first run %.1f ms; plain sqlite read %.1f ms), medians of 5, %d rows (goal "
                    "for 100000: first screenful <= 50 ms, whole page <= 300 ms)\n",
            count, firsts[2], firstOpen, plainFirst, wholes[2], firstWhole, plainWhole, rows);
    }
    return 0;
}
