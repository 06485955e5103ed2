#include "playback/playercontrol.h"

#include "core/commanddispatcher.h"
#include "core/logging.h"
#include "playback/playbacklibrary.h"
#include "playback/playqueue.h"
#include "playback/queueplayer.h"
#include "playback/songsourceresolver.h"

using namespace Qt::Literals::StringLiterals;

namespace kivo {

PlayerControl::PlayerControl(QueuePlayer *player, PlaybackLibrary *library, QObject *parent)
    : QObject(parent)
    , m_player(player)
    , m_engine(player->engine())
    , m_library(library)
    , m_statusText(welcomeText())
{
    connect(m_engine, &MediaEngine::playStateChanged, this, &PlayerControl::onPlayState);
    connect(m_engine, &MediaEngine::buffering, this, &PlayerControl::onBuffering);
    connect(m_engine, &MediaEngine::errorOccurred, this, &PlayerControl::onError);
    connect(&m_watchdog, &LoadWatchdog::ticked, this, &PlayerControl::watchdogTick);
    connect(m_player, &QueuePlayer::stopRequested, this, &PlayerControl::stop);
    // A new start: the time of the song before it is no longer shown.
    connect(m_player, &QueuePlayer::entryStarting, this, [this] {
        setLyricTimer(false);
        setPositionText(u"00:00"_s);
    });
    connect(m_player, &QueuePlayer::indicatorsReset, this, [this] {
        m_watchdog.resetCount();
        setButton(PlayButtonState::Idle);
    });
}

QString PlayerControl::welcomeText()
{
    return u"Kivo欢迎您，祝您愉快。"_s;
}

void PlayerControl::carryCommands(CommandDispatcher &commands)
{
    QueuePlayer *player = m_player;
    commands.setHandler(PlayerCommand::PlayPause, this, [this] { playPause(); });
    commands.setHandler(PlayerCommand::Previous, this, [player] { player->StepPrevious(); });
    commands.setHandler(PlayerCommand::Next, this, [player] { player->StepNext(); });
    commands.setHandler(PlayerCommand::Mute, this, [this] { toggleMute(); });
    commands.setHandler(PlayerCommand::Stop, this, [this] { stop(); });
    commands.setHandler(PlayerCommand::ShowVideo, this, [this] { showVideo(); });
}

void PlayerControl::playPause()
{
    if (m_button == PlayButtonState::Opening || m_button == PlayButtonState::Resumed) {
        if (m_engine->playState() == PlayState::Playing) {
            m_engine->pause();
            setButton(PlayButtonState::Paused);
        }
        return;
    }
    if (!m_engine->url().isEmpty() && m_engine->playState() == PlayState::Paused) {
        m_engine->play();
        setButton(PlayButtonState::Resumed);
        return;
    }
    PlayQueue *queue = m_player->queue();
    if (!queue->hasSongs())
        return;
    int index = m_player->currentIndex();
    if (!queue->contains(index))
        index = 0;
    if (queue->at(index).title.isEmpty()) {
        // An empty slot: start the first entry with a title instead.
        for (int i = 0; i <= queue->highest(); ++i) {
            if (!queue->at(i).title.isEmpty()) {
                index = i;
                break;
            }
        }
    }
    m_player->setCurrentIndex(index);
    m_player->PlayEntry(index, false);
}

void PlayerControl::stop()
{
    m_engine->stop();
    setLyricTimer(false);
    m_player->cancelAdvance();
    m_watchdog.stop();
    Q_EMIT stopped();
    setStatus(StatusKind::Welcome, welcomeText());
    setPositionText(u"00:00"_s);
    setButton(PlayButtonState::Idle);
}

void PlayerControl::toggleMute()
{
    m_muted = !m_muted;
    m_engine->setMuted(m_muted);
    Q_EMIT muteChanged(m_muted);
}

void PlayerControl::showVideo()
{
    if (m_engine->playState() != PlayState::Playing || !engineShowsVideo())
        return;
    Q_EMIT videoShown(m_player->currentTitle() + u"视频显示"_s);
}

void PlayerControl::setVolume(int volume)
{
    m_engine->setVolume(qBound(0, volume, 100));
}

void PlayerControl::setPosition(double seconds)
{
    m_engine->setPosition(qMax(0.0, seconds));
}

bool PlayerControl::isCurrentLoad(LoadId load) const
{
    return load != 0 && load == m_player->activeLoad();
}

bool PlayerControl::engineShowsVideo() const
{
    return m_engine->mediaKind() == MediaKind::Video;
}

void PlayerControl::onPlayState(PlayState state, LoadId load)
{
    if (!isCurrentLoad(load))
        return; // a report of a load that has been replaced
    const QString title = m_player->currentTitle();
    switch (state) {
    case PlayState::Transitioning:
        if (m_engine->isFullScreen())
            m_engine->setFullScreen(false);
        setStatus(StatusKind::Locating, u"查找定位:"_s + title);
        setButton(PlayButtonState::Opening);
        m_watchdog.restart();
        break;
    case PlayState::Stopped:
        setLyricTimer(false);
        m_player->armAdvance();
        break;
    case PlayState::Buffering:
        if (engineShowsVideo())
            Q_EMIT videoLoading();
        setStatus(StatusKind::Loading, u"正在加载:"_s + title);
        break;
    case PlayState::Playing:
        onPlaying();
        break;
    default:
        break;
    }
}

void PlayerControl::onPlaying()
{
    // The report said "playing": button 20's check needs no second look at the engine.
    if (engineShowsVideo())
        Q_EMIT videoShown(m_player->currentTitle() + u"视频显示"_s);
    setPositionText(QString());
    setLyricTimer(true);

    if (!m_player->activeEntryIntact())
        return;
    const int index = m_player->activeIndex();
    QueueEntry &entry = m_player->queue()->at(index);
    // Every return to playing (after a pause or an underrun) shows the title again and
    // ends the load watchdog.
    setStatus(StatusKind::Title, entry.title);
    m_watchdog.stop();

    // The address, the history and the report run once per load.
    const LoadId load = m_player->activeLoad();
    if (m_settledLoad == load)
        return;
    m_settledLoad = load;
    entry.locator = m_player->activeAddress();
    m_player->queue()->touch(index);
    if (m_historyEnabled && entry.kind != SongKind::History && m_library) {
        if (const auto day = m_library->recordHistory(entry))
            Q_EMIT historyDayAdded(day->id, day->caption);
    }
    const bool announce = m_player->activeStart() != m_announcedStart;
    m_announcedStart = m_player->activeStart();
    // A catalogue song's search text is "song+singer".
    const QString title = entry.title;
    const qsizetype plus = entry.url2.indexOf(u'+');
    const QString singer = plus < 0 ? QString() : entry.url2.mid(plus + 1).trimmed();
    m_player->resolver()->ReportPlayedAddress(index, m_player->activeAddress());
    if (announce)
        Q_EMIT songStarted(title, singer);
}

void PlayerControl::onBuffering(bool start, int percent, LoadId load)
{
    if (!isCurrentLoad(load))
        return;
    if (start) {
        Q_EMIT advertisingPageRequested(u"webgg.asp"_s);
        setStatus(StatusKind::LoadingPercent, u"正在载入("_s + QString::number(percent) + u"%)"_s);
        m_watchdog.start();
        return;
    }
    if (percent < 31) {
        m_watchdog.resetCount();
        setButton(PlayButtonState::Opening);
        retryCurrent();
    }
}

void PlayerControl::onError(LoadId load, const QString &reason)
{
    Q_UNUSED(reason); // the engine has logged it
    if (!isCurrentLoad(load))
        return;
    setStatus(StatusKind::Relocating, u"重新定位:"_s + m_player->currentTitle());
    setButton(PlayButtonState::Idle);
    retryCurrent();
}

void PlayerControl::retryCurrent()
{
    const int index = m_player->activeIndex() >= 0 ? m_player->activeIndex() : m_player->currentIndex();
    m_player->PlayEntry(index, true);
}

void PlayerControl::watchdogTick()
{
    if (!m_watchdog.isRunning())
        return;
    WatchdogView view;
    view.state = m_engine->playState();
    view.bufferingProgress = m_engine->bufferingProgress();
    view.locating = m_statusKind == StatusKind::Locating;
    view.video = engineShowsVideo();
    const WatchdogStep step = m_watchdog.step(view);
    if (step.showProgress) {
        setStatus(StatusKind::LoadingPercent, u"正在载入("_s + QString::number(step.progress) + u"%)"_s);
        setPositionText(u"["_s + QString::number(step.elapsedPercent) + u"%]"_s);
    }
    if (!step.giveUp)
        return;
    qCWarning(lcEngine).noquote() << "gave up on" << m_player->activeAddress() << "after" << m_watchdog.count() * 200
                                  << "ms without playing";
    m_player->markPendingFailed();
    // The engine would otherwise keep waiting on the dead address in the background.
    m_engine->stop();
    if (m_retryOnTimeout)
        retryCurrent();
    else
        m_player->armAdvance();
}

void PlayerControl::setStatus(StatusKind kind, const QString &text)
{
    m_statusKind = kind;
    m_statusText = text;
    Q_EMIT statusTextChanged(text);
}

void PlayerControl::setPositionText(const QString &text)
{
    m_positionText = text;
    Q_EMIT positionTextChanged(text);
}

void PlayerControl::setButton(PlayButtonState state)
{
    m_button = state;
    Q_EMIT playButtonStateChanged(state);
}

void PlayerControl::setLyricTimer(bool on)
{
    m_lyricTimer = on;
    Q_EMIT lyricTimerChanged(on);
}

} // namespace kivo
