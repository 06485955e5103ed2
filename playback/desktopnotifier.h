#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

namespace kivo {

// Desktop notifications through org.freedesktop.Notifications: each one replaces
// the one before, so the desktop shows one line for this player. A text sent while
// the service has not answered the previous one waits for that answer (it carries the
// id to replace) and only the latest waiting text is sent.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    explicit DesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    void notify(const QString &summary, const QString &body);
    // The id the service gave the last notification; 0 before any.
    quint32 shownId() const { return m_id; }

Q_SIGNALS:
    // The service answered a notification (tests).
    void answered();

private:
    void send(const QString &summary, const QString &body);

    QDBusConnection m_bus;
    quint32 m_id = 0;
    bool m_waiting = false;
    bool m_failureLogged = false;
    std::optional<std::pair<QString, QString>> m_next;
};

} // namespace kivo
