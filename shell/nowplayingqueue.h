#pragma once

#include "library/nowplayingport.h"

namespace kivo {

class PlayQueue;
struct QueueEntry;

// The library commands' view of the now-playing queue.
class NowPlayingQueue final : public NowPlayingPort
{
public:
    explicit NowPlayingQueue(PlayQueue *queue)
        : m_queue(queue)
    { }

    // An entry as a playlist stores it: title, locator, url2, kind and id.
    static SongToStore songOf(const QueueEntry &entry);

    QList<SongToStore> queuedSongs() const override;
    std::optional<SongToStore> queuedSong(int entry) const override;
    bool removeEntry(int entry) override;
    void clear() override;

private:
    PlayQueue *m_queue;
};

} // namespace kivo
