#include "playback/mprisservice.h"

#include "core/commanddispatcher.h"
#include "core/logging.h"
#include "playback/mprisadaptors.h"
#include "playback/playbacklibrary.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "playback/queueplayer.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>

using namespace Qt::Literals::StringLiterals;

namespace kivo {

namespace {
const QString kObjectPath = u"/org/mpris/MediaPlayer2"_s;
const QString kPlaylistPath = u"/org/kivo/playlist/"_s;
} // namespace

MprisService::MprisService(PlayerControl *control, QueuePlayer *player, CommandDispatcher *commands, QObject *parent)
    : QObject(parent)
    , m_control(control)
    , m_player(player)
    , m_commands(commands)
    , m_bus(QDBusConnection::sessionBus())
{
    new MprisRootAdaptor(this, this);
    new MprisPlayerAdaptor(this, this);
    new MprisPlaylistsAdaptor(this, this);
    qDBusRegisterMetaType<MprisPlaylist>();
    qDBusRegisterMetaType<QList<MprisPlaylist>>();
    qDBusRegisterMetaType<MprisMaybePlaylist>();
    connect(control, &PlayerControl::playButtonStateChanged, this, [this] {
        announce({{u"PlaybackStatus"_s, playbackStatus()}});
    });
    connect(player, &QueuePlayer::titleChanged, this, [this] { announce({{u"Metadata"_s, metadata()}}); });
}

MprisService::~MprisService()
{
    if (m_registered) {
        m_bus.unregisterObject(kObjectPath);
        m_bus.unregisterService(serviceName());
    }
}

QString MprisService::serviceName()
{
    return u"org.mpris.MediaPlayer2.kivoplay"_s;
}

bool MprisService::registerOn(const QDBusConnection &bus)
{
    m_bus = bus;
    if (!m_bus.isConnected())
        return false;
    if (!m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    if (!m_bus.registerService(serviceName())) {
        m_bus.unregisterObject(kObjectPath);
        return false;
    }
    m_registered = true;
    return true;
}

QString MprisService::playbackStatus() const
{
    switch (m_control->playButtonState()) {
    case PlayButtonState::Idle:
        return u"Stopped"_s;
    case PlayButtonState::Paused:
        return u"Paused"_s;
    default:
        return u"Playing"_s;
    }
}

QVariantMap MprisService::metadata() const
{
    QVariantMap map;
    const int index = m_player->activeIndex();
    if (index < 0 || m_player->currentTitle().isEmpty())
        return {
            {u"mpris:trackid"_s, QVariant::fromValue(QDBusObjectPath(u"/org/mpris/MediaPlayer2/TrackList/NoTrack"_s))}};
    map[u"mpris:trackid"_s] = QVariant::fromValue(QDBusObjectPath(u"/org/kivo/track/%1"_s.arg(index)));
    map[u"xesam:title"_s] = m_player->currentTitle();
    const double duration = m_player->engine()->duration();
    if (duration > 0)
        map[u"mpris:length"_s] = qlonglong(duration * 1e6);
    return map;
}

qlonglong MprisService::positionMicroseconds() const
{
    return qlonglong(m_player->engine()->position() * 1e6);
}

double MprisService::volume() const
{
    return m_player->engine()->volume() / 100.0;
}

void MprisService::setVolume(double volume)
{
    m_control->setVolume(int(qBound(0.0, volume, 1.0) * 100 + 0.5));
    announce({{u"Volume"_s, this->volume()}});
}

void MprisService::playPause()
{
    m_commands->dispatch(PlayerCommand::PlayPause);
}

void MprisService::play()
{
    // Play/pause pauses what plays; here only start or resume.
    const PlayButtonState state = m_control->playButtonState();
    if (state == PlayButtonState::Idle || state == PlayButtonState::Paused)
        m_commands->dispatch(PlayerCommand::PlayPause);
}

void MprisService::pause()
{
    if (m_player->engine()->playState() == PlayState::Playing
        && (m_control->playButtonState() == PlayButtonState::Opening
            || m_control->playButtonState() == PlayButtonState::Resumed))
        m_commands->dispatch(PlayerCommand::PlayPause);
}

void MprisService::stop()
{
    m_commands->dispatch(PlayerCommand::Stop);
}

void MprisService::next()
{
    m_commands->dispatch(PlayerCommand::Next);
}

void MprisService::previous()
{
    m_commands->dispatch(PlayerCommand::Previous);
}

void MprisService::setPosition(qlonglong microseconds)
{
    m_control->setPosition(double(qMax<qlonglong>(0, microseconds)) / 1e6);
}

void MprisService::announce(const QVariantMap &changed)
{
    if (!m_registered)
        return;
    QDBusMessage signal
        = QDBusMessage::createSignal(kObjectPath, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
    signal << u"org.mpris.MediaPlayer2.Player"_s << changed << QStringList {};
    m_bus.send(signal);
}

QList<MprisPlaylist> MprisService::playlists() const
{
    QList<MprisPlaylist> out;
    if (PlaybackLibrary *library = m_player->library()) {
        for (const StoredPlaylist &p : library->storedPlaylists())
            out.append({QDBusObjectPath(kPlaylistPath + QString::number(p.id)), p.name, QString()});
    }
    return out;
}

void MprisService::activatePlaylist(const QDBusObjectPath &id)
{
    for (const MprisPlaylist &p : playlists()) {
        if (p.id.path() != id.path())
            continue;
        m_activePlaylist = {true, p};
        m_player->PlayTreeList(PlaybackLibrary::ListKind::Playlist, p.id.path().mid(kPlaylistPath.size()).toInt());
        return;
    }
    qCWarning(lcEngine).noquote() << "MPRIS: no stored playlist" << id.path();
}

bool MprisService::canRaise() const
{
    return m_commands && m_commands->hasHandler(PlayerCommand::ShowPlayer);
}

void MprisService::raise()
{
    if (m_commands)
        m_commands->dispatch(PlayerCommand::ShowPlayer);
}

} // namespace kivo
