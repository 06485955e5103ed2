#pragma once

#include "library/libraryrows.h"

#include <QList>

#include <optional>

namespace kivo {

// What the library commands need of the now-playing queue, which belongs to playback.
// The shell implements it over the queue.
class NowPlayingPort
{
public:
    virtual ~NowPlayingPort() = default;
    // The entries with a title, in queue order, as a playlist stores them.
    virtual QList<SongToStore> queuedSongs() const = 0;
    // One entry as a playlist stores it; nothing for an empty slot or a number outside.
    virtual std::optional<SongToStore> queuedSong(int entry) const = 0;
    // Removes the entry; the later ones move down by one. False when there is none.
    virtual bool removeEntry(int entry) = 0;
    // Back to the single empty entry.
    virtual void clear() = 0;
};

} // namespace kivo
