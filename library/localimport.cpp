#include "library/localimport.h"

#include "library/sqlvalues.h"

#include "core/address.h"
#include "core/logging.h"
#include "core/mirrortext.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <algorithm>

namespace kivo {

ImportItem ImportItem::localFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return {name, path, name};
}

QStringList chosenImportFiles(const QStringList &listed, const QList<int> &selectedRows, bool all)
{
    QList<int> rows;
    for (int row : selectedRows)
        if (row >= 0 && row < listed.size())
            rows.append(row);
    if (rows.isEmpty())
        return {};
    if (all)
        return listed;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList chosen;
    for (int row : rows)
        chosen.append(listed.at(row));
    return chosen;
}

void importIntoQueue(ImportQueuePort &queue, const QList<ImportItem> &items, bool append)
{
    if (items.isEmpty())
        return;
    if (append && queue.hasSongs())
        queue.appendToQueue(items);
    else
        queue.replaceQueue(items);
}

QString PlaylistImportOutcome::failureMessage() const
{
    switch (status) {
    case Status::Stored:
    case Status::Cancelled:
        return {};
    case Status::PlaylistGone:
        return u"操作失败：播放列表已经不存在。"_qs;
    case Status::Failed:
        break;
    }
    return u"操作失败："_qs + reason;
}

namespace {

QString mirrored(const QString &s)
{
    return s.isEmpty() ? u""_qs : MirrorText(s);
}

QString connectionName()
{
    static std::atomic<int> counter {0};
    return u"kivo-import-%1"_qs.arg(++counter);
}

// One import's statements over its own connection; each failure is logged once.
class ImportWriter
{
public:
    explicit ImportWriter(QSqlDatabase db)
        : m_db(db)
        , m_find(db)
        , m_insert(db)
    { }

    QString error() const { return m_error; }

    bool exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        return check(q.exec(sql), q, sql);
    }
    bool playlistExists(int playlistId)
    {
        QSqlQuery q(m_db);
        q.prepare(u"SELECT 1 FROM class WHERE id = ?"_qs);
        q.addBindValue(playlistId);
        return check(q.exec(), q, q.lastQuery()) && q.next();
    }
    // The network addresses (mirrored) the playlist holds already.
    std::optional<QSet<QString>> networkAddresses(int playlistId)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        q.prepare(u"SELECT url1 FROM list WHERE classid = ? AND url1 <> ''"_qs);
        q.addBindValue(playlistId);
        if (!check(q.exec(), q, q.lastQuery()))
            return std::nullopt;
        QSet<QString> found;
        while (q.next())
            found.insert(q.value(0).toString());
        return found;
    }
    bool prepare()
    {
        return check(m_find.prepare(u"SELECT 1 FROM list WHERE url = ? LIMIT 1"_qs), m_find, u"prepare find"_qs)
            && check(m_insert.prepare(u"INSERT INTO list (classid, title, url, url1, url2) VALUES (?, ?, ?, ?, ?)"_qs),
                m_insert, u"prepare insert"_qs);
    }
    // Whether a row holds this (mirrored) path; nothing when the query failed.
    std::optional<bool> pathStored(const QString &url)
    {
        m_find.bindValue(0, url);
        if (!check(m_find.exec(), m_find, m_find.lastQuery()))
            return std::nullopt;
        const bool found = m_find.next();
        m_find.finish();
        return found;
    }
    bool insert(int playlistId, const QString &title, const QString &url, const QString &url1, const QString &url2)
    {
        m_insert.bindValue(0, playlistId);
        m_insert.bindValue(1, boundText(title));
        m_insert.bindValue(2, boundText(url));
        m_insert.bindValue(3, boundText(url1));
        m_insert.bindValue(4, boundText(url2));
        return check(m_insert.exec(), m_insert, m_insert.lastQuery());
    }
    void finish()
    {
        m_find.finish();
        m_insert.finish();
    }

private:
    bool check(bool ok, const QSqlQuery &q, const QString &what)
    {
        if (!ok) {
            const QSqlError e = q.lastError();
            m_error = e.databaseText().isEmpty() ? e.text() : e.databaseText();
            qCWarning(lcDb).noquote() << "playlist import failed:" << what << "-" << m_error;
        }
        return ok;
    }

    QSqlDatabase m_db;
    QSqlQuery m_find;
    QSqlQuery m_insert;
    QString m_error;
};

