#include "skin/commandmenus.h"

#include <QActionGroup>
#include <QMenu>

namespace kivo {

namespace {

// One line of a menu: the item's name, its caption when it differs, and the member
// that holds it; a separator has a name and no member.
template<typename Menu> struct Line
{
    const char16_t *name;
    QAction *Menu::*member = nullptr;
    const char16_t *caption = nullptr;
};

template<typename Menu, size_t N> Menu build(const char16_t *name, const Line<Menu> (&lines)[N], QWidget *parentWidget)
{
    Menu built;
    built.menu = new QMenu(QString::fromUtf16(name), parentWidget);
    built.menu->setObjectName(QString::fromUtf16(name));
    built.menu->setAccessibleName(QString::fromUtf16(name));
    for (const Line<Menu> &line : lines) {
        const QString itemName = QString::fromUtf16(line.name);
        QAction *action = line.member
            ? built.menu->addAction(line.caption ? QString::fromUtf16(line.caption) : itemName)
            : built.menu->addSeparator();
        action->setObjectName(itemName);
        if (line.member)
            built.*(line.member) = action;
    }
    return built;
}

const Line<SongRowMenu> kSongRow[] = {
    {u"重新调入播放", &SongRowMenu::reload},
    {u"a1"},
    {u"打开本地歌曲", &SongRowMenu::openLocal},
    {u"添加到正在播放", &SongRowMenu::addToQueue},
    {u"添加到播放列表", &SongRowMenu::addToPlaylist},
    {u"从列表中删除", &SongRowMenu::removeFromList},
    {u"修改歌曲名称", &SongRowMenu::renameSong},
    {u"A2"},
    {u"查看歌词", &SongRowMenu::viewLyrics},
    {u"添加歌词", &SongRowMenu::addLyrics},
    {u"A3"},
    {u"下载此歌曲", &SongRowMenu::download},
    {u"给好友点歌", &SongRowMenu::dedicate},
    {u"下载铃声", &SongRowMenu::ringtone},
};

const Line<NowPlayingMenu> kNowPlaying[] = {
    {u"清空", &NowPlayingMenu::clear},
    {u"A5"},
    {u"不循环", &NowPlayingMenu::noRepeat},
    {u"单曲循环", &NowPlayingMenu::repeatOne},
    {u"顺序播放", &NowPlayingMenu::sequential},
    {u"随机播放", &NowPlayingMenu::shuffle},
    {u"A6"},
    {u"另存为列表", &NowPlayingMenu::saveAsList},
    {u"保存到现有", &NowPlayingMenu::saveToExisting},
    {u"ab13"},
    {u"打开本地歌曲1", &NowPlayingMenu::openLocal, u"打开本地歌曲"},
    {u"ab14"},
    {u"导出播放列表1", &NowPlayingMenu::exportFile, u"导出播放列表..."},
    {u"导入播放列表文件1", &NowPlayingMenu::importFile, u"导入播放列表文件..."},
};

const Line<ListMenu> kLists[] = {
    {u"添加列表", &ListMenu::addList},
    {u"修改列表", &ListMenu::renameList},
    {u"删除列表", &ListMenu::deleteList},
    {u"A12"},
    {u"播放此列表", &ListMenu::playList},
    {u"添加到正在播放1", &ListMenu::appendList, u"添加到正在播放"},
    {u"A13"},
    {u"导出播放列表", &ListMenu::exportFile, u"导出播放列表..."},
    {u"导入播放列表文件", &ListMenu::importFile, u"导入播放列表文件..."},
};

const Line<DownloadMenu> kDownloads[] = {
    {u"开始下载", &DownloadMenu::start},
    {u"A18"},
    {u"清空所有", &DownloadMenu::clearAll},
    {u"删除记录", &DownloadMenu::removeRecord},
    {u"A19"},
    {u"下载设置", &DownloadMenu::settings},
};

const Line<ArtistMenu> kArtist[] = {
    {u"加入CD架", &ArtistMenu::addToShelf},
    {u"购买此CD", &ArtistMenu::buyCd},
    {u"查看简介", &ArtistMenu::introduction},
    {u"相关新闻", &ArtistMenu::news},
};

const Line<ShelfMenu> kShelf[] = {
    {u"购买", &ShelfMenu::buy},
    {u"A334"},
    {u"删除", &ShelfMenu::remove},
};

const Line<TrayMenu> kTray[] = {
    {u"播放", &TrayMenu::play, u"播  放"},
    {u"暂停", &TrayMenu::pause, u"暂  停"},
    {u"停止", &TrayMenu::stop, u"停  止"},
    {u"上一首", &TrayMenu::previous},
    {u"下一首", &TrayMenu::next},
    {u"a134"},
    {u"退出", &TrayMenu::exit, u"退  出"},
};

NowPlayingMenu withPlayModes(NowPlayingMenu menu, QObject *owner)
{
    menu.playModes = new QActionGroup(owner);
    menu.playModes->setExclusive(true);
    for (QAction *mode : menu.modes()) {
        mode->setCheckable(true);
        menu.playModes->addAction(mode);
    }
    menu.noRepeat->setChecked(true);
    return menu;
}

} // namespace

CommandMenus::CommandMenus(QWidget *parentWidget)
    : QObject(parentWidget)
    , songRow(build(u"歌曲列表", kSongRow, parentWidget))
    , nowPlaying(withPlayModes(build(u"我的媒体库", kNowPlaying, parentWidget), this))
    , lists(build(u"我的媒体库1", kLists, parentWidget))
    , downloads(build(u"下载管理", kDownloads, parentWidget))
    , artist(build(u"歌手", kArtist, parentWidget))
    , shelf(build(u"CD架", kShelf, parentWidget))
    , tray(build(u"右键菜单", kTray, parentWidget))
{ }

CommandMenus::~CommandMenus()
{
    // Menus without a parent widget are ours to delete.
    for (QMenu *m : menus())
        if (!m->parent())
            delete m;
}

QList<QMenu *> CommandMenus::menus() const
{
    return {songRow.menu, nowPlaying.menu, lists.menu, downloads.menu, artist.menu, shelf.menu, tray.menu};
}

} // namespace kivo
