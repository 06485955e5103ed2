#pragma once

#include "online/cataloguetree.h"
#include "skin/sidetreeview.h"

namespace kivo {

class CommandMenus;

// The catalogue tree `TreeView1`: double-click opens a node, a right click on an
// artist or album pops up the "歌手" menu.
class CatalogueTreeView : public SideTreeView
{
    Q_OBJECT
public:
    CatalogueTreeView(
        CatalogueTree *tree, const CommandMenus *menus, LastTreeButton *lastButton, QWidget *parent = nullptr);

    CatalogueTree *tree() const { return m_tree; }
    // The key of the selected node, empty when none.
    QString selectedKey() const;
    // Shows and hides the "歌手" items for a node; false when the node has no menu.
    bool prepareArtistMenu(const QString &key);

protected:
    void nodeRightClicked(const QModelIndex &index, const QPoint &globalPos) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    CatalogueTree *m_tree;
    const CommandMenus *m_menus;
};

} // namespace kivo
