#pragma once

#include "core/songrow.h"
#include "downloads/downloadmessage.h"
#include "downloads/downloadnaming.h"
#include "downloads/downloadqueue.h"
#include "downloads/downloadrecords.h"
#include "library/librarytree.h"
#include "playback/serverclientsource.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <QCoro/QCoroTask>

#include <functional>
#include <memory>
#include <optional>

namespace kivo {

class DownloadLibrary;
class LyricsLibrary;
class PlayQueue;
class ServerClient;
class SongListModel;
class download;

// The limits the start-up page set, the day's count and the lyrics switch, read
// where the program keeps them whenever they are needed.
struct DownloadLimits
{
    qint16 maxQueued = 30; // 0: no limit
    qint16 daily = 200; // 0: no limit
    qint32 todayCount = 0;
    QDateTime serverDate = QDateTime::currentDateTime();
    bool lyrics = false; // "下载歌曲时，同步下载LRC歌词。"
};

struct DownloadServices
{
    ServerClient *server = nullptr;
    DownloadLibrary *library = nullptr; // the daily counter
    LyricsLibrary *lyricsLibrary = nullptr; // music ids of library songs
    std::function<DownloadLimits()> limits;
    std::function<void(qint32)> setTodayCount;
};

// The download list and its runs: queues songs within the queue limit, then
// downloads the items of a download page one after another into KivoDownload
// within the daily limit, each from its own address or else from the server's
// search candidates, and writes the progress into the page's columns.
class DownloadManager : public QObject, public DownloadRecords
{
    Q_OBJECT
public:
    // The page's columns after the title.
    enum Column { SizeColumn = 1, ReceivedColumn = 2, PercentColumn = 3 };

    explicit DownloadManager(DownloadServices services, QObject *parent = nullptr);
    ~DownloadManager() override;

    const DownloadQueue &queue() const { return m_queue; }
    // The rows of a download page opened now.
    QList<DownloadItem> pageItems() const;
    const DownloadOptions &options() const { return m_options; }
    void setOptions(const DownloadOptions &options) { m_options = options; }
    // The transfer object downloads go through (`tg`).
    download *transfer() const { return m_transfer.get(); }

    enum class QueueOutcome { Nothing, Refused, Queued };
    // "下载此歌曲" on a row (none: the menu's row is gone).
    QueueOutcome QueueSong(const std::optional<SongRowRef> &row, const PlayQueue &nowPlaying);

    // "开始下载": downloads item `row` of a download page and those after it, one
    // after another. False (and nothing starts) while a run goes on.
    bool StartDownloads(SongListModel *page, int row);
    bool isRunning() const { return m_running; }
    // Cancels the running download: its item reads "中止" and the run ends at once.
    void downclose();

    // The row of a page that stands for a queue entry; -1 when none does.
    static int rowOfEntry(const SongListModel *page, int entry);

    // DownloadRecords
    void clearDownloadRecords() override;
    bool removeDownloadRecord(int entry) override;

Q_SIGNALS:
    void message(const kivo::DownloadMessage &message);
    void busyChanged(bool busy); // around the address lookup
    void runningChanged(bool running);

private:
    enum class ItemEnd {
        Done, // the file is complete
        KeptColumns, // no address worked; the item keeps its columns
        Dropped, // the run was cancelled or the manager went away
    };
    // The item being downloaded: its page and the entry its row stands for.
    struct Current
    {
        QPointer<SongListModel> page;
        int entry = 0;
        bool complete = false;
    };

    QCoro::Task<> runChain(QPointer<SongListModel> page, int row, quint64 run);
    QCoro::Task<ItemEnd> downloadItem(DownloadEntryRef ref, QString title, int position, quint64 run);
    QCoro::Task<> completeItem(DownloadEntryRef ref, QString file);
    bool alive(quint64 run) const { return m_running && m_run == run; }
    void onProgress(qint64 received);
    void setItemCell(int column, const QString &text);
    QString itemCell(int column) const;
    void setBusy(bool busy);
    void endRun();

    DownloadServices m_services;
    ServerClientSource m_server;
    std::unique_ptr<download> m_transfer;
    DownloadQueue m_queue;
    DownloadOptions m_options;
    bool m_running = false;
    quint64 m_run = 0; // one per run; a run that was cancelled finds another number
    bool m_busy = false;
    QPointer<SongListModel> m_runPage; // the page the run started on ("downing")
    Current m_current;
    qint64 m_fileSize = 0; // the announced size of the file now arriving, 0 when unknown
};

} // namespace kivo
