#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

namespace kivo {

// What the media does, as the player's handlers compare it (by these numbers). What
// the player asks for is not among them: play(), pause() and stop() are its requests,
// and a stop it asked for is never reported back as Stopped.
enum class PlayState {
    Undefined = 0,
    Stopped = 1, // the song came to its end by itself
    Paused = 2, // the media holds still after a pause request
    Playing = 3, // the media plays (after opening, a resume or an underrun)
    Buffering = 6, // the media waits for data
    Transitioning = 9, // an address was handed over and is being opened
};

// What the current media holds, once the engine knows.
enum class MediaKind {
    Unknown, // not known yet, or nothing loaded
    Audio, // sound only (album art does not count as video)
    Video, // moving pictures
};

// Identity of one load: every new address handed to the engine gets a fresh one,
// and every report carries the load it belongs to, so a handler can drop reports of
// a load that has since been replaced.
using LoadId = quint64;

// The media engine the player drives. Implementations: the libmpv module and the
// scriptable fake of the tests.
//
// Handlers must trust the state carried by a report, not a getter called afterwards:
// by the time a queued report is handled the engine may already be elsewhere.
class MediaEngine : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The address to play next (a local path or a network address); a new load.
    virtual void setUrl(const QString &url) = 0;
    virtual QString url() const = 0;
    // The load the last setUrl started; 0 before any.
    virtual LoadId currentLoad() const = 0;

    virtual PlayState playState() const = 0;
    // Opens the address when nothing is loaded, else resumes.
    virtual void play() = 0;
    virtual void pause() = 0;
    // Ends the current load without reporting Stopped.
    virtual void stop() = 0;

    // Seconds.
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;
    virtual double duration() const = 0;

    // 0..100.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;
    virtual bool isMuted() const = 0;
    virtual void setMuted(bool muted) = 0;

    // Percent of the cache filled while buffering, 0..100.
    virtual int bufferingProgress() const = 0;
    virtual MediaKind mediaKind() const = 0;

    virtual bool isFullScreen() const = 0;
    virtual void setFullScreen(bool on) = 0;

    // A widget the engine draws video into, child of parent; nullptr when the engine
    // cannot show video. Created once; the engine keeps drawing into it.
    virtual QWidget *createVideoSurface(QWidget *parent)
    {
        Q_UNUSED(parent);
        return nullptr;
    }

Q_SIGNALS:
    void playStateChanged(kivo::PlayState state, kivo::LoadId load);
    // Start and end of a buffering run, with the fill at that moment.
    void buffering(bool start, int percent, kivo::LoadId load);
    // The address could not be played; `reason` says why, as far as the engine knows
    // (its own error, then the last warning it logged).
    void errorOccurred(kivo::LoadId load, const QString &reason);
    void fullScreenChanged(bool on);
};

// The factory the engine module exports, looked up by this name after the first
// window shows: MediaEngine *kivoCreateMediaEngine(QObject *parent, const QStringList &options),
// options being "name=value" engine settings over its defaults (tests: "ao=null").
using MediaEngineFactory = MediaEngine *(*)(QObject *parent, const QStringList &options);
inline constexpr const char *kMediaEngineFactorySymbol = "kivoCreateMediaEngine";

} // namespace kivo
