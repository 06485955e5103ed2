#include "transfer/download.h"

#include "transfer/headerblock.h"
#include "transfer/transferlog.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <QCoro/QCoroSignal>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kivo {

namespace {

// Bytes taken from the reply per read, and the most it buffers before the
// network thread waits for us: memory stays flat whatever the file's size.
constexpr qsizetype kReadBlock = 256 * 1024;
constexpr qint64 kReplyBufferLimit = 4 * 1024 * 1024;
constexpr int kMaxRedirects = 5;

bool isHttp(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"http" || scheme == u"https");
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QString updaterMessage(const TransferResult &result, const QString &saveFile)
{
    if (result.outcome == TransferOutcome::FileError)
        return u"文件"_qs + saveFile + u"正在使用,无法进行操作"_qs;
    if (result.unusableAddress)
        return u"无法创建连接"_qs;
    return u"无法连接服务器"_qs;
}

} // namespace

download::download(DownloadVariant variant, QObject *parent)
    : QObject(parent)
    , m_variant(variant)
    , m_network(new QNetworkAccessManager(this))
    , m_buffer(kReadBlock, Qt::Uninitialized)
{
    m_network->setProxy(QNetworkProxy::NoProxy); // a direct connection, whatever the system says
}

download::~download()
{
    if (m_state != State::Idle)
        abandon(QStringLiteral("the transfer object was destroyed"));
}

QString download::partFileFor(const QString &saveFile)
{
    return saveFile + u".part"_qs;
}

QCoro::Task<> download::Execute()
{
    if (m_state != State::Idle)
        finish(TransferOutcome::Cancelled, QStringLiteral("replaced by a new transfer"));
    const quint64 serial = ++m_serial;
    m_result = TransferResult {};
    m_headerBlock.clear();
    m_contentLength = -1;
    m_redirects = 0;
    m_state = State::Opening;

    const QUrl url(m_url, QUrl::TolerantMode);
    if (!isHttp(url)) {
        m_result.unusableAddress = true;
        finish(TransferOutcome::NetworkError, QStringLiteral("not an http or https address"));
        co_return;
    }
    sendRequest(url);
    while (m_serial == serial && m_state == State::Opening)
        co_await qCoro(this, &download::settled);
}

QCoro::Task<bool> download::StartDownLoad(int u1, int u2, int u3)
{
    if (m_state != State::Open) { // never opened, failed, cancelled, or already receiving
        Cancel();
        co_return false;
    }
    const quint64 serial = m_serial;
    m_u1 = u1;
    m_u2 = u2;
    m_u3 = u3;
    m_state = State::Receiving;
    m_part.setFileName(partFileFor(m_saveFile));
    if (m_saveFile.isEmpty() || !m_part.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        finish(TransferOutcome::FileError, u"cannot write "_qs + m_part.fileName() + u": "_qs + m_part.errorString());
        co_return false;
    }
    m_partCreated = true;
    if (m_replyFinished)
        completeBody();
    else
        drain();
    while (m_serial == serial && m_state == State::Receiving)
        co_await qCoro(this, &download::settled);
    // The updater learns of completion through DownLoadOver only.
    const bool reported = m_variant == DownloadVariant::Player && m_serial == serial && m_result.isComplete();
    co_return reported;
}

void download::Cancel()
{
    if (m_state != State::Idle)
        finish(TransferOutcome::Cancelled, QString());
}

QString download::GetHeader(const QString &hdrName) const
{
    if (m_state == State::Idle)
        return QStringLiteral("0");
    return headerFromBlock(m_headerBlock, hdrName);
}

void download::sendRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Vardek"));
    // Asking for the bytes as stored keeps Content-Length comparable with what is written.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(int(m_stallTimeout.count()));

    QNetworkReply *reply = m_network->get(request);
    reply->setReadBufferSize(kReplyBufferLimit);
    m_reply = reply;
    m_replyFinished = false;
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { onHeaders(reply); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (reply == m_reply && m_state == State::Receiving)
            drain();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); });
}

void download::onHeaders(QNetworkReply *reply)
{
    if (reply != m_reply || m_state != State::Opening)
        return;
    const QVariant statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!statusCode.isValid())
        return;
    const int status = statusCode.toInt();
    if (isRedirect(status) && reply->hasRawHeader("Location")) {
        followRedirect(reply, status);
        return;
    }
    m_result.httpStatus = status;
    m_headerBlock = rawHeaderBlock(reply->rawHeaderPairs());
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    m_contentLength = length.isValid() ? length.toLongLong() : -1;
    m_result.expected = m_contentLength;
    if (status < 200 || status > 299) {
        finish(TransferOutcome::HttpError, QStringLiteral("the server answered %1").arg(status));
        return;
    }
    m_state = State::Open;
    Q_EMIT settled();
}

void download::followRedirect(QNetworkReply *reply, int status)
{
    const QUrl target = reply->url().resolved(QUrl::fromEncoded(reply->rawHeader("Location"), QUrl::TolerantMode));
    if (!isHttp(target)) {
        finish(TransferOutcome::NetworkError,
            u"redirected to an address that is not http or https: "_qs + target.toString(QUrl::RemoveUserInfo));
        return;
    }
    if (++m_redirects > kMaxRedirects) {
        finish(TransferOutcome::NetworkError, QStringLiteral("more than %1 redirects").arg(kMaxRedirects));
        return;
    }
    qCDebug(transferLog) << "redirect" << status << "to" << target.toString(QUrl::RemoveUserInfo);
    dropReply();
    sendRequest(target);
}

