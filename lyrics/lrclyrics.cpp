#include "lyrics/lrclyrics.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace kivo {

namespace {

const QString kBr = QStringLiteral("<br>");

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The number a lyric tag starts with: leading blanks, an optional sign and the
// digits that follow; text without digits reads as 0.
long long leadingNumber(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]) && value < 100000000; ++i)
        value = value * 10 + (text[i].unicode() - u'0');
    return negative ? -value : value;
}

// "M:S" with M 0..23 and S 0..59 (one or more digits each), as seconds; -1 otherwise.
int clockSeconds(QStringView whole)
{
    whole = whole.trimmed();
    const qsizetype colon = whole.indexOf(u':');
    if (colon <= 0 || colon == whole.size() - 1)
        return -1;
    int parts[2] = {0, 0};
    const QStringView fields[2] = {whole.left(colon), whole.mid(colon + 1)};
    for (int f = 0; f < 2; ++f) {
        if (fields[f].size() > 4)
            return -1;
        for (QChar c : fields[f]) {
            if (!isDigit(c))
                return -1;
            parts[f] = parts[f] * 10 + (c.unicode() - u'0');
        }
    }
    if (parts[0] > 23 || parts[1] > 59)
        return -1;
    return parts[0] * 60 + parts[1];
}

struct SplitTag
{
    QStringView whole;
    QStringView fraction;
    bool hasFraction = false;
};

SplitTag splitTag(QStringView tag)
{
    const qsizetype dot = tag.indexOf(u'.');
    if (dot < 0)
        return {tag, {}, false};
    QStringView fraction = tag.mid(dot + 1);
    const qsizetype nextDot = fraction.indexOf(u'.');
    if (nextDot >= 0)
        fraction = fraction.left(nextDot);
    return {tag.left(dot), fraction, true};
}

// Text after the last "[" of a tag part (the whole part when it has none).
QStringView afterLastBracket(QStringView part)
{
    const qsizetype open = part.lastIndexOf(u'[');
    return open < 0 ? part : part.mid(open + 1);
}

} // namespace

int LrcTagSpanMs(QStringView from, QStringView to)
{
    const SplitTag a = splitTag(from);
    const SplitTag b = splitTag(to);
    const int secondsFrom = clockSeconds(a.whole);
    const int secondsTo = clockSeconds(b.whole);
    if (secondsFrom < 0 || secondsTo < 0)
        return 0;
    long long fractionMs = 0;
    if (a.hasFraction && b.hasFraction) {
        if (a.fraction.trimmed().size() >= 2 && b.fraction.trimmed().size() >= 2)
            fractionMs = (leadingNumber(b.fraction) - leadingNumber(a.fraction)) * 10;
        else
            fractionMs = (leadingNumber(b.fraction.left(1)) - leadingNumber(a.fraction.left(1))) * 100;
    }
    const long long ms = static_cast<long long>(secondsTo - secondsFrom) * 1000 + fractionMs;
    return static_cast<int>(std::clamp<long long>(ms, INT32_MIN, INT32_MAX));
}

QString NormalizeLrcText(const QString &raw)
{
    // The sorter: entries "[tag]text", kept in case-insensitive order of the whole entry.
    QStringList sorter;
    for (QStringView line : QStringView(raw).split(kBr)) {
        const QList<QStringView> parts = line.split(u']');
        if (parts.size() < 2)
            continue;
        const QStringView text = parts.last().trimmed();
        for (qsizetype j = 0; j + 1 < parts.size(); ++j)
            sorter.append(u'[' + afterLastBracket(parts[j]) + u']' + text);
    }
    std::stable_sort(sorter.begin(), sorter.end(),
        [](const QString &x, const QString &y) { return QString::compare(x, y, Qt::CaseInsensitive) < 0; });

    QString out;
    for (qsizetype k = 0; k + 1 < sorter.size(); ++k) {
        const QString &entry = sorter[k];
        const QString &next = sorter[k + 1];
        if (entry.trimmed().isEmpty() || next.trimmed().isEmpty())
            continue;
        const QString tag = entry.section(u']', 0, 0).remove(u'[');
        const QString nextTag = next.section(u']', 0, 0).remove(u'[');
        const QStringView text = QStringView(entry).mid(entry.lastIndexOf(u']') + 1).trimmed();
        out += u'[' + tag + u']' + text + u'[' + QString::number(LrcTagSpanMs(tag, nextTag)) + u']' + kBr;
    }
    return out;
}

