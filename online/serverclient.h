#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

namespace kivo {

// Percent-encodes one value the program inserts into a page address (a title, a
// name, words the user typed, an address). Separators the program writes itself
// ("&", "=", the "+" between song and singer) are added by the caller, unencoded.
QString encodeQueryValue(const QString &value);

// Turns a response body into text: the charset the server names, else UTF-8 when
// the bytes are valid UTF-8, else GB18030.
QString decodeResponseBody(const QByteArray &body, const QByteArray &contentType);

// Where a request stands, for the busy overlay's caption.
enum class RequestState { Resolving, Connecting, Connected, Error, Completed };
QString requestStateCaption(RequestState state);

// The content server's client: one request per call, a POST without body, never
// failing towards the caller. Waiting suspends the calling coroutine; the event
// loop keeps running, so the window stays live.
class ServerClient : public QObject
{
    Q_OBJECT
public:
    ServerClient(QNetworkAccessManager *network, const QString &baseUrl, QObject *parent = nullptr);

    // ServerBaseUrl: ends with "/".
    QString baseUrl() const { return m_baseUrl; }
    // ServerBaseUrl followed by a page path and its (already encoded) query.
    QString pageUrl(const QString &pathAndQuery) const { return m_baseUrl + pathAndQuery; }

    // Pages longer than this are refused (the server's pages are a few KiB).
    static constexpr qint64 kMaxPageBytes = 2 * 1024 * 1024;

    // The whole body as text, or empty on any failure (HTTP error, time-out, abort,
    // a body over kMaxPageBytes).
    QCoro::Task<QString> fetchPage(QString url);
    // The unmirrored payload of a data page; empty URL: empty, without a request.
    QCoro::Task<QString> fetchHiddenPayload(QString url);

    // Request time-out; the busy overlay's limit follows it.
    std::chrono::milliseconds requestTimeout() const { return m_timeout; }
    void setRequestTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Ends every request still waiting (they yield empty text). Used at exit.
    void abortAll();
    int pendingRequests() const;

Q_SIGNALS:
    void stateChanged(kivo::RequestState state);
    // Every URL requested, in order (tests and diagnostics).
    void requested(const QString &url);

private:
    QNetworkAccessManager *m_network;
    QString m_baseUrl;
    std::chrono::milliseconds m_timeout {std::chrono::seconds(60)};
    QList<QPointer<QNetworkReply>> m_pending;
};

} // namespace kivo
