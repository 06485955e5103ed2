#pragma once

#include <QList>
#include <QObject>

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace kivo {

// The seven popup menus of the player, each with its items as members, so that the
// owners of the operations wire, show, hide, enable and check them by name in code.
// Every menu and item keeps its own object name (the item's caption unless told).

// "歌曲列表": a right click on a song row of any page but the download page.
struct SongRowMenu
{
    QMenu *menu = nullptr;
    QAction *reload = nullptr; // "重新调入播放"
    QAction *openLocal = nullptr; // "打开本地歌曲"
    QAction *addToQueue = nullptr; // "添加到正在播放"
    QAction *addToPlaylist = nullptr; // "添加到播放列表"
    QAction *removeFromList = nullptr; // "从列表中删除"
    QAction *renameSong = nullptr; // "修改歌曲名称"
    QAction *viewLyrics = nullptr; // "查看歌词"
    QAction *addLyrics = nullptr; // "添加歌词"
    QAction *download = nullptr; // "下载此歌曲"
    QAction *dedicate = nullptr; // "给好友点歌"
    QAction *ringtone = nullptr; // "下载铃声"
};

// "我的媒体库": a right click on the now-playing node.
struct NowPlayingMenu
{
    QMenu *menu = nullptr;
    QAction *clear = nullptr; // "清空"
    QAction *noRepeat = nullptr; // "不循环", checked at start
    QAction *repeatOne = nullptr; // "单曲循环"
    QAction *sequential = nullptr; // "顺序播放"
    QAction *shuffle = nullptr; // "随机播放"
    QAction *saveAsList = nullptr; // "另存为列表"
    QAction *saveToExisting = nullptr; // "保存到现有"
    QAction *openLocal = nullptr; // "打开本地歌曲1"
    QAction *exportFile = nullptr; // "导出播放列表1": the queue as an M3U8 or PLS file
    QAction *importFile = nullptr; // "导入播放列表文件1": an M3U/M3U8/PLS file into the queue
    QActionGroup *playModes = nullptr; // the four exclusive mode items

    // The mode items by the mode's number, 0 to 3.
    std::array<QAction *, 4> modes() const { return {noRepeat, repeatOne, sequential, shuffle}; }
};

// "我的媒体库1": a right click on "播放列表", a playlist or a history day.
struct ListMenu
{
    QMenu *menu = nullptr;
    QAction *addList = nullptr; // "添加列表"
    QAction *renameList = nullptr; // "修改列表"
    QAction *deleteList = nullptr; // "删除列表"
    QAction *playList = nullptr; // "播放此列表"
    QAction *appendList = nullptr; // "添加到正在播放1"
    QAction *exportFile = nullptr; // "导出播放列表": the list as an M3U8 or PLS file
    QAction *importFile = nullptr; // "导入播放列表文件": an M3U/M3U8/PLS file into the playlist
};

// "下载管理": a right click on a row of the download page.
struct DownloadMenu
{
    QMenu *menu = nullptr;
    QAction *start = nullptr; // "开始下载"
    QAction *clearAll = nullptr; // "清空所有"
    QAction *removeRecord = nullptr; // "删除记录"
    QAction *settings = nullptr; // "下载设置"
};

// "歌手": a right click on an artist or album of the catalogue tree.
struct ArtistMenu
{
    QMenu *menu = nullptr;
    QAction *addToShelf = nullptr; // "加入CD架"
    QAction *buyCd = nullptr; // "购买此CD"
    QAction *introduction = nullptr; // "查看简介"
    QAction *news = nullptr; // "相关新闻"
};

// "CD架": a right click on an album of the CD shelf.
struct ShelfMenu
{
    QMenu *menu = nullptr;
    QAction *buy = nullptr; // "购买"
    QAction *remove = nullptr; // "删除"
};

// "右键菜单": the tray icon's menu.
struct TrayMenu
{
    QMenu *menu = nullptr;
    QAction *play = nullptr; // "播放"
    QAction *pause = nullptr; // "暂停"
    QAction *stop = nullptr; // "停止"
    QAction *previous = nullptr; // "上一首"
    QAction *next = nullptr; // "下一首"
    QAction *exit = nullptr; // "退出"
};

class CommandMenus : public QObject
{
    Q_OBJECT
public:
    explicit CommandMenus(QWidget *parentWidget = nullptr);
    ~CommandMenus() override;

    const SongRowMenu songRow;
    const NowPlayingMenu nowPlaying;
    const ListMenu lists;
    const DownloadMenu downloads;
    const ArtistMenu artist;
    const ShelfMenu shelf;
    const TrayMenu tray;

    // The seven menus in the order above.
    QList<QMenu *> menus() const;
};

} // namespace kivo
