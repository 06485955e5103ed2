#include "playback/playbacksession.h"

#include "core/commanddispatcher.h"
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
    , m_player(std::make_unique<QueuePlayer>(m_queue.get(), nullptr, m_resolver.get(), m_lyrics, m_library))
{
    connect(m_player.get(), &QueuePlayer::playModeChanged, this, &PlaybackSession::playModeChanged);
    connect(m_player.get(), &QueuePlayer::engineNeeded, this, [this] {
        if (m_engineLoader)
            m_engineLoader();
    });
    connect(m_player.get(), &QueuePlayer::engineMissing, this, &PlaybackSession::engineMissing);
    if (!m_commands)
        return;
    // Until the engine's controls carry them: the steps work on the queue, and the play
    // button brings the engine in or says that there is none.
    QueuePlayer *player = m_player.get();
    m_commands->setHandler(PlayerCommand::Previous, this, [player] { player->StepPrevious(); });
    m_commands->setHandler(PlayerCommand::Next, this, [player] { player->StepNext(); });
    m_commands->setHandler(PlayerCommand::PlayPause, this, [this] {
        if (!m_control && m_engineLoader)
            m_engineLoader();
        if (m_control)
            m_control->playPause();
        else if (m_queue->hasSongs())
            Q_EMIT engineMissing();
    });
}

PlaybackSession::~PlaybackSession() = default;

void PlaybackSession::attachEngine(MediaEngine *engine, bool publishOnSessionBus)
{
    if (!engine || m_engine)
        return;
    engine->setParent(nullptr);
    m_engine.reset(engine);
    m_player->attachEngine(engine);
    m_control = std::make_unique<PlayerControl>(m_player.get(), m_library);
    if (m_commands) {
        m_control->carryCommands(*m_commands);
        // Asking for a session bus the environment does not name may start one.
        if (publishOnSessionBus && !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
            m_mpris = std::make_unique<MprisService>(m_control.get(), m_player.get(), m_commands);
            if (!m_mpris->registerOn())
                m_mpris.reset();
        }
    }
    Q_EMIT engineAttached();
}

void PlaybackSession::SetPlayMode(PlayMode mode)
{
    m_player->SetPlayMode(mode);
}

} // namespace kivo
