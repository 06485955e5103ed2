#include "playback/playbacksession.h"

#include "playback/lyricshooks.h"
#include "playback/mediaengine.h"
#include "playback/mprisservice.h"
#include "playback/nowplayingmodel.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "playback/songsourceresolver.h"

#include <algorithm>
#include <iterator>

namespace kivo {

PlaybackSession::PlaybackSession(PlaybackServer *server, PlaybackLibrary *library, LyricsHooks *lyrics, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_lyrics(lyrics)
    , m_queue(new PlayQueue(this))
    , m_model(new NowPlayingModel(m_queue, this))
    , m_resolver(new SongSourceResolver(m_queue, server, library, this))
{
    if (!m_lyrics) {
        m_noLyrics = std::make_unique<LyricsHooks>();
        m_lyrics = m_noLyrics.get();
    }
}

PlaybackSession::~PlaybackSession()
{
    // The player and its controls go before the engine they drive.
    delete m_mpris;
    delete m_control;
    delete m_player;
    delete m_engine;
}

void PlaybackSession::attachEngine(MediaEngine *engine, bool publishOnSessionBus)
{
    if (!engine || m_player)
        return;
    m_engine = engine;
    m_engine->setParent(nullptr);
    m_player = new QueuePlayer(m_queue, engine, m_resolver, m_lyrics, m_library);
    m_player->SetPlayMode(m_mode);
    connect(m_player, &QueuePlayer::playModeChanged, this, [this](PlayMode mode) {
        m_mode = mode;
        Q_EMIT playModeChanged(mode);
    });
    m_control = new PlayerControl(m_player, m_library);
    if (publishOnSessionBus) {
        m_mpris = new MprisService(m_control, m_player);
        if (!m_mpris->registerOn()) {
            delete m_mpris;
            m_mpris = nullptr;
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

bool PlaybackSession::PressButton(int n)
{
    static constexpr int playbackButtons[] = {0, 1, 2, 3, 8, 20};
    if (std::find(std::begin(playbackButtons), std::end(playbackButtons), n) == std::end(playbackButtons))
        return false;
    if (m_control)
        m_control->PressButton(n);
    return true;
}

} // namespace kivo
