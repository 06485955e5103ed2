#include "shell/ui/playbackviews.h"

#include "core/commanddispatcher.h"
#include "lyrics/lyricscontroller.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "online/resultpages.h"
#include "online/ui/resultarea.h"
#include "playback/entrylyrics.h"
#include "playback/mediaengine.h"
#include "playback/mediaengineloader.h"
#include "playback/playbacksession.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "playback/serverclientsource.h"
#include "playback/songsourceresolver.h"
#include "playback/ui/videodisplay.h"
#include "shell/libraryaccess.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/songrowcommands.h"
#include "skin/knob.h"
#include "skin/knobbinding.h"
#include "skin/skin.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace kivo {

namespace {

// Places on the 610 × 450 face, in pixels.
const QRect kLyricLine {16, 350, 470, 40};
const QRect kVideoPlace {176, 64, 424, 238};
constexpr QSize kKnobSize {12, 11};
constexpr int kKnobY = 410; // the knobs' top; the grooves run through their middle
constexpr QSize kOffsetKnobSize {10, 6};
// bc's track lies under the lyric line; its layout counts from this deck's left.
const QRect kOffsetDeck {14, 389, 172, 6};
// The engine loads when start-up has finished, at the latest this long after the window is made.
constexpr int kEngineFallbackMs = 5000;

// A recessed groove a knob slides along, drawn under it.
class KnobGroove : public QWidget
{
public:
    KnobGroove(const KnobTrack &track, QSize knob, int y, QWidget *parent)
        : QWidget(parent)
    {
        setGeometry(Knob::grooveRect(track, knob, y).toRect());
        setAttribute(Qt::WA_TransparentForMouseEvents);
        lower();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        Skin::paintGroove(painter, QRectF(rect()));
    }
};

// The deck of the lyric offset knob: its groove and neutral mark while it shows.
class OffsetDeck : public QWidget
{
public:
    using QWidget::QWidget;
    bool grooveShown = false;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!grooveShown)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        Skin::paintGroove(painter, Knob::grooveRect(LyricOffsetKnob::kMain.track, kOffsetKnobSize, 0));
        const qreal neutral = twipsToPixels(LyricOffsetKnob::kMain.neutral) + kOffsetKnobSize.width() / 2.0;
        painter.setPen(QPen(Skin::kDimText, 1));
        painter.drawLine(QPointF(neutral, 0), QPointF(neutral, height()));
    }
};

bool showsPause(PlayButtonState state)
{
    return state == PlayButtonState::Opening || state == PlayButtonState::Resumed;
}

} // namespace

PlaybackViews::PlaybackViews(MainWindow *window, PlaybackViewsOptions options)
    : QObject(window)
    , m_window(window)
    , m_options(std::move(options))
{
    const MainWindowContext &ctx = window->context();
    m_lyrics = new LyricsController(this);
    m_server = std::make_unique<ServerClientSource>(ctx.server);
    const ProgramState *state = ctx.state;
    m_entryLyrics = std::make_unique<EntryLyrics>(
        m_lyrics, ctx.server, ctx.library, [state] { return state ? state->settings.localLyricsEnabled : true; });
    m_session = std::make_unique<PlaybackSession>(m_server.get(), ctx.library, m_entryLyrics.get(), window->commands());
    m_session->setEngineLoader([this] { return loadEngine(); });

    buildLyricDeck();
    buildKnobs();
    m_commands = new SongRowCommands(window, m_session.get(), this);
    wireWindow();
    wireWindowToMiniPlayer();
    connect(m_session.get(), &PlaybackSession::engineAttached, this, &PlaybackViews::wireControl);
    showScreen();
}

PlaybackViews::~PlaybackViews()
{
    // The engine goes with the session; the lyric timer must not read it after.
    m_lyrics->stopTicking();
    m_lyrics->setClock({});
}

VideoDisplay *PlaybackViews::videoDisplay() const
{
    return m_video.data();
}

void PlaybackViews::buildLyricDeck()
{
    m_line = new LyricLineWidget({u"Label4"_qs, u"Label8"_qs, u"Label2"_qs}, m_window);
    m_line->setGeometry(kLyricLine);
    m_line->follow(m_lyrics, LyricLineWidget::Window::Main);
    connect(m_lyrics, &LyricsController::screenChanged, this, &PlaybackViews::showScreen);
}

