#pragma once

#include "skin/treemousebutton.h"

#include <QTreeView>

namespace kivo {

// What the two side trees (catalogue and library) share: both note the button last
// pressed over either tree, a right click selects its node before the tree's menu
// opens (the menus act on the selection), and a move over them resets the skin
// buttons' hover pictures.
class SideTreeView : public QTreeView
{
    Q_OBJECT
public:
    SideTreeView(LastTreeButton *lastButton, QWidget *parent = nullptr);

Q_SIGNALS:
    void mouseMovedOver();

protected:
    // A right click on a node, after it has been selected.
    virtual void nodeRightClicked(const QModelIndex &index, const QPoint &globalPos) = 0;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    LastTreeButton *m_lastButton;
};

} // namespace kivo
