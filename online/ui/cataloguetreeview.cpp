#include "online/ui/cataloguetreeview.h"

#include "skin/commandmenus.h"
#include "skin/treeicons.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>

namespace kivo {

CatalogueTreeView::CatalogueTreeView(
    CatalogueTree *tree, const CommandMenus *menus, LastTreeButton *lastButton, QWidget *parent)
    : SideTreeView(lastButton, parent)
    , m_tree(tree)
    , m_menus(menus)
{
    setObjectName(u"TreeView1"_qs);
    setAccessibleName(u"Kivo媒体库"_qs);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(true);
    setMouseTracking(true);
    tree->model()->setIconProvider([](int image) { return QVariant(treeIcon(image)); });
    setModel(tree->model());
    connect(tree, &CatalogueTree::expandRequested, this,
        [this](const QString &key) { expand(m_tree->model()->indexOf(key)); });
    connect(tree, &CatalogueTree::selectRequested, this,
        [this](const QString &key) { setCurrentIndex(m_tree->model()->indexOf(key)); });
}

QString CatalogueTreeView::selectedKey() const
{
    return m_tree->model()->keyAt(currentIndex());
}

bool CatalogueTreeView::prepareArtistMenu(const QString &key)
{
    const std::optional<ArtistMenuItems> items = m_tree->artistMenuFor(key);
    if (!items || !m_menus)
        return false;
    m_menus->artist.addToShelf->setVisible(items->addToShelf);
    m_menus->artist.buyCd->setVisible(items->buyCd);
    m_menus->artist.news->setVisible(items->news);
    return true;
}

void CatalogueTreeView::nodeRightClicked(const QModelIndex &index, const QPoint &globalPos)
{
    if (prepareArtistMenu(m_tree->model()->keyAt(index)))
        m_menus->artist.menu->popup(globalPos);
}

void CatalogueTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QString key = selectedKey();
    if (!key.isEmpty())
        m_tree->openNode(key); // runs on; a reply for a node that has gone is dropped
}

} // namespace kivo
