#include "library/libraryschema.h"
#include "libraryfixture.h"
#include "support/testpaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QTest>

#include <functional>

using namespace kivo;
using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Runs statements on a plain SQLite file of our own making.
bool makeSqliteFile(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("maker-%1").arg(QRandomGenerator::global()->generate());
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        for (const QString &sql : statements) {
            QSqlQuery q(db);
            ok = ok && q.exec(sql);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// A real library with enough rows to span many pages.
bool makeFilledLibrary(const QString &path)
{
    if (LibraryDatabase::create(path).status != LibraryCreateOutcome::Status::Created)
        return false;
    LibraryDatabase db;
    if (!db.open(path).ok())
        return false;
    const int pl = db.addPlaylist(QStringLiteral("p")).id;
    for (int i = 0; i < 400; ++i)
        db.addSongToPlaylist(
            pl, {QStringLiteral("song %1 ").arg(i) + QString(100, u'x'), QStringLiteral("/m/%1").arg(i)});
    return true;
}

// A library an older player kept, converted to SQLite: the six tables with their
// columns, declared its own way and in its own order, one playlist with a song,
// and no version. lslistColumns replaces the history table's columns.
bool makeOlderLibrary(const QString &path,
    const QString &lslistColumns
    = QStringLiteral("id, lsid, title, url, url1, url2, musicid, baiduid, listid, addtime"))
{
    return makeSqliteFile(path,
        {QStringLiteral("CREATE TABLE class (id INTEGER PRIMARY KEY, title VARCHAR(255))"),
            QStringLiteral("CREATE TABLE list (id INTEGER PRIMARY KEY, title VARCHAR(255), classid INTEGER, url, url1, "
                           "url2, musicid INTEGER, baiduid INTEGER, addtime DATETIME, note TEXT)"),
            QStringLiteral("CREATE TABLE ls (id INTEGER PRIMARY KEY, title)"),
            QStringLiteral("CREATE TABLE lslist (%1)").arg(lslistColumns),
            QStringLiteral("CREATE TABLE cd (id INTEGER PRIMARY KEY, title, specialid)"),
            QStringLiteral("CREATE TABLE config (addtime, downday, content)"),
            QStringLiteral("INSERT INTO class VALUES (3, '旧歌单')"),
            QStringLiteral("INSERT INTO list VALUES (1, '老歌', 3, '', '', '', 0, 0, '2006-05-01 10:00:00', '')")});
}

bool makeAccessHeader(const QString &path, const QByteArray &signature, char version)
{
    QByteArray header(4096, '\0');
    header[1] = 1;
    header.replace(4, signature.size(), signature);
    header[20] = version;
    return writeBytes(path, header);
}

using FileMaker = std::function<bool(const QString &)>;

} // namespace

Q_DECLARE_METATYPE(FileMaker)

class LibraryFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingFileIsNotCreated()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/kx.dat"));
        LibraryDatabase db;
        const LibraryOpenOutcome outcome = db.open(path);
        QCOMPARE(outcome.status, LibraryOpenOutcome::Status::Missing);
        QCOMPARE(outcome.message(), QStringLiteral("数据库调入错误。"));
        QVERIFY(!db.isOpen());
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QDir(dir.filePath(QStringLiteral("data"))).exists());
    }

    void unusableFileIsLeftUntouched_data()
    {
        QTest::addColumn<FileMaker>("make");
        QTest::newRow("random bytes") << FileMaker([](const QString &p) {
            QByteArray junk(8192, '\0');
            QRandomGenerator gen(7);
            for (char &c : junk)
                c = char(gen.bounded(256));
            return writeBytes(p, junk);
        });
        QTest::newRow("text file") << FileMaker([](const QString &p) { return writeBytes(p, "playlist=1\n"); });
        QTest::newRow("empty file") << FileMaker([](const QString &p) { return writeBytes(p, {}); });
        QTest::newRow("truncated library") << FileMaker([](const QString &p) {
            if (!makeFilledLibrary(p))
                return false;
            const QByteArray whole = bytesOf(p);
            return whole.size() > 8192 && writeBytes(p, whole.left(whole.size() / 2));
        });
        QTest::newRow("damaged page") << FileMaker([](const QString &p) {
            if (!makeFilledLibrary(p))
                return false;
            QByteArray whole = bytesOf(p);
            // Break the b-tree page headers of a few pages.
            for (qsizetype page = 2; page < 6; ++page)
                for (qsizetype i = 0; i < 8; ++i)
                    whole[page * 4096 + i] = char(0xA5);
            return writeBytes(p, whole);
        });
        QTest::newRow("another program's database") << FileMaker([](const QString &p) {
            return makeSqliteFile(p,
                {QStringLiteral("CREATE TABLE notes (id INTEGER, body TEXT)"),
                    QStringLiteral("INSERT INTO notes VALUES (1, 'x')")});
        });
        QTest::newRow("right version, wrong tables") << FileMaker([](const QString &p) {
            return makeSqliteFile(p,
                {QStringLiteral("CREATE TABLE class (id INTEGER, name TEXT)"),
                    QStringLiteral("PRAGMA user_version = 1")});
        });
        QTest::newRow("newer version") << FileMaker([](const QString &p) {
            return LibraryDatabase::create(p).status == LibraryCreateOutcome::Status::Created
                && makeSqliteFile(
                    p, {QStringLiteral("PRAGMA journal_mode=DELETE"), QStringLiteral("PRAGMA user_version = 99")});
        });
    }
    void unusableFileIsLeftUntouched()
    {
        QFETCH(FileMaker, make);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kx.dat"));
        QVERIFY(make(path));
        const QByteArray before = bytesOf(path);
        LibraryDatabase db;
        const LibraryOpenOutcome outcome = db.open(path);
        QCOMPARE(outcome.status, LibraryOpenOutcome::Status::Unusable);
        QVERIFY(!outcome.reason.isEmpty());
        qInfo("%s", qPrintable(outcome.message()));
        QVERIFY(outcome.message().startsWith(QStringLiteral("数据库文件 ")));
        QVERIFY(outcome.message().contains(QDir::toNativeSeparators(path)));
        QVERIFY(!db.isOpen());
        QCOMPARE(bytesOf(path), before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }

    void refusalsSayWhatIsWrong_data()
    {
        QTest::addColumn<FileMaker>("make");
        QTest::addColumn<QStringList>("says");
        QTest::newRow("Jet 4 file") << FileMaker([](const QString &p) {
            return makeAccessHeader(p, "Standard Jet DB", 1);
        }) << QStringList {u"Jet 4"_s, u"mdb-export"_s, u"SQLite"_s};
        QTest::newRow("Jet 3 file") << FileMaker([](const QString &p) {
            return makeAccessHeader(p, "Standard Jet DB", 0);
        }) << QStringList {u"Jet 3"_s, u"mdb-schema"_s};
        QTest::newRow("ACE file") << FileMaker([](const QString &p) {
            return makeAccessHeader(p, "Standard ACE DB", 2);
        }) << QStringList {u"ACE"_s, u"mdb-export"_s};
        QTest::newRow("older tables, a column missing") << FileMaker([](const QString &p) {
            return makeOlderLibrary(p, u"id, lsid, title, url, url1, url2, musicid, baiduid, addtime"_s);
        }) << QStringList {u"lslist"_s, u"listid"_s};
    }
    void refusalsSayWhatIsWrong()
    {
        QFETCH(FileMaker, make);
        QFETCH(QStringList, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"kx.dat"_s);
        QVERIFY(make(path));
        const QByteArray before = bytesOf(path);
        LibraryDatabase db;
        const LibraryOpenOutcome outcome = db.open(path);
        QCOMPARE(outcome.status, LibraryOpenOutcome::Status::Unusable);
        for (const QString &part : says)
            QVERIFY2(outcome.reason.contains(part), qPrintable(outcome.reason));
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {u"kx.dat"_s});
    }

    // An older library is copied aside before anything is written into it, then
    // stamped, indexed and used; earlier backups are never replaced.
    void olderLibraryIsTakenInAfterABackup_data()
    {
        QTest::addColumn<int>("earlierBackups");
        QTest::addColumn<QString>("backup");
        QTest::newRow("first backup") << 0 << u"kx.dat.bak"_s;
        QTest::newRow("earlier backups kept") << 2 << u"kx.dat.bak.2"_s;
    }
    void olderLibraryIsTakenInAfterABackup()
    {
        QFETCH(int, earlierBackups);
        QFETCH(QString, backup);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"kx.dat"_s);
        QVERIFY(makeOlderLibrary(path));
        const QByteArray original = bytesOf(path);
        for (int n = 0; n < earlierBackups; ++n)
            QVERIFY(writeBytes(dir.filePath(n == 0 ? u"kx.dat.bak"_s : u"kx.dat.bak.%1"_s.arg(n)), "earlier"));

        {
            LibraryDatabase db;
            const LibraryOpenOutcome outcome = db.open(path);
            QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
            QCOMPARE(bytesOf(dir.filePath(backup)), original);
            for (int n = 0; n < earlierBackups; ++n)
                QCOMPARE(bytesOf(dir.filePath(n == 0 ? u"kx.dat.bak"_s : u"kx.dat.bak.%1"_s.arg(n))), "earlier");
            QCOMPARE(db.playlists().size(), 1);
            QCOMPARE(db.playlists().at(0).title, u"旧歌单"_s);
            QCOMPARE(db.playlistPage(3).size(), 1);
            QVERIFY(db.addPlaylist(u"新歌单"_s).added());
        }
        QSqlDatabase raw = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"older-raw"_s);
        raw.setDatabaseName(path);
        QVERIFY(raw.open());
        {
            QSqlQuery q(raw);
            QVERIFY(
                q.exec(u"SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE 'list%'"_s) && q.next());
            QCOMPARE(q.value(0).toInt(), 2);
            QCOMPARE(LibrarySchema::storedVersion(raw), LibrarySchema::currentVersion());
        }
        raw.close();
        raw = {};
        QSqlDatabase::removeDatabase(u"older-raw"_s);

        // Taken in once: opened again, it needs no second backup.
        const int files = QDir(dir.path()).entryList({u"kx.dat.bak*"_s}).size();
        LibraryDatabase again;
        QVERIFY(again.open(path).ok());
        QCOMPARE(again.playlists().size(), 2);
        QCOMPARE(QDir(dir.path()).entryList({u"kx.dat.bak*"_s}).size(), files);
    }

    void newLibraryHasCurrentSchema()
    {
        kivo::test::LibraryFixture f;
        QVERIFY(f.setUp());
        QCOMPARE(f.raw(QStringLiteral("PRAGMA user_version")).toInt(), LibrarySchema::currentVersion());
        QCOMPARE(f.raw(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QVERIFY(f.db.isOpen());
        f.db.release();
        f.db.release();
        QVERIFY(!f.db.isOpen());
        QCOMPARE(LibraryDatabase::create(f.path).status, LibraryCreateOutcome::Status::AlreadyThere);
        // Reopening a file made before keeps its rows.
        LibraryDatabase again;
        QVERIFY(again.open(f.path).ok());
        QVERIFY(again.addPlaylist(QStringLiteral("p")).added());
        LibraryDatabase third;
        QVERIFY(third.open(f.path).ok());
        QCOMPARE(third.playlists().size(), 1);
    }

    void unusualFolderNames_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("space") << QStringLiteral("my music");
        QTest::newRow("chinese") << QStringLiteral("音乐库");
        QTest::newRow("uri characters") << QStringLiteral("a#b?c%20d&e=f");
        QTest::newRow("quote") << QStringLiteral("it's");
    }
    void unusualFolderNames()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        const QString path = dir.filePath(folder + QStringLiteral("/data/kx.dat"));
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        {
            LibraryDatabase db;
            QVERIFY(db.open(path).ok());
            QVERIFY(db.addPlaylist(QStringLiteral("p")).added());
        }
        LibraryDatabase db;
        QVERIFY(db.open(path).ok());
        QCOMPARE(db.playlists().size(), 1);
        // Nothing was made anywhere else.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {folder});
    }

    void failedSchemaStepRollsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kx.dat"));
        // "class" already exists: the schema fails part way and must leave nothing.
        QVERIFY(makeSqliteFile(path, {QStringLiteral("CREATE TABLE class (x INTEGER)")}));
        QString tables;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mig"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(!LibrarySchema::migrate(db, 0).isEmpty());
            QCOMPARE(LibrarySchema::storedVersion(db), 0);
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("SELECT group_concat(name) FROM sqlite_master")));
            QVERIFY(q.next());
            tables = q.value(0).toString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("mig"));
        QCOMPARE(tables, QStringLiteral("class"));
    }

    // A statement that fails is logged once, under the operation it ran for.
    void failedStatementIsLogged()
    {
        test::LibraryFixture f;
        QVERIFY(f.setUp());
        f.raw(u"DROP TABLE cd"_qs);
        QTest::ignoreMessage(QtWarningMsg,
            QRegularExpression(u"^LibraryDatabase::cdAlbums failed: SELECT .* FROM cd .*no such table"_qs));
        QVERIFY(f.db.cdAlbums().isEmpty());
    }

    void mkdbTool()
    {
        const QString tool = kivo::test::toolsDir() + QStringLiteral("/kivo-mkdb");
        QVERIFY(QFile::exists(tool));
        QTemporaryDir dir;
        auto run = [&tool](const QString &path) {
            QProcess p;
            p.start(tool, {path});
            if (!p.waitForFinished(30000)) {
                p.kill();
                p.waitForFinished(5000);
                return -1;
            }
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        const QString made = dir.filePath(QStringLiteral("a/b/data/kx.dat"));
        QCOMPARE(run(made), 0);
        LibraryDatabase db;
        QVERIFY(db.open(made).ok());
        QVERIFY(db.addPlaylist(QStringLiteral("kept")).added());
        db.release();

        const QByteArray before = bytesOf(made);
        QCOMPARE(run(made), 0);
        QCOMPARE(bytesOf(made), before);

        const QString foreign = dir.filePath(QStringLiteral("foreign.dat"));
        QVERIFY(writeBytes(foreign, "not a library"));
        QCOMPARE(run(foreign), 0);
        QCOMPARE(bytesOf(foreign), QByteArray("not a library"));

        // A folder cannot be made below a plain file.
        QVERIFY(run(foreign + QStringLiteral("/sub/kx.dat")) != 0);
        QVERIFY(run(QString()) != 0);
    }
};

QTEST_GUILESS_MAIN(LibraryFileTest)
#include "tst_libraryfile.moc"
