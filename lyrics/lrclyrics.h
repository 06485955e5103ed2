#pragma once

#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

namespace kivo {

// Milliseconds from time tag `from` to time tag `to` ("mm:ss.xx" without brackets).
// Both whole parts must be clock readings M:S with M 0..23 and S 0..59, else 0.
// Fractions are hundredths when both have two or more characters, else tenths (first
// character); a tag without fraction adds nothing. Never fails; allocates nothing.
int LrcTagSpanMs(QStringView from, QStringView to);

// What one lyric may yield, however hostile its text: time tags beyond the first
// kMaxLrcEntries are ignored, and the normalised text ends with the last whole entry
// that fits in kMaxNormalizedLrcChars. A song of 24 minutes with a line every tenth
// of a second has 14,400 entries.
inline constexpr qsizetype kMaxLrcEntries = 50000;
inline constexpr qsizetype kMaxNormalizedLrcChars = 4 * 1024 * 1024;

// Lyric text ("<br>"-separated LRC lines) in the program's normalised form: one
// entry "[tag]text[span]<br>" per time tag, sorted, span = ms to the next entry.
// Linear in the length of raw.
QString NormalizeLrcText(const QString &raw);

// Normalised lyrics of a song, with the lookup the lyric timer needs precomputed:
// for every "mm:ss.t" key that occurs in the text, the line that starts there.
class LrcLyrics
{
public:
    struct Line
    {
        QString text; // caption of the lyric labels
        int spanMs = 0; // the line's duration
        bool hasSpan = false; // false for text not in normalised form
        bool startsLine = false; // a "<br>" follows the key, so a line is shown
    };

    LrcLyrics() = default;
    // Wraps text as it is (normalised or not) and indexes it.
    static LrcLyrics fromText(const QString &text);

    const QString &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    // Trimmed text of at least 10 characters: short texts show nothing.
    bool isDisplayable() const { return m_displayable; }

    // The line found at the first occurrence of `key` in the text, or null when the
    // key does not occur. Keys of the usual "dd:dd.d" form are looked up in the index;
    // others (negative tenths) are searched in the text.
    const Line *lineAt(QStringView key) const;

private:
    // The line a key ending at keyEnd starts, given the first "<br>" and the first
    // "]" at or after keyEnd (-1 for none).
    Line lineFrom(qsizetype keyEnd, qsizetype brAt, qsizetype closeAt) const;

    QString m_text;
    bool m_displayable = false;
    std::vector<Line> m_lines;
    // (code of a "dd:dd.d" key, index into m_lines) for the first occurrence of
    // each key, sorted by code.
    std::vector<std::pair<int, int>> m_byKey;
    mutable Line m_scratch; // result of the rare searched lookup
};

// NormalizeLrcText, indexed for display.
LrcLyrics NormalizeLrc(const QString &raw);

} // namespace kivo
