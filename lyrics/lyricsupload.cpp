#include "lyrics/lyricsupload.h"

#include "lyrics/lyricfiles.h"
#include "online/serverclient.h"

namespace kivo {

UploadOutcome checkLyricsUpload(int musicId, const QString &text, bool lrc)
{
    if (musicId <= 0)
        return UploadOutcome::NoSong;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return UploadOutcome::EmptyText;
    if (lrc && !(trimmed.contains(u'[') && trimmed.contains(u']') && trimmed.contains(u':')))
        return UploadOutcome::BadLrcFormat;
    return UploadOutcome::Sent;
}

QString lyricsUploadUrl(const QString &baseUrl, int musicId, bool lrc, const QString &text)
{
    return baseUrl + u"kxrjgc.asp?id="_qs + QString::number(musicId) + u"&lx="_qs + (lrc ? u'1' : u'0')
        + u"&content="_qs + encodeQueryValue(lineEndsToBr(text).trimmed());
}

QCoro::Task<UploadOutcome> UploadLyrics(ServerClient *server, int musicId, QString text, bool lrc,
    std::function<void(const QString &)> showBusy, std::function<void()> hideBusy)
{
    const UploadOutcome check = checkLyricsUpload(musicId, text, lrc);
    if (check != UploadOutcome::Sent)
        co_return check;
    if (!server)
        co_return UploadOutcome::Failed;
    if (showBusy)
        showBusy(UploadTexts::kBusy);
    const QString answer = co_await server->fetchPage(lyricsUploadUrl(server->baseUrl(), musicId, lrc, text));
    if (hideBusy)
        hideBusy();
    co_return answer.contains(u"成功"_qs) ? UploadOutcome::Sent : UploadOutcome::Failed;
}

} // namespace kivo
