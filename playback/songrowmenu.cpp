#include "playback/songrowmenu.h"

#include "online/pageformats.h"
#include "playback/playqueue.h"

using namespace Qt::Literals::StringLiterals;

namespace kivo {

SongRowMenuPlan planSongRowMenu(bool rightButton, bool rowSelected, const SongRowRef &row, const PlayQueue &queue)
{
    SongRowMenuPlan plan;
    if (!rightButton || !rowSelected || row.text.isEmpty())
        return plan;
    if (row.isDownloadPage()) {
        if (row.pageTag == u"down"_s)
            plan.popup = SongRowMenuPlan::Popup::DownloadManager;
        return plan;
    }
    plan.popup = SongRowMenuPlan::Popup::SongList;

    if (row.isNowPlayingPage()) {
        plan.addToQueue = false;
        bool ok = false;
        const int index = row.tag.toInt(&ok);
        if (ok && queue.contains(index)) {
            const QueueEntry &e = queue.at(index);
            if (!e.locator.contains(u"://"_s) && e.url2.isEmpty())
                plan.download = plan.dedicate = false;
        }
        return plan;
    }

    const QStringList f = row.tag.split(kTagSep);
    auto field = [&f](int i) { return i < f.size() ? f.at(i) : QString(); };
    const int kind = field(4).trimmed().toInt();
    if (kind < 2) {
        // A library row: its name can be changed where it is a playlist song.
        plan.openLocal = kind == 0;
        plan.addToPlaylist = kind != 0;
        plan.rename = kind == 0 || kind == 1;
        plan.renameEnabled = kind == 0;
        if (field(3).trimmed().isEmpty() && !field(1).contains(u"://"_s))
            plan.download = plan.dedicate = false;
    } else {
        plan.openLocal = false;
        plan.removeFromList = false;
        plan.addLyrics = kind == 2;
    }
    return plan;
}

} // namespace kivo
