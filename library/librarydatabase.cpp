#include "library/librarydatabase.h"

#include "core/address.h"
#include "core/logging.h"
#include "core/mirrortext.h"
#include "library/libraryschema.h"
#include "library/olderlibrary.h"
#include "library/sqlvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <limits>
#include <source_location>
#include <variant>

namespace kivo {

namespace {

const QString kDriver = QStringLiteral("QSQLITE");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString newConnectionName()
{
    static std::atomic<int> counter {0};
    return QStringLiteral("kivo-library-%1").arg(++counter);
}

QVariant text(const QString &s)
{
    return boundText(s);
}

// The id of the first row (id, title) whose title equals title up to case, folded
// Unicode-wide (the columns' NOCASE folds ASCII only). Folding keeps the number of
// characters, so the queries read only titles of the probe's length.
std::optional<int> idWithTitle(QSqlQuery &q, const QString &title)
{
    if (!q.exec())
        return std::nullopt;
    while (q.next()) {
        if (QString::compare(q.value(1).toString(), title, Qt::CaseInsensitive) == 0)
            return q.value(0).toInt();
    }
    return std::nullopt;
}

QString mirrored(const QString &s)
{
    return s.isEmpty() ? QStringLiteral("") : MirrorText(s);
}

bool isNetworkAddress(const QString &locator)
{
    return hasScheme(locator);
}

// The operation a statement runs for, as the log names it: "LibraryDatabase::playlists".
QString operationName(const std::source_location &at)
{
    QString name = QString::fromLatin1(at.function_name());
    name.truncate(name.indexOf(u'('));
    name = name.mid(name.lastIndexOf(u' ') + 1);
    return name.startsWith(u"kivo::") ? name.mid(6) : name;
}

// Runs a prepared statement, or the given text. A failure is logged once, with the
// operation and the driver's error; the statements themselves at debug level.
bool run(QSqlQuery &q, const std::source_location &at = std::source_location::current())
{
    if (q.exec()) {
        qCDebug(lcDb).noquote() << operationName(at) << q.lastQuery();
        return true;
    }
    qCWarning(lcDb).noquote() << operationName(at) << "failed:" << q.lastQuery() << "-" << q.lastError().text();
    return false;
}

bool run(QSqlQuery &q, const QString &sql, const std::source_location &at = std::source_location::current())
{
    if (q.exec(sql)) {
        qCDebug(lcDb).noquote() << operationName(at) << sql;
        return true;
    }
    qCWarning(lcDb).noquote() << operationName(at) << "failed:" << sql << "-" << q.lastError().text();
    return false;
}

// A transaction step (begin, commit) that failed.
bool logged(bool ok, QSqlDatabase &db, const char *step, const std::source_location &at)
{
    if (!ok)
        qCWarning(lcDb).noquote() << operationName(at) << step << "failed:" << db.lastError().text();
    return ok;
}

// Closes and removes a connection once every query on it is gone.
struct ConnectionGuard
{
    QString name;
    ~ConnectionGuard()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (db.isValid())
                db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
};

QString describeSqlError(const QSqlError &error)
{
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (detail.contains(QLatin1String("not a database"), Qt::CaseInsensitive))
        return QStringLiteral("不是数据库文件");
    if (detail.contains(QLatin1String("malformed"), Qt::CaseInsensitive))
        return QStringLiteral("文件已损坏");
    return QStringLiteral("无法读取（%1）").arg(detail);
}

// Reads the file without writing anything: integrity, version and tables.
// Gives the stored version, or the reason the file cannot be used. Version 0 is a
// file of an older player's tables and columns, converted to SQLite, that carries
// no version yet: it is taken in.
std::variant<int, QString> inspectReadOnly(const QString &path)
{
    if (const QString access = OlderLibrary::accessFormatReason(path); !access.isEmpty())
        return access;
    ConnectionGuard guard {newConnectionName()};
    QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, guard.name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        return describeSqlError(db.lastError());
    {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")))
            return describeSqlError(q.lastError());
        if (!q.next())
            return QStringLiteral("文件已损坏");
        if (q.value(0).toString() != QLatin1String("ok"))
            return QStringLiteral("文件已损坏");
    }
    const int version = LibrarySchema::storedVersion(db);
    if (version < 0)
        return QStringLiteral("无法读取数据结构版本");
    if (version == 0 && !LibrarySchema::hasAnyLibraryTable(db))
        return QStringLiteral("不是本播放器的媒体库");
    if (version > LibrarySchema::currentVersion())
        return QStringLiteral("由更新版本的播放器创建（数据结构版本 %1）").arg(version);
    if (const QString wrong = LibrarySchema::checkShape(db, std::max(version, 1)); !wrong.isEmpty())
        return QStringLiteral("数据结构不符（%1）").arg(wrong);
    return version;
}

} // namespace

QString LibraryOpenOutcome::message() const
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::Missing:
        return QStringLiteral("数据库调入错误。");
    case Status::Unusable:
        break;
    }
    return QStringLiteral("数据库文件 %1 无法使用：%2").arg(QDir::toNativeSeparators(path), reason);
}

