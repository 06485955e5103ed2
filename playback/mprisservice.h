#pragma once

#include "playback/mediaengine.h"
#include "playback/mprisadaptors.h"

#include <QDBusConnection>
#include <QObject>

namespace kivo {

class CommandDispatcher;
class PlayerControl;
class QueuePlayer;

// The player on the session bus as org.mpris.MediaPlayer2.kivoplay: play, pause,
// stop, next and previous are sent as the player's commands, like the windows' buttons;
// status, title, position and volume are read from the player.
class MprisService : public QObject
{
    Q_OBJECT
public:
    MprisService(PlayerControl *control, QueuePlayer *player, CommandDispatcher *commands, QObject *parent = nullptr);
    ~MprisService() override;

    // Registers on the bus (the session bus by default); false when the name is taken
    // or there is no bus.
    bool registerOn(const QDBusConnection &bus = QDBusConnection::sessionBus());
    static QString serviceName();

    PlayerControl *control() const { return m_control; }
    QueuePlayer *player() const { return m_player; }

    // org.mpris.MediaPlayer2.Player, as the adaptor exposes it.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qlonglong positionMicroseconds() const;
    double volume() const;
    void setVolume(double volume);
    void playPause();
    void play();
    void pause();
    void stop();
    void next();
    void previous();
    void setPosition(qlonglong microseconds);
    // org.mpris.MediaPlayer2.Playlists: the stored playlists, one started as a
    // double click on it in the library tree starts it.
    QList<MprisPlaylist> playlists() const;
    MprisMaybePlaylist activePlaylist() const { return m_activePlaylist; }
    void activatePlaylist(const QDBusObjectPath &id);
    // org.mpris.MediaPlayer2: "Raise" brings the player's window back, as the tray does.
    bool canRaise() const;
    void raise();

private:
    void announce(const QVariantMap &changed);

    PlayerControl *m_control;
    QueuePlayer *m_player;
    CommandDispatcher *m_commands;
    QDBusConnection m_bus;
    bool m_registered = false;
    MprisMaybePlaylist m_activePlaylist;
};

} // namespace kivo
