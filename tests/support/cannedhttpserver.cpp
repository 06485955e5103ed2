#include "support/cannedhttpserver.h"

#include <QTcpSocket>

namespace kivo::test {

CannedHttpServer::CannedHttpServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

bool CannedHttpServer::start()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString CannedHttpServer::baseUrl() const
{
    return u"http://127.0.0.1:%1/"_qs.arg(m_server.serverPort());
}

void CannedHttpServer::serve(QTcpSocket *socket)
{
    const QByteArray head = socket->peek(64 * 1024);
    if (!head.contains("\r\n\r\n"))
        return;
    socket->readAll();
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    if (requestLine.size() < 2)
        return;
    const QString target = QString::fromLatin1(requestLine.at(1));
    m_requests.append(QString::fromLatin1(requestLine.at(0)) + QLatin1Char(' ') + target);
    const QString path = target.section(QLatin1Char('?'), 0, 0);
    const auto it = m_answers.constFind(path);
    Answer answer = it != m_answers.constEnd() ? *it : Answer {404, "not found", "text/plain", false};
    if (answer.hang)
        return;
    QByteArray out = "HTTP/1.0 " + QByteArray::number(answer.status) + " X\r\nContent-Type: " + answer.contentType
        + "\r\nContent-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n"
        + answer.body;
    socket->write(out);
    socket->disconnectFromHost();
}

} // namespace kivo::test
