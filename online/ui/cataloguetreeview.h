#pragma once

#include "library/ui/treemousebutton.h"
#include "online/cataloguetree.h"

#include <QTreeView>

namespace kivo {

class CommandMenus;

// The catalogue tree `TreeView1`: double-click opens a node, a right click on an
// artist or album pops up the "歌手" menu.
class CatalogueTreeView : public QTreeView
{
    Q_OBJECT
public:
    CatalogueTreeView(CatalogueTree *tree, CommandMenus *menus, LastTreeButton *lastButton, QWidget *parent = nullptr);

    CatalogueTree *tree() const { return m_tree; }
    // The key of the selected node, empty when none.
    QString selectedKey() const;
    // Shows and hides the "歌手" items for a node; false when the node has no menu.
    bool prepareArtistMenu(const QString &key);

Q_SIGNALS:
    // Mouse movement over the tree resets the skin buttons' hover pictures.
    void mouseMovedOver();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    CatalogueTree *m_tree;
    CommandMenus *m_menus;
    LastTreeButton *m_lastButton;
};

} // namespace kivo
