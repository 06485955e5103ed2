#pragma once

#include "playback/mediaengine.h"

#include <QStringList>

namespace kivo {

// A media engine for the tests, driven by hand: it records what it is asked to do and reports
// only what the test tells it to report.
class FakeMediaEngine : public MediaEngine
{
    Q_OBJECT
public:
    using MediaEngine::MediaEngine;

    void setUrl(const QString &url) override;
    QString url() const override { return m_url; }
    LoadId currentLoad() const override { return m_load; }
    PlayState playState() const override { return m_state; }
    void play() override;
    void pause() override;
    void stop() override;
    double position() const override { return m_position; }
    void setPosition(double seconds) override { m_position = seconds; }
    double duration() const override { return m_duration; }
    int volume() const override { return m_volume; }
    void setVolume(int volume) override { m_volume = volume; }
    bool isMuted() const override { return m_muted; }
    void setMuted(bool muted) override;
    int bufferingProgress() const override { return m_progress; }
    MediaKind mediaKind() const override { return m_mediaKind; }
    bool isFullScreen() const override { return m_fullScreen; }
    void setFullScreen(bool on) override;

    // Script: what the engine should look like from now on.
    void setState(PlayState state) { m_state = state; }
    void setBufferingProgress(int percent) { m_progress = percent; }
    void setMediaKind(MediaKind kind) { m_mediaKind = kind; }
    void setDuration(double seconds) { m_duration = seconds; }

    // Script: reports of the current load (or of a given one).
    void reportState(PlayState state) { reportStateOf(m_load, state); }
    void reportStateOf(LoadId load, PlayState state);
    void reportBuffering(bool start, int percent);
    void reportError(const QString &reason = QStringLiteral("loading failed")) { Q_EMIT errorOccurred(m_load, reason); }

    // Every call made, e.g. "url http://a", "stop", "play", "pause", "mute 1".
    QStringList calls;
    // Addresses handed over by setUrl, in order.
    QStringList urls;

private:
    QString m_url;
    LoadId m_load = 0;
    PlayState m_state = PlayState::Undefined;
    double m_position = 0;
    double m_duration = 0;
    int m_volume = 100;
    bool m_muted = false;
    int m_progress = 0;
    MediaKind m_mediaKind = MediaKind::Unknown;
    bool m_fullScreen = false;
};

} // namespace kivo
