#include "library/libraryoperations.h"

#include "library/librarytree.h"
#include "library/nowplayingport.h"
#include "library/playlistwrites.h"
#include "online/songlistmodel.h"

#include <algorithm>

namespace kivo {

namespace {

LibraryMessage plain(const QString &text)
{
    return {LibraryMessage::Icon::None, text};
}

LibraryMessage critical(const QString &text)
{
    return {LibraryMessage::Icon::Critical, text};
}

LibraryMessage failure(const LibraryWrite &write)
{
    if (write.status == LibraryWrite::Status::Gone)
        return critical(QStringLiteral("操作失败：播放列表已经不存在。"));
    return critical(QStringLiteral("操作失败：") + write.reason);
}

// A positive decimal number and nothing else: no sign, blanks or other digits.
std::optional<int> strictId(QStringView text)
{
    if (text.isEmpty() || text.size() > 10
        || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const int id = text.toInt(&ok);
    return ok && id > 0 ? std::optional<int>(id) : std::nullopt;
}

std::optional<int> idAfter(QChar prefix, const QString &key)
{
    return key.startsWith(prefix) ? strictId(QStringView(key).mid(1)) : std::nullopt;
}

int idOrZero(const QString &text)
{
    return strictId(text.trimmed()).value_or(0);
}

QString beforeParenthesis(const QString &caption)
{
    return caption.section(u'(', 0, 0);
}

} // namespace

LibraryOperations::LibraryOperations(LibraryTree *tree, PlaylistWrites *writes, NowPlayingPort *queue, QObject *parent)
    : QObject(parent)
    , m_tree(tree)
    , m_writes(writes)
    , m_queue(queue)
{ }

std::optional<int> LibraryOperations::playlistIdOfKey(const QString &key)
{
    return idAfter(u'c', key);
}

std::optional<int> LibraryOperations::dayIdOfKey(const QString &key)
{
    return idAfter(u'd', key);
}

std::optional<int> LibraryOperations::shelfIdOfKey(const QString &key)
{
    const qsizetype dash = key.indexOf(u'-');
    if (dash < 0 || !strictId(QStringView(key).mid(dash + 1)))
        return std::nullopt;
    return idAfter(u'f', key.left(dash));
}

std::optional<PlaylistEntry> LibraryOperations::entryForRow(const SongRowRef &row) const
{
    if (const auto entry = row.queueEntry()) {
        // The row's record is only the entry number: the song is the queue entry's.
        if (const auto song = m_queue->queuedSong(*entry))
            return PlaylistEntry {false, *song};
        return std::nullopt;
    }
    const SongRecord *record = row.record();
    if (!record || row.title.trimmed().isEmpty())
        return std::nullopt;
    SongToStore song;
    song.title = row.title.trimmed();
    song.locator = record->address().trimmed();
    song.kind = record->kind;
    if (record->kind == SongKind::MusicId)
        song.url2 = record->url2.trimmed() + u'+' + record->url1.trimmed();
    else if (record->kind == 4)
        song.url2 = QString();
    else if (record->kind >= 5)
        song.url2 = song.title;
    else
        song.url2 = record->url2.trimmed();
    if (record->kind == SongKind::MusicId || record->kind == SongKind::SearchId) {
        const auto id = strictId(record->id.trimmed());
        if (!id)
            return std::nullopt; // the id is what the copy is found by
        song.id = *id;
    } else if (record->isLibrary()) {
        // A library song keeps the catalogue ids its row carries.
        song.musicId = idOrZero(record->musicId);
        song.baiduId = idOrZero(record->baiduId);
    }
    return PlaylistEntry {false, song};
}

CommandResult LibraryOperations::addNamedPlaylist(const QString &answer, bool withQueue)
{
    const QString name = answer.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    const LibraryWrite write
        = withQueue ? m_writes->addPlaylistWith(name, m_queue->queuedSongs()) : m_writes->addPlaylist(name);
    if (write.status == LibraryWrite::Status::Duplicate)
        return critical(QStringLiteral("此播放列表名称已经存在."));
    if (!write.done())
        return failure(write);
    m_tree->addPlaylistNode({write.id, name});
    Q_EMIT playlistsChanged();
    if (withQueue)
        return plain(QStringLiteral("操作成功."));
    return std::nullopt;
}

CommandResult LibraryOperations::AddPlaylist(const QString &answer)
{
    return addNamedPlaylist(answer, false);
}

CommandResult LibraryOperations::SaveNowPlayingAs(const QString &answer)
{
    return addNamedPlaylist(answer, true);
}

CommandResult LibraryOperations::RenamePlaylist(const QString &key, const QString &answer)
{
    const auto id = playlistIdOfKey(key);
    const KeyedTreeModel::Node *node = id ? m_tree->model()->node(key) : nullptr;
    const QString name = answer.trimmed();
    if (!node || name.isEmpty() || name == node->caption.trimmed())
        return std::nullopt;
    const LibraryWrite write = m_writes->renamePlaylist(*id, name);
    if (write.status == LibraryWrite::Status::Duplicate)
        return critical(QStringLiteral("此播放列表名称已经存在."));
    if (!write.done())
        return failure(write);
    m_tree->model()->setCaption(key, name);
    Q_EMIT playlistsChanged();
    return std::nullopt;
}

CommandResult LibraryOperations::DeletePlaylistOrDay(const QString &key)
{
    if (!m_tree->model()->node(key))
        return std::nullopt;
    const auto playlist = playlistIdOfKey(key);
    const auto day = playlist ? std::nullopt : dayIdOfKey(key);
    if (!playlist && !day)
        return std::nullopt;
    const LibraryWrite write = playlist ? m_writes->deletePlaylist(*playlist) : m_writes->deleteHistoryDay(*day);
    if (!write.done())
        return failure(write);
    m_tree->model()->removeNode(key);
    if (playlist)
        Q_EMIT playlistsChanged();
    return std::nullopt;
}

CommandResult LibraryOperations::AddToPlaylist(const PlaylistEntry &entry, int playlistId)
{
    if (entry.wholeQueue) {
        const LibraryWrite write = m_writes->addSongs(playlistId, m_queue->queuedSongs());
        return write.done() ? plain(QStringLiteral("操作成功.")) : failure(write);
    }
    if (entry.song.title.trimmed().isEmpty())
        return std::nullopt;
    SongToStore song = entry.song;
    song.title = song.title.trimmed();
    const LibraryWrite write = m_writes->addSong(playlistId, song);
    if (write.status == LibraryWrite::Status::Duplicate)
        return plain(QStringLiteral("歌曲在播放列表中已经存在."));
    return write.done() ? plain(QStringLiteral("操作成功.")) : failure(write);
}

CommandResult LibraryOperations::removeOne(SongListModel *page, int row)
{
    if (row < 0 || row >= page->rowCount())
        return std::nullopt;
    const SongListRow &shown = page->rowAt(row);
    if (const auto *number = std::get_if<QueueEntryNumber>(&shown.data)) {
        const int removed = number->value;
        m_queue->removeEntry(removed);
        page->removeRowAt(row);
        // The later rows stand for entries that moved down by one.
        for (int r = 0; r < page->rowCount(); ++r) {
            const auto *later = std::get_if<QueueEntryNumber>(&page->rowAt(r).data);
            if (later && later->value > removed)
                page->setRowData(r, QueueEntryNumber {later->value - 1});
        }
        return std::nullopt;
    }
    const SongRecord *record = shown.record();
    if (!record)
        return std::nullopt;
    if (record->isLibrary()) {
        const auto id = strictId(record->id.trimmed());
        if (!id)
            return std::nullopt;
        const LibraryWrite write
            = record->kind == SongKind::Playlist ? m_writes->removePlaylistSong(*id) : m_writes->removeHistorySong(*id);
        if (!write.done())
            return failure(write);
    }
    page->removeRowAt(row);
    return std::nullopt;
}

CommandResult LibraryOperations::RemoveRows(SongListModel *page, QList<int> rows)
{
    if (!page)
        return std::nullopt;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : std::as_const(rows)) {
        if (CommandResult result = removeOne(page, row))
            return result;
    }
    return std::nullopt;
}

CommandResult LibraryOperations::RenameSong(SongListModel *page, int row, const QString &answer)
{
    if (!page || row < 0 || row >= page->rowCount())
        return std::nullopt;
    const SongRecord *record = page->rowAt(row).record();
    const auto id = record && record->kind == SongKind::Playlist ? strictId(record->id.trimmed()) : std::nullopt;
    const QString title = answer.trimmed();
    if (!id || title.isEmpty())
        return std::nullopt;
    const LibraryWrite write = m_writes->renameSong(*id, title);
    if (!write.done())
        return failure(write);
    SongRecord renamed = *record;
    renamed.title = title;
    page->setCell(row, 0, title);
    page->setRowData(row, renamed);
    return std::nullopt;
}

void LibraryOperations::ClearNowPlaying(const QList<SongListModel *> &nowPlayingPages)
{
    m_queue->clear();
    // Their rows named entries that are gone.
    for (SongListModel *page : nowPlayingPages) {
        if (page && page->pageKind() == SongPageKind::NowPlaying)
            page->clearRows();
    }
}

CommandResult LibraryOperations::AddToCdShelf(const QString &key, const QString &caption, const QString &artistCaption)
{
    const QStringList parts = key.split(u'-');
    if (parts.size() < 5)
        return std::nullopt;
    const auto specialId = strictId(parts.at(4));
    if (!specialId)
        return std::nullopt;
    const QString title = beforeParenthesis(artistCaption) + u'-' + beforeParenthesis(caption);
    const LibraryWrite write = m_writes->addCdAlbum(title, *specialId);
    if (write.status == LibraryWrite::Status::Duplicate)
        return critical(QStringLiteral("您已经收藏过此CD专辑。"));
    if (!write.done())
        return failure(write);
    m_tree->addAlbumNode({write.id, QString::number(*specialId), title});
    return plain(QStringLiteral("收藏CD专辑成功。"));
}

CommandResult LibraryOperations::RemoveFromCdShelf(const QString &key)
{
    const auto id = shelfIdOfKey(key);
    if (!id || !m_tree->model()->node(key))
        return std::nullopt;
    const LibraryWrite write = m_writes->removeCdAlbum(*id);
    if (!write.done())
        return failure(write);
    m_tree->model()->removeNode(key);
    return plain(QStringLiteral("专辑已经删除。"));
}

QList<PlaylistRow> LibraryOperations::playlists() const
{
    return m_writes->playlists();
}

} // namespace kivo
