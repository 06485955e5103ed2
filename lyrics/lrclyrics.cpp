#include "lyrics/lrclyrics.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

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

namespace {

// One time tag of a lyric line; the line's text is kept once, however many tags share it.
struct LrcEntry
{
    QStringView tag;
    int line = 0;
};

// Order of the entry texts "[tag]text" (case-insensitive) by their tags alone: a tag
// that is a prefix of the other meets the other's next character with its "]".
// 0 when the tags are equal and the texts decide.
int compareEntryTags(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    if (const int c = a.left(n).compare(b.left(n), Qt::CaseInsensitive))
        return c;
    if (a.size() == b.size())
        return 0;
    const int next = (a.size() > n ? a[n] : b[n]).toCaseFolded().unicode();
    return a.size() > n ? next - int(u']') : int(u']') - next;
}

} // namespace

QString NormalizeLrcText(const QString &raw)
{
    // Entries "[tag]text" in case-insensitive order of the whole entry, built without
    // copying a line's text for each of its tags: a long line under many tags would
    // otherwise cost the square of its length.
    std::vector<QStringView> texts; // per line with tags, trimmed
    std::vector<LrcEntry> entries;
    const QStringView all(raw);
    for (qsizetype start = 0; start <= all.size() && qsizetype(entries.size()) < kMaxLrcEntries;) {
        qsizetype end = all.indexOf(kBr, start);
        if (end < 0)
            end = all.size();
        const QStringView line = all.mid(start, end - start);
        start = end + kBr.size();
        const qsizetype lastClose = line.lastIndexOf(u']');
        if (lastClose < 0)
            continue;
        const int lineIndex = int(texts.size());
        texts.push_back(line.mid(lastClose + 1).trimmed());
        for (qsizetype from = 0; qsizetype(entries.size()) < kMaxLrcEntries;) {
            const qsizetype close = line.indexOf(u']', from);
            entries.push_back({afterLastBracket(line.mid(from, close - from)), lineIndex});
            if (close == lastClose)
                break;
            from = close + 1;
        }
    }

    // Texts ranked once, so that entries with equal tags compare in constant time.
    std::vector<int> byText(texts.size());
    std::iota(byText.begin(), byText.end(), 0);
    const auto textLess = [&texts](int x, int y) { return texts[x].compare(texts[y], Qt::CaseInsensitive) < 0; };
    std::stable_sort(byText.begin(), byText.end(), textLess);
    std::vector<int> textRank(texts.size());
    for (size_t i = 0; i < byText.size(); ++i) {
        const bool sameAsBefore = i > 0 && !textLess(byText[i - 1], byText[i]);
        textRank[byText[i]] = sameAsBefore ? textRank[byText[i - 1]] : int(i);
    }
    std::stable_sort(entries.begin(), entries.end(), [&textRank](const LrcEntry &x, const LrcEntry &y) {
        if (const int c = compareEntryTags(x.tag, y.tag))
            return c < 0;
        return textRank[x.line] < textRank[y.line];
    });

    // Every entry but the last, with the span to the entry after it.
    QString out;
    for (size_t k = 0; k + 1 < entries.size(); ++k) {
        const QStringView tag = entries[k].tag;
        const QStringView text = texts[entries[k].line];
        const QString span = QString::number(LrcTagSpanMs(tag, entries[k + 1].tag));
        if (out.size() + tag.size() + text.size() + span.size() + 8 > kMaxNormalizedLrcChars)
            break;
        out += u'[';
        out += tag;
        out += u']';
        out += text;
        out += u'[';
        out += span;
        out += u']';
        out += kBr;
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
    // exactly like searching the text for the key. The "<br>" and the "]" after a key
    // are found by moving forward only, and keys whose "]" is the same share one line:
    // a line full of keys is read once, not once per key.
    std::vector<bool> seen(100000);
    qsizetype brAt = -2, closeAt = -2, sharedClose = -1;
    int sharedLine = -1;
    const QChar *d = text.constData();
    for (qsizetype i = 0; i + 7 <= text.size(); ++i) {
        if (!(isDigit(d[i]) && isDigit(d[i + 1]) && d[i + 2] == u':' && isDigit(d[i + 3]) && isDigit(d[i + 4])
                && d[i + 5] == u'.' && isDigit(d[i + 6])))
            continue;
        const int code = (d[i].unicode() - u'0') * 10000 + (d[i + 1].unicode() - u'0') * 1000
            + (d[i + 3].unicode() - u'0') * 100 + (d[i + 4].unicode() - u'0') * 10 + (d[i + 6].unicode() - u'0');
        if (seen[size_t(code)])
            continue;
        seen[size_t(code)] = true;
        const qsizetype keyEnd = i + 7;
        if (brAt != -1 && brAt < keyEnd)
            brAt = text.indexOf(kBr, keyEnd);
        if (closeAt != -1 && closeAt < keyEnd)
            closeAt = text.indexOf(u']', keyEnd);
        if (brAt >= 0 && closeAt >= 0 && closeAt < brAt && closeAt == sharedClose) {
            lyrics.m_byKey.emplace_back(code, sharedLine);
            continue;
        }
        lyrics.m_byKey.emplace_back(code, static_cast<int>(lyrics.m_lines.size()));
        lyrics.m_lines.push_back(lyrics.lineFrom(keyEnd, brAt, closeAt));
        sharedClose = brAt >= 0 && closeAt >= 0 && closeAt < brAt ? closeAt : -1;
        sharedLine = lyrics.m_byKey.back().second;
    }
    std::sort(
        lyrics.m_byKey.begin(), lyrics.m_byKey.end(), [](const auto &x, const auto &y) { return x.first < y.first; });
    return lyrics;
}

LrcLyrics::Line LrcLyrics::lineFrom(qsizetype keyEnd, qsizetype brAt, qsizetype closeAt) const
{
    Line line;
    if (brAt < 0)
        return line;
    line.startsLine = true;
    // "0]text[2500]" -> text "text", span 2500
    if (closeAt < 0 || closeAt >= brAt) {
        line.text = m_text.mid(keyEnd, brAt - keyEnd);
        return line;
    }
    QStringView second = QStringView(m_text).mid(closeAt + 1, brAt - closeAt - 1);
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
    const qsizetype keyEnd = at + key.size();
    const qsizetype brAt = m_text.indexOf(kBr, keyEnd);
    const qsizetype closeAt = brAt < 0 ? -1 : QStringView(m_text).left(brAt).indexOf(u']', keyEnd);
    m_scratch = lineFrom(keyEnd, brAt, closeAt);
    return &m_scratch;
}

} // namespace kivo
