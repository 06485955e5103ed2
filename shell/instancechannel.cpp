#include "shell/instancechannel.h"

#include "core/logging.h"

#include <QCryptographicHash>
#include <QDBusError>
#include <QDBusMessage>
#include <QFileInfo>
#include <QMetaMethod>

namespace kivo {

namespace {
const QString kObjectPath = u"/org/kivo/kivoplay"_qs;
const QString kInterface = u"org.kivo.kivoplay.Instance"_qs;
} // namespace

InstanceChannel::InstanceChannel(const QString &libraryPath, const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_service(serviceNameFor(libraryPath))
{ }

InstanceChannel::~InstanceChannel()
{
    if (m_listening) {
        m_bus.unregisterService(m_service);
        m_bus.unregisterObject(kObjectPath);
    }
}

bool InstanceChannel::sessionBusNamed()
{
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

QString InstanceChannel::serviceNameFor(const QString &libraryPath)
{
    // The same library reached by another spelling of its path is the same player.
    const QFileInfo info(libraryPath);
    const QString canonical = info.canonicalFilePath();
    const QString path = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return u"org.kivo.kivoplay.L"_qs + QString::fromLatin1(hash);
}

InstanceChannel::Handover InstanceChannel::handOver(const QStringList &files, int timeoutMs)
{
    if (!m_bus.isConnected())
        return Handover::NoneRunning;
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, kObjectPath, kInterface, u"Open"_qs);
    call.setAutoStartService(false);
    call << files;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Handover::Delivered;
    if (reply.errorName() == QDBusError::errorString(QDBusError::ServiceUnknown)
        || reply.errorName() == u"org.freedesktop.DBus.Error.NameHasNoOwner"_qs)
        return Handover::NoneRunning;
    qCWarning(lcDesktop).noquote() << "the running player did not take the files:" << reply.errorName()
                                   << reply.errorMessage() << "- this one carries on alone";
    return Handover::NoAnswer;
}

bool InstanceChannel::listen()
{
    if (!m_bus.isConnected())
        return false;
    if (!m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots)) {
        qCWarning(lcDesktop).noquote() << "cannot publish" << kObjectPath << m_bus.lastError().message();
        return false;
    }
    if (!m_bus.registerService(m_service)) {
        qCWarning(lcDesktop).noquote() << "another process holds" << m_service << "- files are not handed to this one";
        m_bus.unregisterObject(kObjectPath);
        return false;
    }
    m_listening = true;
    return true;
}

void InstanceChannel::Open(const QStringList &files)
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&InstanceChannel::filesOpened))) {
        m_early.append(files);
        return;
    }
    if (files.isEmpty())
        Q_EMIT raiseRequested();
    else
        Q_EMIT filesOpened(files);
}

} // namespace kivo
