#pragma once

// Header only: the main window includes it to hand its ServerClient to playback.

#include "online/serverclient.h"
#include "playback/playbackserver.h"

namespace kivo {

class ServerClientSource final : public PlaybackServer
{
public:
    explicit ServerClientSource(ServerClient *client)
        : m_client(client)
    { }
    QString pageUrl(const QString &pathAndQuery) const override { return m_client->pageUrl(pathAndQuery); }
    QString encodeQueryValue(const QString &value) const override { return kivo::encodeQueryValue(value); }
    QCoro::Task<QString> fetchPage(QString url) override { return m_client->fetchPage(std::move(url)); }
    QCoro::Task<QString> fetchHiddenPayload(QString url) override
    {
        return m_client->fetchHiddenPayload(std::move(url));
    }

private:
    ServerClient *m_client;
};

} // namespace kivo
