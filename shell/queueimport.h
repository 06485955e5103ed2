#pragma once

#include "library/localimport.h"
#include "library/playlistfile.h"

namespace kivo {

class PlaybackSession;
class PlayQueue;

// The now-playing queue as the import fills it. Imported songs are local files
// (kind -3) or network addresses, with no url2 and nothing fetched yet.
class QueueImport final : public ImportQueuePort
{
public:
    explicit QueueImport(PlaybackSession *session)
        : m_session(session)
    { }

    bool hasSongs() const override;
    // The current number moves before the first new entry, so "下一首" starts it
    // rather than skipping it or a song of the old queue coming back.
    void replaceQueue(const QList<ImportItem> &items) override;
    void appendToQueue(const QList<ImportItem> &items) override;

private:
    PlaybackSession *m_session;
};

// The queue's songs as a playlist file lists them: every entry with a title and an address.
QList<PlaylistFileEntry> queueFileEntries(const PlayQueue &queue);

} // namespace kivo
