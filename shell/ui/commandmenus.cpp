#include "shell/ui/commandmenus.h"

#include <QActionGroup>
#include <QMenu>

namespace kivo {

CommandMenus::CommandMenus(QWidget *parentWidget)
    : QObject(parentWidget)
{
    QMenu *songs = addMenu(u"歌曲列表"_qs, parentWidget);
    addItem(songs, u"重新调入播放"_qs);
    addSeparator(songs, u"a1"_qs);
    addItem(songs, u"打开本地歌曲"_qs);
    addItem(songs, u"添加到正在播放"_qs);
    addItem(songs, u"添加到播放列表"_qs);
    addItem(songs, u"从列表中删除"_qs);
    addItem(songs, u"修改歌曲名称"_qs);
    addSeparator(songs, u"A2"_qs);
    addItem(songs, u"查看歌词"_qs);
    addItem(songs, u"添加歌词"_qs);
    addSeparator(songs, u"A3"_qs);
    addItem(songs, u"下载此歌曲"_qs);
    addItem(songs, u"给好友点歌"_qs);
    addItem(songs, u"下载铃声"_qs);

    QMenu *playing = addMenu(u"我的媒体库"_qs, parentWidget);
    addItem(playing, u"清空"_qs);
    addSeparator(playing, u"A5"_qs);
    m_playModes = new QActionGroup(this);
    m_playModes->setExclusive(true);
    for (const QString &mode : {u"不循环"_qs, u"单曲循环"_qs, u"顺序播放"_qs, u"随机播放"_qs}) {
        addItem(playing, mode);
        QAction *a = m_items.value(mode);
        a->setCheckable(true);
        m_playModes->addAction(a);
    }
    m_items.value(u"不循环"_qs)->setChecked(true);
    addSeparator(playing, u"A6"_qs);
    addItem(playing, u"另存为列表"_qs);
    addItem(playing, u"保存到现有"_qs);
    addSeparator(playing, u"ab13"_qs);
    addItem(playing, u"打开本地歌曲1"_qs, u"打开本地歌曲"_qs);

    QMenu *lists = addMenu(u"我的媒体库1"_qs, parentWidget);
    addItem(lists, u"添加列表"_qs);
    addItem(lists, u"修改列表"_qs);
    addItem(lists, u"删除列表"_qs);
    addSeparator(lists, u"A12"_qs);
    addItem(lists, u"播放此列表"_qs);
    addItem(lists, u"添加到正在播放1"_qs, u"添加到正在播放"_qs);

    QMenu *downloads = addMenu(u"下载管理"_qs, parentWidget);
    addItem(downloads, u"开始下载"_qs);
    addSeparator(downloads, u"A18"_qs);
    addItem(downloads, u"清空所有"_qs);
    addItem(downloads, u"删除记录"_qs);
    addSeparator(downloads, u"A19"_qs);
    addItem(downloads, u"下载设置"_qs);

    QMenu *artist = addMenu(u"歌手"_qs, parentWidget);
    addItem(artist, u"加入CD架"_qs);
    addItem(artist, u"购买此CD"_qs);
    addItem(artist, u"查看简介"_qs);
    addItem(artist, u"相关新闻"_qs);

    QMenu *shelf = addMenu(u"CD架"_qs, parentWidget);
    addItem(shelf, u"购买"_qs);
    addSeparator(shelf, u"A334"_qs);
    addItem(shelf, u"删除"_qs);

    QMenu *tray = addMenu(u"右键菜单"_qs, parentWidget);
    addItem(tray, u"播放"_qs, u"播  放"_qs);
    addItem(tray, u"暂停"_qs, u"暂  停"_qs);
    addItem(tray, u"停止"_qs, u"停  止"_qs);
    addItem(tray, u"上一首"_qs);
    addItem(tray, u"下一首"_qs);
    addSeparator(tray, u"a134"_qs);
    addItem(tray, u"退出"_qs, u"退  出"_qs);
}

CommandMenus::~CommandMenus()
{
    // Menus without a parent widget are ours to delete.
    for (QMenu *m : std::as_const(m_menus))
        if (!m->parent())
            delete m;
}

QMenu *CommandMenus::addMenu(const QString &name, QWidget *parentWidget)
{
    auto *m = new QMenu(name, parentWidget);
    m->setObjectName(name);
    m->setAccessibleName(name);
    m_menus.insert(name, m);
    m_menuOrder.append(name);
    return m;
}

void CommandMenus::addItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *a = menu->addAction(caption.isEmpty() ? name : caption);
    a->setObjectName(name);
    m_items.insert(name, a);
}

void CommandMenus::addSeparator(QMenu *menu, const QString &name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(name);
    m_items.insert(name, a);
}

QMenu *CommandMenus::menu(const QString &name) const
{
    return m_menus.value(name, nullptr);
}

QAction *CommandMenus::item(const QString &name) const
{
    return m_items.value(name, nullptr);
}

} // namespace kivo
