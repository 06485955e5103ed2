#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <QColor>

#include <memory>
#include <optional>

namespace kivo {

enum class PlayButtonState;
class EntryLyrics;
class Knob;
class LyricLineWidget;
class LyricsController;
class MainWindow;
class MiniPlayer;
class PlaybackSession;
class ServerClientSource;
class SongRowCommands;
class VideoDisplay;

// How the media engine is brought in; the program uses the defaults.
struct PlaybackViewsOptions
{
    QStringList engineOptions; // "name=value" engine settings (tests: "ao=null")
    QString engineModuleDir; // empty: beside the program
    bool publishOnSessionBus = true;
    // Load the engine once the start-up sequence has finished (after the first window).
    bool loadEngineAfterStartup = true;
};

// The playing side of the main window: the playback session with its lyrics steps,
// the lyric line, the knobs, the transport buttons' pictures, the video pane, the
// song-row and library-list commands, and the mini player. Made right after the
// main window, before it shows; the mini player, which the first frame does not
// show, follows that frame.
class PlaybackViews : public QObject
{
    Q_OBJECT
public:
    explicit PlaybackViews(MainWindow *window, PlaybackViewsOptions options = {});
    ~PlaybackViews() override;

    PlaybackSession *session() const { return m_session.get(); }
    LyricsController *lyrics() const { return m_lyrics; }
    LyricLineWidget *lyricLine() const { return m_line; }
    Knob *volumeKnob() const { return m_volume; }
    Knob *positionKnob() const { return m_position; }
    Knob *offsetKnob() const { return m_offset; }
    // Made after the main window's first frame, or at once when asked for before.
    MiniPlayer *miniPlayer();
    // The mini player if it is made yet (never makes it).
    MiniPlayer *builtMiniPlayer() const { return m_mini.get(); }
    SongRowCommands *songRowCommands() const { return m_commands; }
    // Null until the engine is there.
    VideoDisplay *videoDisplay() const;

    // Ctrl+Up/Down: the volume by delta, on the engine and both windows' knobs.
    void stepVolume(int delta);

    // Loads and attaches the media engine now; false when it could not be loaded.
    bool loadEngine();
    QString engineError() const { return m_engineError; }
    // What the lyric line says when a song should play and there is no engine.
    static QString engineMissingText() { return u"播放引擎未能加载"_qs; }
    // What the lyric line says once when the web panes' module could not be loaded.
    static QString webPanesMissingText() { return u"网页组件未能加载"_qs; }

Q_SIGNALS:
    void engineReady(bool loaded);
    // The mini player was made; what it shares with the main window attaches here.
    void miniPlayerBuilt(MiniPlayer *mini);

private:
    void buildLyricDeck();
    void buildKnobs();
    void wireWindow();
    void wireMiniPlayer();
    void buildMiniPlayer();
    void wireWindowToMiniPlayer();
    void wireControl();
    void applySettings();
    void showScreen();
    void showPlayButton(PlayButtonState state);
    void showMute(bool muted);
    void showVideo(const QString &statusText);
    void hideVideo();
    void setVolume(int volume);
    void seek(double seconds);

    MainWindow *m_window;
    PlaybackViewsOptions m_options;
    LyricsController *m_lyrics = nullptr;
    std::unique_ptr<ServerClientSource> m_server;
    std::unique_ptr<EntryLyrics> m_entryLyrics;
    std::unique_ptr<PlaybackSession> m_session;
    LyricLineWidget *m_line = nullptr;
    QWidget *m_offsetDeck = nullptr; // bc's groove under the lyric line
    Knob *m_volume = nullptr;
    Knob *m_position = nullptr;
    Knob *m_offset = nullptr;
    std::unique_ptr<MiniPlayer> m_mini;
    // What the mini player mirrors, kept while it is not made yet.
    struct MiniMirror
    {
        int volume = -1;
        int playButtonState = 0;
        bool muted = false;
        std::optional<QColor> highlight;
    } m_miniMirror;
    SongRowCommands *m_commands = nullptr;
    QPointer<VideoDisplay> m_video;
    QString m_engineError;
    bool m_engineTried = false;
    int m_frontTab = -1;
};

} // namespace kivo
