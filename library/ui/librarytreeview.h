#pragma once

#include "library/librarypages.h"
#include "skin/sidetreeview.h"

namespace kivo {

class CommandMenus;

// The library tree `TreeView2`: double-click opens a node's page, a right click pops
// up the node's menu with the right items enabled.
class LibraryTreeView : public SideTreeView
{
    Q_OBJECT
public:
    LibraryTreeView(LibraryTree *tree, LibraryPages *pages, const CommandMenus *menus, LastTreeButton *lastButton,
        QWidget *parent = nullptr);

    QString selectedKey() const;
    // Enables the playlist menu's items for a node; the menu to pop up, or nullptr.
    QMenu *prepareMenu(const QString &key);

protected:
    void nodeRightClicked(const QModelIndex &index, const QPoint &globalPos) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    LibraryTree *m_tree;
    LibraryPages *m_pages;
    const CommandMenus *m_menus;
};

} // namespace kivo
