#pragma once

#include "playback/loadwatchdog.h"
#include "playback/mediaengine.h"

#include <QObject>

namespace kivo {

class CommandDispatcher;
class QueuePlayer;
class PlaybackLibrary;

// The play button of both windows; each state has its image (Idle and Paused the play
// image, Opening and Resumed the pause image).
enum class PlayButtonState { Idle = 0, Paused = 1, Opening = 2, Resumed = 3 };

// What the lyric line says about loading.
enum class StatusKind { Welcome, Locating, Loading, LoadingPercent, Relocating, Title };

// The transport buttons, the engine's reports and the load watchdog.
class PlayerControl : public QObject
{
    Q_OBJECT
public:
    PlayerControl(QueuePlayer *player, PlaybackLibrary *library, QObject *parent = nullptr);

    // Carries the transport commands from now on: play/pause, previous, next, mute,
    // stop and the video display.
    void carryCommands(CommandDispatcher &commands);
    void playPause();
    void stop();
    void toggleMute();
    void showVideo();
    // Knobs: volume 0..100, position in seconds.
    void setVolume(int volume);
    void setPosition(double seconds);

    // Settings.
    void setLoadTimeoutSeconds(int seconds) { m_watchdog.setTimeoutSeconds(seconds); }
    void setRetryOnTimeout(bool on) { m_retryOnTimeout = on; }
    void setHistoryEnabled(bool on) { m_historyEnabled = on; }

    PlayButtonState playButtonState() const { return m_button; }
    bool isMuted() const { return m_muted; }
    QString statusText() const { return m_statusText; }
    StatusKind statusKind() const { return m_statusKind; }
    QString positionText() const { return m_positionText; }
    bool lyricTimerEnabled() const { return m_lyricTimer; }
    LoadWatchdog &watchdog() { return m_watchdog; }
    // One watchdog tick against the engine as it is now.
    void watchdogTick();

    static QString welcomeText();

Q_SIGNALS:
    // The lyric line (Label4) with its highlight emptied; the mini player copies it.
    void statusTextChanged(const QString &text);
    // The position readout (Label3, the mini player's Label1).
    void positionTextChanged(const QString &text);
    void playButtonStateChanged(kivo::PlayButtonState state);
    void muteChanged(bool muted);
    // Timer1 (lyric line and position readouts).
    void lyricTimerChanged(bool enabled);
    // Stop: the lyric line's labels and the position knobs go back to their start.
    void stopped();
    // The playing media is a video: hide the advertising pane and the active result
    // tab, show title & "视频显示" in the result status label.
    void videoShown(const QString &statusText);
    // A video is loading: show the picture box and the advertising pane.
    void videoLoading();
    // Buffering started: point the advertising pane at this server page.
    void advertisingPageRequested(const QString &pagePath);
    // A history record added a new day: add node "d" & id under "d0".
    void historyDayAdded(qint32 id, const QString &caption);
    // A started song plays for the first time: once per start, not again when a
    // retry of the same start or a return from a pause plays.
    void songStarted(const QString &title, const QString &singer);

private:
    void onPlayState(PlayState state, LoadId load);
    void onBuffering(bool start, int percent, LoadId load);
    void onError(LoadId load, const QString &reason);
    void onPlaying();
    bool isCurrentLoad(LoadId load) const;
    bool engineShowsVideo() const;
    void setStatus(StatusKind kind, const QString &text);
    void setPositionText(const QString &text);
    void setButton(PlayButtonState state);
    void setLyricTimer(bool on);
    void retryCurrent();

    QueuePlayer *m_player;
    MediaEngine *m_engine;
    PlaybackLibrary *m_library;
    LoadWatchdog m_watchdog;
    PlayButtonState m_button = PlayButtonState::Idle;
    bool m_muted = false;
    bool m_retryOnTimeout = true;
    bool m_historyEnabled = true;
    bool m_lyricTimer = false;
    StatusKind m_statusKind = StatusKind::Welcome;
    QString m_statusText;
    QString m_positionText;
    // The load whose playing-state work (address, history, report) is done.
    LoadId m_settledLoad = 0;
    quint64 m_announcedStart = 0;
};

} // namespace kivo
