#include "core/address.h"

#include <QUrl>

namespace kivo {

namespace {

// A URL scheme: a letter, then letters, digits, "+", "-" or ".".
bool isSchemeName(QStringView text)
{
    if (text.isEmpty() || !text.front().isLetter() || text.front().unicode() > 0x7f)
        return false;
    for (const QChar c : text) {
        const bool ascii = c.unicode() <= 0x7f;
        if (!ascii || !(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.'))
            return false;
    }
    return true;
}

} // namespace

AddressKind classify(const QString &address)
{
    const QString text = address.trimmed();
    const qsizetype mark = text.indexOf(u"://");
    if (mark <= 0 || !isSchemeName(QStringView(text).left(mark)))
        return AddressKind::LocalPath;
    // Blanks around it would reach the engine as part of the address: not streamable as it is.
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    const bool streamable = scheme == u"http" || scheme == u"https" || scheme == u"mms" || scheme == u"rtsp";
    if (streamable && url.isValid() && !url.host().isEmpty())
        return AddressKind::Network;
    return AddressKind::OtherScheme;
}

} // namespace kivo