void PlaybackViews::buildKnobs()
{
    new KnobGroove(KnobTracks::mainVolume, kKnobSize, kKnobY, m_window);
    new KnobGroove(KnobTracks::mainPosition, kKnobSize, kKnobY, m_window);
    m_volume = Knob::create(m_window, u"bf9"_qs, u"音量"_qs, kKnobSize, kKnobY, KnobTracks::mainVolume.maxLeft);
    m_position
        = Knob::create(m_window, u"bf10"_qs, u"播放进度"_qs, kKnobSize, kKnobY, KnobTracks::mainPosition.minLeft);

    auto *deck = new OffsetDeck(m_window);
    deck->setGeometry(kOffsetDeck);
    m_offsetDeck = deck;
    m_offset = Knob::create(deck, u"bc"_qs, u"歌词偏移"_qs, kOffsetKnobSize, 0, LyricOffsetKnob::kMain.neutral);
    m_offset->setToolTip(u"拖动调整歌词快慢，双击恢复"_qs);

    new SlideKnobBinding(m_volume, KnobTracks::mainVolume, [this](int left) {
        const int volume = volumeForKnob(KnobTracks::mainVolume, left);
        if (PlayerControl *control = m_session->control())
            control->setVolume(volume);
        m_miniMirror.volume = volume;
        if (m_mini)
            m_mini->setVolume(volume);
    });
    new SlideKnobBinding(m_position, KnobTracks::mainPosition, [this](int left) {
        const PlaybackClock clock = m_lyrics->clock();
        if (clock.durationSeconds > 0) // something is loaded
            seek(positionForKnob(KnobTracks::mainPosition, left, clock.durationSeconds));
    });
    auto *offset = new OffsetKnobBinding(m_offset, LyricOffsetKnob::kMain, &m_lyrics->lyricsOffsetTenths());
    offset->setParent(this);
    connect(offset, &OffsetKnobBinding::visibilityChanged, this, [this, deck](bool visible) {
        m_line->setKnobMark(visible);
        deck->grooveShown = visible;
        deck->update();
    });
    connect(m_line, &LyricLineWidget::clicked, offset, &OffsetKnobBinding::toggle);
}

void PlaybackViews::wireWindow()
{
    MainWindow *w = m_window;
    connect(w, &MainWindow::timeReadoutClicked, m_lyrics, &LyricsController::flipReadoutMode);
    connect(w, &MainWindow::settingsApplied, this, &PlaybackViews::applySettings);
    connect(w, &MainWindow::aboutToQuit, this, [this] {
        m_lyrics->stopTicking();
        if (MediaEngine *engine = m_session->engine())
            engine->stop();
        if (m_mini)
            m_mini->hide();
    });
    if (w->firstFrameShown())
        buildMiniPlayer();
    else
        connect(w, &MainWindow::firstFrameDrawn, this, [this] { miniPlayer(); });
    if (m_options.loadEngineAfterStartup) {
        // After the first window: the engine module takes a while to load. A start-up
        // that waits long on the server must not keep the player silent.
        connect(w, &MainWindow::startupSequenceFinished, this,
            [this] { QTimer::singleShot(0, this, [this] { loadEngine(); }); });
        QTimer::singleShot(kEngineFallbackMs, this, [this] {
            if (m_window->isVisible() || m_window->startupFinished())
                loadEngine();
        });
    }

    // The address search can take long: the busy overlay shows that the player works.
    SongSourceResolver *resolver = m_session->resolver();
    connect(resolver, &SongSourceResolver::busyShown, w, &MainWindow::ShowBusy);
    connect(resolver, &SongSourceResolver::busyHidden, w, &MainWindow::HideBusy);
    // A new start: the readouts and knobs leave the song before it.
    connect(m_session->player(), &QueuePlayer::entryStarting, m_lyrics, &LyricsController::resetPosition);
    connect(m_session.get(), &PlaybackSession::engineMissing, this,
        [this] { m_lyrics->showCaption(engineMissingText(), true); });
    connect(w->online(), &OnlineViews::webPanesMissing, this,
        [this] { m_lyrics->showCaption(webPanesMissingText(), true); });

    OnlineViews *online = w->online();
    connect(online, &OnlineViews::songRowActivated, m_session->player(), &QueuePlayer::PlaySongRow);
    PlayQueue *queue = m_session->queue();
    online->setNowPlayingProvider([queue] {
        QList<NowPlayingItem> items;
        for (int i = 0; i <= queue->highest(); ++i) {
            const QueueEntry &e = queue->at(i);
            if (!e.title.isEmpty())
                items.append({i, e.title, e.locator});
        }
        return items;
    });
    // Another tab to the front, or a new one: the video pane gives way.
    ResultPages *pages = online->pages();
    connect(pages, &ResultPages::tabOpened, this, [this] { hideVideo(); });
    connect(pages, &ResultPages::stripChanged, this, [this, pages] {
        const int front = pages->strip().frontTab().value_or(-1);
        if (front != m_frontTab) {
            m_frontTab = front;
            hideVideo();
        }
    });
}

