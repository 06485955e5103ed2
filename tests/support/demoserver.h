#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace kivo::test {

// One HTTP exchange as a test sees it, with the ways it can go wrong kept apart.
struct HttpResult
{
    bool connected = false;
    bool timedOut = false; // the client gave up waiting
    bool gotHeaders = false; // a status line and headers arrived
    int status = 0;
    qint64 contentLength = -1; // -1 when the response names none
    QByteArray headers; // the raw header block
    QByteArray body;

    QByteArray header(const QByteArray &name) const;
    // Headers arrived and the body is as long as announced.
    bool complete() const { return gotHeaders && (contentLength < 0 || body.size() == contentLength); }
    QString text() const { return QString::fromUtf8(body); }
};

// Starts build/tools/kivodemo on a free port of 127.0.0.1 with the demo media and
// stops it again when destroyed. Its control endpoints are wrapped here.
class DemoServer
{
public:
    // standInUpdate: the update file is the small stand-in program; otherwise the
    // server's default, a copy of the built player.
    explicit DemoServer(const QString &mediaDir = QString(), bool standInUpdate = true);
    ~DemoServer();
    DemoServer(const DemoServer &) = delete;
    DemoServer &operator=(const DemoServer &) = delete;

    bool isRunning() const { return m_port > 0; }
    int port() const { return m_port; }
    // "http://127.0.0.1:PORT/"
    QString baseUrl() const;
    // Why starting failed, for a test's skip or failure message.
    QString error() const { return m_error; }

    // One line per request, "METHOD target" as received (target still
    // percent-encoded), in order; the control requests are not listed.
    QStringList requestLog() const;
    void clearLog();
    // What "kxrjzf.asp" received: each dedication's decoded query, keys in order.
    QList<QList<QPair<QString, QString>>> dedications() const;
    // kind: hang, drip, 500, reset, truncate, garbage, huge, off.
    bool setFault(const QString &path, const QString &kind);
    // name: notice, announcement, link, queue, daily, date, version, count.
    bool setNoticeField(const QString &name, const QString &value);
    bool setUpdateFile(const QString &path);
    // Faults off, log empty, start-up page as at start.
    bool reset();

    // A blocking request with a bound; pathAndQuery starts with "/".
    HttpResult request(const QByteArray &method, const QByteArray &pathAndQuery, int timeoutMs = 5000,
        const QByteArray &extraHeaders = {}) const;
    HttpResult post(const QByteArray &pathAndQuery, int timeoutMs = 5000) const
    {
        return request("POST", pathAndQuery, timeoutMs);
    }

    // Stops the server with SIGTERM; true when it ended by itself within the bound.
    bool stop(int timeoutMs = 5000);

private:
    bool control(const QByteArray &pathAndQuery) const;

    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    QString m_error;
};

// The query of a logged request line, decoded: key → value (keys in order).
QList<QPair<QString, QString>> decodedQuery(const QString &logLine);

} // namespace kivo::test
