#include "online/infopages.h"

#include "online/serverclient.h"

#include <QStringList>

namespace kivo {

namespace {
// The last "-" part of a name: "artist-album" names the album, "singer-song" the song.
QString lastDashPart(const QString &caption)
{
    return captionName(caption).section(u'-', -1);
}
} // namespace

QString captionName(const QString &caption)
{
    return caption.section(u'(', 0, 0);
}

std::optional<InfoPage> introductionPage(const QString &baseUrl, const QString &key, const QString &caption)
{
    const QStringList parts = key.split(u'-');
    if (parts.size() < 4)
        return std::nullopt;
    const QString id = QString(parts.last()).remove(u'b');
    const QString which = parts.size() == 4 ? u"nclassid="_qs : u"specialid="_qs;
    return InfoPage {baseUrl + u"softgc.asp?"_qs + which + encodeQueryValue(id) + u"&word="_qs
            + encodeQueryValue(captionName(caption)),
        u"简介:"_qs + caption};
}

InfoPage buyCdPage(const QString &baseUrl, const QString &caption)
{
    return {baseUrl + u"cdsearch.asp?title="_qs + encodeQueryValue(captionName(caption)), u"购买CD："_qs + caption};
}

InfoPage artistNewsPage(const QString &baseUrl, const QString &caption)
{
    return {baseUrl + u"newslist.asp?title="_qs + encodeQueryValue(captionName(caption)), u"相关新闻："_qs + caption};
}

InfoPage shelfBuyPage(const QString &baseUrl, const QString &caption)
{
    return {baseUrl + u"cdsearch.asp?title="_qs + encodeQueryValue(lastDashPart(caption).trimmed()),
        u"购买CD："_qs + caption};
}

QString ringtonePageUrl(const QString &baseUrl, const QString &rowText)
{
    return baseUrl + u"smsss.asp?word="_qs + encodeQueryValue(lastDashPart(rowText));
}

} // namespace kivo