void download::onReplyFinished(QNetworkReply *reply)
{
    if (reply != m_reply)
        return;
    m_replyFinished = true;
    if (m_state == State::Opening)
        onHeaders(reply); // the headers and the end came together
    if (reply != m_reply) // redirected
        return;
    if (m_state == State::Opening) {
        const bool stalled = reply->error() == QNetworkReply::OperationCanceledError;
        finish(TransferOutcome::NetworkError,
            stalled ? QStringLiteral("no answer within %1 ms").arg(m_stallTimeout.count()) : reply->errorString());
    } else if (m_state == State::Receiving) {
        completeBody();
    } // Open: StartDownLoad takes the rest and the end
}

// Moves what the reply holds into the ".part" file. False when the transfer ended
// meanwhile (a write failed, or a progress handler cancelled).
bool download::drain()
{
    const quint64 serial = m_serial;
    const qint64 before = m_result.received;
    while (m_reply && m_reply->bytesAvailable() > 0) {
        const qint64 n = m_reply->read(m_buffer.data(), m_buffer.size());
        if (n <= 0)
            break;
        if (m_part.write(m_buffer.constData(), n) != n) {
            finish(
                TransferOutcome::FileError, u"cannot write "_qs + m_part.fileName() + u": "_qs + m_part.errorString());
            return false;
        }
        m_result.received += n;
    }
    if (m_result.received != before)
        Q_EMIT GetData(m_result.received, m_u1, m_u2, m_u3);
    return m_serial == serial && m_state == State::Receiving;
}

void download::completeBody()
{
    if (!drain() || !m_reply)
        return;
    const qint64 received = m_result.received;
    const QNetworkReply::NetworkError error = m_reply->error();
    if (error == QNetworkReply::OperationCanceledError) {
        finish(TransferOutcome::NetworkError, QStringLiteral("no data for %1 ms").arg(m_stallTimeout.count()));
        return;
    }
    if (error == QNetworkReply::RemoteHostClosedError && m_contentLength > received) {
        finish(TransferOutcome::LengthMismatch, QStringLiteral("the connection closed early"));
        return;
    }
    if (error != QNetworkReply::NoError) {
        finish(TransferOutcome::NetworkError, m_reply->errorString());
        return;
    }
    if (m_contentLength >= 0 && received != m_contentLength) {
        finish(TransferOutcome::LengthMismatch, QStringLiteral("the body ended at a length other than announced"));
        return;
    }
    m_part.close(); // writes what is still buffered
    if (m_part.error() != QFileDevice::NoError) {
        finish(TransferOutcome::FileError, u"cannot write "_qs + m_part.fileName() + u": "_qs + m_part.errorString());
        return;
    }
    // One rename: the final name holds either what it held before or the whole body.
    if (std::rename(QFile::encodeName(m_part.fileName()).constData(), QFile::encodeName(m_saveFile).constData()) != 0) {
        finish(TransferOutcome::FileError,
            u"cannot rename to "_qs + m_saveFile + u": "_qs + QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_partCreated = false;
    finish(TransferOutcome::Complete, QString());
}

// Every transfer ends here, once: the reply and the ".part" file go, the outcome is
// logged and reported.
void download::finish(TransferOutcome outcome, const QString &detail)
{
    m_result.outcome = outcome;
    m_result.detail = detail;
    const TransferResult result = m_result; // handlers below may start the next transfer
    const QString url = QUrl(m_url, QUrl::TolerantMode).toString(QUrl::RemoveUserInfo);
    abandon(QString());

    if (outcome == TransferOutcome::Complete)
        qCDebug(transferLog) << "downloaded" << url << "to" << m_saveFile << describe(result);
    else if (outcome == TransferOutcome::Cancelled)
        qCInfo(transferLog) << "transfer of" << url << "cancelled" << describe(result);
    else
        qCWarning(transferLog) << "transfer of" << url << "failed:" << describe(result);

    Q_EMIT settled();
    if (m_variant == DownloadVariant::Updater) {
        if (outcome == TransferOutcome::Complete)
            Q_EMIT DownLoadOver();
        else if (outcome != TransferOutcome::Cancelled)
            Q_EMIT ErrMassage(updaterMessage(result, m_saveFile));
    }
    Q_EMIT finished(result);
}

// Stops everything without reporting: the request, the file, the partial body.
void download::abandon(const QString &why)
{
    if (!why.isEmpty())
        qCInfo(transferLog) << "transfer of" << m_url << "dropped:" << why;
    dropReply();
    if (m_part.isOpen())
        m_part.close();
    if (m_partCreated && !QFile::remove(m_part.fileName()) && QFile::exists(m_part.fileName()))
        qCWarning(transferLog) << "cannot remove" << m_part.fileName();
    m_partCreated = false;
    m_state = State::Idle;
}

void download::dropReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    // Deleting a reply aborts it; doing so later keeps Qt out of trouble when this
    // runs inside one of the reply's own signals.
    reply->deleteLater();
}

} // namespace kivo
