#pragma once

#include "downloads/downloadtask.h"

#include <QList>

namespace kivo {

// The songs queued for download, in the order they were queued. Every entry keeps
// the number it was given when queued, so a page built earlier still names the
// right entry after others have gone.
class DownloadQueue
{
public:
    struct Entry
    {
        int id = 0;
        DownloadTask task;
    };

    // The queue limit (0: none) counts the highest place, as the empty queue has its
    // one empty place 0: with a limit of 30 the queue holds at most 31 songs.
    bool isFull(int limit) const { return limit != 0 && highestPlace() >= limit; }
    int highestPlace() const { return m_entries.isEmpty() ? 0 : int(m_entries.size()) - 1; }

    // Appends a song; returns its entry number.
    int append(const DownloadTask &task);
    // False when the entry is not (or no longer) queued.
    bool remove(int id);
    void clear() { m_entries.clear(); }
    bool contains(int id) const { return find(id) != nullptr; }
    const DownloadTask *find(int id) const;
    const QList<Entry> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }

private:
    QList<Entry> m_entries;
    int m_nextId = 1;
};

} // namespace kivo
