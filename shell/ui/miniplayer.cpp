#include "shell/ui/miniplayer.h"

#include "lyrics/lyricscontroller.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "skin/knob.h"
#include "skin/knobbinding.h"
#include "skin/skin.h"
#include "skin/skinbutton.h"
#include "skin/windowdrag.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace kivo {

namespace {

struct ButtonLayout
{
    int index; // the button's place in this window's button array: its object name "bf<n>"
    Skin::Glyph glyph;
    const char16_t *name;
    QRect geometry; // pixels
    std::optional<PlayerCommand> command; // none: back to the main window
};

// Title row: strip and window buttons; bottom row: transport buttons and knobs (5, 6).
const ButtonLayout kButtons[] = {
    {0, Skin::Glyph::Play, u"播放/暂停", {10, 52, 22, 19}, PlayerCommand::PlayPause},
    {1, Skin::Glyph::Stop, u"停止", {36, 52, 22, 19}, PlayerCommand::Stop},
    {2, Skin::Glyph::Previous, u"上一首", {62, 52, 22, 19}, PlayerCommand::Previous},
    {3, Skin::Glyph::Next, u"下一首", {88, 52, 22, 19}, PlayerCommand::Next},
    {4, Skin::Glyph::Speaker, u"静音", {114, 52, 22, 19}, PlayerCommand::Mute},
    {7, Skin::Glyph::MainWindow, u"返回主窗口", {372, 4, 22, 15}, std::nullopt},
    {8, Skin::Glyph::ToTray, u"隐藏到托盘", {397, 4, 22, 15}, PlayerCommand::HideToTray},
    {9, Skin::Glyph::Close, u"退出", {422, 4, 22, 15}, PlayerCommand::Exit},
};
constexpr QSize kKnobSize {12, 11};
constexpr QSize kOffsetKnobSize {10, 6};
const QRect kLyricFrame {8, 22, 326, 24};
const QRect kTimeReadout {340, 22, 100, 24};
constexpr int kTrackY = 56;
constexpr int kOffsetTrackY = 46;

} // namespace

MiniPlayer::MiniPlayer(LyricsController *lyrics, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_lyrics(lyrics)
    , m_panel([this](QPainter &painter, const QRect &bounds) { paintFace(painter, bounds); })
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Kivo"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    setMouseTracking(true);

    m_title = new QLabel(QStringLiteral("Kivo 音乐播放器"), this);
    m_title->setObjectName(QStringLiteral("Label3"));
    m_title->setGeometry(12, 3, 340, 17);
    m_title->setMouseTracking(true);
    QPalette titlePalette = m_title->palette();
    titlePalette.setColor(QPalette::WindowText, Skin::kDimText);
    m_title->setPalette(titlePalette);
    WindowDrag::install(m_title);

    m_line = new LyricLineWidget({QStringLiteral("Label2"), QStringLiteral("Label4"), {}}, this);
    m_line->setGeometry(kLyricFrame);
    connect(m_line, &LyricLineWidget::clicked, this, &MiniPlayer::toggleOffsetKnob);

    m_time = new QLabel(QStringLiteral("00:00"), this);
    m_time->setObjectName(QStringLiteral("Label1"));
    m_time->setAlignment(Qt::AlignCenter);
    m_time->setGeometry(kTimeReadout);
    QFont timeFont = m_time->font();
    timeFont.setPointSizeF(12);
    timeFont.setBold(true);
    timeFont.setStyleHint(QFont::Monospace);
    m_time->setFont(timeFont);
    QPalette timePalette = m_time->palette();
    timePalette.setColor(QPalette::WindowText, Skin::kAccent);
    m_time->setPalette(timePalette);
    m_time->setCursor(Qt::PointingHandCursor);
    m_time->setToolTip(QStringLiteral("单击切换已播放时间和剩余时间"));
    m_time->installEventFilter(this);

    buildButtons();
    buildKnobs();

    if (m_lyrics) {
        m_line->follow(m_lyrics, LyricLineWidget::Window::Mini);
        connect(m_lyrics, &LyricsController::screenChanged, this, &MiniPlayer::showScreen);
        showScreen();
    }
}

void MiniPlayer::buildButtons()
{
    for (const ButtonLayout &layout : kButtons) {
        auto *button = new SkinButton(QString::fromUtf16(layout.name), this);
        button->setObjectName(skinArrayName(QStringLiteral("bf"), layout.index));
        button->setGeometry(layout.geometry);
        button->setGlyph(layout.glyph);
        connect(button, &SkinButton::clicked, this, [this, command = layout.command] { pressButton(command); });
        if (layout.command)
            m_buttons[*layout.command] = button;
        else
            m_back = button;
        m_allButtons.append(button);
    }
}

SkinButton *MiniPlayer::button(PlayerCommand command) const
{
    const auto it = m_buttons.find(command);
    return it == m_buttons.end() ? nullptr : it->second;
}

