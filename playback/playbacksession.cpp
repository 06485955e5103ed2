#include "playback/playbacksession.h"

#include "playback/lyricshooks.h"
#include "playback/mediaengine.h"
#include "playback/mprisservice.h"
#include "playback/nowplayingmodel.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "playback/songsourceresolver.h"

namespace kivo {

PlaybackSession::PlaybackSession(
    PlaybackServer *server, PlaybackLibrary *library, LyricsHooks *lyrics, CommandDispatcher *commands, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_commands(commands)
    , m_lyrics(lyrics ? lyrics : &m_noLyrics)
    , m_queue(std::make_unique<PlayQueue>())
    , m_model(std::make_unique<NowPlayingModel>(m_queue.get()))
    , m_resolver(std::make_unique<SongSourceResolver>(m_queue.get(), server, library))
{ }

PlaybackSession::~PlaybackSession() = default;

void PlaybackSession::attachEngine(MediaEngine *engine, bool publishOnSessionBus)
{
    if (!engine || m_player)
        return;
    engine->setParent(nullptr);
    m_engine.reset(engine);
    m_player = std::make_unique<QueuePlayer>(m_queue.get(), engine, m_resolver.get(), m_lyrics, m_library);
    m_player->SetPlayMode(m_mode);
    connect(m_player.get(), &QueuePlayer::playModeChanged, this, [this](PlayMode mode) {
        m_mode = mode;
        Q_EMIT playModeChanged(mode);
    });
    m_control = std::make_unique<PlayerControl>(m_player.get(), m_library);
    if (m_commands) {
        m_control->carryCommands(*m_commands);
        if (publishOnSessionBus) {
            m_mpris = std::make_unique<MprisService>(m_control.get(), m_player.get(), m_commands);
            if (!m_mpris->registerOn())
                m_mpris.reset();
        }
    }
    Q_EMIT engineAttached();
}

void PlaybackSession::SetPlayMode(PlayMode mode)
{
    if (m_player) {
        m_player->SetPlayMode(mode);
        return;
    }
    if (m_mode == mode)
        return;
    m_mode = mode;
    Q_EMIT playModeChanged(mode);
}

} // namespace kivo
