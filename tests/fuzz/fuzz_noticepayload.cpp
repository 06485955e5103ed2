// The start-up page "dl.asp": the notice payload inside the hidden-body envelope.

#include "core/pageformats.h"
#include "fuzzinput.h"

using namespace kivo;

namespace {

// The raw fields a parsed notice stands for, as the server would write them. The
// address is read trimmed: a blank before it keeps an address "END" from ending the notice.
QStringList fieldsOf(const Notice &n)
{
    auto number = [](const std::optional<qint16> &v) { return v ? QString::number(*v) : QString(); };
    QStringList f {n.noticeLine, u' ' + n.announcementUrl,
        n.linkTarget.isEmpty() && n.linkCaption.isEmpty() ? QString() : n.linkTarget + kTagSep + n.linkCaption,
        number(n.maxQueuedDownloads), number(n.dailyDownloadLimit),
        n.serverDate ? n.serverDate->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString()};
    if (n.publishedVersion)
        f.append(*n.publishedVersion);
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString page = fuzz::Input(data, size).restUtf8();
    const auto notice = parseNoticePayload(HiddenDataPage::payloadOf(page));
    if (!notice)
        return 0;
    for (const QString &text : {notice->noticeLine, notice->announcementUrl, notice->linkTarget})
        fuzz::check(!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')), "CR and LF are gone");

    // What was read is what the server meant: written again, it reads the same.
    const auto again = parseNoticePayload(buildNoticePayload(fieldsOf(*notice)));
    fuzz::check(again.has_value(), "a notice written again parses");
    fuzz::check(again->noticeLine == notice->noticeLine && again->announcementUrl == notice->announcementUrl
            && again->linkTarget == notice->linkTarget && again->linkCaption == notice->linkCaption
            && again->maxQueuedDownloads == notice->maxQueuedDownloads
            && again->dailyDownloadLimit == notice->dailyDownloadLimit && again->serverDate == notice->serverDate
            && again->publishedVersion == notice->publishedVersion,
        "notice round trip");
    return 0;
}
