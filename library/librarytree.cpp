#include "library/librarytree.h"

#include "core/address.h"

namespace kivo {

namespace {
TreeNodeSpec spec(const QString &key, const QString &caption, int image)
{
    TreeNodeSpec s;
    s.key = key;
    s.caption = caption;
    s.image = image;
    return s;
}

// The id after the node's letter, when the rest of the key is a number.
std::optional<int> idAfter(const QString &key, QChar letter)
{
    if (key.size() < 2 || key.at(0) != letter)
        return std::nullopt;
    bool ok = false;
    const int id = key.mid(1).toInt(&ok);
    return ok ? std::optional<int>(id) : std::nullopt;
}
} // namespace

LibraryTree::LibraryTree(KeyedTreeModel *model)
    : m_model(model)
{ }

void LibraryTree::AddLibraryNodes()
{
    m_model->addNode({}, spec(u"a0"_qs, u"我的媒体库"_qs, 1));
    m_model->addNode(u"a0"_qs, spec(u"b0"_qs, u"正在播放"_qs, 2));
    m_model->addNode(u"a0"_qs, spec(u"c0"_qs, u"播放列表"_qs, 3));
    m_model->addNode(u"a0"_qs, spec(u"d0"_qs, u"历史记录"_qs, 3));
    m_model->addNode(u"a0"_qs, spec(u"f0"_qs, u"我的CD架"_qs, 3));
    m_model->addNode(u"a0"_qs, spec(u"e0"_qs, u"下载管理"_qs, 6));
}

void LibraryTree::LoadLibraryNodes(const LibrarySource &source)
{
    for (const LibraryListEntry &e : source.playlists())
        addPlaylistNode(e, false);
    for (const LibraryListEntry &e : source.historyDays())
        addHistoryDayNode(e, false);
    for (const LibraryAlbumEntry &e : source.albums())
        addAlbumNode(e);
}

void LibraryTree::addPlaylistNode(const LibraryListEntry &entry, bool newest)
{
    const auto s = spec(u"c"_qs + QString::number(entry.id), entry.title, 4);
    newest ? m_model->insertNode(u"c0"_qs, 0, s) : m_model->addNode(u"c0"_qs, s);
}

void LibraryTree::addHistoryDayNode(const LibraryListEntry &entry, bool newest)
{
    const auto s = spec(u"d"_qs + QString::number(entry.id), entry.title, 5);
    newest ? m_model->insertNode(u"d0"_qs, 0, s) : m_model->addNode(u"d0"_qs, s);
}

void LibraryTree::addAlbumNode(const LibraryAlbumEntry &entry)
{
    m_model->addNode(u"f0"_qs, spec(u"f"_qs + QString::number(entry.id) + u"-"_qs + entry.specialId, entry.title, 7));
}

LibraryPage LibraryTree::pageFor(const QString &key) const
{
    using Type = LibraryPage::Type;
    const KeyedTreeModel::Node *n = m_model->node(key);
    if (!n)
        return {};
    if (key == u"b0"_qs)
        return {Type::NowPlaying, 0, {}, n->caption};
    if (key == u"e0"_qs)
        return {Type::Downloads, 0, {}, u"下载管理"_qs};
    if (const auto id = idAfter(key, u'c'); id && key != u"c0"_qs)
        return {Type::Playlist, *id, {}, n->caption};
    if (const auto id = idAfter(key, u'd'); id && key != u"d0"_qs)
        return {Type::History, *id, {}, n->caption};
    if (key.startsWith(u'f') && key != u"f0"_qs) {
        const qsizetype dash = key.indexOf(u'-');
        if (dash > 0 && dash + 1 < key.size())
            return {Type::CdAlbum, 0, key.mid(dash + 1), n->caption};
    }
    return {};
}

LibraryMenu LibraryTree::menuFor(const QString &key)
{
    using Type = LibraryMenu::Type;
    LibraryMenu menu;
    if (key == u"b0"_qs) {
        menu.type = Type::NowPlaying;
        return menu;
    }
    if (key.startsWith(u'c') || key.startsWith(u'd')) {
        if (key == u"c0"_qs) {
            menu.renameList = menu.deleteList = menu.playList = menu.queueList = false;
        } else if (key.startsWith(u'c')) {
            menu.addList = false;
        } else {
            menu.addList = menu.renameList = false;
        }
        // "历史记录" itself offers nothing to act on: no menu.
        menu.type = key == u"d0"_qs ? Type::None : Type::Playlists;
        return menu;
    }
    if (key.startsWith(u'f') && key != u"f0"_qs)
        menu.type = Type::CdShelf;
    return menu;
}

QList<SongListRow> LibraryTree::playlistRows(const QList<LibrarySong> &songs, int kind, const FileExists &exists)
{
    QList<SongListRow> rows;
    rows.reserve(songs.size());
    for (const LibrarySong &s : songs) {
        if (s.title.isEmpty())
            continue;
        SongListRow row;
        row.cells = {s.title, s.time};
        row.icon = 10;
        SongRecord r;
        r.id = QString::number(s.id);
        r.kind = int(kind);
        r.locator = chooseLocator(s.url, s.url1, exists);
        r.title = s.title;
        r.url2 = s.url2;
        r.baiduId = s.baiduId;
        r.musicId = s.musicId;
        if (kind == SongKind::History)
            r.listId = s.listId;
        row.data = std::move(r);
        rows.append(std::move(row));
    }
    return rows;
}

QList<SongListRow> LibraryTree::nowPlayingRows(const QList<NowPlayingItem> &entries)
{
    QList<SongListRow> rows;
    for (const NowPlayingItem &e : entries) {
        if (e.title.isEmpty())
            continue;
        SongListRow row;
        row.cells = {e.title, hasScheme(e.locator) ? u"网络文件"_qs : u"本地文件"_qs};
        row.data = QueueEntryNumber {e.entry};
        row.icon = 12;
        rows.append(std::move(row));
    }
    return rows;
}

QList<SongListRow> LibraryTree::downloadRows(const QList<DownloadItem> &entries)
{
    QList<SongListRow> rows;
    for (const DownloadItem &e : entries) {
        if (e.fields.isEmpty())
            continue;
        SongListRow row;
        row.cells = {e.fields.at(0), QString(), QString(), QString()};
        row.data = DownloadEntryRef {e.entry, e.fields.value(1), e.fields.value(2), e.fields.value(3)};
        row.icon = 10;
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace kivo
