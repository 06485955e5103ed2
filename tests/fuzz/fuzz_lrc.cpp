// Lyric text from the server or a file: normalised, then played through the lyric
// timer at fuzzed positions, offsets and frame widths; and two fuzzed time tags.

#include "fuzzinput.h"
#include "lyrics/lrclyrics.h"
#include "lyrics/lyrictick.h"

#include <climits>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const double position = in.take<double>();
    const double duration = in.take<double>();
    const float offset = in.take<float>();
    const int step = in.take<int16_t>();
    const int ticks = in.take<uint8_t>();
    const int mainFrame = in.take<int16_t>();
    const int miniFrame = in.take<int16_t>();
    const QString from = QString::fromUtf8(in.takeLine());
    const QString to = QString::fromUtf8(in.takeLine());
    const QString raw = in.restUtf8();

    const int span = LrcTagSpanMs(from, to);
    fuzz::check(LrcTagSpanMs(from, from) == 0, "no time from a tag to itself");
    if (span != INT_MIN && span != INT_MAX)
        fuzz::check(LrcTagSpanMs(to, from) == -span, "spans are antisymmetric");

    const LrcLyrics lyrics = NormalizeLrc(raw);
    fuzz::check(lyrics.text().size() <= kMaxNormalizedLrcChars, "normalised text stays bounded");
    fuzz::check(lyrics.text().count(QStringLiteral("<br>")) <= kMaxLrcEntries, "entries stay bounded");
    lyrics.lineAt(from);

    LyricGeometry geometry;
    geometry.mainFrameWidth = mainFrame;
    geometry.miniFrameWidth = miniFrame;
    geometry.mainTextWidth = [](const QString &t) { return int(t.size()) * 100; };
    geometry.miniTextWidth = [](const QString &t) { return int(t.size()) * 60; };
    LyricScreen screen;
    screen.lyricsOffsetTenths = offset;
    screen.remainingTimeMode = step < 0;
    for (int i = 0; i <= ticks; ++i)
        LyricTick({true, position + i * step / 1000.0, duration}, lyrics, geometry, screen);
    return 0;
}