MiniPlayer *PlaybackViews::miniPlayer()
{
    if (!m_mini)
        buildMiniPlayer();
    return m_mini.get();
}

void PlaybackViews::buildMiniPlayer()
{
    if (m_mini)
        return;
    m_mini = std::make_unique<MiniPlayer>(m_lyrics);
    const MiniMirror &mirror = m_miniMirror;
    if (mirror.volume >= 0)
        m_mini->setVolume(mirror.volume);
    m_mini->setPlayButtonState(mirror.playButtonState);
    m_mini->setMuted(mirror.muted);
    if (mirror.highlight)
        m_mini->setHighlightColor(*mirror.highlight);
    wireMiniPlayer();
    Q_EMIT miniPlayerBuilt(m_mini.get());
}

void PlaybackViews::wireWindowToMiniPlayer()
{
    // Wired from the start, so the tray and the mini-mode button find the mini
    // player whether it is made yet or not.
    auto bringUp = [this] {
        MiniPlayer *mini = miniPlayer();
        mini->show();
        mini->raise();
    };
    connect(m_window, &MainWindow::miniModeEntered, this, bringUp);
    connect(m_window, &MainWindow::miniPlayerRequested, this, bringUp);
}

void PlaybackViews::wireMiniPlayer()
{
    MiniPlayer *mini = m_mini.get();
    MainWindow *w = m_window;
    CommandDispatcher *commands = w->commands();
    connect(mini, &MiniPlayer::commandRequested, commands, &CommandDispatcher::dispatch);
    connect(mini, &MiniPlayer::mainWindowRequested, w, [w, mini] {
        mini->hide();
        w->leaveMiniMode();
        w->raise();
    });
    connect(mini, &MiniPlayer::volumeChanged, this, [this](int volume) {
        if (PlayerControl *control = m_session->control())
            control->setVolume(volume);
        if (!m_volume->isHeld())
            m_volume->setLeftTwips(knobForVolume(KnobTracks::mainVolume, volume));
    });
    connect(mini, &MiniPlayer::seekRequested, this, &PlaybackViews::seek);
}

void PlaybackViews::seek(double seconds)
{
    PlayerControl *control = m_session->control();
    if (!control)
        return;
    control->setPosition(seconds);
    // Paused, the lyric tick does not move the knobs and readouts: they show the drop now.
    m_lyrics->showPosition(seconds);
    m_lyrics->wake();
}

bool PlaybackViews::loadEngine()
{
    if (m_engineTried)
        return m_session->hasEngine();
    m_engineTried = true;
    MediaEngine *engine = loadMediaEngine(nullptr, m_options.engineOptions, m_options.engineModuleDir, &m_engineError);
    if (engine)
        m_session->attachEngine(engine, m_options.publishOnSessionBus);
    else
        m_lyrics->showCaption(engineMissingText(), true); // said once here; a play request says it again
    Q_EMIT engineReady(engine != nullptr);
    return engine != nullptr;
}

