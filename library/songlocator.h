#pragma once

#include "library/libraryrows.h"

#include <QString>

#include <functional>

namespace kivo {

using FileExists = std::function<bool(const QString &path)>;

// The address a stored song is played from: its local file when that exists,
// else its network address, else nothing (an empty text; the song is then
// searched for by its url2).
QString songLocator(const StoredSong &song, const FileExists &fileExists);
QString songLocator(const StoredSong &song);

} // namespace kivo
