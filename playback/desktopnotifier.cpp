#include "playback/desktopnotifier.h"

#include "core/logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

using namespace Qt::Literals::StringLiterals;

namespace kivo {

namespace {
constexpr int kCallTimeoutMs = 5000;
}

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{ }

void DesktopNotifier::notify(const QString &summary, const QString &body)
{
    if (m_waiting) {
        m_next = {summary, body};
        return;
    }
    send(summary, body);
}

void DesktopNotifier::send(const QString &summary, const QString &body)
{
    if (!m_bus.isConnected()) {
        if (!std::exchange(m_failureLogged, true))
            qCWarning(lcDesktop) << "no session bus: songs are not announced on the desktop";
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(u"org.freedesktop.Notifications"_s,
        u"/org/freedesktop/Notifications"_s, u"org.freedesktop.Notifications"_s, u"Notify"_s);
    call << u"kivoplay"_s << m_id << u"kivoplay"_s << summary << body << QStringList {} << QVariantMap {} << qint32(-1);
    m_waiting = true;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        m_waiting = false;
        const QDBusPendingReply<quint32> reply = *w;
        if (reply.isError()) {
            if (!std::exchange(m_failureLogged, true))
                qCWarning(lcDesktop).noquote() << "the desktop shows no notifications:" << reply.error().message();
        } else {
            m_id = reply.value();
            m_failureLogged = false;
        }
        Q_EMIT answered();
        if (m_next) {
            const auto [summary, body] = *std::exchange(m_next, std::nullopt);
            send(summary, body);
        }
    });
}

} // namespace kivo
