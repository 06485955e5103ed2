#pragma once

namespace kivo {

// The download list as the record commands change it: "清空所有" empties it,
// "删除记录" removes one entry by the number its page row carries.
class DownloadRecords
{
public:
    virtual ~DownloadRecords() = default;
    virtual void clearDownloadRecords() = 0;
    // False when the entry is no longer queued.
    virtual bool removeDownloadRecord(int entry) = 0;
};

} // namespace kivo
