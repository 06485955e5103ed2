#include "shell/nowplayingqueue.h"

#include "playback/playqueue.h"

namespace kivo {

SongToStore NowPlayingQueue::songOf(const QueueEntry &entry)
{
    SongToStore song;
    song.title = entry.title.trimmed();
    song.locator = entry.locator.trimmed();
    song.url2 = entry.url2.trimmed();
    song.kind = entry.kind;
    song.id = entry.id;
    return song;
}

QList<SongToStore> NowPlayingQueue::queuedSongs() const
{
    QList<SongToStore> songs;
    for (int i = 0; i <= m_queue->highest(); ++i) {
        if (!m_queue->at(i).title.trimmed().isEmpty())
            songs.append(songOf(m_queue->at(i)));
    }
    return songs;
}

std::optional<SongToStore> NowPlayingQueue::queuedSong(int entry) const
{
    if (!m_queue->contains(entry) || m_queue->at(entry).title.trimmed().isEmpty())
        return std::nullopt;
    return songOf(m_queue->at(entry));
}

bool NowPlayingQueue::removeEntry(int entry)
{
    if (!m_queue->contains(entry))
        return false;
    m_queue->remove(entry);
    return true;
}

void NowPlayingQueue::clear()
{
    m_queue->reset();
}

} // namespace kivo
