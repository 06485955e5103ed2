#pragma once

#include "online/pagefetcher.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <QCoro/QCoroSignal>

#include <memory>
#include <vector>

namespace kivo::test {

// Opens once, letting one held request finish.
class FetchGate : public QObject
{
    Q_OBJECT
public:
    void open() { Q_EMIT opened(); }
Q_SIGNALS:
    void opened();
};

// Serves payloads from a table by URL and records every URL asked for. With
// holdReplies on, each request waits until it is released.
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
        m_gates.push_back(std::make_unique<FetchGate>());
        if (holdReplies)
            co_await qCoro(m_gates.back().get(), &FetchGate::opened);
        co_return payloads.value(url);
    }
    // Lets every held request finish, in the order they were made.
    void release()
    {
        const size_t count = m_gates.size();
        for (size_t i = 0; i < count; ++i)
            m_gates[i]->open();
    }
    // Lets one held request finish: its number in `requested`.
    void releaseRequest(int number) { m_gates.at(size_t(number))->open(); }

private:
    std::vector<std::unique_ptr<FetchGate>> m_gates;
};

} // namespace kivo::test
