#pragma once

#include "online/pagefetcher.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <QCoro/QCoroSignal>

namespace kivo::test {

// Serves payloads from a table by URL and records every URL asked for. With
// holdReplies on, each request waits until release() is called.
class FakePageFetcher : public QObject, public PageFetcher
{
    Q_OBJECT
public:
    QString base = QStringLiteral("http://127.0.0.1:9/");
    QHash<QString, QString> payloads; // by full URL
    QStringList requested;
    bool holdReplies = false;

    QString baseUrl() const override { return base; }
    QCoro::Task<QString> fetchHiddenPayload(QString url) override
    {
        requested.append(url);
        if (holdReplies)
            co_await qCoro(this, &FakePageFetcher::released);
        co_return payloads.value(url);
    }
    void release() { Q_EMIT released(); }

Q_SIGNALS:
    void released();
};

} // namespace kivo::test
