#include "playback/mprisadaptors.h"

#include "playback/mprisservice.h"

#include <algorithm>

namespace kivo {

QDBusArgument &operator<<(QDBusArgument &argument, const MprisPlaylist &playlist)
{
    argument.beginStructure();
    argument << playlist.id << playlist.name << playlist.icon;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, MprisPlaylist &playlist)
{
    argument.beginStructure();
    argument >> playlist.id >> playlist.name >> playlist.icon;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const MprisMaybePlaylist &playlist)
{
    argument.beginStructure();
    argument << playlist.valid << playlist.playlist;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, MprisMaybePlaylist &playlist)
{
    argument.beginStructure();
    argument >> playlist.valid >> playlist.playlist;
    argument.endStructure();
    return argument;
}

MprisRootAdaptor::MprisRootAdaptor(MprisService *service, QObject *parent)
    : QDBusAbstractAdaptor(parent)
    , m_service(service)
{ }

bool MprisRootAdaptor::canRaise() const
{
    return m_service->canRaise();
}

void MprisRootAdaptor::Raise()
{
    m_service->raise();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService *service, QObject *parent)
    : QDBusAbstractAdaptor(parent)
    , m_service(service)
{ }

QString MprisPlayerAdaptor::playbackStatus() const
{
    return m_service->playbackStatus();
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return m_service->metadata();
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_service->positionMicroseconds();
}

double MprisPlayerAdaptor::volume() const
{
    return m_service->volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_service->setVolume(volume);
}

void MprisPlayerAdaptor::Next()
{
    m_service->next();
}

void MprisPlayerAdaptor::Previous()
{
    m_service->previous();
}

void MprisPlayerAdaptor::Pause()
{
    m_service->pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    m_service->playPause();
}

void MprisPlayerAdaptor::Stop()
{
    m_service->stop();
}

void MprisPlayerAdaptor::Play()
{
    m_service->play();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    m_service->setPosition(m_service->positionMicroseconds() + offset);
    Q_EMIT Seeked(m_service->positionMicroseconds());
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &track, qlonglong position)
{
    if (track.path() == m_service->metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path())
        m_service->setPosition(position);
}

MprisPlaylistsAdaptor::MprisPlaylistsAdaptor(MprisService *service, QObject *parent)
    : QDBusAbstractAdaptor(parent)
    , m_service(service)
{ }

uint MprisPlaylistsAdaptor::playlistCount() const
{
    return uint(m_service->playlists().size());
}

MprisMaybePlaylist MprisPlaylistsAdaptor::activePlaylist() const
{
    return m_service->activePlaylist();
}

void MprisPlaylistsAdaptor::ActivatePlaylist(const QDBusObjectPath &playlistId)
{
    m_service->activatePlaylist(playlistId);
}

QList<MprisPlaylist> MprisPlaylistsAdaptor::GetPlaylists(
    uint index, uint maxCount, const QString &order, bool reverseOrder)
{
    Q_UNUSED(order); // one ordering only: as they were made
    QList<MprisPlaylist> all = m_service->playlists();
    if (reverseOrder)
        std::reverse(all.begin(), all.end());
    if (index >= uint(all.size()))
        return {};
    return all.mid(qsizetype(index), qsizetype(qMin<uint>(maxCount, uint(all.size()) - index)));
}

} // namespace kivo
