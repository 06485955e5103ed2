#pragma once

#include <QObject>
#include <QPointer>

class QMenu;
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

    static QString tip() { return u"Ruvo音乐播放器"_qs; }

Q_SIGNALS:
    void leftClicked();

private:
    QSystemTrayIcon *m_icon = nullptr;
    QPointer<QMenu> m_menu;
};

} // namespace kivo
