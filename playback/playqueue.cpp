#include "playback/playqueue.h"

#include "core/songrecord.h"

#include <QFileInfo>

namespace kivo {

QueueEntry importedEntry(const QString &locator, const QString &title)
{
    QueueEntry e;
    e.title = title.isEmpty() ? QFileInfo(locator).fileName() : title;
    e.locator = locator;
    e.kind = SongKind::ImportedFile;
    return e;
}

PlayQueue::PlayQueue(QObject *parent)
    : QObject(parent)
    , m_entries {QueueEntry {}}
{ }

void PlayQueue::reset()
{
    m_entries = {QueueEntry {}};
    ++m_generation;
    Q_EMIT emptied();
    Q_EMIT changed();
}

int PlayQueue::append(const QueueEntry &entry)
{
    m_entries.append(entry);
    Q_EMIT changed();
    return highest();
}

void PlayQueue::replace(int index, const QueueEntry &entry)
{
    if (!contains(index))
        return;
    m_entries[index] = entry;
    ++m_generation;
    Q_EMIT changed();
}

void PlayQueue::remove(int index)
{
    if (!contains(index))
        return;
    m_entries.removeAt(index);
    if (m_entries.isEmpty())
        m_entries.append(QueueEntry {});
    ++m_generation;
    Q_EMIT entryRemoved(index);
    Q_EMIT changed();
}

void PlayQueue::assign(const QList<QueueEntry> &entries)
{
    m_entries = entries.isEmpty() ? QList<QueueEntry> {QueueEntry {}} : entries;
    ++m_generation;
    Q_EMIT emptied(); // filled anew: no entry is current any more
    Q_EMIT changed();
}

void PlayQueue::appendAll(const QList<QueueEntry> &entries)
{
    if (entries.isEmpty())
        return;
    m_entries.append(entries);
    Q_EMIT changed();
}

void PlayQueue::touch(int index)
{
    if (contains(index))
        Q_EMIT changed();
}

} // namespace kivo
