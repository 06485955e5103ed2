#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QVariantMap>

namespace kivo::test {

// A session bus of the test's own (dbus-daemon), ended with the test.
class PrivateBus
{
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            m_address = QString::fromLatin1(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString &name : std::as_const(m_names))
            QDBusConnection::disconnectFromBus(name);
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(3000))
            m_daemon.kill();
        m_daemon.waitForFinished(1000);
    }
    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A connection of its own to the bus, as another process would have.
    QDBusConnection connect(const QString &name)
    {
        m_names << name;
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};

// The desktop's notification service, as far as the player uses it.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown
    {
        quint32 replaces;
        QString summary, body;
    };
    QList<Shown> shown;

    bool publishOn(QDBusConnection bus)
    {
        return bus.registerObject(
                   QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportScriptableSlots)
            && bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

public Q_SLOTS:
    Q_SCRIPTABLE quint32 Notify(const QString &, quint32 replaces, const QString &, const QString &summary,
        const QString &body, const QStringList &, const QVariantMap &, int)
    {
        shown.append({replaces, summary, body});
        return replaces ? replaces : quint32(40 + shown.size());
    }
};

} // namespace kivo::test
