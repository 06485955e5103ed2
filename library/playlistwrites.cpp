#include "library/playlistwrites.h"

#include "core/address.h"
#include "core/logging.h"
#include "core/mirrortext.h"
#include "core/songrecord.h"
#include "library/librarydatabase.h"
#include "library/sqlvalues.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace kivo {

namespace {

QString reasonOf(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.isEmpty() ? QStringLiteral("数据库错误") : text;
}

QString mirrored(const QString &s)
{
    return s.isEmpty() ? QStringLiteral("") : MirrorText(s);
}

// The statements of one write inside one transaction. The first failure is logged
// once and ends the write; whatever ran before it is rolled back.
class WriteTransaction
{
public:
    WriteTransaction(const QSqlDatabase &db, const char *operation)
        : m_db(db)
        , m_operation(operation)
    {
        m_open = m_db.transaction();
        if (!m_open)
            fail(m_db.lastError(), QStringLiteral("begin"));
    }
    ~WriteTransaction()
    {
        if (m_open)
            m_db.rollback();
    }
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    // Runs a statement with its bound values; false once anything failed.
    bool exec(QSqlQuery &q, const QString &sql, const QVariantList &values)
    {
        if (!m_reason.isEmpty())
            return false;
        q = QSqlQuery(m_db);
        q.setForwardOnly(true);
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec()) {
            qCDebug(lcDb).noquote() << m_operation << sql;
            return true;
        }
        fail(q.lastError(), sql);
        return false;
    }
    bool exec(const QString &sql, const QVariantList &values)
    {
        QSqlQuery q;
        return exec(q, sql, values);
    }
    bool exists(const QString &sql, const QVariantList &values)
    {
        QSqlQuery q;
        return exec(q, sql, values) && q.next();
    }
    std::optional<int> insert(const QString &sql, const QVariantList &values)
    {
        QSqlQuery q;
        if (!exec(q, sql, values))
            return std::nullopt;
        const QVariant id = q.lastInsertId();
        return id.isValid() ? std::optional<int>(id.toInt()) : std::nullopt;
    }

    // Commits a Done outcome; anything else, or a failure on the way, rolls back.
    LibraryWrite finish(LibraryWrite outcome)
    {
        if (!m_reason.isEmpty())
            return failed();
        if (outcome.status != LibraryWrite::Status::Done)
            return outcome; // nothing of it stays: the destructor rolls back
        if (!m_db.commit()) {
            fail(m_db.lastError(), QStringLiteral("commit"));
            return failed();
        }
        m_open = false;
        return outcome;
    }
    LibraryWrite failed() const { return LibraryWrite {LibraryWrite::Status::Failed, 0, 0, m_reason}; }

private:
    void fail(const QSqlError &error, const QString &what)
    {
        m_reason = reasonOf(error);
        qCWarning(lcDb).noquote() << m_operation << "failed:" << what << "-" << m_reason;
    }

    QSqlDatabase m_db;
    const char *m_operation;
    bool m_open = false;
    QString m_reason;
};

LibraryWrite done(int id = 0, int added = 0)
{
    return LibraryWrite {LibraryWrite::Status::Done, id, added, {}};
}

LibraryWrite status(LibraryWrite::Status s)
{
    return LibraryWrite {s, 0, 0, {}};
}