LibraryDatabase::LibraryDatabase() = default;

LibraryDatabase::~LibraryDatabase()
{
    release();
}

QSqlDatabase LibraryDatabase::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QSqlDatabase LibraryDatabase::connection() const
{
    return database();
}

bool LibraryDatabase::isOpen() const
{
    return !m_connection.isEmpty() && database().isOpen();
}

void LibraryDatabase::release()
{
    if (m_connection.isEmpty())
        return;
    ConnectionGuard guard {m_connection};
    m_connection.clear();
}

LibraryInspection LibraryDatabase::inspect(const QString &path)
{
    LibraryInspection checked;
    LibraryOpenOutcome &outcome = checked.outcome;
    outcome.path = path;
    const QFileInfo info(path);
    if (!info.exists()) {
        outcome.status = LibraryOpenOutcome::Status::Missing;
        return checked;
    }
    outcome.status = LibraryOpenOutcome::Status::Unusable;
    if (!info.isFile()) {
        outcome.reason = QStringLiteral("不是文件");
        return checked;
    }
    const auto inspected = inspectReadOnly(path);
    if (const QString *reason = std::get_if<QString>(&inspected)) {
        outcome.reason = *reason;
        return checked;
    }
    checked.version = std::get<int>(inspected);
    outcome.status = LibraryOpenOutcome::Status::Ok;
    return checked;
}

LibraryOpenOutcome LibraryDatabase::open(const QString &path)
{
    return open(inspect(path));
}

LibraryOpenOutcome LibraryDatabase::open(const LibraryInspection &checked)
{
    release();
    if (!checked.outcome.ok())
        return checked.outcome;
    const QString path = checked.outcome.path;
    const int version = checked.version;
    LibraryOpenOutcome outcome;
    outcome.path = path;
    outcome.status = LibraryOpenOutcome::Status::Unusable;
    QString backup;
    if (version == 0) {
        // Nothing is written into an older library before a copy of it is kept.
        QString error;
        backup = OlderLibrary::backUp(path, &error);
        if (backup.isEmpty()) {
            outcome.reason = QStringLiteral("无法备份（%1）").arg(error);
            qCWarning(lcDb).noquote() << "older library not taken in, no backup:" << path << "-" << error;
            return outcome;
        }
    }

    const QString name = newConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, name);
        // mode=rw: should the file vanish meanwhile, it is not made anew here.
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
            + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
        QString failure;
        if (!db.open()) {
            failure = describeSqlError(db.lastError());
        } else {
            QSqlQuery q(db);
            run(q, QStringLiteral("PRAGMA journal_mode=WAL"));
            run(q, QStringLiteral("PRAGMA synchronous=NORMAL"));
            int reached = version;
            if (version == 0) {
                failure = LibrarySchema::adopt(db);
                reached = LibrarySchema::storedVersion(db);
                if (failure.isEmpty())
                    qCInfo(lcDb).noquote() << "older library taken in:" << path << "- backup" << backup;
            }
            if (failure.isEmpty() && reached < LibrarySchema::currentVersion())
                failure = LibrarySchema::migrate(db, reached);
        }
        if (!failure.isEmpty()) {
            outcome.reason = failure;
            ConnectionGuard guard {name};
            return outcome;
        }
    }
    m_connection = name;
    m_path = path;
    outcome.status = LibraryOpenOutcome::Status::Ok;
    return outcome;
}

