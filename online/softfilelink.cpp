#include "online/softfilelink.h"

namespace kivo {

QString linkedPageTitle()
{
    return u"资讯新闻显示"_qs;
}

LinkDecision decideServerLink(const QString &url, const QString &baseUrl)
{
    QString lower = url.toLower();
    if (!lower.contains(u"softfile:"_qs))
        return {};
    lower.remove(u"softfile:"_qs);
    if (lower.trimmed().isEmpty())
        return {true, QString()};
    return {true, baseUrl + u"\\"_qs + lower};
}

} // namespace kivo