// Another playlist (not `except`) of that name, ignoring case Unicode-wide; folding
// keeps the length, so only names of that length are read.
bool nameTaken(WriteTransaction &t, const QString &name, int except = 0)
{
    QSqlQuery q;
    if (!t.exec(q, QStringLiteral("SELECT id, title FROM class WHERE length(title) = ?"), {characterCount(name)}))
        return false;
    while (q.next()) {
        if (q.value(0).toInt() != except && QString::compare(q.value(1).toString(), name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool playlistExists(WriteTransaction &t, int playlistId)
{
    return t.exists(QStringLiteral("SELECT 1 FROM class WHERE id = ?"), {playlistId});
}

// The playlist's titles, case-folded.
QSet<QString> titlesOf(WriteTransaction &t, int playlistId)
{
    QSet<QString> titles;
    QSqlQuery q;
    if (t.exec(q, QStringLiteral("SELECT title FROM list WHERE classid = ?"), {playlistId})) {
        while (q.next())
            titles.insert(q.value(0).toString().toCaseFolded());
    }
    return titles;
}

bool insertSong(WriteTransaction &t, int playlistId, const SongToStore &song)
{
    const bool network = hasScheme(song.locator);
    const int musicId = song.kind == SongKind::MusicId ? song.id : song.musicId;
    const int baiduId = song.kind == SongKind::SearchId ? song.id : song.baiduId;
    return t
        .insert(QStringLiteral("INSERT INTO list (classid, title, url, url1, url2, musicid, baiduid) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {playlistId, boundText(storedTitle(song.title)),
                boundText(network ? QStringLiteral("") : mirrored(song.locator)),
                boundText(network ? mirrored(song.locator) : QStringLiteral("")), boundText(song.url2), musicId,
                baiduId})
        .has_value();
}

// Adds the songs whose titles the playlist does not hold yet (nor an earlier song of
// the batch); the number added, or nothing when a statement failed.
std::optional<int> insertNewSongs(WriteTransaction &t, int playlistId, const QList<SongToStore> &songs)
{
    QSet<QString> titles = titlesOf(t, playlistId);
    int added = 0;
    for (const SongToStore &song : songs) {
        const QString title = storedTitle(song.title);
        if (title.isEmpty())
            continue;
        const QString folded = title.toCaseFolded();
        if (titles.contains(folded))
            continue;
        if (!insertSong(t, playlistId, song))
            return std::nullopt;
        titles.insert(folded);
        ++added;
    }
    return added;
}

} // namespace

PlaylistWrites::PlaylistWrites(LibraryDatabase &database)
    : m_db(database)
{ }

LibraryWrite PlaylistWrites::addPlaylist(const QString &name)
{
    return addPlaylistWith(name, {});
}

LibraryWrite PlaylistWrites::addPlaylistWith(const QString &name, const QList<SongToStore> &songs)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::addPlaylist");
    const QString title = storedTitle(name);
    if (nameTaken(t, title))
        return t.finish(status(LibraryWrite::Status::Duplicate));
    const auto id = t.insert(QStringLiteral("INSERT INTO class (title) VALUES (?)"), {boundText(title)});
    if (!id)
        return t.failed();
    const auto added = insertNewSongs(t, *id, songs);
    return added ? t.finish(done(*id, *added)) : t.failed();
}

LibraryWrite PlaylistWrites::renamePlaylist(int playlistId, const QString &name)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::renamePlaylist");
    const QString title = storedTitle(name);
    if (!playlistExists(t, playlistId))
        return t.finish(status(LibraryWrite::Status::Gone));
    if (nameTaken(t, title, playlistId))
        return t.finish(status(LibraryWrite::Status::Duplicate));
    t.exec(QStringLiteral("UPDATE class SET title = ? WHERE id = ?"), {boundText(title), playlistId});
    return t.finish(done(playlistId));
}

LibraryWrite PlaylistWrites::deletePlaylist(int playlistId)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::deletePlaylist");
    t.exec(QStringLiteral("DELETE FROM list WHERE classid = ?"), {playlistId});
    t.exec(QStringLiteral("DELETE FROM class WHERE id = ?"), {playlistId});
    return t.finish(done(playlistId));
}

LibraryWrite PlaylistWrites::deleteHistoryDay(int dayId)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::deleteHistoryDay");
    t.exec(QStringLiteral("DELETE FROM lslist WHERE lsid = ?"), {dayId});
    t.exec(QStringLiteral("DELETE FROM ls WHERE id = ?"), {dayId});
    return t.finish(done(dayId));
}

LibraryWrite PlaylistWrites::addSong(int playlistId, const SongToStore &song)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::addSong");
    if (!playlistExists(t, playlistId))
        return t.finish(status(LibraryWrite::Status::Gone));
    const auto added = insertNewSongs(t, playlistId, {song});
    if (!added)
        return t.failed();
    return t.finish(*added ? done(playlistId, 1) : status(LibraryWrite::Status::Duplicate));
}

LibraryWrite PlaylistWrites::addSongs(int playlistId, const QList<SongToStore> &songs)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::addSongs");
    if (!playlistExists(t, playlistId))
        return t.finish(status(LibraryWrite::Status::Gone));
    const auto added = insertNewSongs(t, playlistId, songs);
    return added ? t.finish(done(playlistId, *added)) : t.failed();
}

LibraryWrite PlaylistWrites::renameSong(int songId, const QString &title)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::renameSong");
    t.exec(QStringLiteral("UPDATE list SET title = ? WHERE id = ?"), {boundText(storedTitle(title)), songId});
    return t.finish(done(songId));
}

LibraryWrite PlaylistWrites::removePlaylistSong(int songId)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::removePlaylistSong");
    t.exec(QStringLiteral("DELETE FROM list WHERE id = ?"), {songId});
    return t.finish(done(songId));
}

LibraryWrite PlaylistWrites::removeHistorySong(int songId)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::removeHistorySong");
    t.exec(QStringLiteral("DELETE FROM lslist WHERE id = ?"), {songId});
    return t.finish(done(songId));
}

LibraryWrite PlaylistWrites::addCdAlbum(const QString &title, int specialId)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::addCdAlbum");
    if (t.exists(QStringLiteral("SELECT 1 FROM cd WHERE specialid = ?"), {specialId}))
        return t.finish(status(LibraryWrite::Status::Duplicate));
    const auto id = t.insert(
        QStringLiteral("INSERT INTO cd (title, specialid) VALUES (?, ?)"), {boundText(storedTitle(title)), specialId});
    return id ? t.finish(done(*id)) : t.failed();
}

LibraryWrite PlaylistWrites::removeCdAlbum(int id)
{
    WriteTransaction t(m_db.connection(), "PlaylistWrites::removeCdAlbum");
    t.exec(QStringLiteral("DELETE FROM cd WHERE id = ?"), {id});
    return t.finish(done(id));
}

QList<PlaylistRow> PlaylistWrites::playlists() const
{
    return m_db.playlistsForChooser();
}

} // namespace kivo
