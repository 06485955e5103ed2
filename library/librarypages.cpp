#include "library/librarypages.h"

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
        co_return openFilled(page.caption, SongPageKind::Playlist,
            m_source ? LibraryTree::playlistRows(m_source->playlistSongs(page.id), SongKind::Playlist, exists)
                     : QList<SongListRow>());
    case Type::History:
        co_return openFilled(page.caption, SongPageKind::History,
            m_source ? LibraryTree::playlistRows(m_source->historySongs(page.id), SongKind::History, exists)
                     : QList<SongListRow>());
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
