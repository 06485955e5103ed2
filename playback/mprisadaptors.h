#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace kivo {

class MprisService;

// One playlist as org.mpris.MediaPlayer2.Playlists carries it: (oss).
struct MprisPlaylist
{
    QDBusObjectPath id;
    QString name;
    QString icon;
};
// ActivePlaylist: (b(oss)), false while no stored playlist plays.
struct MprisMaybePlaylist
{
    bool valid = false;
    MprisPlaylist playlist;
};
QDBusArgument &operator<<(QDBusArgument &argument, const MprisPlaylist &playlist);
const QDBusArgument &operator>>(const QDBusArgument &argument, MprisPlaylist &playlist);
QDBusArgument &operator<<(QDBusArgument &argument, const MprisMaybePlaylist &playlist);
const QDBusArgument &operator>>(const QDBusArgument &argument, MprisMaybePlaylist &playlist);

// org.mpris.MediaPlayer2: the application itself.
class MprisRootAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    MprisRootAdaptor(MprisService *service, QObject *parent);
    bool canQuit() const { return false; }
    bool canRaise() const;
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Kivo"); }
    QStringList supportedUriSchemes() const { return {}; }
    QStringList supportedMimeTypes() const { return {}; }

public Q_SLOTS:
    void Raise();
    void Quit() { }

private:
    MprisService *m_service;
};

// org.mpris.MediaPlayer2.Player: transport and what is playing.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(double Rate READ rate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ yes)
    Q_PROPERTY(bool CanGoPrevious READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ yes)
    Q_PROPERTY(bool CanControl READ yes)
public:
    MprisPlayerAdaptor(MprisService *service, QObject *parent);
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qlonglong position() const;
    double volume() const;
    void setVolume(double volume);
    double rate() const { return 1.0; }
    bool yes() const { return true; }

public Q_SLOTS:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath &track, qlonglong position);
    void OpenUri(const QString &uri) { Q_UNUSED(uri); }

Q_SIGNALS:
    void Seeked(qlonglong position);

private:
    MprisService *m_service;
};

// org.mpris.MediaPlayer2.Playlists: the stored playlists, and starting one.
class MprisPlaylistsAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Playlists")
    Q_PROPERTY(uint PlaylistCount READ playlistCount)
    Q_PROPERTY(QStringList Orderings READ orderings)
    Q_PROPERTY(kivo::MprisMaybePlaylist ActivePlaylist READ activePlaylist)
public:
    MprisPlaylistsAdaptor(MprisService *service, QObject *parent);
    uint playlistCount() const;
    QStringList orderings() const { return {QStringLiteral("CreationDate")}; }
    MprisMaybePlaylist activePlaylist() const;

public Q_SLOTS:
    void ActivatePlaylist(const QDBusObjectPath &playlistId);
    QList<kivo::MprisPlaylist> GetPlaylists(uint index, uint maxCount, const QString &order, bool reverseOrder);

private:
    MprisService *m_service;
};

} // namespace kivo

Q_DECLARE_METATYPE(kivo::MprisPlaylist)
Q_DECLARE_METATYPE(kivo::MprisMaybePlaylist)
