#include "playback/songrowmenu.h"

#include "core/address.h"
#include "playback/playqueue.h"

namespace kivo {

SongRowMenuPlan planSongRowMenu(bool rightButton, bool rowSelected, const SongRowRef &row, const PlayQueue &queue)
{
    SongRowMenuPlan plan;
    if (!rightButton || !rowSelected || row.title.isEmpty())
        return plan;
    if (row.page == SongPageKind::Downloads) {
        // While a download run goes on the download page offers no menu.
        if (!row.downloading)
            plan.popup = SongRowMenuPlan::Popup::DownloadManager;
        return plan;
    }
    plan.popup = SongRowMenuPlan::Popup::SongList;

    if (row.page == SongPageKind::NowPlaying) {
        plan.addToQueue = false;
        const int index = row.queueEntry().value_or(-1);
        if (queue.contains(index)) {
            const QueueEntry &e = queue.at(index);
            if (!hasScheme(e.locator) && e.url2.isEmpty())
                plan.download = plan.dedicate = false;
        }
        return plan;
    }

    const SongRecord none;
    const SongRecord &record = row.record() ? *row.record() : none;
    if (record.isLibrary()) {
        // A library row: its name can be changed where it is a playlist song.
        plan.openLocal = record.kind == SongKind::Playlist;
        plan.addToPlaylist = record.kind != SongKind::Playlist;
        plan.rename = record.kind == SongKind::Playlist || record.kind == SongKind::History;
        plan.renameEnabled = record.kind == SongKind::Playlist;
        if (record.url2.trimmed().isEmpty() && !hasScheme(record.address()))
            plan.download = plan.dedicate = false;
    } else {
        plan.openLocal = false;
        plan.removeFromList = false;
        plan.addLyrics = record.kind == SongKind::MusicId;
    }
    return plan;
}

} // namespace kivo
