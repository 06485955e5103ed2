#pragma once

#include "core/songrecord.h"

#include <QList>
#include <QObject>
#include <QString>

namespace kivo {

// One song of the now-playing queue. An entry with an empty title is an empty slot.
struct QueueEntry
{
    QString title;
    QString locator; // local path or network address handed to the engine; may be empty
    QString url2; // search text used when there is no locator
    qint32 id = 0;
    qint16 kind = 0; // a SongKind
    qint16 candidateIndex = 0; // search candidate being tried, 0 before any search
    QString candidates; // "<br>"-separated search result, empty when not fetched
    QString lyrics;
};

// A file the user brought in (import, drop, command line, playlist file): titled as
// given, else by its file name with extension.
QueueEntry importedEntry(const QString &locator, const QString &title = QString());

// The now-playing queue: entries numbered from 0. Its empty state is one empty
// entry 0, never zero entries.
class PlayQueue : public QObject
{
    Q_OBJECT
public:
    explicit PlayQueue(QObject *parent = nullptr);

    int highest() const { return int(m_entries.size()) - 1; }
    bool contains(int index) const { return index >= 0 && index <= highest(); }
    QueueEntry &at(int index) { return m_entries[index]; }
    const QueueEntry &at(int index) const { return m_entries[index]; }
    // Entry 0 has a title: the queue holds at least one song.
    bool hasSongs() const { return !m_entries.first().title.isEmpty(); }

    // Back to the single empty entry 0 ("清空", and before a fill from scratch).
    void reset();
    // Grows by one past the highest number; returns the new number.
    int append(const QueueEntry &entry);
    // Replaces an entry's contents in place.
    void replace(int index, const QueueEntry &entry);
    // Removes one entry (the last one left becomes the empty entry 0).
    void remove(int index);
    // Many at once, told to the views once: the entries become the whole queue
    // (none: the empty state), or follow the highest number.
    void assign(const QList<QueueEntry> &entries);
    void appendAll(const QList<QueueEntry> &entries);

    // Bumped whenever an entry is refilled or removed, so work that waited on the
    // server can tell that the entry it started with is gone.
    quint64 generation() const { return m_generation; }
    // Tells views that an entry changed in place (locator healed, lyrics found).
    void touch(int index);

Q_SIGNALS:
    void changed();
    // Entry index was removed; the later entries moved down by one.
    void entryRemoved(int index);
    // The queue was emptied to its single empty entry, or filled anew as a whole.
    void emptied();

private:
    QList<QueueEntry> m_entries;
    quint64 m_generation = 0;
};

} // namespace kivo
