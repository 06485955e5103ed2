#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace kivo {

// One song an import brings in: a local file or, from a playlist file, a network address.
struct ImportItem
{
    QString title;
    QString locator; // a local path, or an address with a scheme
    QString url2; // what a playlist row keeps for looking the song up again

    // A local file: titled by its name with extension, which is also its url2.
    static ImportItem localFile(const QString &path);
    bool operator==(const ImportItem &) const = default;
};

// The files the import window takes: the selected ones in list order, or every listed
// one when "打开全部" is checked; none at all while nothing is selected.
QStringList chosenImportFiles(const QStringList &listed, const QList<int> &selectedRows, bool all);

// The now-playing queue as the import fills it; the shell implements it over the queue.
class ImportQueuePort
{
public:
    virtual ~ImportQueuePort() = default;
    virtual bool hasSongs() const = 0; // entry 0 has a title
    // The items become the whole queue, from entry 0.
    virtual void replaceQueue(const QList<ImportItem> &items) = 0;
    virtual void appendToQueue(const QList<ImportItem> &items) = 0;
};

// "追加文件" appends when the queue holds songs; otherwise the items replace it.
void importIntoQueue(ImportQueuePort &queue, const QList<ImportItem> &items, bool append);

struct PlaylistImportOutcome
{
    enum class Status { Stored, Cancelled, PlaylistGone, Failed };
    Status status = Status::Failed;
    int added = 0;
    int skipped = 0; // already stored
    QString reason; // why it failed, as the database said

    bool stored() const { return status == Status::Stored; }
    // What the user reads after a failure: "操作失败：" and the reason.
    QString failureMessage() const;
};

// Stores the items in playlist `playlistId` of the library file at libraryPath, over a
// connection of its own and in one transaction, which also makes a large batch quick.
// A local file whose path is stored anywhere in the library is skipped (so is the same
// path twice), as is a network address the playlist already holds. The playlist is
// looked up inside the transaction: one deleted meanwhile gets nothing written.
// Runs on any thread; `cancelled` is read between rows, and a cancelled import stores
// nothing. `progress` hears the number of items done now and then.
PlaylistImportOutcome importIntoPlaylist(const QString &libraryPath, int playlistId, const QList<ImportItem> &items,
    const std::atomic<bool> *cancelled = nullptr, const std::function<void(int)> &progress = {});

// importIntoPlaylist on a thread of its own, so the window stays live; it reports on
// the thread that made it. Destroying it cancels the import and waits for the thread.
class BackgroundPlaylistImport : public QObject
{
    Q_OBJECT
public:
    BackgroundPlaylistImport(
        const QString &libraryPath, int playlistId, const QList<ImportItem> &items, QObject *parent = nullptr);
    ~BackgroundPlaylistImport() override;

    int playlistId() const { return m_playlistId; }
    int total() const { return int(m_items.size()); }
    void start();
    void cancel() { m_cancelled = true; }

Q_SIGNALS:
    void progressed(int done);
    void finished(const kivo::PlaylistImportOutcome &outcome);

private:
    QString m_path;
    int m_playlistId;
    QList<ImportItem> m_items;
    std::atomic<bool> m_cancelled {false};
    QThread *m_thread = nullptr;
};

} // namespace kivo