void PlaybackViews::wireControl()
{
    PlayerControl *control = m_session->control();
    MediaEngine *engine = m_session->engine();
    m_lyrics->setClock([engine] {
        return PlaybackClock {engine->playState() == PlayState::Playing, engine->position(), engine->duration()};
    });
    // The lyric timer sleeps while nothing plays; it goes on when the engine does.
    connect(engine, &MediaEngine::playStateChanged, m_lyrics, [this](PlayState state) {
        if (state == PlayState::Playing)
            m_lyrics->wake();
    });

    connect(control, &PlayerControl::statusTextChanged, this, [this, control](const QString &text) {
        const StatusKind kind = control->statusKind();
        m_lyrics->showCaption(text, kind == StatusKind::Locating || kind == StatusKind::Welcome);
    });
    connect(control, &PlayerControl::positionTextChanged, m_lyrics, &LyricsController::setReadout);
    connect(control, &PlayerControl::playButtonStateChanged, this, &PlaybackViews::showPlayButton);
    connect(control, &PlayerControl::muteChanged, this, &PlaybackViews::showMute);
    connect(control, &PlayerControl::lyricTimerChanged, this, [this](bool on) {
        if (on)
            m_lyrics->startTicking();
        else
            m_lyrics->stopTicking();
    });
    connect(control, &PlayerControl::stopped, this, [this] {
        m_lyrics->resetAfterStop();
        hideVideo();
    });
    connect(control, &PlayerControl::historyDayAdded, m_window->online(), &OnlineViews::addHistoryDayNode);
    connect(control, &PlayerControl::videoShown, this, &PlaybackViews::showVideo);
    connect(control, &PlayerControl::advertisingPageRequested, this, [this](const QString &path) {
        if (ServerClient *server = m_window->context().server)
            m_window->online()->loadAdvertisingPane(server->pageUrl(path));
    });
    connect(control, &PlayerControl::videoLoading, m_window->online(), &OnlineViews::showVideoLoading);

    m_video = new VideoDisplay(engine, m_window);
    m_video->setObjectName(u"Media"_qs);
    m_video->setGeometry(kVideoPlace);
    m_video->hide();

    setVolume(engine->volume());
    applySettings();
}

void PlaybackViews::applySettings()
{
    const ProgramState *state = m_window->context().state;
    if (!state)
        return;
    const StoredSettings &s = state->settings;
    if (s.highlightColourStored) {
        m_line->setHighlightColor(s.highlightQColor());
        m_miniMirror.highlight = s.highlightQColor();
        if (m_mini)
            m_mini->setHighlightColor(s.highlightQColor());
    }
    if (PlayerControl *control = m_session->control()) {
        control->setLoadTimeoutSeconds(s.loadTimeoutSeconds);
        control->setRetryOnTimeout(s.retryOnTimeout);
        control->setHistoryEnabled(s.historyEnabled);
    }
}

void PlaybackViews::showScreen()
{
    const LyricScreen &screen = m_lyrics->screen();
    QLabel *readout = m_window->timeLabel();
    if (readout->text() != screen.readout)
        readout->setText(screen.readout);
    if (!m_position->isHeld())
        m_position->setLeftTwips(screen.mainKnobLeft);
}

void PlaybackViews::showPlayButton(PlayButtonState state)
{
    QAbstractButton *play = m_window->button(PlayerCommand::PlayPause);
    play->setIcon(Skin::icon(showsPause(state) ? Skin::Glyph::Pause : Skin::Glyph::Play));
    play->setProperty("playButtonState", int(state));
    m_miniMirror.playButtonState = int(state);
    if (m_mini)
        m_mini->setPlayButtonState(int(state));
}

void PlaybackViews::showMute(bool muted)
{
    QAbstractButton *mute = m_window->button(PlayerCommand::Mute);
    mute->setIcon(Skin::icon(muted ? Skin::Glyph::Muted : Skin::Glyph::Speaker));
    mute->setProperty("muted", muted);
    m_miniMirror.muted = muted;
    if (m_mini)
        m_mini->setMuted(muted);
}

void PlaybackViews::stepVolume(int delta)
{
    PlayerControl *control = m_session->control();
    MediaEngine *engine = m_session->engine();
    if (!control || !engine)
        return;
    const int volume = qBound(0, engine->volume() + delta, 100);
    control->setVolume(volume);
    setVolume(volume);
}

void PlaybackViews::setVolume(int volume)
{
    if (!m_volume->isHeld())
        m_volume->setLeftTwips(knobForVolume(KnobTracks::mainVolume, volume));
    m_miniMirror.volume = volume;
    if (m_mini)
        m_mini->setVolume(volume);
}

void PlaybackViews::showVideo(const QString &statusText)
{
    if (!m_video)
        return;
    m_window->online()->hideAdvertisingPane(); // the video takes the place of the advertising pane
    // The tab under it is no longer in front, so a click on its header brings it back.
    m_window->online()->pages()->coverWithVideo(statusText);
    m_video->show();
    m_video->raise();
}

void PlaybackViews::hideVideo()
{
    if (m_video)
        m_video->hide();
}

} // namespace kivo
