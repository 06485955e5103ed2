#pragma once

#include "playback/mediaengine.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>

#include <atomic>

struct mpv_handle;
struct mpv_event;

namespace kivo {

class MpvVideoSurface;

// The media engine on libmpv. Events are drained on the GUI thread: libmpv's wakeup
// callback only posts a queued call here.
//
// Mapping: loadfile reports Transitioning; playback-restart Playing; pause Paused and,
// on resume, Playing; paused-for-cache yes/no the start and end of a buffering run
// (Buffering, then Playing); end-file eof Stopped; end-file error an error. A stop we
// asked for and a file replaced by the next one report nothing.
class MpvEngine : public MediaEngine
{
    Q_OBJECT
public:
    // options: "name=value" pairs applied over the defaults before start-up.
    explicit MpvEngine(const QStringList &options, QObject *parent = nullptr);
    ~MpvEngine() override;

    bool isValid() const { return m_mpv != nullptr; }

    void setUrl(const QString &url) override;
    QString url() const override { return m_url; }
    LoadId currentLoad() const override { return m_load; }
    PlayState playState() const override { return m_state; }
    void play() override;
    void pause() override;
    void stop() override;
    double position() const override;
    void setPosition(double seconds) override;
    double duration() const override { return m_duration; }
    int volume() const override;
    void setVolume(int volume) override;
    bool isMuted() const override;
    void setMuted(bool muted) override;
    int bufferingProgress() const override { return m_bufferingProgress; }
    MediaKind mediaKind() const override { return m_mediaKind; }
    bool isFullScreen() const override { return m_fullScreen; }
    void setFullScreen(bool on) override;
    QWidget *createVideoSurface(QWidget *parent) override;

    // The last warning libmpv logged for the current load (why a load failed).
    QString lastLogMessage() const { return m_lastLog; }

private:
    void drainEvents();
    void handleEvent(const mpv_event &event);
    void onPropertyChange(const mpv_event &event);
    void report(PlayState state);
    MediaKind detectMediaKind() const;
    void reportError(LoadId load, const QString &url, const QString &engineError);

    mpv_handle *m_mpv = nullptr;
    QPointer<MpvVideoSurface> m_surface;
    std::atomic_bool m_wakeupPosted {false};

    QString m_url;
    LoadId m_load = 0;
    // The playlist entry of the load that is on; 0 when none. End-file events of other
    // entries belong to replaced loads.
    qint64 m_entryId = 0;
    LoadId m_entryLoad = 0;
    bool m_started = false; // playback of the current entry has begun
    // The current entry's "transitioning" is still on its way through the event loop;
    // what the engine reports meanwhile waits for it, so the order stays as it happened.
    bool m_transitionQueued = false;
    bool m_pauseRequested = false;
    bool m_cacheStall = false;
    PlayState m_state = PlayState::Undefined;
    double m_duration = 0;
    int m_bufferingProgress = 0;
    MediaKind m_mediaKind = MediaKind::Unknown;
    bool m_fullScreen = false;
    QString m_lastLog;
    // The last position read from the engine while playing. Between reads the position
    // is carried on with the clock: a read waits on the engine's own thread, and some
    // sound outputs move the engine's position only in steps of about 50 ms.
    struct PositionReading
    {
        bool valid = false;
        double seconds = 0;
        qint64 atNs = 0;
    };
    mutable PositionReading m_reading;
    QElapsedTimer m_positionClock;
};

} // namespace kivo
