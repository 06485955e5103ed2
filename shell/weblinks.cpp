#include "shell/weblinks.h"

namespace kivo {

QUrl openableWebLink(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_qs && scheme != u"https"_qs))
        return {};
    // fromUserInput turns bare words into http links; only take what was written as a link.
    if (!address.trimmed().toLower().startsWith(scheme + u"://"_qs))
        return {};
    return url;
}

bool isOpenableWebLink(const QString &address)
{
    return openableWebLink(address).isValid();
}

} // namespace kivo
