#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

#include <utility>

namespace kivo {

// One player per library: the first start owns a session-bus name made from its
// library's path; a later start hands its files to it through Open and ends.
class InstanceChannel : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kivo.kivoplay.Instance")
public:
    enum class Handover {
        Delivered, // the running player took the files
        NoneRunning, // nobody holds the name
        NoAnswer, // the name is held, but the call failed or timed out
    };

    InstanceChannel(const QString &libraryPath, const QDBusConnection &bus, QObject *parent = nullptr);
    ~InstanceChannel() override;

    // The session bus is asked for only when the environment names one: otherwise
    // the bus library may start a bus of its own.
    static bool sessionBusNamed();
    static QString serviceNameFor(const QString &libraryPath);
    QString serviceName() const { return m_service; }

    // Hands the files (none: only raise) to the running player; waits at most timeoutMs.
    Handover handOver(const QStringList &files, int timeoutMs = 3000);
    // Takes the name; false when another process holds it or there is no bus.
    bool listen();
    // What later starts asked for before anyone took this channel's signals (the
    // player's parts are built after its first frame): each entry is Open's files.
    QList<QStringList> takeEarlyRequests() { return std::exchange(m_early, {}); }

public Q_SLOTS:
    // The method the bus carries; the files are absolute paths.
    Q_SCRIPTABLE void Open(const QStringList &files);

Q_SIGNALS:
    void filesOpened(const QStringList &files);
    void raiseRequested();

private:
    QDBusConnection m_bus;
    QString m_service;
    bool m_listening = false;
    QList<QStringList> m_early;
};

} // namespace kivo
