// Normalising a lyric of 200 K characters: an ordinary one (a timed line every
// 3.5 s) beside hostile ones of the same size (one line under 100 K tags; many
// lines sharing one long text; one line of 25 K time keys, also indexed for the
// lyric timer, beside normalising it alone). Median milliseconds of 5 runs each.
#include "lyrics/lrclyrics.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>

using namespace kivo;

namespace {

constexpr qsizetype kSize = 200 * 1024;

QString ordinaryLyric()
{
    QString raw;
    for (int cs = 500, line = 0; raw.size() < kSize; cs += 350, ++line) {
        raw += QStringLiteral("[%1:%2.%3]第%4行 歌词 line number %4 of the song<br>")
                   .arg((cs / 6000) % 24, 2, 10, QLatin1Char('0'))
                   .arg((cs / 100) % 60, 2, 10, QLatin1Char('0'))
                   .arg(cs % 100, 2, 10, QLatin1Char('0'))
                   .arg(line);
    }
    return raw.left(kSize);
}

QString sharedTextLyric()
{
    const QString line = QString(1000, u']') + QString(1000, u'x') + QStringLiteral("<br>");
    QString raw;
    while (raw.size() < kSize)
        raw += line;
    return raw.left(kSize);
}

void measure(const char *name, const QString &raw, bool indexed = false)
{
    QList<double> ms;
    qsizetype produced = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        produced = indexed ? NormalizeLrc(raw).text().size() : NormalizeLrcText(raw).size();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("lrcnormalize %s_ms: %.2f\n", name, ms.at(ms.size() / 2));
    std::fprintf(stderr, "%s: %lld characters in, %lld out\n", name, static_cast<long long>(raw.size()),
        static_cast<long long>(produced));
}

} // namespace

int main()
{
    measure("ordinary", ordinaryLyric());
    measure("one_line_many_tags", QString(kSize / 2, u']') + QString(kSize / 2, u'x'));
    measure("shared_text", sharedTextLyric());
    const QString keys = u"[00:00.00]"_qs + u"01:02.3 "_qs.repeated(kSize / 8) + u"<br>[00:01.00]B"_qs;
    measure("line_of_keys", keys);
    measure("line_of_keys_indexed", keys, true);
    return 0;
}
