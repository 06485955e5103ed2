#include "library/librarypagefeed.h"

#include "core/logging.h"
#include "library/librarytree.h"
#include "online/songlistmodel.h"

#include <QTimer>

namespace kivo {

void LibraryPageFeed::start(SongListModel *model, Page page)
{
    if (!model || !page.source || page.partRows <= 0)
        return;
    new LibraryPageFeed(model, std::move(page));
}

LibraryPageFeed::LibraryPageFeed(SongListModel *model, Page page)
    : QObject(model)
    , m_model(model)
    , m_page(std::move(page))
    , m_filling(model->filling())
{
    QTimer::singleShot(0, this, &LibraryPageFeed::nextPart);
}

void LibraryPageFeed::nextPart()
{
    if (m_model->filling() != m_filling) {
        deleteLater(); // the list shows something else now
        return;
    }
    const PageSlice slice {m_page.beforeId, m_page.partRows};
    const QList<LibrarySong> songs = m_page.history ? m_page.source->historySongs(m_page.id, slice)
                                                    : m_page.source->playlistSongs(m_page.id, slice);
    if (!songs.isEmpty() && songs.last().id >= m_page.beforeId) {
        // Parts go towards older rows; one that does not would repeat forever.
        qCWarning(lcDb) << "page part of" << m_page.id << "did not move past row" << m_page.beforeId;
        deleteLater();
        return;
    }
    if (!songs.isEmpty()) {
        m_page.beforeId = songs.last().id;
        m_model->appendRows(
            LibraryTree::playlistRows(songs, m_page.history ? SongKind::History : SongKind::Playlist, m_page.exists));
    }
    if (songs.size() < m_page.partRows) {
        deleteLater(); // the page's end
        return;
    }
    QTimer::singleShot(0, this, &LibraryPageFeed::nextPart);
}

} // namespace kivo
