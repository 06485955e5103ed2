// MirrorText over 10 MB of payload-like text; prints the median throughput.
#include "core/mirrortext.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>

int main()
{
    const QString unit
        = QStringLiteral("2\u32A3歌曲 Song-Title 123\u32A32021-3-4\u32A3http://127.0.0.1/a/b.mp3\u32A3\u32A3");
    QString text;
    const qsizetype bytes = 10 * 1024 * 1024;
    text.reserve(bytes / 2 + unit.size());
    while (text.size() * 2 < bytes) // QString holds two bytes a character
        text += unit;
    QList<double> rates;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        t.start();
        const QString out = kivo::MirrorText(text);
        const double s = t.nsecsElapsed() / 1e9;
        if (out.size() != text.size())
            return 1;
        rates << (text.size() * 2 / 1e6) / s;
    }
    std::sort(rates.begin(), rates.end());
    std::printf("mirrortext mb_per_s: %.1f\n", rates.at(rates.size() / 2));
    return 0;
}
