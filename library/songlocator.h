#pragma once

#include <QString>

#include <functional>

namespace kivo {

using FileExists = std::function<bool(const QString &path)>;
// The file-system test the pages and the queue use by default: a file, not a folder.
bool fileExistsOnDisk(const QString &path);
// The same test for the many paths of one page: each folder is read once, its files
// kept for the life of the returned test (so make one per page).
FileExists fileExistsByFolder();

// Where a stored song plays from: its local path when that file is still there,
// else its network address, else nothing (an empty text; the song is then searched
// for by its url2). Both addresses are already unmirrored.
QString chooseLocator(const QString &url, const QString &url1, const FileExists &exists = fileExistsOnDisk);

} // namespace kivo
