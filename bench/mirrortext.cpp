// MirrorText over 10 MB of payload-like text; prints the median throughput beside
// memcpy of the same bytes.
#include "core/mirrortext.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

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
    // The reference: copying the same bytes.
    QList<double> copies;
    std::vector<char> copy(size_t(text.size()) * 2);
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        t.start();
        std::memcpy(copy.data(), text.constData(), copy.size());
        const double s = t.nsecsElapsed() / 1e9;
        if (copy[1] != reinterpret_cast<const char *>(text.constData())[1])
            return 1;
        copies << (double(copy.size()) / 1e6) / s;
    }
    std::sort(rates.begin(), rates.end());
    std::sort(copies.begin(), copies.end());
    const double rate = rates.at(rates.size() / 2), memcpyRate = copies.at(copies.size() / 2);
    std::printf("mirrortext mb_per_s: %.1f MB/s (memcpy %.1f MB/s, ratio %.2f, goal >= 500 MB/s)\n", rate, memcpyRate,
        memcpyRate > 0 ? rate / memcpyRate : 0.0);
    return 0;
}
