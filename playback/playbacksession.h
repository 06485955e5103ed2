#pragma once

#include "playback/queueplayer.h"

#include <QObject>

#include <memory>

namespace kivo {

class LyricsHooks;
class MediaEngine;
class MprisService;
class NowPlayingModel;
class PlaybackLibrary;
class PlaybackServer;
class PlayerControl;
class PlayQueue;
class SongSourceResolver;

// Everything of playback the main window owns. The queue, its page model and the
// source resolver exist from the start (imports and "清空" use the queue at once);
// the player and its controls come when the engine module has been loaded after the
// first window showed.
class PlaybackSession : public QObject
{
    Q_OBJECT
public:
    PlaybackSession(PlaybackServer *server, PlaybackLibrary *library, LyricsHooks *lyrics, QObject *parent = nullptr);
    ~PlaybackSession() override;

    PlayQueue *queue() const { return m_queue; }
    NowPlayingModel *nowPlayingModel() const { return m_model; }
    SongSourceResolver *resolver() const { return m_resolver; }
    // Null until attachEngine.
    MediaEngine *engine() const { return m_engine; }
    QueuePlayer *player() const { return m_player; }
    PlayerControl *control() const { return m_control; }
    MprisService *mpris() const { return m_mpris; }

    // Takes the engine (parented to this session) and builds the player on it. The
    // play mode chosen before carries over. Registers MPRIS when a session bus is there.
    void attachEngine(MediaEngine *engine, bool publishOnSessionBus = true);
    bool hasEngine() const { return m_player != nullptr; }

    // The mode menu works before the engine is there.
    void SetPlayMode(PlayMode mode);
    PlayMode playMode() const { return m_mode; }
    // PressButton for playback's buttons; false when n is not one of them. Before the
    // engine is there they do nothing.
    bool PressButton(int n);

Q_SIGNALS:
    void engineAttached();
    void playModeChanged(kivo::PlayMode mode);

private:
    PlaybackLibrary *m_library;
    LyricsHooks *m_lyrics;
    std::unique_ptr<LyricsHooks> m_noLyrics;
    PlayQueue *m_queue;
    NowPlayingModel *m_model;
    SongSourceResolver *m_resolver;
    MediaEngine *m_engine = nullptr;
    QueuePlayer *m_player = nullptr;
    PlayerControl *m_control = nullptr;
    MprisService *m_mpris = nullptr;
    PlayMode m_mode = PlayMode::NoRepeat;
};

} // namespace kivo
