#include "skin/windowdrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kivo {

WindowDrag::WindowDrag(QWidget *strip)
    : QObject(strip)
    , m_strip(strip)
{
    strip->installEventFilter(this);
}

WindowDrag *WindowDrag::install(QWidget *strip)
{
    return new WindowDrag(strip);
}

bool WindowDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_strip)
        return false;
    QWidget *window = m_strip->window();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        QWindow *handle = window->windowHandle();
        if (handle && handle->startSystemMove())
            return true;
        m_following = true;
        m_grabOffset = mouse->globalPosition().toPoint() - window->frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove:
        if (m_following) {
            window->move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_grabOffset);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (m_following) {
            m_following = false;
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace kivo
