#pragma once

#include <QDateTime>

#include <optional>

namespace kivo {

// What downloads need of the library: the daily download counter in table config.
// The shell's LibraryAccess implements it over the one database connection.
class DownloadLibrary
{
public:
    virtual ~DownloadLibrary() = default;
    // Counts one completed download for the server's day (the first of a new day
    // counts 1) and returns the day's count; nothing when the library keeps no
    // counter row.
    virtual std::optional<int> countDownload(const QDateTime &serverDate) = 0;
};

} // namespace kivo
