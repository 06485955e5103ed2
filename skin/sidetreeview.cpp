#include "skin/sidetreeview.h"

#include "skin/liststyle.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace kivo {

SideTreeView::SideTreeView(LastTreeButton *lastButton, QWidget *parent)
    : QTreeView(parent)
    , m_lastButton(lastButton)
{
    // The trees are narrow and their captions long from the third level down: the
    // column takes the width of its widest caption and the tree scrolls sideways.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
    applyListColours(this); // shown in the first frame, before the window's style sheet
}

void SideTreeView::mousePressEvent(QMouseEvent *event)
{
    if (m_lastButton)
        m_lastButton->value = event->button() == Qt::RightButton ? 2 : 1;
    QTreeView::mousePressEvent(event);
    if (event->button() != Qt::RightButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    nodeRightClicked(index, event->globalPosition().toPoint());
}

void SideTreeView::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMovedOver();
    QTreeView::mouseMoveEvent(event);
}

} // namespace kivo