LibraryCreateOutcome LibraryDatabase::create(const QString &path)
{
    LibraryCreateOutcome outcome;
    const QFileInfo info(path);
    if (info.exists()) {
        outcome.status = LibraryCreateOutcome::Status::AlreadyThere;
        return outcome;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        outcome.error = QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(info.absolutePath()));
        return outcome;
    }
    // The library is made under a name of its own and renamed into place only when
    // whole: a maker killed half-way must not leave a file that is refused ever after
    // and never made again. A leftover of a killed maker with the same process id
    // goes first, with its journals, so that none of them is taken for ours.
    const QString building
        = info.absoluteFilePath() + QStringLiteral(".new-%1").arg(QCoreApplication::applicationPid());
    auto removeBuilding = [&building] {
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(building + QLatin1String(suffix));
    };
    removeBuilding();
    QString failure;
    {
        ConnectionGuard guard {newConnectionName()};
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, guard.name);
        db.setDatabaseName(building);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            // Qt reads text as UTF-16: storing it so spares a conversion per value.
            QSqlQuery(db).exec(QStringLiteral("PRAGMA encoding = 'UTF-16le'"));
            failure = LibrarySchema::migrate(db, 0);
            if (failure.isEmpty()) {
                QSqlQuery q(db);
                if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
                    failure = q.lastError().text();
            }
        }
    }
    if (failure.isEmpty() && !QFile::rename(building, path)) {
        removeBuilding();
        if (QFileInfo::exists(path)) {
            // Another maker was quicker; its library stands.
            outcome.status = LibraryCreateOutcome::Status::AlreadyThere;
            return outcome;
        }
        failure = QStringLiteral("无法改名为 %1").arg(QDir::toNativeSeparators(path));
    }
    if (!failure.isEmpty()) {
        removeBuilding();
        outcome.error = failure;
        return outcome;
    }
    outcome.status = LibraryCreateOutcome::Status::Created;
    return outcome;
}

QString LibraryDatabase::historyDayTitle(const QDate &day)
{
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

// --- reading -------------------------------------------------------------

namespace {

QList<LibraryFolder> folderRows(QSqlQuery &q)
{
    QList<LibraryFolder> rows;
    while (q.next())
        rows.append({q.value(0).toInt(), q.value(1).toString()});
    return rows;
}

} // namespace

QList<PlaylistRow> LibraryDatabase::playlists() const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!run(q, QStringLiteral("SELECT id, title FROM class ORDER BY id DESC")))
        return {};
    return folderRows(q);
}

QList<HistoryDayRow> LibraryDatabase::historyDays() const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!run(q, QStringLiteral("SELECT id, title FROM ls ORDER BY id DESC")))
        return {};
    return folderRows(q);
}

QList<PlaylistRow> LibraryDatabase::playlistsForChooser() const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!run(q, QStringLiteral("SELECT id, title FROM class ORDER BY id")))
        return {};
    return folderRows(q);
}

QList<CdAlbumRow> LibraryDatabase::cdAlbums() const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    QList<CdAlbumRow> rows;
    if (!run(q, QStringLiteral("SELECT id, title, specialid FROM cd ORDER BY id")))
        return rows;
    while (q.next())
        rows.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt()});
    return rows;
}

std::optional<CdAlbumRow> LibraryDatabase::cdAlbum(int id) const
{
    QSqlQuery q(database());
    q.prepare(QStringLiteral("SELECT id, title, specialid FROM cd WHERE id = ?"));
    q.addBindValue(id);
    if (!run(q) || !q.next())
        return std::nullopt;
    return CdAlbumRow {q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt()};
}

// Columns in this order: id, owner, title, url, url1, url2, musicid, baiduid,
// addtime, and for history songs listid.
#define KIVO_LIST_COLUMNS "id, classid, title, url, url1, url2, musicid, baiduid, addtime"
#define KIVO_LSLIST_COLUMNS "id, lsid, title, url, url1, url2, musicid, baiduid, addtime, listid"

qsizetype LibraryDatabase::countOf(
    const QString &table, const QString &column, int id, const std::source_location &at) const
{
    QSqlQuery q(database());
    // Table and column are our own constants, never user text.
    q.prepare(
        QStringLiteral("SELECT count(*) FROM ") + table + QStringLiteral(" WHERE ") + column + QStringLiteral(" = ?"));
    q.addBindValue(id);
    return run(q, at) && q.next() ? q.value(0).toLongLong() : 0;
}

