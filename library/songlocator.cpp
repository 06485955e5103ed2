#include "library/songlocator.h"

#include <QFileInfo>

namespace kivo {

QString songLocator(const StoredSong &song, const FileExists &fileExists)
{
    if (!song.url.isEmpty() && fileExists(song.url))
        return song.url;
    return song.url1;
}

QString songLocator(const StoredSong &song)
{
    return songLocator(song, [](const QString &path) { return QFileInfo(path).isFile(); });
}

} // namespace kivo
