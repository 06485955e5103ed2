#include "downloads/downloadqueue.h"

namespace kivo {

int DownloadQueue::append(const DownloadTask &task)
{
    const int id = m_nextId++;
    m_entries.append({id, task});
    return id;
}

bool DownloadQueue::remove(int id)
{
    return m_entries.removeIf([id](const Entry &e) { return e.id == id; }) > 0;
}

const DownloadTask *DownloadQueue::find(int id) const
{
    for (const Entry &e : m_entries) {
        if (e.id == id)
            return &e.task;
    }
    return nullptr;
}

} // namespace kivo
