#include "library/ui/librarytreeview.h"

#include "skin/commandmenus.h"
#include "skin/treeicons.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

namespace kivo {

LibraryTreeView::LibraryTreeView(
    LibraryTree *tree, LibraryPages *pages, const CommandMenus *menus, LastTreeButton *lastButton, QWidget *parent)
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
        const ListMenu &lists = m_menus->lists;
        lists.addList->setEnabled(menu.addList);
        lists.renameList->setEnabled(menu.renameList);
        lists.deleteList->setEnabled(menu.deleteList);
        lists.playList->setEnabled(menu.playList);
        lists.appendList->setEnabled(menu.queueList);
    }
    switch (menu.type) {
    case LibraryMenu::Type::NowPlaying:
        return m_menus->nowPlaying.menu;
    case LibraryMenu::Type::Playlists:
        return m_menus->lists.menu;
    case LibraryMenu::Type::CdShelf:
        return m_menus->shelf.menu;
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
