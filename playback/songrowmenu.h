#pragma once

#include "core/songrow.h"

namespace kivo {

class PlayQueue;

// Which popup a right-click on a song row opens, and how the song menu looks.
struct SongRowMenuPlan
{
    enum class Popup { None, DownloadManager, SongList };
    Popup popup = Popup::None;
    // Visibility of the items of "歌曲列表".
    bool addToPlaylist = true; // "添加到播放列表"
    bool addToQueue = true; // "添加到正在播放"
    bool removeFromList = true; // "从列表中删除"
    bool download = true; // "下载此歌曲"
    bool dedicate = true; // "给好友点歌"
    bool openLocal = true; // "打开本地歌曲"
    bool addLyrics = false; // "添加歌词"
    bool rename = false; // "修改歌曲名称"
    bool renameEnabled = false;
};

// The item click of a song list: only a right-button click on a selected row with
// text opens a menu.
SongRowMenuPlan planSongRowMenu(bool rightButton, bool rowSelected, const SongRowRef &row, const PlayQueue &queue);

} // namespace kivo
