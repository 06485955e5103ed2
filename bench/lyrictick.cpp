// One tick of the lyric timer over a 5 KB normalised lyric: median time per tick.
#include "lyrics/lyrictick.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace kivo;

int main()
{
    QString raw;
    int line = 0;
    for (int cs = 500; raw.size() < 5200; cs += 350, ++line) {
        raw += QStringLiteral("[%1:%2.%3]第%4行 歌词 line number %4 of the song<br>")
                   .arg(cs / 6000, 2, 10, QLatin1Char('0'))
                   .arg((cs / 100) % 60, 2, 10, QLatin1Char('0'))
                   .arg(cs % 100, 2, 10, QLatin1Char('0'))
                   .arg(line);
    }
    const LrcLyrics lyrics = NormalizeLrc(raw);
    std::fprintf(stderr, "normalised lyric: %lld characters\n", static_cast<long long>(lyrics.text().size()));

    LyricGeometry geometry;
    geometry.mainFrameWidth = 4000;
    geometry.miniFrameWidth = 3000;
    geometry.mainTextWidth = [](const QString &t) { return int(t.size()) * 180; };
    geometry.miniTextWidth = [](const QString &t) { return int(t.size()) * 150; };

    LyricScreen screen;
    screen.lyricsOffsetTenths = 3;
    const double duration = 240;
    std::vector<double> samples;
    samples.reserve(24000);
    for (int ms = 0; ms < 240000; ms += 10) {
        const auto start = std::chrono::steady_clock::now();
        LyricTick({true, ms / 1000.0, duration}, lyrics, geometry, screen);
        const auto end = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    std::printf("lyrictick median_us: %.3f\n", samples[samples.size() / 2]);
    return 0;
}
