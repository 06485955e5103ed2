#include "library/ui/librarytreeview.h"

#include "library/ui/treeicons.h"
#include "shell/ui/commandmenus.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

namespace kivo {

LibraryTreeView::LibraryTreeView(
    LibraryTree *tree, LibraryPages *pages, CommandMenus *menus, LastTreeButton *lastButton, QWidget *parent)
    : SideTreeView(lastButton, parent)
    , m_tree(tree)
    , m_pages(pages)
    , m_menus(menus)
{
    setObjectName(u"TreeView2"_qs);
    setAccessibleName(u"我的媒体库"_qs);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setMouseTracking(true);
    tree->model()->setIconProvider([](int image) { return QVariant(treeIcon(image)); });
    setModel(tree->model());
}

QString LibraryTreeView::selectedKey() const
{
    return m_tree->model()->keyAt(currentIndex());
}

QMenu *LibraryTreeView::prepareMenu(const QString &key)
{
    if (!m_menus)
        return nullptr;
    const LibraryMenu menu = LibraryTree::menuFor(key);
    if (key.startsWith(u'c') || key.startsWith(u'd')) {
        m_menus->item(u"添加列表"_qs)->setEnabled(menu.addList);
        m_menus->item(u"修改列表"_qs)->setEnabled(menu.renameList);
        m_menus->item(u"删除列表"_qs)->setEnabled(menu.deleteList);
        m_menus->item(u"播放此列表"_qs)->setEnabled(menu.playList);
        m_menus->item(u"添加到正在播放1"_qs)->setEnabled(menu.queueList);
    }
    switch (menu.type) {
    case LibraryMenu::Type::NowPlaying:
        return m_menus->menu(u"我的媒体库"_qs);
    case LibraryMenu::Type::Playlists:
        return m_menus->menu(u"我的媒体库1"_qs);
    case LibraryMenu::Type::CdShelf:
        return m_menus->menu(u"CD架"_qs);
    case LibraryMenu::Type::None:
        break;
    }
    return nullptr;
}

void LibraryTreeView::nodeRightClicked(const QModelIndex &index, const QPoint &globalPos)
{
    if (QMenu *menu = prepareMenu(m_tree->model()->keyAt(index)))
        menu->popup(globalPos);
}

void LibraryTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !m_pages)
        return;
    const QString key = selectedKey();
    const KeyedTreeModel::Node *node = m_tree->model()->node(key);
    if (!node)
        return;
    QPointer<KeyedTreeModel> model(m_tree->model());
    const quint64 serial = node->serial;
    m_pages->open(m_tree->pageFor(key), [model, key, serial] { return model && model->nodeIfSame(key, serial); });
}

} // namespace kivo