QList<StoredSong> LibraryDatabase::songRows(QSqlQuery &q, bool history, qsizetype expected) const
{
    QList<StoredSong> rows;
    // One allocation for a whole page instead of repeated growth.
    rows.reserve(expected);
    while (q.next()) {
        StoredSong &s = rows.emplace_back();
        s.id = q.value(0).toInt();
        s.folderId = q.value(1).toInt();
        s.title = q.value(2).toString();
        s.url = mirrored(q.value(3).toString());
        s.url1 = mirrored(q.value(4).toString());
        s.url2 = q.value(5).toString();
        s.musicId = q.value(6).toInt();
        s.baiduId = q.value(7).toInt();
        s.addedAt = q.value(8).toString();
        if (history)
            s.listId = q.value(9).toInt();
    }
    return rows;
}

QList<StoredSong> LibraryDatabase::pageRows(const QString &sql, const QString &table, const QString &column, int id,
    PageSlice slice, const std::source_location &at) const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(sql);
    q.addBindValue(id);
    // id < beforeId keeps the owner index in use for every part, so a later part
    // costs no more than the first.
    q.addBindValue(slice.beforeId > 0 ? qint64(slice.beforeId) : std::numeric_limits<qint64>::max());
    q.addBindValue(slice.limit > 0 ? slice.limit : -1);
    if (!run(q, at))
        return {};
    return songRows(
        q, table == QStringLiteral("lslist"), slice.limit > 0 ? slice.limit : countOf(table, column, id, at));
}

QList<StoredSong> LibraryDatabase::playlistPage(int playlistId, PageSlice slice) const
{
    return pageRows(QStringLiteral("SELECT " KIVO_LIST_COLUMNS " FROM list WHERE classid = ? AND title <> '' "
                                   "AND id < ? ORDER BY id DESC LIMIT ?"),
        QStringLiteral("list"), QStringLiteral("classid"), playlistId, slice);
}

QList<StoredSong> LibraryDatabase::historyPage(int dayId, PageSlice slice) const
{
    return pageRows(QStringLiteral("SELECT " KIVO_LSLIST_COLUMNS " FROM lslist WHERE lsid = ? AND title <> '' "
                                   "AND id < ? ORDER BY id DESC LIMIT ?"),
        QStringLiteral("lslist"), QStringLiteral("lsid"), dayId, slice);
}

QList<StoredSong> LibraryDatabase::queueRows(const QString &sql, int id, const std::source_location &at) const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(sql);
    q.addBindValue(id);
    QList<StoredSong> rows;
    if (!run(q, at))
        return rows;
    while (q.next()) {
        StoredSong &s = rows.emplace_back();
        s.id = q.value(0).toInt();
        s.folderId = id;
        s.title = q.value(1).toString();
        s.url = mirrored(q.value(2).toString());
        s.url1 = mirrored(q.value(3).toString());
        s.url2 = q.value(4).toString();
    }
    return rows;
}

QList<StoredSong> LibraryDatabase::playlistQueueRows(int playlistId) const
{
    return queueRows(
        QStringLiteral("SELECT id, title, url, url1, url2 FROM list WHERE classid = ? ORDER BY id"), playlistId);
}

QList<StoredSong> LibraryDatabase::historyQueueRows(int dayId) const
{
    return queueRows(QStringLiteral("SELECT id, title, url, url1, url2 FROM lslist WHERE lsid = ? ORDER BY id"), dayId);
}

std::optional<StoredSong> LibraryDatabase::singleSong(
    const QString &sql, int id, bool history, const std::source_location &at) const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(sql);
    q.addBindValue(id);
    if (!run(q, at))
        return std::nullopt;
    QList<StoredSong> rows = songRows(q, history, 1);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.takeFirst();
}

std::optional<StoredSong> LibraryDatabase::playlistSong(int songId) const
{
    return singleSong(QStringLiteral("SELECT " KIVO_LIST_COLUMNS " FROM list WHERE id = ?"), songId, false);
}

std::optional<StoredSong> LibraryDatabase::historySong(int songId) const
{
    return singleSong(QStringLiteral("SELECT " KIVO_LSLIST_COLUMNS " FROM lslist WHERE id = ?"), songId, true);
}