LrcLyrics NormalizeLrc(const QString &raw)
{
    return LrcLyrics::fromText(NormalizeLrcText(raw));
}

LrcLyrics LrcLyrics::fromText(const QString &text)
{
    LrcLyrics lyrics;
    lyrics.m_text = text;
    lyrics.m_displayable = QStringView(text).trimmed().size() >= 10;
    // Every place where a "dd:dd.d" key could match; the first occurrence of each wins,
    // exactly like searching the text for the key.
    const QChar *d = text.constData();
    for (qsizetype i = 0; i + 7 <= text.size(); ++i) {
        if (!(isDigit(d[i]) && isDigit(d[i + 1]) && d[i + 2] == u':' && isDigit(d[i + 3]) && isDigit(d[i + 4])
                && d[i + 5] == u'.' && isDigit(d[i + 6])))
            continue;
        const int code = (d[i].unicode() - u'0') * 10000 + (d[i + 1].unicode() - u'0') * 1000
            + (d[i + 3].unicode() - u'0') * 100 + (d[i + 4].unicode() - u'0') * 10 + (d[i + 6].unicode() - u'0');
        lyrics.m_byKey.emplace_back(code, static_cast<int>(lyrics.m_lines.size()));
        lyrics.m_lines.push_back(lyrics.lineAfter(i + 7));
    }
    // Stable, so that among equal codes the first occurrence comes first.
    std::stable_sort(
        lyrics.m_byKey.begin(), lyrics.m_byKey.end(), [](const auto &x, const auto &y) { return x.first < y.first; });
    auto last = std::unique(
        lyrics.m_byKey.begin(), lyrics.m_byKey.end(), [](const auto &x, const auto &y) { return x.first == y.first; });
    lyrics.m_byKey.erase(last, lyrics.m_byKey.end());
    return lyrics;
}

LrcLyrics::Line LrcLyrics::lineAfter(qsizetype keyEnd) const
{
    Line line;
    const QStringView rest = QStringView(m_text).mid(keyEnd);
    const qsizetype br = rest.indexOf(kBr);
    if (br < 0)
        return line;
    line.startsLine = true;
    // "0]text[2500]" -> text "text", span 2500
    const QStringView segment = rest.left(br);
    const qsizetype close = segment.indexOf(u']');
    if (close < 0) {
        line.text = segment.toString();
        return line;
    }
    QStringView second = segment.mid(close + 1);
    const qsizetype nextClose = second.indexOf(u']');
    if (nextClose >= 0)
        second = second.left(nextClose);
    const qsizetype open = second.indexOf(u'[');
    if (open < 0) {
        line.text = second.toString();
        return line;
    }
    line.text = second.left(open).toString();
    QStringView span = second.mid(open + 1);
    const qsizetype nextOpen = span.indexOf(u'[');
    if (nextOpen >= 0)
        span = span.left(nextOpen);
    line.hasSpan = true;
    line.spanMs = static_cast<int>(std::clamp<long long>(leadingNumber(span), INT32_MIN, INT32_MAX));
    return line;
}

const LrcLyrics::Line *LrcLyrics::lineAt(QStringView key) const
{
    const bool usual = key.size() == 7 && isDigit(key[0]) && isDigit(key[1]) && key[2] == u':' && isDigit(key[3])
        && isDigit(key[4]) && key[5] == u'.' && isDigit(key[6]);
    if (usual) {
        const int code = (key[0].unicode() - u'0') * 10000 + (key[1].unicode() - u'0') * 1000
            + (key[3].unicode() - u'0') * 100 + (key[4].unicode() - u'0') * 10 + (key[6].unicode() - u'0');
        const auto it = std::lower_bound(
            m_byKey.begin(), m_byKey.end(), code, [](const auto &entry, int c) { return entry.first < c; });
        if (it == m_byKey.end() || it->first != code)
            return nullptr;
        return &m_lines[static_cast<size_t>(it->second)];
    }
    if (key.isEmpty())
        return nullptr;
    const qsizetype at = QStringView(m_text).indexOf(key);
    if (at < 0)
        return nullptr;
    m_scratch = lineAfter(at + key.size());
    return &m_scratch;
}

} // namespace kivo
