#include "support/demoserver.h"

#include <csignal>
#include <sys/prctl.h>

#include "support/testpaths.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>

namespace kivo::test {

QByteArray HttpResult::header(const QByteArray &name) const
{
    for (const QByteArray &line : headers.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

DemoServer::DemoServer(const QString &mediaDir, bool standInUpdate)
{
    const QString program = toolsDir() + QStringLiteral("/kivodemo");
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test that crashes must not leave its server behind holding the test's
    // output open: the server ends with the process that started it.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    QStringList args {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--media"),
        mediaDir.isEmpty() ? demoMediaDir() : mediaDir};
    if (standInUpdate)
        args << QStringLiteral("--standin-update");
    m_process->start(program, args);
    if (!m_process->waitForStarted(5000)) {
        m_error = QStringLiteral("cannot start ") + program;
        return;
    }
    static const QRegularExpression listening(QStringLiteral("^kivodemo listening on 127\\.0\\.0\\.1:(\\d+)"));
    QDeadlineTimer deadline(10000);
    QByteArray out;
    while (!deadline.hasExpired()) {
        if (m_process->canReadLine() || m_process->waitForReadyRead(int(deadline.remainingTime()))) {
            out += m_process->readLine();
            const auto m = listening.match(QString::fromUtf8(out));
            if (m.hasMatch()) {
                m_port = m.captured(1).toInt();
                return;
            }
        } else if (m_process->state() != QProcess::Running) {
            break;
        }
    }
    m_error = QStringLiteral("kivodemo did not report its port: ") + QString::fromUtf8(out);
}

DemoServer::~DemoServer()
{
    stop(3000);
}

bool DemoServer::stop(int timeoutMs)
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return true;
    m_process->terminate();
    if (m_process->waitForFinished(timeoutMs))
        return m_process->exitStatus() == QProcess::NormalExit;
    m_process->kill();
    m_process->waitForFinished(2000);
    return false;
}

QString DemoServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

HttpResult DemoServer::request(
    const QByteArray &method, const QByteArray &pathAndQuery, int timeoutMs, const QByteArray &extraHeaders) const
{
    HttpResult r;
    QTcpSocket socket;
    QDeadlineTimer deadline(timeoutMs);
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_port));
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return r;
    r.connected = true;
    socket.write(method + ' ' + pathAndQuery + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(m_port)
        + "\r\nConnection: close\r\nContent-Length: 0\r\n" + extraHeaders + "\r\n");
    socket.waitForBytesWritten(int(deadline.remainingTime()));
    QByteArray raw;
    while (true) {
        raw += socket.readAll();
        if (socket.state() != QAbstractSocket::ConnectedState)
            break;
        if (deadline.hasExpired()) {
            r.timedOut = true;
            break;
        }
        socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
    raw += socket.readAll();
    socket.abort();

    const qsizetype end = raw.indexOf("\r\n\r\n");
    if (end < 0 || !raw.startsWith("HTTP/1."))
        return r;
    r.gotHeaders = true;
    r.headers = raw.left(end);
    r.body = raw.mid(end + 4);
    r.status = r.headers.split(' ').value(1).toInt();
    bool ok = false;
    const qint64 length = r.header("Content-Length").toLongLong(&ok);
    r.contentLength = ok ? length : -1;
    return r;
}

bool DemoServer::control(const QByteArray &pathAndQuery) const
{
    const HttpResult r = request("POST", "/__demo/" + pathAndQuery, 5000);
    return r.complete() && r.status == 200;
}

QStringList DemoServer::requestLog() const
{
    const HttpResult r = request("GET", "/__demo/log", 5000);
    if (!r.complete())
        return {};
    QStringList lines = r.text().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QList<QList<QPair<QString, QString>>> DemoServer::dedications() const
{
    const HttpResult r = request("GET", "/__demo/dedications", 5000);
    QList<QList<QPair<QString, QString>>> out;
    for (const QJsonValue &one : QJsonDocument::fromJson(r.body).array()) {
        QList<QPair<QString, QString>> fields;
        for (const QJsonValue &field : one.toArray())
            fields.append({field.toArray().at(0).toString(), field.toArray().at(1).toString()});
        out.append(fields);
    }
    return out;
}

void DemoServer::clearLog()
{
    control("log/clear");
}

bool DemoServer::setFault(const QString &path, const QString &kind)
{
    return control("fault?path=" + QUrl::toPercentEncoding(path) + "&kind=" + QUrl::toPercentEncoding(kind));
}

bool DemoServer::setNoticeField(const QString &name, const QString &value)
{
    return control("dl?" + QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value));
}

bool DemoServer::setUpdateFile(const QString &path)
{
    return control("update?file=" + QUrl::toPercentEncoding(path));
}

bool DemoServer::reset()
{
    return control("reset");
}

QList<QPair<QString, QString>> decodedQuery(const QString &logLine)
{
    QList<QPair<QString, QString>> out;
    const qsizetype mark = logLine.indexOf(u'?');
    if (mark < 0)
        return out;
    for (const QString &part : logLine.mid(mark + 1).split(u'&', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        const QString key = eq < 0 ? part : part.left(eq);
        const QString value = eq < 0 ? QString() : part.mid(eq + 1);
        out.append({QUrl::fromPercentEncoding(key.toUtf8()), QUrl::fromPercentEncoding(value.toUtf8())});
    }
    return out;
}

} // namespace kivo::test
