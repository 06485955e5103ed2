#include "downloads/downloadmanager.h"

#include "core/pageformats.h"
#include "downloads/downloadlibrary.h"
#include "downloads/downloadlog.h"
#include "downloads/formatsize.h"
#include "downloads/songdownload.h"
#include "lyrics/lyricfiles.h"
#include "lyrics/lyricslookup.h"
#include "online/songlistmodel.h"
#include "playback/songsearch.h"
#include "transfer/download.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace kivo {

namespace {

const QString kConnecting = QStringLiteral("正在连接..");
const QString kAborted = QStringLiteral("中止");
const QString kDone = QStringLiteral("100%");

// The search's title: the item text up to its first "(", so "Song (Live)" looks for "Song".
QString searchTitle(const QString &itemText)
{
    return itemText.section(u'(', 0, 0).trimmed();
}

// A server that answers with a web page where a song should be (busy, a portal, an
// error page with status 200) has not sent the song.
bool isWebPage(const QString &contentType)
{
    return contentType.trimmed().startsWith(u"text/html", Qt::CaseInsensitive);
}

bool writeLyricFile(const QString &path, const QString &lyrics)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(lyrics.toUtf8()) >= 0 && file.commit())
        return true;
    qCWarning(lcDownloads) << "cannot write the lyric file" << path << file.errorString();
    return false;
}

} // namespace

