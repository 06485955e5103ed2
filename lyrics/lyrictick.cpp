#include "lyrics/lyrictick.h"

#include <algorithm>
#include <cmath>

namespace kivo {

namespace {

// Far beyond any media (some 30 million years), yet small enough that tenths of it
// and the difference of two such times stay well within 64-bit integers.
constexpr double kMaxClockSeconds = 1e15;

// A time the engine reported, saturated to the clock's range; not a number is 0.
double clockSeconds(double seconds)
{
    return std::isfinite(seconds) ? std::clamp(seconds, -kMaxClockSeconds, kMaxClockSeconds) : 0.0;
}

// Whole seconds the way the engine's numbers were rounded (half to even).
long long roundedSeconds(double seconds)
{
    return std::llrint(clockSeconds(seconds));
}

// Tenths of a second elapsed, as the first decimal of the position's text: cut, not
// rounded; the small tolerance keeps 59.9 at 599 despite binary fractions.
long long positionTenths(double positionSeconds)
{
    const double seconds = clockSeconds(positionSeconds);
    if (seconds < 0)
        return 0;
    return static_cast<long long>(std::floor(seconds * 10.0 + 1e-7));
}

QString twoDigits(long long value)
{
    QString text = QString::number(value);
    if (text.size() < 2)
        text.prepend(u'0');
    return text;
}

constexpr int kMaxOffsetTenths = 1000000;

QRgb lyricColour(int green)
{
    return qRgb(200, green, 200);
}

void measure(LyricScreen &screen, const LyricGeometry &geometry)
{
    screen.main.baseWidth = geometry.mainTextWidth ? geometry.mainTextWidth(screen.main.baseText) : 0;
    screen.mini.baseWidth = geometry.miniTextWidth ? geometry.miniTextWidth(screen.mini.baseText) : 0;
}

// A line wider than its frame scrolls left while the highlight crosses its last
// frame width; the overlay moves with it.
void scroll(LyricLabels &labels, int frameWidth, double durationMs, double remainingCs)
{
    if (labels.baseLeft + labels.baseWidth <= frameWidth || labels.baseWidth <= 0)
        return;
    const long long s = static_cast<long long>(durationMs / labels.baseWidth * frameWidth / 10);
    if (s == 0 || remainingCs > s)
        return;
    const double left = -((s + 1) - remainingCs) * (double(labels.baseWidth - frameWidth) / double(s));
    labels.baseLeft = static_cast<int>(std::lrint(left));
    labels.overlayLeft = labels.baseLeft;
}

} // namespace

PositionKey PositionKey::from(int minutes, int seconds, int tenths)
{
    const int originalTenths = tenths;
    // two-digit: left-padded with "0", cut to the last two digits
    char16_t buffer[24];
    int n = 0;
    auto put2 = [&](int value) {
        if (value < 0) {
            // a negative value never occurs for minutes and seconds; keep its text
            const QString text = QString::number(value);
            for (QChar c : QStringView(text).right(2))
                buffer[n++] = c.unicode();
            return;
        }
        buffer[n++] = char16_t(u'0' + (value / 10) % 10);
        buffer[n++] = char16_t(u'0' + value % 10);
    };
    put2(minutes);
    buffer[n++] = u':';
    put2(seconds);
    buffer[n++] = u'.';
    if (tenths < 0) {
        buffer[n++] = u'-';
        tenths = -tenths;
    }
    char16_t digits[12];
    int d = 0;
    do {
        digits[d++] = char16_t(u'0' + tenths % 10);
        tenths /= 10;
    } while (tenths > 0 && d < 12);
    while (d > 0)
        buffer[n++] = digits[--d];

    PositionKey key;
    key.minutes = minutes;
    key.seconds = seconds;
    key.tenths = originalTenths;
    const int take = n < 7 ? n : 7;
    key.m_start = 7 - take;
    for (int i = 0; i < take; ++i)
        key.m_chars[size_t(key.m_start + i)] = buffer[n - take + i];
    return key;
}

PositionKey lyricPositionKey(double positionSeconds, int offset)
{
    // Far beyond any song; keeps the arithmetic below in range.
    offset = std::clamp(offset, -kMaxOffsetTenths, kMaxOffsetTenths);
    const long long total = positionTenths(positionSeconds);
    const long long wholeSeconds = total / 10;
    int tenths = int(total % 10);
    int seconds = int(wholeSeconds % 60);
    int minutes = int((wholeSeconds / 60) % 60);
    if (offset >= 1) {
        tenths += offset;
        if (tenths >= 10) {
            seconds += tenths / 10;
            tenths %= 10;
            if (seconds >= 60) {
                seconds %= 60;
                minutes += 1;
            }
        }
        if (minutes >= 60)
            minutes %= 60;
    } else if (offset < 0) {
        tenths += offset;
        if (tenths < 0) {
            tenths += 10;
            seconds -= 1;
        }
        if (seconds < 0) {
            seconds += 60;
            minutes -= 1;
        }
        if (minutes < 0)
            minutes = 0;
    }
    return PositionKey::from(minutes, seconds, tenths);
}

QString positionReadout(double positionSeconds, double durationSeconds, bool remaining)
{
    long long shown = positionTenths(positionSeconds) / 10;
    if (remaining) {
        shown = roundedSeconds(durationSeconds) - roundedSeconds(positionSeconds);
        if (shown < 0)
            shown = 0;
    }
    return twoDigits((shown / 60) % 60) + u':' + twoDigits(shown % 60);
}

void LyricTick(const PlaybackClock &clock, const LrcLyrics &lyrics, const LyricGeometry &geometry, LyricScreen &screen)
{
    if (!clock.playing)
        return;
    const long long duration = roundedSeconds(clock.durationSeconds);

    if (!lyrics.isEmpty() && lyrics.isDisplayable()) {
        const int offset = static_cast<int>(std::lrint(
            std::clamp(double(screen.lyricsOffsetTenths), double(-kMaxOffsetTenths), double(kMaxOffsetTenths))));
        const PositionKey key = lyricPositionKey(clock.positionSeconds, offset);
        if (const LrcLyrics::Line *line = lyrics.lineAt(key.view())) {
            if (line->startsLine) {
                screen.lineStartKey = key;
                if (line->hasSpan) {
                    screen.lineDurationMs = line->spanMs;
                } else {
                    // Text not in normalised form: the line lasts until the end of the media.
                    const long long durationClock = ((duration / 60) % 60) * 60 + duration % 60;
                    screen.lineDurationMs
                        = int((durationClock - (key.minutes * 60 + key.seconds)) * 1000 + (99 - key.tenths) * 10);
                }
                const bool remeasure = screen.main.baseText != line->text || screen.mini.baseText != line->text;
                screen.lineRemainingCs = screen.lineDurationMs / 10;
                for (LyricLabels *labels : {&screen.main, &screen.mini}) {
                    labels->baseColor = kLyricFadeStart;
                    labels->baseText = line->text;
                    labels->baseLeft = 0;
                    labels->overlayText = line->text;
                    labels->overlayLeft = 0;
                    labels->overlayWidth = 0;
                }
                if (remeasure)
                    measure(screen, geometry);
            }
        } else {
            if (screen.lineRemainingCs < 0)
                screen.lineRemainingCs = 0;
            const double d = screen.lineDurationMs;
            const double r = screen.lineRemainingCs;
            if (d != 0) {
                const double sung = (d / 10 - r) * 10 / d;
                screen.main.overlayWidth = static_cast<int>(std::lrint(sung * screen.main.baseWidth));
                screen.mini.overlayWidth = static_cast<int>(std::lrint(sung * screen.mini.baseWidth));
            }
            const double green = 180 - (std::trunc(d / 10) - r);
            if (green >= 0)
                screen.main.baseColor = lyricColour(static_cast<int>(std::lrint(green)));
            screen.mini.baseColor = screen.main.baseColor;
            if (d != 0) {
                scroll(screen.mini, geometry.miniFrameWidth, d, r);
                scroll(screen.main, geometry.mainFrameWidth, d, r);
            }
            const int elapsed = LrcTagSpanMs(screen.lineStartKey.view(), key.view());
            screen.lineRemainingCs = std::nearbyint((d - (double(elapsed) + 300)) / 10 + 0.5);
        }
    }

    ShowPlayingPosition(screen, clock.positionSeconds, clock.durationSeconds);
}

void ShowPlayingPosition(LyricScreen &screen, double positionSeconds, double durationSeconds, bool exactKnobs)
{
    const long long duration = roundedSeconds(durationSeconds);
    const long long position = roundedSeconds(positionSeconds);
    if (duration <= 0)
        return;
    // The tick places the knobs by whole seconds; a dropped knob stays where it was let go.
    const double share = std::clamp(positionSeconds / durationSeconds, 0.0, 1.0);
    const int mainLeft = static_cast<int>(
        std::lrint(exactKnobs ? kMainPositionKnobStart + kMainPositionKnobSpan * share
                              : kMainPositionKnobStart + double(kMainPositionKnobSpan) * position / duration));
    if (mainLeft != screen.mainKnobLeft)
        screen.mainKnobLeft = mainLeft;
    const int miniLeft = static_cast<int>(
        std::lrint(exactKnobs ? kMiniPositionKnobStart + kMiniPositionKnobSpan * share
                              : kMiniPositionKnobStart + double(kMiniPositionKnobSpan) * position / duration));
    if (miniLeft != screen.miniKnobLeft)
        screen.miniKnobLeft = miniLeft;
    // The caption text is rebuilt only when the second shown changes.
    const long long shown = screen.remainingTimeMode ? duration - position : positionTenths(positionSeconds) / 10;
    const int stamp = int(shown % 100000) * 2 + (screen.remainingTimeMode ? 1 : 0);
    if (stamp != screen.readoutSeconds || screen.readout.isEmpty()) {
        screen.readoutSeconds = stamp;
        screen.readout = positionReadout(positionSeconds, durationSeconds, screen.remainingTimeMode);
    }
}

void ResetPositionReadouts(LyricScreen &screen)
{
    screen.readout = QStringLiteral("00:00");
    screen.readoutSeconds = -1;
    screen.mainKnobLeft = kMainPositionKnobStart;
    screen.miniKnobLeft = kMiniPositionKnobStart;
}

void ResetLyricDisplay(LyricScreen &screen)
{
    for (LyricLabels *labels : {&screen.main, &screen.mini}) {
        labels->overlayText.clear();
        labels->overlayWidth = 0;
        labels->baseLeft = 0;
        labels->overlayLeft = 10;
    }
}

void ShowLyricCaption(LyricScreen &screen, const QString &text, const LyricGeometry &geometry, bool black)
{
    for (LyricLabels *labels : {&screen.main, &screen.mini}) {
        if (black)
            labels->baseColor = kLyricBlack;
        labels->baseText = text;
        labels->overlayText.clear();
        labels->overlayWidth = 0;
    }
    measure(screen, geometry);
}

void ResetLyricLineAfterStop(LyricScreen &screen, const LyricGeometry &geometry)
{
    for (LyricLabels *labels : {&screen.main, &screen.mini}) {
        labels->baseLeft = 0;
        labels->overlayLeft = 10;
    }
    ShowLyricCaption(screen, kWelcomeLine, geometry, true);
    ResetPositionReadouts(screen);
}

} // namespace kivo
