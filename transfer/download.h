#pragma once

#include "transfer/transferresult.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>

#include <QCoro/QCoroTask>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

namespace kivo {

// Which program a transfer object serves; the two differ only in what they report.
enum class DownloadVariant {
    Player, // StartDownLoad yields true for a complete body; DownLoadOver and ErrMassage never come
    Updater, // StartDownLoad yields false; DownLoadOver on completion, ErrMassage on a failure
};

// The HTTP transfer object `tg`: fetches one address into one file, in both programs.
//
// Calling order:
//     tg.setURL(address);
//     tg.setSaveFile(finalPath);
//     co_await tg.Execute();                  // request sent, response headers read
//     size = tg.GetHeader(u"Content-Length"_qs).toLongLong();   // "0" when unknown
//     ok = co_await tg.StartDownLoad(u1, u2, u3);
//     tg.Cancel();                            // at any time, from any handler
// Execute and StartDownLoad suspend the calling coroutine while the event loop runs
// on, so the window stays live and Cancel can come from a button or a menu.
//
// What the download manager relies on (player variant):
// - Start: setURL, setSaveFile, Execute, StartDownLoad(u1, u2, u3) → true exactly
//   when the whole body is under finalPath. filedd() is false after Execute when
//   the address gave no usable answer (then StartDownLoad yields false at once).
// - Progress: GetData(received, u1, u2, u3) after each read, with the three values
//   given to StartDownLoad; contentLength() is the announced total, -1 when the
//   response names none (GetHeader("Content-Length") is then "0").
// - Completion: result() (also sent with finished()) says how it ended, one
//   TransferOutcome per transfer: complete only for a 2xx answer whose body ended
//   cleanly and as long as announced.
// - Cancel: ends the transfer at once; nothing is written after it returns, and a
//   waiting Execute or StartDownLoad goes on at the next turn of the event loop
//   (StartDownLoad yielding false, result() Cancelled).
// - Files: the body is written to finalPath + ".part" and renamed over finalPath
//   only when complete; any other end removes the ".part" file and leaves an
//   existing finalPath untouched.
// Requests: user agent "Vardek", no proxy, never from a cache, the bytes as sent
// (no content coding), at most 5 redirects and only to http or https addresses,
// and a transfer that receives nothing for stallTimeout() fails.
class download : public QObject
{
    Q_OBJECT
public:
    explicit download(DownloadVariant variant, QObject *parent = nullptr);
    ~download() override;

    DownloadVariant variant() const { return m_variant; }

    // The active flag: from Execute until the transfer ends or is cancelled.
    bool filedd() const { return m_state != State::Idle; }
    void setURL(const QString &url) { m_url = url; }
    void setSaveFile(const QString &path) { m_saveFile = path; }

    // Ends a transfer still running, then requests URL and waits for the headers.
    QCoro::Task<> Execute();
    // Writes the body of the opened request; see the variants for the result.
    QCoro::Task<bool> StartDownLoad(int u1 = 0, int u2 = 0, int u3 = 0);
    void Cancel();
    // A response header while the transfer is active, else "0"; see headerFromBlock.
    QString GetHeader(const QString &hdrName) const;

    qint64 contentLength() const { return m_contentLength; }
    TransferResult result() const { return m_result; }
    static QString partFileFor(const QString &saveFile);

    std::chrono::milliseconds stallTimeout() const { return m_stallTimeout; }
    void setStallTimeout(std::chrono::milliseconds timeout) { m_stallTimeout = timeout; }

Q_SIGNALS:
    // Bytes of the body written so far. The updater's handlers take only Progress.
    void GetData(qint64 Progress, int u1, int u2, int u3);
    // Updater variant: the body is complete under the SaveFile name.
    void DownLoadOver();
    // Updater variant: "无法创建连接", "无法连接服务器" or
    // "文件" + SaveFile + "正在使用,无法进行操作".
    void ErrMassage(const QString &Description);
    // Every transfer, once, however it ended (after DownLoadOver or ErrMassage).
    void finished(const kivo::TransferResult &result);
    // For the waiting coroutines only: an Execute or StartDownLoad may go on.
    void settled();

private:
    enum class State {
        Idle,
        Opening, // request sent, waiting for the final response's headers
        Open, // headers read; the body waits in the reply's bounded buffer
        Receiving, // the body streams into the ".part" file
    };

    void sendRequest(const QUrl &url);
    void onHeaders(QNetworkReply *reply);
    void onReplyFinished(QNetworkReply *reply);
    void followRedirect(QNetworkReply *reply, int status);
    bool drain();
    void completeBody();
    void finish(TransferOutcome outcome, const QString &detail);
    void dropReply();
    void abandon(const QString &why);

    const DownloadVariant m_variant;
    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_reply;
    bool m_replyFinished = false;
    State m_state = State::Idle;
    quint64 m_serial = 0; // one per Execute, so a late wake-up of an old wait does nothing
    QString m_url;
    QString m_saveFile;
    QString m_headerBlock;
    qint64 m_contentLength = -1;
    int m_redirects = 0;
    int m_u1 = 0, m_u2 = 0, m_u3 = 0;
    QFile m_part;
    bool m_partCreated = false;
    QByteArray m_buffer;
    TransferResult m_result;
    std::chrono::milliseconds m_stallTimeout {std::chrono::seconds(30)};
};

} // namespace kivo
