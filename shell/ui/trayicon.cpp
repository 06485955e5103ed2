#include "shell/ui/trayicon.h"

#include "shell/ui/appicon.h"

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
        if (reason == QSystemTrayIcon::Trigger)
            Q_EMIT leftClicked();
        else if (reason == QSystemTrayIcon::Context && m_menu)
            m_menu->popup(QCursor::pos());
    });
    m_icon->show();
    return true;
}

void TrayIcon::remove()
{
    if (!m_icon)
        return;
    m_icon->hide();
    delete m_icon;
    m_icon = nullptr;
}

} // namespace kivo

namespace kivo {

void TrayIcon::setMenu(QMenu *menu)
{
    m_menu = menu;
}

} // namespace kivo
