#pragma once

#include <QObject>
#include <QPointer>

class QMenu;
class QWidget;
class QSystemTrayIcon;

namespace kivo {

// The notification-area icon with the tip "Ruvo音乐播放器". Left click brings the
// player back, right click pops up the tray menu. Where the desktop has no tray
// the icon is not registered and available() is false.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    bool add(); // false when the desktop has no tray
    void remove(); // at exit
    bool available() const { return m_icon != nullptr; }
    void setMenu(QMenu *menu);
    // A window that shows the icon itself (where the tray embeds one): hiding the
    // player's windows must leave it alone, or the icon leaves the tray.
    bool isIconWindow(const QWidget *window) const;

    static QString tip() { return u"Ruvo音乐播放器"_qs; }

Q_SIGNALS:
    void leftClicked();

private:
    QSystemTrayIcon *m_icon = nullptr;
    QPointer<QMenu> m_menu;
    QList<QPointer<QWidget>> m_iconWindows;
};

} // namespace kivo
