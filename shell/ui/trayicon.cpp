#include "shell/ui/trayicon.h"

#include "shell/ui/appicon.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace kivo {

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent)
{ }

TrayIcon::~TrayIcon()
{
    remove();
}

bool TrayIcon::add()
{
    if (m_icon)
        return true;
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_icon = new QSystemTrayIcon(appIcon(), this);
    m_icon->setToolTip(tip());
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A quick second click arrives as a double click: it brings the player back too.
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            Q_EMIT leftClicked();
        else if (reason == QSystemTrayIcon::Context && m_menu)
            m_menu->popup(QCursor::pos());
    });
    // The icon's own window, where the platform makes one, is whatever top-level
    // window its showing adds.
    const QWidgetList before = QApplication::topLevelWidgets();
    m_icon->show();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!before.contains(w))
            m_iconWindows.append(w);
    }
    return true;
}

bool TrayIcon::isIconWindow(const QWidget *window) const
{
    for (const QPointer<QWidget> &w : m_iconWindows) {
        if (w == window)
            return true;
    }
    return false;
}

void TrayIcon::remove()
{
    if (!m_icon)
        return;
    m_icon->hide();
    delete m_icon;
    m_icon = nullptr;
    m_iconWindows.clear();
}

} // namespace kivo

namespace kivo {

void TrayIcon::setMenu(QMenu *menu)
{
    m_menu = menu;
}

} // namespace kivo