void MiniPlayer::buildKnobs()
{
    m_volume = Knob::create(this, skinArrayName(QStringLiteral("bf"), 5), QStringLiteral("音量"), kKnobSize, kTrackY,
        KnobTracks::miniVolume.maxLeft);
    m_position = Knob::create(this, skinArrayName(QStringLiteral("bf"), 6), QStringLiteral("播放位置"), kKnobSize,
        kTrackY, KnobTracks::miniPosition.minLeft);
    m_offset = Knob::create(this, QStringLiteral("bc"), QStringLiteral("歌词偏移"), kOffsetKnobSize, kOffsetTrackY,
        LyricOffsetKnob::kMini.neutral);
    m_offset->setToolTip(QStringLiteral("拖动调整歌词快慢，双击恢复"));

    new SlideKnobBinding(m_volume, KnobTracks::miniVolume,
        [this](int left) { Q_EMIT volumeChanged(volumeForKnob(KnobTracks::miniVolume, left)); });
    new SlideKnobBinding(m_position, KnobTracks::miniPosition, [this](int left) {
        const PlaybackClock clock = m_lyrics ? m_lyrics->clock() : PlaybackClock {};
        if (clock.durationSeconds > 0) // something is loaded
            Q_EMIT seekRequested(positionForKnob(KnobTracks::miniPosition, left, clock.durationSeconds));
    });
    m_offsetBinding = new OffsetKnobBinding(
        m_offset, LyricOffsetKnob::kMini, m_lyrics ? &m_lyrics->lyricsOffsetTenths() : &m_ownOffset);
    connect(m_offsetBinding, &OffsetKnobBinding::visibilityChanged, this, [this](bool visible) {
        m_line->setKnobMark(visible);
        m_panel.invalidate();
        update();
    });
}

void MiniPlayer::pressButton(std::optional<PlayerCommand> command)
{
    if (!command) {
        hide();
        Q_EMIT mainWindowRequested();
        return;
    }
    if (*command == PlayerCommand::PlayPause) {
        // The other picture at once; the main window's state follows.
        m_playState = m_playState > 1 ? 1 : 2;
        updatePlayImages();
    }
    Q_EMIT commandRequested(*command);
    if (*command == PlayerCommand::HideToTray)
        hide();
}

void MiniPlayer::toggleOffsetKnob()
{
    m_offsetBinding->toggle();
}

void MiniPlayer::setPlayButtonState(int state)
{
    m_playState = state;
    updatePlayImages();
}

void MiniPlayer::updatePlayImages()
{
    button(PlayerCommand::PlayPause)->setGlyph(m_playState > 1 ? Skin::Glyph::Pause : Skin::Glyph::Play);
}

void MiniPlayer::setMuted(bool muted)
{
    m_muted = muted;
    button(PlayerCommand::Mute)->setGlyph(muted ? Skin::Glyph::Muted : Skin::Glyph::Speaker);
}

void MiniPlayer::setVolume(int volume)
{
    if (!m_volume->isHeld())
        m_volume->setLeftTwips(knobForVolume(KnobTracks::miniVolume, volume));
}

void MiniPlayer::setHighlightColor(const QColor &colour)
{
    m_line->setHighlightColor(colour);
}

void MiniPlayer::restoreButtonImages()
{
    RestoreButtonImages(m_allButtons);
}

void MiniPlayer::showScreen()
{
    const LyricScreen &screen = m_lyrics->screen();
    if (m_time->text() != screen.readout)
        m_time->setText(screen.readout);
    if (!m_position->isHeld() && m_position->leftTwips() != screen.miniKnobLeft) {
        const int before = m_position->x();
        m_position->setLeftTwips(screen.miniKnobLeft);
        // The played part of the groove, and only when the knob moved a pixel.
        if (m_position->x() != before)
            update(
                Knob::grooveRect(KnobTracks::miniPosition, kKnobSize, kTrackY).toAlignedRect().adjusted(-1, -1, 1, 1));
    }
}

bool MiniPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_time && event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && m_lyrics)
            m_lyrics->flipReadoutMode();
        return true;
    }
    if (watched == m_time && event->type() == QEvent::MouseMove)
        restoreButtonImages();
    return QWidget::eventFilter(watched, event);
}

void MiniPlayer::mouseMoveEvent(QMouseEvent *event)
{
    restoreButtonImages();
    QWidget::mouseMoveEvent(event);
}

// What does not move: the panel, the separator and the grooves. Kept as one
// pixmap, so a wipe step under the lyric line blits its strip and draws nothing.
void MiniPlayer::paintFace(QPainter &painter, const QRect &bounds)
{
    Skin::paintPanel(painter, bounds, 9);
    painter.setRenderHint(QPainter::Antialiasing);
    // Separator under the title strip.
    painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
    painter.drawLine(QPointF(10, 20.5), QPointF(bounds.width() - 10, 20.5));
    // Knob grooves: volume, position, and the lyric offset while its knob shows.
    Skin::paintGroove(painter, Knob::grooveRect(KnobTracks::miniVolume, kKnobSize, kTrackY));
    Skin::paintGroove(painter, Knob::grooveRect(KnobTracks::miniPosition, kKnobSize, kTrackY));
    if (m_offsetBinding && m_offsetBinding->state().isVisible()) {
        Skin::paintGroove(painter, Knob::grooveRect(LyricOffsetKnob::kMini.track, kOffsetKnobSize, kOffsetTrackY));
        const qreal neutral = twipsToPixels(LyricOffsetKnob::kMini.neutral) + kOffsetKnobSize.width() / 2.0;
        painter.setPen(QPen(Skin::kDimText, 1));
        painter.drawLine(QPointF(neutral, kOffsetTrackY - 1), QPointF(neutral, kOffsetTrackY + 7));
    }
}

void MiniPlayer::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    m_panel.paint(painter, this, event->rect());
    // The played part of the position groove, when the repaint reaches it.
    const int knobHalf = kKnobSize.height() / 2;
    const int start = twipsToPixels(KnobTracks::miniPosition.minLeft);
    const int played = m_position->x() - start;
    const QRectF bar(start + 1, kTrackY + knobHalf - 1, played, 2);
    if (played > 0 && event->rect().intersects(bar.toAlignedRect())) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Skin::kAccent.darker(130));
        painter.drawRoundedRect(bar, 1, 1);
    }
}

} // namespace kivo
