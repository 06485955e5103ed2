#pragma once

#include "online/pagefetcher.h"
#include "online/serverclient.h"

#include <QPointer>

namespace kivo {

// The pages' view of the player's server client.
class ServerClientFetcher final : public PageFetcher
{
public:
    explicit ServerClientFetcher(ServerClient *client)
        : m_client(client)
    { }
    QString baseUrl() const override { return m_client ? m_client->baseUrl() : QString(); }
    QCoro::Task<QString> fetchHiddenPayload(QString url) override
    {
        if (!m_client)
            co_return QString();
        co_return co_await m_client->fetchHiddenPayload(url);
    }

private:
    QPointer<ServerClient> m_client;
};

} // namespace kivo
