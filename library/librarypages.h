#pragma once

#include "library/librarytree.h"
#include "online/resultpages.h"

#include <functional>

namespace kivo {

// Opens the pages of library nodes as list tabs: now playing, playlists, history
// days, downloads, and a CD album's song list from the server.
class LibraryPages
{
public:
    LibraryPages(ResultPages *pages, const LibrarySource *source);

    // Now-playing and download entries belong to other parts of the player.
    void setNowPlaying(std::function<QList<NowPlayingItem>()> provider) { m_nowPlaying = std::move(provider); }
    void setDownloads(std::function<QList<DownloadItem>()> provider) { m_downloads = std::move(provider); }
    void setFileExists(FileExists exists) { m_exists = std::move(exists); }
    // Rows of a playlist or history page read at once (the first screenful) and in
    // each later part, one part per event-loop turn.
    void setPartRows(int first, int later)
    {
        m_firstRows = first;
        m_laterRows = later;
    }

    // Opens the page; the tab number, or 0 when nothing opened. A playlist or history
    // page longer than its first screenful goes on filling on the following event-loop
    // turns. `stillWanted` guards the server reply of a CD album (the node may be gone
    // by then).
    QCoro::Task<int> open(LibraryPage page, std::function<bool()> stillWanted = {});

private:
    int openFilled(const QString &caption, SongPageKind kind, QList<SongListRow> rows);
    int openInParts(const LibraryPage &page, const FileExists &exists);

    ResultPages *m_pages;
    const LibrarySource *m_source;
    std::function<QList<NowPlayingItem>()> m_nowPlaying;
    std::function<QList<DownloadItem>()> m_downloads;
    FileExists m_exists; // none: the disk, each folder read once per page
    int m_firstRows = 256;
    int m_laterRows = 8192;
};

} // namespace kivo
