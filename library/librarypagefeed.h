#pragma once

#include "library/librarysource.h"
#include "library/songlocator.h"

#include <QObject>

namespace kivo {

class SongListModel;

// The rest of a long playlist or history page after its first screenful: one part
// per event-loop turn, appended to the list, until the page ends. A list filled or
// emptied anew meanwhile stops the feed, so no part lands in a list showing
// something else; closing the tab deletes the list and the feed with it.
class LibraryPageFeed : public QObject
{
    Q_OBJECT
public:
    struct Page
    {
        const LibrarySource *source = nullptr;
        bool history = false;
        int id = 0; // the playlist or history day
        int beforeId = 0; // the last row shown so far
        int partRows = 0;
        FileExists exists; // shared with the first part, so each folder is read once
    };

    // Feeds `model` as a child of it, from the next event-loop turn on.
    static void start(SongListModel *model, Page page);

private:
    LibraryPageFeed(SongListModel *model, Page page);
    void nextPart();

    SongListModel *m_model;
    Page m_page;
    quint64 m_filling;
};

} // namespace kivo
