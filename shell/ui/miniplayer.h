#pragma once

#include "core/playercommand.h"
#include "skin/facecache.h"
#include "skin/knobs.h"

#include <QWidget>

#include <map>
#include <optional>

class QLabel;

namespace kivo {

class Knob;
class LyricLineWidget;
class LyricsController;
class OffsetKnobBinding;
class SkinButton;

// The mini player `Form2`: a narrow frameless bar (6750 x 1155 twips) that stands in
// for the main window, with its own lyric line, time readout and knobs.
class MiniPlayer : public QWidget
{
    Q_OBJECT
public:
    // The lyric controller is shared with the main window (one lyric state).
    explicit MiniPlayer(LyricsController *lyrics, QWidget *parent = nullptr);

    static constexpr int kWidthTwips = 6750;
    static constexpr int kHeightTwips = 1155;

    // `currentVersion`, kept by the mini player window.
    static QString currentVersion() { return QStringLiteral("1.31"); }

    // Play button state "0".."3" of the main window, mirrored here: "2"/"3" show pause.
    void setPlayButtonState(int state);
    int playButtonState() const { return m_playState; }
    // Mute state of main button 3, mirrored on button 4.
    void setMuted(bool muted);
    // Volume 0..100 shown by knob 5.
    void setVolume(int volume);
    // The stored highlight colour.
    void setHighlightColor(const QColor &colour);

    // The button that sends a command; the one back to the main window is this window's own.
    SkinButton *button(PlayerCommand command) const;
    SkinButton *backButton() const { return m_back; }
    Knob *volumeKnob() const { return m_volume; }
    Knob *positionKnob() const { return m_position; }
    Knob *offsetKnob() const { return m_offset; }
    LyricLineWidget *lyricLine() const { return m_line; }

    // Its own RestoreButtonImages.
    void restoreButtonImages();

Q_SIGNALS:
    // A button asks for one of the player's commands (the main window's buttons carry
    // the same); hiding to the tray, the mini player hides itself after.
    void commandRequested(kivo::PlayerCommand command);
    // The mini player has hidden itself; show the main window, flag "1".
    void mainWindowRequested();
    void volumeChanged(int volume);
    void seekRequested(double seconds);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildButtons();
    void buildKnobs();
    void pressButton(std::optional<PlayerCommand> command);
    void toggleOffsetKnob();
    void showScreen();
    void updatePlayImages();
    void paintFace(QPainter &painter, const QRect &bounds);

    LyricsController *m_lyrics;
    std::map<PlayerCommand, SkinButton *> m_buttons;
    SkinButton *m_back = nullptr;
    QList<SkinButton *> m_allButtons;
    Knob *m_volume = nullptr;
    Knob *m_position = nullptr;
    Knob *m_offset = nullptr;
    OffsetKnobBinding *m_offsetBinding = nullptr;
    float m_ownOffset = 0; // used only without a lyric controller
    LyricLineWidget *m_line = nullptr;
    FaceCache m_panel;
    QLabel *m_title = nullptr;
    QLabel *m_time = nullptr;
    int m_playState = 0;
    bool m_muted = false;
};

} // namespace kivo