std::optional<int> LibraryDatabase::playlistOfSong(int songId) const
{
    QSqlQuery q(database());
    q.prepare(QStringLiteral("SELECT classid FROM list WHERE id = ?"));
    q.addBindValue(songId);
    if (!run(q) || !q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

std::optional<int> LibraryDatabase::findSongByPath(const QString &path) const
{
    QSqlQuery q(database());
    q.prepare(QStringLiteral("SELECT id FROM list WHERE url = ? LIMIT 1"));
    q.addBindValue(text(mirrored(path)));
    if (!run(q) || !q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

// --- writing -------------------------------------------------------------

namespace {

std::optional<int> firstId(QSqlQuery &q, const std::source_location &at = std::source_location::current())
{
    if (!run(q, at) || !q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

std::optional<int> insertedId(QSqlQuery &q, const std::source_location &at = std::source_location::current())
{
    if (!run(q, at))
        return std::nullopt;
    const QVariant id = q.lastInsertId();
    if (!id.isValid())
        return std::nullopt;
    return id.toInt();
}

InsertOutcome outcomeOf(std::optional<int> id)
{
    return id ? InsertOutcome {InsertOutcome::Kind::Added, *id} : InsertOutcome {};
}

// Where a locator goes: url1 for network addresses, url for local paths.
struct StoredLocator
{
    QString url;
    QString url1;
};

StoredLocator storedLocator(const QString &locator)
{
    if (isNetworkAddress(locator))
        return {QStringLiteral(""), mirrored(locator)};
    return {mirrored(locator), QStringLiteral("")};
}

} // namespace

bool LibraryDatabase::execIds(
    std::initializer_list<std::pair<const char *, int>> statements, const std::source_location &at)
{
    QSqlDatabase db = database();
    if (!logged(db.transaction(), db, "begin", at))
        return false;
    for (const auto &[sql, id] : statements) {
        QSqlQuery q(db);
        q.prepare(QString::fromLatin1(sql));
        q.addBindValue(id);
        if (!run(q, at)) {
            q.finish();
            db.rollback();
            return false;
        }
    }
    return logged(db.commit(), db, "commit", at);
}

InsertOutcome LibraryDatabase::addPlaylist(const QString &name)
{
    const QString title = storedTitle(name);
    QSqlQuery check(database());
    check.setForwardOnly(true);
    check.prepare(QStringLiteral("SELECT id, title FROM class WHERE length(title) = ? ORDER BY id"));
    check.addBindValue(characterCount(title));
    if (const auto existing = idWithTitle(check, title))
        return {InsertOutcome::Kind::AlreadyPresent, *existing};
    QSqlQuery q(database());
    q.prepare(QStringLiteral("INSERT INTO class (title) VALUES (?)"));
    q.addBindValue(text(title));
    return outcomeOf(insertedId(q));
}

bool LibraryDatabase::renamePlaylist(int playlistId, const QString &name)
{
    QSqlQuery q(database());
    q.prepare(QStringLiteral("UPDATE class SET title = ? WHERE id = ?"));
    q.addBindValue(text(storedTitle(name)));
    q.addBindValue(playlistId);
    return run(q);
}

bool LibraryDatabase::deletePlaylist(int playlistId)
{
    return execIds(
        {{"DELETE FROM list WHERE classid = ?", playlistId}, {"DELETE FROM class WHERE id = ?", playlistId}});
}

bool LibraryDatabase::clearPlaylist(int playlistId)
{
    return execIds({{"DELETE FROM list WHERE classid = ?", playlistId}});
}

InsertOutcome LibraryDatabase::addSongToPlaylist(int playlistId, const SongToStore &song)
{
    const QString title = storedTitle(song.title);
    QSqlQuery check(database());
    check.setForwardOnly(true);
    check.prepare(QStringLiteral("SELECT id, title FROM list WHERE classid = ? AND length(title) = ? ORDER BY id"));
    check.addBindValue(playlistId);
    check.addBindValue(characterCount(title));
    if (const auto existing = idWithTitle(check, title))
        return {InsertOutcome::Kind::AlreadyPresent, *existing};
    const StoredLocator where = storedLocator(song.locator);
    QSqlQuery q(database());
    q.prepare(QStringLiteral("INSERT INTO list (classid, title, url, url1, url2, musicid, baiduid) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(playlistId);
    q.addBindValue(text(title));
    q.addBindValue(text(where.url));
    q.addBindValue(text(where.url1));
    q.addBindValue(text(song.url2));
    q.addBindValue(song.kind == 2 ? song.id : 0);
    q.addBindValue(song.kind == 3 ? song.id : 0);
    return outcomeOf(insertedId(q));
}

InsertOutcome LibraryDatabase::importLocalFile(
    int playlistId, const QString &path, const QString &title, const QString &url2)
{
    if (const auto existing = findSongByPath(path))
        return {InsertOutcome::Kind::AlreadyPresent, *existing};
    QSqlQuery q(database());
    q.prepare(QStringLiteral("INSERT INTO list (classid, title, url, url1, url2) VALUES (?, ?, ?, '', ?)"));
    q.addBindValue(playlistId);
    q.addBindValue(text(storedTitle(title)));
    q.addBindValue(text(mirrored(path)));
    q.addBindValue(text(url2));
    return outcomeOf(insertedId(q));
}

bool LibraryDatabase::renameSong(int songId, const QString &title)
{
    QSqlQuery q(database());
    q.prepare(QStringLiteral("UPDATE list SET title = ? WHERE id = ?"));
    q.addBindValue(text(storedTitle(title)));
    q.addBindValue(songId);
    return run(q);
}

bool LibraryDatabase::removePlaylistSong(int songId)
{
    return execIds({{"DELETE FROM list WHERE id = ?", songId}});
}

std::optional<StoredSong> LibraryDatabase::storeWorkingAddress(int songId, const QString &address)
{
    std::optional<StoredSong> song = playlistSong(songId);
    if (!song)
        return std::nullopt;
    const bool network = isNetworkAddress(address);
    QSqlQuery q(database());
    q.prepare(network ? QStringLiteral("UPDATE list SET url1 = ? WHERE id = ?")
                      : QStringLiteral("UPDATE list SET url = ? WHERE id = ?"));
    q.addBindValue(text(mirrored(address)));
    q.addBindValue(songId);
    if (!run(q))
        return std::nullopt;
    (network ? song->url1 : song->url) = address;
    return song;
}

HistoryRecordOutcome LibraryDatabase::recordPlay(const SongToStore &song, const QDate &day)
{
    HistoryRecordOutcome outcome;
    QSqlDatabase db = database();
    if (!logged(db.transaction(), db, "begin", std::source_location::current()))
        return outcome;
    auto fail = [&db] {
        db.rollback();
        return HistoryRecordOutcome {};
    };
    const QString dayTitle = historyDayTitle(day);
    int dayId = 0;
    {
        QSqlQuery find(db);
        find.prepare(QStringLiteral("SELECT id FROM ls WHERE title = ? LIMIT 1"));
        find.addBindValue(dayTitle);
        if (const auto existing = firstId(find)) {
            dayId = *existing;
        } else {
            QSqlQuery add(db);
            add.prepare(QStringLiteral("INSERT INTO ls (title) VALUES (?)"));
            add.addBindValue(dayTitle);
            const auto id = insertedId(add);
            if (!id)
                return fail();
            dayId = *id;
            outcome.newDay = HistoryDayRow {dayId, dayTitle};
        }
    }
    {
        const QString title = storedTitle(song.title);
        QSqlQuery find(db);
        find.setForwardOnly(true);
        find.prepare(QStringLiteral("SELECT id, title FROM lslist WHERE lsid = ? AND length(title) = ? ORDER BY id"));
        find.addBindValue(dayId);
        find.addBindValue(characterCount(title));
        if (!idWithTitle(find, title)) {
            const StoredLocator where = storedLocator(song.locator);
            QSqlQuery add(db);
            add.prepare(QStringLiteral("INSERT INTO lslist (lsid, title, url, url1, url2, musicid, baiduid, listid) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
            add.addBindValue(dayId);
            add.addBindValue(text(title));
            add.addBindValue(text(where.url));
            add.addBindValue(text(where.url1));
            add.addBindValue(text(song.url2));
            add.addBindValue(song.kind == 2 ? song.id : 0);
            add.addBindValue(song.kind == 3 ? song.id : 0);
            add.addBindValue(song.kind == 0 ? song.id : 0);
            if (!insertedId(add))
                return fail();
            outcome.songAdded = true;
        }
    }
    if (!logged(db.commit(), db, "commit", std::source_location::current()))
        return fail();
    outcome.ok = true;
    return outcome;
}

bool LibraryDatabase::removeHistorySong(int songId)
{
    return execIds({{"DELETE FROM lslist WHERE id = ?", songId}});
}

bool LibraryDatabase::deleteHistoryDay(int dayId)
{
    return execIds({{"DELETE FROM lslist WHERE lsid = ?", dayId}, {"DELETE FROM ls WHERE id = ?", dayId}});
}

InsertOutcome LibraryDatabase::addCdAlbum(const QString &title, int specialId)
{
    QSqlQuery check(database());
    check.prepare(QStringLiteral("SELECT id FROM cd WHERE specialid = ? LIMIT 1"));
    check.addBindValue(specialId);
    if (const auto existing = firstId(check))
        return {InsertOutcome::Kind::AlreadyPresent, *existing};
    QSqlQuery q(database());
    q.prepare(QStringLiteral("INSERT INTO cd (title, specialid) VALUES (?, ?)"));
    q.addBindValue(text(storedTitle(title)));
    q.addBindValue(specialId);
    return outcomeOf(insertedId(q));
}

bool LibraryDatabase::removeCdAlbum(int id)
{
    return execIds({{"DELETE FROM cd WHERE id = ?", id}});
}

// --- config ----------------------------------------------------------------

namespace {

bool onSameDay(const QString &storedTime, const QDateTime &serverDate)
{
    QDateTime stored = QDateTime::fromString(storedTime, kDateTimeFormat);
    if (!stored.isValid())
        stored = QDateTime::fromString(storedTime, Qt::ISODate);
    return stored.isValid() && stored.date() == serverDate.date();
}

} // namespace

std::optional<LibraryDatabase::ConfigRow> LibraryDatabase::configRow() const
{
    QSqlQuery q(database());
    if (!run(q, QStringLiteral("SELECT addtime, downday, content FROM config ORDER BY rowid LIMIT 1")) || !q.next())
        return std::nullopt;
    return ConfigRow {q.value(0).toString(), q.value(1).toInt(), q.value(2).toString()};
}

bool LibraryDatabase::writeConfig(const QDateTime &day, int downday)
{
    QSqlQuery q(database());
    q.prepare(QStringLiteral("UPDATE config SET addtime = ?, downday = ? "
                             "WHERE rowid = (SELECT min(rowid) FROM config)"));
    q.addBindValue(day.toString(kDateTimeFormat));
    q.addBindValue(downday);
    return run(q);
}

std::optional<StartupConfig> LibraryDatabase::loadStartupConfig(const QDateTime &serverDate)
{
    const auto row = configRow();
    if (!row)
        return std::nullopt;
    StartupConfig config;
    config.settingsContent = row->content;
    if (onSameDay(row->addedAt, serverDate))
        config.dailyDownloadCount = row->downday;
    else
        writeConfig(serverDate, 0);
    return config;
}

std::optional<int> LibraryDatabase::countDownload(const QDateTime &serverDate)
{
    const auto row = configRow();
    if (!row)
        return std::nullopt;
    // The first download of a new day counts as one, like every other.
    const int count = onSameDay(row->addedAt, serverDate) ? row->downday + 1 : 1;
    if (!writeConfig(serverDate, count))
        return std::nullopt;
    return count;
}

bool LibraryDatabase::saveSettingsContent(const QString &content, const QDateTime &today)
{
    QSqlQuery q(database());
    if (configRow()) {
        q.prepare(QStringLiteral("UPDATE config SET content = ? WHERE rowid = (SELECT min(rowid) FROM config)"));
        q.addBindValue(text(content));
        return run(q);
    }
    // A new row starts the day's download count: today, nothing counted yet.
    q.prepare(QStringLiteral("INSERT INTO config (addtime, downday, content) VALUES (?, 0, ?)"));
    q.addBindValue(today.toString(kDateTimeFormat));
    q.addBindValue(text(content));
    return run(q);
}

} // namespace kivo
