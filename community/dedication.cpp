#include "community/dedication.h"

#include "core/logging.h"
#include "core/mirrortext.h"
#include "core/songrecord.h"
#include "online/serverclient.h"
#include "playback/playqueue.h"

namespace kivo {

namespace {

// The extra address by the song's kind: the site's songs (2) are found by their
// search words and second address, other library and search songs (0, 1, 3) by
// their search words, songs of kind 4 by nothing, other server kinds by their title.
QString extraAddressFor(int kind, const QString &searchWords, const QString &secondAddress, const QString &title)
{
    if (kind == SongKind::MusicId)
        return searchWords.trimmed() + u"+"_qs + secondAddress.trimmed();
    if (kind == 4)
        return QString();
    if (kind > SongKind::SearchId)
        return title;
    return searchWords.trimmed();
}

} // namespace

DedicatedSong dedicatedSongOfRow(const QString &rowText, const SongRecord &record)
{
    return {rowText, record.address().trimmed(), extraAddressFor(record.kind, record.url2, record.url1, rowText),
        record.id, record.kind};
}

DedicatedSong dedicatedSongOfEntry(const QueueEntry &entry)
{
    // A catalogue entry's search words already carry its second address ("words+url1").
    const QString extra = entry.kind == SongKind::MusicId ? entry.url2.trimmed()
                                                          : extraAddressFor(entry.kind, entry.url2, {}, entry.title);
    return {entry.title, entry.locator.trimmed(), extra, QString::number(entry.id), entry.kind};
}

DedicationCheck checkDedication(const DedicationForm &form)
{
    if (form.email.trimmed().isEmpty())
        return DedicationCheck::NoEmail;
    if (!form.email.contains(u'.') || !form.email.contains(u'@') || form.email.contains(u".@"_qs)
        || form.email.contains(u"@."_qs))
        return DedicationCheck::BadEmail;
    if (form.name.trimmed().isEmpty())
        return DedicationCheck::NoName;
    if (form.title.trimmed().isEmpty())
        return DedicationCheck::NoTitle;
    if (form.content.trimmed().isEmpty())
        return DedicationCheck::NoContent;
    return DedicationCheck::Ok;
}

QString dedicationCheckMessage(DedicationCheck check)
{
    switch (check) {
    case DedicationCheck::Ok:
        break;
    case DedicationCheck::NoEmail:
        return DedicationTexts::kNoEmail;
    case DedicationCheck::BadEmail:
        return DedicationTexts::kBadEmail;
    case DedicationCheck::NoName:
        return DedicationTexts::kNoName;
    case DedicationCheck::NoTitle:
        return DedicationTexts::kNoTitle;
    case DedicationCheck::NoContent:
        return DedicationTexts::kNoContent;
    }
    return QString();
}

QString dedicationUrl(const QString &baseUrl, const DedicationForm &form, const std::optional<DedicatedSong> &song)
{
    auto value = [](const QString &text) { return encodeQueryValue(text); };
    QString url = baseUrl + u"kxrjzf.asp?toemail="_qs + value(form.email.trimmed()) + u"&title="_qs
        + value(form.title.trimmed()) + u"&name="_qs + value(form.name.trimmed());
    if (song) {
        url += u"&gm="_qs + value(song->title) + u"&url1="_qs + value(song->address.trimmed());
        url += u"&url="_qs + value(MirrorText(song->extraAddress.trimmed()));
        url += u"&id="_qs + (song->kind == SongKind::MusicId ? value(song->id.trimmed()) : u"0"_qs);
    }
    return url + u"&content="_qs + value(form.content.trimmed());
}

QCoro::Task<DedicationResult> SendDedication(ServerClient *server, DedicationForm form,
    std::optional<DedicatedSong> song, std::function<void(const QString &)> showBusy, std::function<void()> hideBusy)
{
    const DedicationCheck check = checkDedication(form);
    if (check != DedicationCheck::Ok)
        co_return DedicationResult {DedicationOutcome::Refused, check};
    if (!server)
        co_return DedicationResult {DedicationOutcome::Failed};
    if (showBusy)
        showBusy(DedicationTexts::kSending);
    const QString url = dedicationUrl(server->baseUrl(), form, song);
    const QString answer = co_await server->fetchPage(url);
    if (hideBusy)
        hideBusy();
    if (answer == u"成功"_qs)
        co_return DedicationResult {DedicationOutcome::Sent};
    // A failed request is logged by the client; an answer other than the word is logged here.
    if (!answer.isEmpty())
        qCWarning(lcNet).noquote() << "the dedication was not accepted, the server answered" << answer.left(80);
    co_return DedicationResult {DedicationOutcome::Failed};
}

} // namespace kivo
