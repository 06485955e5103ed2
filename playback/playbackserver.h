#pragma once

#include <QCoro/QCoroTask>
#include <QString>

namespace kivo {

// The content server as playback uses it. serverclientsource.h adapts ServerClient.
class PlaybackServer
{
public:
    virtual ~PlaybackServer() = default;
    // ServerBaseUrl followed by a page path and its encoded query.
    virtual QString pageUrl(const QString &pathAndQuery) const = 0;
    virtual QString encodeQueryValue(const QString &value) const = 0;
    // Whole body, or empty on any failure.
    virtual QCoro::Task<QString> fetchPage(QString url) = 0;
    // Unmirrored payload of a hidden-data page, or empty.
    virtual QCoro::Task<QString> fetchHiddenPayload(QString url) = 0;
};

} // namespace kivo