DownloadManager::DownloadManager(DownloadServices services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_server(m_services.server)
    , m_transfer(std::make_unique<download>(DownloadVariant::Player))
{
    m_options.root = defaultDownloadRoot();
    connect(m_transfer.get(), &download::GetData, this, [this](qint64 received) { onProgress(received); });
}

DownloadManager::~DownloadManager()
{
    ++m_run; // a run still waiting somewhere finds nothing to go on with
    m_transfer->Cancel();
}

QList<DownloadItem> DownloadManager::pageItems() const
{
    QList<DownloadItem> items;
    for (const DownloadQueue::Entry &e : m_queue.entries())
        items.append({e.id, e.task.pageFields()});
    return items;
}

DownloadManager::QueueOutcome DownloadManager::QueueSong(
    const std::optional<SongRowRef> &row, const PlayQueue &nowPlaying)
{
    const DownloadLimits limits = m_services.limits ? m_services.limits() : DownloadLimits {};
    if (m_queue.isFull(limits.maxQueued)) {
        Q_EMIT message({DownloadMessage::Kind::QueueFull, limits.maxQueued});
        return QueueOutcome::Refused;
    }
    const std::optional<SongDownload> song
        = row ? songDownloadForRow(*row, nowPlaying, m_services.lyricsLibrary) : std::nullopt;
    if (!song)
        return QueueOutcome::Nothing;
    if (song->notice && m_services.server)
        notifySongQueued(&m_server, song->notice->id, song->notice->lx);
    m_queue.append(song->task);
    Q_EMIT message({DownloadMessage::Kind::Queued, 0});
    return QueueOutcome::Queued;
}

bool DownloadManager::StartDownloads(SongListModel *page, int row)
{
    if (m_running || !page || page->pageKind() != SongPageKind::Downloads)
        return false;
    m_running = true;
    const quint64 run = ++m_run;
    m_runPage = page;
    page->setDownloading(true);
    Q_EMIT runningChanged(true);
    runChain(page, row, run);
    return true;
}

void DownloadManager::downclose()
{
    if (!m_running) {
        m_transfer->Cancel();
        return;
    }
    ++m_run; // first: the chain drops out wherever it waits, also inside Cancel
    m_transfer->Cancel();
    if (!m_current.complete)
        setItemCell(PercentColumn, kAborted);
    endRun();
}

int DownloadManager::rowOfEntry(const SongListModel *page, int entry)
{
    for (int r = 0; page && r < page->rowCount(); ++r) {
        const auto *ref = std::get_if<DownloadEntryRef>(&page->rowAt(r).data);
        if (ref && ref->entry == entry)
            return r;
    }
    return -1;
}

void DownloadManager::clearDownloadRecords()
{
    m_queue.clear();
}

bool DownloadManager::removeDownloadRecord(int entry)
{
    return m_queue.remove(entry);
}

// One item after another: a loop, so a long list never deepens the stack.
QCoro::Task<> DownloadManager::runChain(QPointer<SongListModel> page, int row, quint64 run)
{
    QPointer<DownloadManager> self(this);
    int position = row;
    while (page && position >= 0 && position < page->rowCount()) {
        // Only an item still to come can be refused.
        const DownloadLimits limits = m_services.limits ? m_services.limits() : DownloadLimits {};
        if (limits.daily != 0 && limits.todayCount >= limits.daily) {
            Q_EMIT message({DownloadMessage::Kind::DailyLimitReached, limits.daily});
            break;
        }
        const SongListRow &item = page->rowAt(position);
        if (item.cells.value(PercentColumn) == kDone)
            break; // downloaded already
        const auto *ref = std::get_if<DownloadEntryRef>(&item.data);
        if (ref && m_queue.contains(ref->entry)) {
            m_current = {page, ref->entry, false};
            const ItemEnd end = co_await downloadItem(*ref, item.cells.value(0), position, run);
            if (!self || !alive(run) || end == ItemEnd::Dropped)
                co_return; // cancelled: downclose has ended the run
            // The row may have moved while the item ran; go on after it.
            if (const int moved = rowOfEntry(page, m_current.entry); moved >= 0)
                position = moved;
        } // else: removed from the list meanwhile, not downloaded
        ++position;
    }
    endRun();
}

QCoro::Task<DownloadManager::ItemEnd> DownloadManager::downloadItem(
    DownloadEntryRef ref, QString title, int position, quint64 run)
{
    QPointer<DownloadManager> self(this);
    QString address = ref.locator.trimmed();
    QStringList candidates;
    int source = address.isEmpty() ? -1 : 0; // -1: the lookup is next; 0: the item's own address
    for (;;) {
        if (source < 0) {
            QString payload;
            if (m_services.server) {
                setBusy(true);
                const QString url
                    = songSearchUrl(m_server, ref.searchText.trimmed(), searchTitle(title), QTime::currentTime());
                payload = co_await m_server.fetchHiddenPayload(url);
                if (!self || !alive(run))
                    co_return ItemEnd::Dropped;
                setBusy(false);
            }
            candidates = payload.split(kLineBreak);
            source = nextPlayableCandidate(candidates, 1);
        }
        const int highest = int(candidates.size()) - 1;
        if (source > 0) {
            if (source >= highest) {
                qCWarning(lcDownloads).noquote() << "no address left to download" << title;
                co_return ItemEnd::KeptColumns;
            }
            address = candidates.at(source).trimmed();
        }

        const QString folder = downloadFolder(m_options.root);
        if (!QDir().mkpath(folder))
            qCWarning(lcDownloads) << "cannot make the download folder" << folder;
        const QString file = downloadFilePath(folder, title, address, m_options.numberDuplicates,
            [](const QString &path) { return QFileInfo::exists(path); });
        setItemCell(SizeColumn, kConnecting);
        if (source > 0)
            setItemCell(ReceivedColumn, QStringLiteral("%1/%2").arg(source).arg(highest));

        m_fileSize = 0; // every attempt learns its own size
        m_transfer->setURL(address);
        m_transfer->setSaveFile(file);
        co_await m_transfer->Execute();
        if (!self || !alive(run))
            co_return ItemEnd::Dropped;
        m_fileSize = std::max<qint64>(0, m_transfer->contentLength());
        setItemCell(SizeColumn, FormatSize(m_fileSize));
        bool complete = false;
        if (isWebPage(m_transfer->GetHeader(QStringLiteral("Content-Type")))) {
            qCWarning(lcDownloads) << "a web page instead of a song at" << address;
            m_transfer->Cancel();
        } else {
            complete = co_await m_transfer->StartDownLoad(position + 1, 0, 0);
            if (!self || !alive(run))
                co_return ItemEnd::Dropped;
        }
        if (complete) {
            co_await completeItem(ref, file);
            co_return self ? ItemEnd::Done : ItemEnd::Dropped;
        }
        // The next source: after the item's own address the lookup, then each candidate.
        source = source == 0 ? -1 : nextPlayableCandidate(candidates, source + 1);
    }
}

QCoro::Task<> DownloadManager::completeItem(DownloadEntryRef ref, QString file)
{
    QPointer<DownloadManager> self(this);
    m_current.complete = true;
    if (m_fileSize <= 0) // no size was announced: the file's own
        setItemCell(SizeColumn, FormatSize(QFileInfo(file).size()));
    setItemCell(PercentColumn, kDone);
    setItemCell(ReceivedColumn, itemCell(SizeColumn));

    const DownloadLimits limits = m_services.limits ? m_services.limits() : DownloadLimits {};
    // Without a counter row in the library the download still counts for this run.
    const std::optional<int> counted
        = m_services.library ? m_services.library->countDownload(limits.serverDate) : std::nullopt;
    if (m_services.setTodayCount)
        m_services.setTodayCount(counted.value_or(limits.todayCount + 1));
    m_queue.remove(ref.entry);

    bool ok = false;
    const int musicId = ref.lyricsId.trimmed().toInt(&ok);
    if (!limits.lyrics || !ok || musicId <= 0 || !m_services.server)
        co_return;
    QString lyrics = co_await FetchLyricsById(m_services.server, musicId);
    if (!self)
        co_return;
    lyrics.replace(kLineBreak, QStringLiteral("\r\n"));
    // Written even when the run was cancelled meanwhile: the song is complete.
    if (!lyrics.trimmed().isEmpty())
        writeLyricFile(LyricFilePathFor(file), lyrics + QStringLiteral("\r\n"));
}

void DownloadManager::onProgress(qint64 received)
{
    if (!m_running)
        return;
    setItemCell(ReceivedColumn, FormatSize(received));
    if (const std::optional<QString> percent = progressPercent(received, m_fileSize))
        setItemCell(PercentColumn, *percent);
}

void DownloadManager::setItemCell(int column, const QString &text)
{
    SongListModel *page = m_current.page;
    if (const int row = rowOfEntry(page, m_current.entry); row >= 0)
        page->setCell(row, column, text);
}

QString DownloadManager::itemCell(int column) const
{
    const int row = rowOfEntry(m_current.page, m_current.entry);
    return row >= 0 ? m_current.page->rowAt(row).cells.value(column) : QString();
}

void DownloadManager::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}

void DownloadManager::endRun()
{
    if (m_runPage)
        m_runPage->setDownloading(false);
    m_runPage = nullptr;
    m_current = {};
    m_running = false;
    setBusy(false);
    Q_EMIT runningChanged(false);
}

} // namespace kivo
