#include "skin/sidetreeview.h"

#include <QMouseEvent>

namespace kivo {

SideTreeView::SideTreeView(LastTreeButton *lastButton, QWidget *parent)
    : QTreeView(parent)
    , m_lastButton(lastButton)
{ }

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
