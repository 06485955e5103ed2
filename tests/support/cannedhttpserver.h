#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

namespace kivo::test {

// A tiny HTTP/1.0 responder on 127.0.0.1 with canned answers per path, for unit
// tests of the network code. Unknown paths answer 404; a path set to hang never
// answers (the client's time-out ends it).
class CannedHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Answer
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        bool hang = false;
    };

    explicit CannedHttpServer(QObject *parent = nullptr);
    bool start();
    QString baseUrl() const; // "http://127.0.0.1:PORT/"
    void setAnswer(const QString &path, const Answer &answer) { m_answers.insert(path, answer); }
    // "METHOD /path?query" of every request, in order.
    QStringList requests() const { return m_requests; }

private:
    void serve(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Answer> m_answers;
    QStringList m_requests;
};

} // namespace kivo::test