PlaylistImportOutcome runImport(QSqlDatabase db, int playlistId, const QList<ImportItem> &items,
    const std::atomic<bool> *cancelled, const std::function<void(int)> &progress)
{
    PlaylistImportOutcome outcome;
    ImportWriter writer(db);
    auto failed = [&outcome, &writer] {
        outcome.status = PlaylistImportOutcome::Status::Failed;
        outcome.reason = writer.error();
        return outcome;
    };
    // The write lock up front: a deferred transaction could not upgrade once another
    // connection wrote meanwhile.
    if (!writer.exec(u"BEGIN IMMEDIATE"_qs))
        return failed();
    auto rollback = [&writer] {
        writer.finish();
        writer.exec(u"ROLLBACK"_qs);
    };
    if (!writer.playlistExists(playlistId)) {
        rollback();
        if (!writer.error().isEmpty())
            return failed();
        outcome.status = PlaylistImportOutcome::Status::PlaylistGone;
        return outcome;
    }
    const bool anyNetwork
        = std::any_of(items.cbegin(), items.cend(), [](const ImportItem &i) { return hasScheme(i.locator); });
    std::optional<QSet<QString>> network = anyNetwork ? writer.networkAddresses(playlistId) : QSet<QString> {};
    if (!network || !writer.prepare()) {
        rollback();
        return failed();
    }
    int done = 0;
    for (const ImportItem &item : items) {
        if (cancelled && cancelled->load(std::memory_order_relaxed)) {
            rollback();
            outcome = {};
            outcome.status = PlaylistImportOutcome::Status::Cancelled;
            return outcome;
        }
        const QString title = QString(item.title).remove(QChar(0));
        const QString address = mirrored(item.locator);
        bool added = false;
        if (title.isEmpty() || item.locator.isEmpty()) {
            // nothing a row could list or play
        } else if (hasScheme(item.locator)) {
            if (!network->contains(address)) {
                if (!writer.insert(playlistId, title, u""_qs, address, item.url2)) {
                    rollback();
                    return failed();
                }
                network->insert(address);
                added = true;
            }
        } else {
            const std::optional<bool> stored = writer.pathStored(address);
            if (!stored || (!*stored && !writer.insert(playlistId, title, address, u""_qs, item.url2))) {
                rollback();
                return failed();
            }
            added = !*stored;
        }
        ++(added ? outcome.added : outcome.skipped);
        if (progress && (++done % 512 == 0))
            progress(done);
    }
    writer.finish();
    if (!writer.exec(u"COMMIT"_qs)) {
        writer.exec(u"ROLLBACK"_qs);
        return failed();
    }
    if (progress)
        progress(int(items.size()));
    outcome.status = PlaylistImportOutcome::Status::Stored;
    return outcome;
}

} // namespace

PlaylistImportOutcome importIntoPlaylist(const QString &libraryPath, int playlistId, const QList<ImportItem> &items,
    const std::atomic<bool> *cancelled, const std::function<void(int)> &progress)
{
    const QString name = connectionName();
    PlaylistImportOutcome outcome;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, name);
        // mode=rw: a library that vanished is not made anew here.
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(libraryPath).absoluteFilePath()).toString(QUrl::FullyEncoded)
            + u"?mode=rw"_qs);
        db.setConnectOptions(u"QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"_qs);
        if (db.open()) {
            outcome = runImport(db, playlistId, items, cancelled, progress);
        } else {
            outcome.reason
                = db.lastError().databaseText().isEmpty() ? db.lastError().text() : db.lastError().databaseText();
            qCWarning(lcDb).noquote() << "playlist import cannot open" << libraryPath << "-" << outcome.reason;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return outcome;
}

BackgroundPlaylistImport::BackgroundPlaylistImport(
    const QString &libraryPath, int playlistId, const QList<ImportItem> &items, QObject *parent)
    : QObject(parent)
    , m_path(libraryPath)
    , m_playlistId(playlistId)
    , m_items(items)
{ }

BackgroundPlaylistImport::~BackgroundPlaylistImport()
{
    if (m_thread) {
        m_cancelled = true;
        m_thread->wait();
        delete m_thread;
    }
}

void BackgroundPlaylistImport::start()
{
    if (m_thread)
        return;
    // The reports are queued to this object's thread; once it is gone they are dropped.
    m_thread = QThread::create([this] {
        const PlaylistImportOutcome outcome = importIntoPlaylist(
            m_path, m_playlistId, m_items, &m_cancelled, [this](int done) { Q_EMIT progressed(done); });
        QMetaObject::invokeMethod(
            this, [this, outcome] { Q_EMIT finished(outcome); }, Qt::QueuedConnection);
    });
    m_thread->start();
}

} // namespace kivo
