#pragma once

#include "playback/lyricshooks.h"
#include "playback/queueplayer.h"

#include <QObject>

#include <functional>
#include <memory>

namespace kivo {

class CommandDispatcher;
class MediaEngine;
class MprisService;
class NowPlayingModel;
class PlaybackLibrary;
class PlaybackServer;
class PlayerControl;
class PlayQueue;
class SongSourceResolver;

// Everything of playback the main window owns. The queue, its page model, the source
// resolver and the queue player exist from the start (every queue command works at
// once); the engine and the controls that drive it come when the engine module has
// been loaded after the first window showed, or earlier when a start needs it.
class PlaybackSession : public QObject
{
    Q_OBJECT
public:
    // `commands` is where the player's transport commands are carried out once the
    // engine is there; without one (tests) nothing is registered.
    PlaybackSession(PlaybackServer *server, PlaybackLibrary *library, LyricsHooks *lyrics,
        CommandDispatcher *commands = nullptr, QObject *parent = nullptr);
    ~PlaybackSession() override;

    PlayQueue *queue() const { return m_queue.get(); }
    NowPlayingModel *nowPlayingModel() const { return m_model.get(); }
    SongSourceResolver *resolver() const { return m_resolver.get(); }
    // Null until attachEngine.
    MediaEngine *engine() const { return m_engine.get(); }
    QueuePlayer *player() const { return m_player.get(); }
    // Null until attachEngine.
    PlayerControl *control() const { return m_control.get(); }
    MprisService *mpris() const { return m_mpris.get(); }

    // Takes the engine (the session owns it from now on, outside any QObject parent)
    // and builds the player on it. The play mode chosen before carries over. The
    // transport commands go to the player from now on; MPRIS is registered when a
    // session bus is there.
    void attachEngine(MediaEngine *engine, bool publishOnSessionBus = true);
    bool hasEngine() const { return m_engine != nullptr; }
    // Loads and attaches the engine when a start needs it before it came; false when
    // it cannot be loaded.
    void setEngineLoader(std::function<bool()> loader) { m_engineLoader = std::move(loader); }

    void SetPlayMode(PlayMode mode);
    PlayMode playMode() const { return m_player->playMode(); }

Q_SIGNALS:
    void engineAttached();
    void playModeChanged(kivo::PlayMode mode);
    // A play request found no engine: nothing plays.
    void engineMissing();

private:
    PlaybackLibrary *m_library;
    CommandDispatcher *m_commands;
    LyricsHooks m_noLyrics; // the steps that do nothing, when none are given
    LyricsHooks *m_lyrics;
    std::function<bool()> m_engineLoader;
    // In the order they depend on each other; they go in reverse.
    std::unique_ptr<PlayQueue> m_queue;
    std::unique_ptr<NowPlayingModel> m_model;
    std::unique_ptr<SongSourceResolver> m_resolver;
    std::unique_ptr<MediaEngine> m_engine;
    std::unique_ptr<QueuePlayer> m_player;
    std::unique_ptr<PlayerControl> m_control;
    std::unique_ptr<MprisService> m_mpris;
};

} // namespace kivo
