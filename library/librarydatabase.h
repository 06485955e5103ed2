#pragma once

#include "library/libraryrows.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>
#include <source_location>

class QSqlDatabase;
class QSqlQuery;

namespace kivo {

// How opening the library file went.
struct LibraryOpenOutcome
{
    enum class Status { Ok, Missing, Unusable };
    Status status = Status::Missing;
    QString path;
    QString reason; // for Unusable: why the file cannot be used

    bool ok() const { return status == Status::Ok; }
    // The text for the user: "数据库调入错误。" for a missing file, else one
    // naming the file and the reason.
    QString message() const;
};

// The read-only check of a library file, made before it is opened; the outcome is
// Ok when the file may be opened, with the version it carries (0: an older
// player's library, to be taken in).
struct LibraryInspection
{
    LibraryOpenOutcome outcome;
    int version = 0;
};

// How making a new library file went.
struct LibraryCreateOutcome
{
    enum class Status { Created, AlreadyThere, Failed };
    Status status = Status::Failed;
    QString error;
};

// The library database data/kx.dat: the one connection of the player and every
// statement it issues, as named operations. Song addresses (url, url1) are
// stored mirrored; callers only ever see and hand in plain paths.
// Used only from the user-interface thread (but for inspect()).
class LibraryDatabase
{
public:
    LibraryDatabase();
    ~LibraryDatabase();
    LibraryDatabase(const LibraryDatabase &) = delete;
    LibraryDatabase &operator=(const LibraryDatabase &) = delete;

    // Opens an existing library. The file is first checked read-only (integrity,
    // schema, version); a file that fails is left exactly as it was.
    LibraryOpenOutcome open(const QString &path);
    // The check alone, which may run on any thread (it uses a connection of its own),
    // so that start-up can do it alongside other work; then the opening of a file
    // that passed it.
    static LibraryInspection inspect(const QString &path);
    LibraryOpenOutcome open(const LibraryInspection &checked);
    // Makes an empty library, only when the file is missing (also its folder).
    static LibraryCreateOutcome create(const QString &path);
    // Closes the connection (at exit). Safe to call twice.
    void release();
    bool isOpen() const;
    QString path() const { return m_path; }
    // The one connection, for the operations kept in files of their own.
    QSqlDatabase connection() const;

    // The day caption of the history: "2007年3月9日".
    static QString historyDayTitle(const QDate &day);

    // --- the library tree
    QList<PlaylistRow> playlists() const; // newest first
    QList<HistoryDayRow> historyDays() const; // newest first
    QList<CdAlbumRow> cdAlbums() const; // in shelf order
    QList<PlaylistRow> playlistsForChooser() const; // in id order

    // --- song list pages: rows with a title, newest first; a slice reads one part
    // of the page, keyed on id so rows removed meanwhile shift nothing
    QList<StoredSong> playlistPage(int playlistId, PageSlice slice = {}) const;
    QList<StoredSong> historyPage(int dayId, PageSlice slice = {}) const;

    // --- queueing a whole playlist or day: every row, in id order
    // (id, title, url, url1, url2 filled)
    QList<StoredSong> playlistQueueRows(int playlistId) const;
    QList<StoredSong> historyQueueRows(int dayId) const;

    // --- single rows, for source resolution, downloads and lyrics lookup
    std::optional<StoredSong> playlistSong(int songId) const;
    std::optional<StoredSong> historySong(int songId) const;
    std::optional<int> playlistOfSong(int songId) const;

    // --- playlists
    // A new playlist unless one of that name (any case) exists.
    InsertOutcome addPlaylist(const QString &name);
    bool renamePlaylist(int playlistId, const QString &name);
    // Its songs first, then the playlist row, as one transaction.
    bool deletePlaylist(int playlistId);
    // Adds the song unless the playlist holds that title (any case) already.
    // Kind 2 stores the id as musicid, kind 3 as baiduid.
    InsertOutcome addSongToPlaylist(int playlistId, const SongToStore &song);
    bool renameSong(int songId, const QString &title);
    bool removePlaylistSong(int songId);
    // Removes every song of a playlist, keeping the playlist.
    bool clearPlaylist(int playlistId);
    // Import: the id of a song stored with exactly this local path anywhere.
    std::optional<int> findSongByPath(const QString &path) const;
    // Import: adds a local file unless that path is stored anywhere already.
    InsertOutcome importLocalFile(int playlistId, const QString &path, const QString &title, const QString &url2);
    // Once a playlist song plays: stores the working address (url1 when it
    // contains "://", else url) and returns the row as now stored.
    std::optional<StoredSong> storeWorkingAddress(int songId, const QString &address);

    // --- history
    // Records a played song for the given local day: finds or adds the day,
    // then adds the song unless that title is recorded for the day already.
    HistoryRecordOutcome recordPlay(const SongToStore &song, const QDate &day);
    bool removeHistorySong(int songId);
    // The day's songs first, then the day row, as one transaction.
    bool deleteHistoryDay(int dayId);

    // --- CD shelf
    InsertOutcome addCdAlbum(const QString &title, int specialId);
    std::optional<CdAlbumRow> cdAlbum(int id) const;
    bool removeCdAlbum(int id);

    // --- config: the daily download counter and the stored settings
    // Start-up: with a row, the counter for serverDate's day (the row is reset to
    // (serverDate, 0) when it belongs to another day) and the settings text.
    // An empty table gives nothing and is not written.
    std::optional<StartupConfig> loadStartupConfig(const QDateTime &serverDate);
    // A finished download: the day's count after counting it, or nothing when
    // there is no config row (nothing is written then).
    std::optional<int> countDownload(const QDateTime &serverDate);
    // The settings window's save: adds the row when missing, for `today` with no
    // downloads counted.
    bool saveSettingsContent(const QString &content, const QDateTime &today = QDateTime::currentDateTime());
    // The raw row, for tests and diagnostics.
    struct ConfigRow
    {
        QString addedAt;
        int downday = 0;
        QString content;
    };
    std::optional<ConfigRow> configRow() const;

private:
    QSqlDatabase database() const;
    // The helpers log a failure under the operation that called them.
    QList<StoredSong> songRows(QSqlQuery &q, bool history, qsizetype expected) const;
    QList<StoredSong> pageRows(const QString &sql, const QString &table, const QString &column, int id, PageSlice slice,
        const std::source_location &at = std::source_location::current()) const;
    qsizetype countOf(const QString &table, const QString &column, int id,
        const std::source_location &at = std::source_location::current()) const;
    QList<StoredSong> queueRows(
        const QString &sql, int id, const std::source_location &at = std::source_location::current()) const;
    std::optional<StoredSong> singleSong(const QString &sql, int id, bool history,
        const std::source_location &at = std::source_location::current()) const;
    bool execIds(std::initializer_list<std::pair<const char *, int>> statements,
        const std::source_location &at = std::source_location::current());
    bool writeConfig(const QDateTime &day, int downday);

    QString m_connection;
    QString m_path;
};

} // namespace kivo
