#pragma once

#include <QString>

#include <QCoro/QCoroTask>

namespace kivo {

// What the pages need of the content server: the base URL and the payload of a
// data page. The server client provides it in the player; tests use a fake.
class PageFetcher
{
public:
    virtual ~PageFetcher() = default;
    virtual QString baseUrl() const = 0;
    // The unmirrored payload at url; empty on any failure.
    virtual QCoro::Task<QString> fetchHiddenPayload(QString url) = 0;
};

} // namespace kivo
