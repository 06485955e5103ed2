#pragma once

#include <QString>

#include <QCoro/QCoroTask>

#include <functional>
#include <optional>

namespace kivo {

class ServerClient;
struct QueueEntry;
struct SongRecord;

namespace DedicationTexts {
inline const QString kNoEmail = QStringLiteral("错误,请输入好友的信箱.");
inline const QString kBadEmail = QStringLiteral("错误,好友信箱格式不正确.");
inline const QString kNoName = QStringLiteral("错误,好友姓名必须填写.");
inline const QString kNoTitle = QStringLiteral("错误,祝福标题必须填写.");
inline const QString kNoContent = QStringLiteral("错误,祝福内容必须填写.");
inline const QString kSending = QStringLiteral("正在发送您的祝福...");
inline const QString kSent = QStringLiteral("祝福发送成功");
inline const QString kFailed = QStringLiteral("因网络或者是其它原因,未发送成功.请稍候再试.");
} // namespace DedicationTexts

// The song a dedication is for (the dialog's hidden record), as the server receives it.
struct DedicatedSong
{
    QString title; // the row's text
    QString address; // where the song plays from
    QString extraAddress; // what the server finds the song by when the address fails
    QString id;
    int kind = 0;
    bool operator==(const DedicatedSong &) const = default;
};

// "给好友点歌" on a row of a library or catalogue page.
DedicatedSong dedicatedSongOfRow(const QString &rowText, const SongRecord &record);
// "给好友点歌" on a now-playing row: the queue entry the row stands for.
DedicatedSong dedicatedSongOfEntry(const QueueEntry &entry);

// The dialog's four fields as typed.
struct DedicationForm
{
    QString email; // "好友信箱："
    QString name; // "好友姓名："
    QString title; // "祝福标题："
    QString content; // "祝福内容："
};

enum class DedicationCheck { Ok, NoEmail, BadEmail, NoName, NoTitle, NoContent };

// The checks in their order; the first that fails is the answer.
DedicationCheck checkDedication(const DedicationForm &form);
// What the user is told when a check fails; empty for Ok.
QString dedicationCheckMessage(DedicationCheck check);

// "kxrjzf.asp": the form's values trimmed and percent-encoded, the song's extra
// address mirrored, and the song's id only for songs of the site's catalogue (kind 2).
QString dedicationUrl(const QString &baseUrl, const DedicationForm &form, const std::optional<DedicatedSong> &song);

enum class DedicationOutcome { Refused, Sent, Failed };

struct DedicationResult
{
    DedicationOutcome outcome = DedicationOutcome::Refused;
    DedicationCheck check = DedicationCheck::Ok; // why it was refused
};

// Checks, then sends with the busy overlay around the request. Only the answer
// "成功", exactly, counts as sent.
QCoro::Task<DedicationResult> SendDedication(ServerClient *server, DedicationForm form,
    std::optional<DedicatedSong> song, std::function<void(const QString &)> showBusy, std::function<void()> hideBusy);

} // namespace kivo
