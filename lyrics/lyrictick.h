#pragma once

#include "lyrics/lrclyrics.h"

#include <QRgb>
#include <QString>

#include <array>
#include <functional>

namespace kivo {

// Lengths on the lyric line are in twips (15 per pixel), as the windows lay them out.
inline const QString kWelcomeLine = QStringLiteral("Kivo欢迎您，祝您愉快。");
constexpr QRgb kLyricFadeStart = 0xFFC8B4C8; // RGB(200, 180, 200)
constexpr QRgb kLyricBlack = 0xFF000000;

// Position knobs follow the playing position: left = start + span * position / duration.
constexpr int kMainPositionKnobStart = 5480, kMainPositionKnobSpan = 3270;
constexpr int kMiniPositionKnobStart = 3480, kMiniPositionKnobSpan = 2840;

// The "mm:ss.t" text a position is looked up by (at most 7 characters), kept
// without allocating.
class PositionKey
{
public:
    QStringView view() const { return QStringView(m_chars.data() + m_start, 7 - m_start); }
    bool isEmpty() const { return m_start == 7; }
    // Last 7 characters of mm + ":" + ss + "." + tenths (tenths may be negative).
    static PositionKey from(int minutes, int seconds, int tenths);

    int minutes = 0, seconds = 0, tenths = 0;

private:
    std::array<char16_t, 7> m_chars {};
    int m_start = 7;
};

// The time key a position shows lyrics for, with the user's offset in tenths of
// a second applied (positive shows lines earlier).
PositionKey lyricPositionKey(double positionSeconds, int offsetTenths);

// One window's lyric labels: the base text and the red overlay on top of it.
struct LyricLabels
{
    QString baseText = kWelcomeLine;
    int baseLeft = 0;
    int baseWidth = 0; // measured width of baseText
    QRgb baseColor = kLyricBlack;
    QString overlayText;
    int overlayLeft = 10;
    int overlayWidth = 0;
};

// Everything the lyric timer shows in both windows, and the line it tracks.
struct LyricScreen
{
    // the line on screen
    PositionKey lineStartKey;
    int lineDurationMs = 0;
    double lineRemainingCs = 180;

    float lyricsOffsetTenths = 0;

    LyricLabels main, mini;

    // Position readout: one mode for both windows; "00:00" at start, empty while loading.
    bool remainingTimeMode = false;
    QString readout = QStringLiteral("00:00");
    int readoutSeconds = -1; // the value readout was built from
    int mainKnobLeft = kMainPositionKnobStart;
    int miniKnobLeft = kMiniPositionKnobStart;
};

// What the tick needs of the engine.
struct PlaybackClock
{
    bool playing = false;
    double positionSeconds = 0;
    double durationSeconds = 0;
};

// Frame widths of the two lyric lines and how wide a caption is drawn (twips).
struct LyricGeometry
{
    int mainFrameWidth = 0;
    int miniFrameWidth = 0;
    std::function<int(const QString &)> mainTextWidth;
    std::function<int(const QString &)> miniTextWidth;
};

// The readout text: "mm:ss" of the position, or of the time left in remaining mode.
QString positionReadout(double positionSeconds, double durationSeconds, bool remaining);

// One tick of the lyric timer (every 10 ms while playing). Measures text only when
// the shown line changes; otherwise it only does arithmetic.
void LyricTick(const PlaybackClock &clock, const LrcLyrics &lyrics, const LyricGeometry &geometry, LyricScreen &screen);

// The position knobs and the readout for a position of the song: the tick's own
// arithmetic by whole seconds, or with exactKnobs the knobs at the very place (where
// a drag while paused leaves them).
void ShowPlayingPosition(LyricScreen &screen, double positionSeconds, double durationSeconds, bool exactKnobs = false);
// Readouts "00:00" and the position knobs at their start.
void ResetPositionReadouts(LyricScreen &screen);

// Before a new song plays: overlays emptied, base labels at 0, overlays at 10.
void ResetLyricDisplay(LyricScreen &screen);
// A status or welcome text on both lines (highlight emptied), in black when asked.
void ShowLyricCaption(LyricScreen &screen, const QString &text, const LyricGeometry &geometry, bool black = false);
// After stop: welcome text in black, readouts "00:00", knobs at their start.
void ResetLyricLineAfterStop(LyricScreen &screen, const LyricGeometry &geometry);

} // namespace kivo
