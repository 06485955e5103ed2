#pragma once

#include <QString>

#include <QCoro/QCoroTask>

#include <functional>

namespace kivo {

class ServerClient;

namespace UploadTexts {
inline const QString kNoLyrics = QStringLiteral("您没有添加歌词");
inline const QString kBadLrc = QStringLiteral("对不起，您添加的LRC歌词格式不正确。");
inline const QString kBusy = QStringLiteral("正在上传歌词......");
inline const QString kThanks = QStringLiteral("感谢您上传歌词，谢谢您的支持。");
inline const QString kFailed = QStringLiteral("因网络或者是其它原因,未发送成功.请稍候再试.");
} // namespace UploadTexts

// What became of one press of the upload button.
enum class UploadOutcome {
    NoSong, // the dialog holds no music id: nothing happens
    EmptyText, // refused: "您没有添加歌词"
    BadLrcFormat, // refused: LRC lyrics need "[", "]" and ":"
    Sent, // the server answered with "成功"
    Failed, // no answer, or an answer without "成功": the text stays
};

// The checks before sending; Sent stands for "may be sent".
UploadOutcome checkLyricsUpload(int musicId, const QString &text, bool lrc);

// The upload page address: lx 1 for LRC lyrics, 0 for plain; the content is the
// text with its line ends as "<br>", trimmed and percent-encoded.
QString lyricsUploadUrl(const QString &baseUrl, int musicId, bool lrc, const QString &text);

// Checks, then sends with the busy overlay around the request.
QCoro::Task<UploadOutcome> UploadLyrics(ServerClient *server, int musicId, QString text, bool lrc,
    std::function<void(const QString &)> showBusy, std::function<void()> hideBusy);

} // namespace kivo
