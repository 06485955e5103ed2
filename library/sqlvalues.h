#pragma once

#include <QString>
#include <QVariant>

#include <algorithm>

namespace kivo {

// Qt binds a null QString as SQL NULL; the text columns hold "" instead.
// Qt hands text to SQLite as UTF-16, and SQLite reads a leading U+FEFF or U+FFFE as
// a byte-order mark: it would drop the first and byte-swap the whole value for the
// second. A mark of our own in front is the one SQLite takes away.
inline QVariant boundText(const QString &s)
{
    if (s.isNull())
        return QVariant(QStringLiteral(""));
    if (s.startsWith(QChar(0xFEFF)) || s.startsWith(QChar(0xFFFE)))
        return QVariant(QChar(0xFEFF) + s);
    return QVariant(s);
}

// Titles are stored without NUL characters: SQLite's comparisons end at the first.
inline QString storedTitle(const QString &title)
{
    return title.contains(QChar(0)) ? QString(title).remove(QChar(0)) : title;
}

// Characters as SQLite's length() counts them: code points, not UTF-16 units.
inline qsizetype characterCount(const QString &s)
{
    return s.size() - std::count_if(s.cbegin(), s.cend(), [](QChar c) { return c.isLowSurrogate(); });
}

} // namespace kivo
