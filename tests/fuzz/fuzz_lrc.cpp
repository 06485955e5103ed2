// Lyric text from the server or a file: normalised, then played through the lyric
// timer at fuzzed positions, offsets and frame widths; and two fuzzed time tags.

#include "fuzzinput.h"
#include "lyrics/lrclyrics.h"
#include "lyrics/lyrictick.h"

#include <QStringList>

#include <climits>

using namespace kivo;

namespace {

// The line a key shows, found the plain way the lyric timer once did: search the
// text for the key, take the segment up to "<br>", the part after its first "]"
// and of that the part before "[".
void checkLookup(const LrcLyrics &lyrics, const QString &key)
{
    const LrcLyrics::Line *line = lyrics.lineAt(key);
    const qsizetype at = lyrics.text().indexOf(key);
    fuzz::check((line != nullptr) == (at >= 0), "a key is found when the text holds it");
    if (!line)
        return;
    const QString rest = lyrics.text().mid(at + key.size());
    const qsizetype br = rest.indexOf(QStringLiteral("<br>"));
    fuzz::check(line->startsLine == (br >= 0), "a line starts where a <br> follows");
    if (br < 0)
        return;
    const QStringList parts = rest.left(br).split(QLatin1Char(']'));
    const QStringList inner = parts.size() > 1 ? parts.at(1).split(QLatin1Char('[')) : parts;
    fuzz::check(line->text == inner.at(0), "the line's text");
    fuzz::check(line->hasSpan == (parts.size() > 1 && inner.size() > 1), "the line's span");
}

} // namespace

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
    if (!from.isEmpty())
        checkLookup(lyrics, from);
    // The first keys of the text, each looked up as the timer would.
    const QString &text = lyrics.text();
    for (qsizetype i = 0, checked = 0; i + 7 <= text.size() && checked < 20; ++i) {
        if (text.at(i + 2) == u':' && text.at(i + 5) == u'.' && text.at(i).isDigit() && text.at(i + 6).isDigit()) {
            checkLookup(lyrics, text.mid(i, 7));
            ++checked;
        }
    }

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
