#include "shell/queueimport.h"

#include "core/songrecord.h"
#include "playback/playbacksession.h"
#include "playback/playqueue.h"

namespace kivo {

namespace {

QList<QueueEntry> entriesOf(const QList<ImportItem> &items)
{
    QList<QueueEntry> entries;
    entries.reserve(items.size());
    for (const ImportItem &item : items)
        entries.append(importedEntry(item.locator, item.title));
    return entries;
}

} // namespace

bool QueueImport::hasSongs() const
{
    return m_session->queue()->hasSongs();
}

void QueueImport::replaceQueue(const QList<ImportItem> &items)
{
    m_session->queue()->assign(entriesOf(items)); // the player follows: no current entry
}

void QueueImport::appendToQueue(const QList<ImportItem> &items)
{
    m_session->queue()->appendAll(entriesOf(items));
}

QList<PlaylistFileEntry> queueFileEntries(const PlayQueue &queue)
{
    QList<PlaylistFileEntry> entries;
    for (int i = 0; i <= queue.highest(); ++i) {
        const QueueEntry &e = queue.at(i);
        if (!e.title.isEmpty() && !e.locator.trimmed().isEmpty())
            entries.append({e.title, e.locator.trimmed()});
    }
    return entries;
}

} // namespace kivo
