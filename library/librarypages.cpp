#include "library/librarypages.h"

#include "library/librarypagefeed.h"

namespace kivo {

LibraryPages::LibraryPages(ResultPages *pages, const LibrarySource *source)
    : m_pages(pages)
    , m_source(source)
{ }

int LibraryPages::openFilled(const QString &caption, SongPageKind kind, QList<SongListRow> rows)
{
    const TabStrip::Opened opened = m_pages->OpenResultTab(TabKind::List, caption);
    if (SongListModel *model = m_pages->listModel(opened.view)) {
        model->setPageKind(kind);
        model->setRows(std::move(rows));
    }
    return opened.tab;
}

int LibraryPages::openInParts(const LibraryPage &page, const FileExists &exists)
{
    const bool history = page.type == LibraryPage::Type::History;
    const SongPageKind kind = history ? SongPageKind::History : SongPageKind::Playlist;
    if (!m_source)
        return openFilled(page.caption, kind, {});
    // The first screenful shows at once; a page longer than that follows in parts.
    const PageSlice first {0, m_firstRows};
    const QList<LibrarySong> songs
        = history ? m_source->historySongs(page.id, first) : m_source->playlistSongs(page.id, first);
    const int tab = openFilled(
        page.caption, kind, LibraryTree::playlistRows(songs, history ? SongKind::History : SongKind::Playlist, exists));
    if (m_firstRows > 0 && songs.size() == m_firstRows) {
        if (const ResultTabInfo *opened = m_pages->strip().tab(tab))
            LibraryPageFeed::start(
                m_pages->listModel(opened->view), {m_source, history, page.id, songs.last().id, m_laterRows, exists});
    }
    return tab;
}

QCoro::Task<int> LibraryPages::open(LibraryPage page, std::function<bool()> stillWanted)
{
    using Type = LibraryPage::Type;
    const FileExists exists = m_exists ? m_exists : fileExistsByFolder();
    switch (page.type) {
    case Type::Nothing:
        co_return 0;
    case Type::NowPlaying:
        co_return openFilled(page.caption, SongPageKind::NowPlaying,
            LibraryTree::nowPlayingRows(m_nowPlaying ? m_nowPlaying() : QList<NowPlayingItem>()));
    case Type::Playlist:
    case Type::History:
        co_return openInParts(page, exists);
    case Type::Downloads:
        co_return openFilled(u"下载管理"_qs, SongPageKind::Downloads,
            LibraryTree::downloadRows(m_downloads ? m_downloads() : QList<DownloadItem>()));
    case Type::CdAlbum: {
        if (!m_pages->fetcher())
            co_return 0;
        ListPageRequest request {m_pages->fetcher()->baseUrl() + u"urlkxrj_4.asp?id="_qs + page.specialId, 1, 0,
            page.caption, std::move(stillWanted)};
        Q_EMIT m_pages->busyChanged(true);
        const bool loaded = co_await m_pages->LoadListPage(std::move(request));
        Q_EMIT m_pages->busyChanged(false);
        co_return loaded ? m_pages->strip().openTabs().value(m_pages->strip().openTabs().size() - 1) : 0;
    }
    }
    co_return 0;
}

} // namespace kivo
