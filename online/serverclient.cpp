#include "online/serverclient.h"

#include "core/logging.h"
#include "core/pageformats.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

#include <QCoro/QCoroNetworkReply>

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace kivo {

QString encodeQueryValue(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

namespace {

QByteArray charsetOf(const QByteArray &contentType)
{
    for (QByteArray part : contentType.split(';')) {
        part = part.trimmed();
        if (part.toLower().startsWith("charset=")) {
            QByteArray name = part.mid(8).trimmed();
            if (name.size() >= 2 && (name.front() == '"' || name.front() == '\''))
                name = name.mid(1, name.size() - 2);
            return name.toLower();
        }
    }
    return {};
}

// GB18030 (a superset of GBK and GB2312) through the C library's iconv, which
// glibc always carries; Qt's own converters cover only the Unicode encodings.
// Bytes that are not GB18030 become U+FFFD and are counted in *bad; without a
// counter the first such byte fails the whole decoding.
std::optional<QString> fromGb18030(const QByteArray &bytes, qsizetype *bad = nullptr)
{
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out(bytes.size() * 2 + 4, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char *dst = out.data();
    size_t outLeft = size_t(out.size());
    QString text;
    while (iconv(cd, &in, &inLeft, &dst, &outLeft) == size_t(-1)) {
        if (!bad || errno == E2BIG) {
            iconv_close(cd);
            return std::nullopt;
        }
        ++*bad;
        text += QString::fromUtf8(out.constData(), out.size() - qsizetype(outLeft)) + QChar::ReplacementCharacter;
        dst = out.data();
        outLeft = size_t(out.size());
        if (errno == EINVAL) // cut off in the middle of a character
            inLeft = 0;
        else { // not a character: skip one byte
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return text + QString::fromUtf8(out.constData(), out.size() - qsizetype(outLeft));
}

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString decodeResponseBody(const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray charset = charsetOf(contentType);
    if (charset == "utf-8" || charset == "utf8")
        return QString::fromUtf8(body);
    if (charset == "gb18030" || charset == "gbk" || charset == "gb2312") {
        if (auto text = fromGb18030(body))
            return *text;
    } else if (!charset.isEmpty()) {
        if (auto enc = QStringConverter::encodingForName(charset.constData()))
            return QStringDecoder(*enc).decode(body);
    }
    if (auto text = strictUtf8(body))
        return *text;
    if (auto text = fromGb18030(body))
        return *text;
    // Neither decodes cleanly (a damaged byte, a body cut off mid-character): the one
    // that loses fewer characters keeps the page readable.
    const QString utf8 = QString::fromUtf8(body);
    qsizetype badGb = 0;
    const std::optional<QString> gb = fromGb18030(body, &badGb);
    if (gb && badGb < utf8.count(QChar::ReplacementCharacter))
        return *gb;
    return utf8;
}

QString requestStateCaption(RequestState state)
{
    switch (state) {
    case RequestState::Resolving:
        return u"正在解析(Analyze......)"_qs;
    case RequestState::Connecting:
        return u"正在连接(linking......)"_qs;
    case RequestState::Connected:
        return u"连接成功(Succeed......)"_qs;
    case RequestState::Error:
        return u"连接错误(Mistake......)"_qs;
    case RequestState::Completed:
        return u"正在读取(Reading......)"_qs;
    }
    return {};
}

ServerClient::ServerClient(QNetworkAccessManager *network, const QString &baseUrl, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_baseUrl(baseUrl.endsWith(QLatin1Char('/')) ? baseUrl : baseUrl + QLatin1Char('/'))
{ }

QCoro::Task<QString> ServerClient::fetchPage(QString url)
{
    Q_EMIT requested(url);
    const QUrl target = QUrl::fromEncoded(url.toUtf8(), QUrl::TolerantMode);
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || (scheme != u"http"_qs && scheme != u"https"_qs)) {
        qCWarning(lcNet).noquote() << "not requested, not a web address:" << url;
        Q_EMIT stateChanged(RequestState::Error);
        co_return QString();
    }
    QElapsedTimer clock;
    clock.start();

    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    Q_EMIT stateChanged(RequestState::Resolving); // the host name is looked up first
    QPointer<QNetworkReply> reply = m_network->post(request, QByteArray());
    m_pending.append(reply);
    QPointer<ServerClient> self(this);
    connect(reply, &QNetworkReply::socketStartedConnecting, this,
        [this] { Q_EMIT stateChanged(RequestState::Connecting); });
    // No page of this server comes near the cap: a body announced or received beyond
    // it is given up at once rather than read whole and decoded on this thread.
    auto tooLarge = std::make_shared<bool>(false);
    auto giveUpWhenTooLarge = [reply, tooLarge](qint64 size) {
        if (size > kMaxPageBytes && reply && reply->isRunning()) {
            *tooLarge = true;
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply, giveUpWhenTooLarge] {
        Q_EMIT stateChanged(RequestState::Connected);
        giveUpWhenTooLarge(reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    connect(reply, &QNetworkReply::readyRead, this,
        [reply, giveUpWhenTooLarge] { giveUpWhenTooLarge(reply->bytesAvailable()); });
    // The time-out runs from the start of the request; a server that drips or
    // never answers yields what arrived so far, normally nothing.
    QTimer::singleShot(m_timeout, reply, [reply] {
        if (reply && reply->isRunning())
            reply->abort();
    });

    co_await qCoro(reply.data()).waitForFinished();

    if (!self || !reply)
        co_return QString();
    m_pending.removeAll(reply);
    reply->deleteLater();
    const QString path = target.path();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (*tooLarge) {
        qCWarning(lcNet).noquote() << path << "failed: larger than" << kMaxPageBytes / (1024 * 1024)
                                   << "MiB, given up after" << clock.elapsed() << "ms";
        Q_EMIT stateChanged(RequestState::Error);
        co_return QString();
    }
    if (reply->error() != QNetworkReply::NoError) {
        qCWarning(lcNet).noquote() << path << "failed:" << (status ? QString::number(status) : reply->errorString())
                                   << "after" << clock.elapsed() << "ms";
        Q_EMIT stateChanged(RequestState::Error);
        co_return QString();
    }
    qCDebug(lcNet).noquote() << path << status << "in" << clock.elapsed() << "ms";
    Q_EMIT stateChanged(RequestState::Completed);
    co_return decodeResponseBody(reply->readAll(), reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
}

QCoro::Task<QString> ServerClient::fetchHiddenPayload(QString url)
{
    if (url.isEmpty())
        co_return QString();
    const QString page = co_await fetchPage(url);
    co_return HiddenDataPage::payloadOf(page);
}

void ServerClient::abortAll()
{
    const auto pending = m_pending;
    m_pending.clear();
    for (const QPointer<QNetworkReply> &reply : pending) {
        if (reply)
            reply->abort();
    }
}

int ServerClient::pendingRequests() const
{
    int n = 0;
    for (const auto &reply : m_pending)
        n += reply && reply->isRunning() ? 1 : 0;
    return n;
}

} // namespace kivo
