#pragma once

#include <QString>

namespace kivo {

// A song row of a song list page as the queue operations read it.
struct SongRowRef
{
    // The page's tag: "playing" for the now-playing page, containing "down" for the
    // download page, anything else for library and catalogue pages.
    QString pageTag;
    QString text; // the row's title
    // The row's tag: a SongRecord ("|||"-joined; field 0 id, 1 locator, 2 url1,
    // 3 url2, 4 kind, 5 baiduid, 6 musicid), a download row tag, or on the now-playing
    // page the entry number.
    QString tag;

    bool isNowPlayingPage() const { return pageTag == QStringLiteral("playing"); }
    bool isDownloadPage() const { return pageTag.contains(QStringLiteral("down")); }
};

} // namespace kivo
