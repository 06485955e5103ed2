// The bytes of a server response turned into text: the charset the server names,
// else UTF-8 when valid, else GB18030. First line: the Content-Type header.

#include "fuzzinput.h"
#include "online/serverclient.h"

#include <iconv.h>

using namespace kivo;

namespace {

// The text in GB18030, as the server encodes it; empty when iconv cannot.
QByteArray toGb18030(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    iconv_t cd = iconv_open("GB18030", "UTF-8");
    if (cd == iconv_t(-1))
        return {};
    QByteArray out(utf8.size() * 2 + 8, Qt::Uninitialized);
    char *src = const_cast<char *>(utf8.constData());
    size_t srcLeft = size_t(utf8.size());
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return {};
    out.truncate(out.size() - qsizetype(dstLeft));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const QByteArray contentType = in.takeLine();
    const QByteArray body = in.rest();

    const QString text = decodeResponseBody(body, contentType);
    fuzz::check(text.size() <= body.size(), "never more characters than bytes");

    // Text the server encodes as it says comes back unchanged.
    const QString sent = QString::fromUtf8(body);
    if (sent.startsWith(QChar(0xFEFF)))
        return 0;
    fuzz::check(decodeResponseBody(sent.toUtf8(), "text/html; charset=utf-8") == sent, "UTF-8 as named");
    fuzz::check(decodeResponseBody(sent.toUtf8(), "text/html") == sent, "UTF-8 recognised");
    if (const QByteArray gb = toGb18030(sent); !gb.isEmpty())
        fuzz::check(decodeResponseBody(gb, "text/html; charset=GBK") == sent, "GB18030 as named");
    return 0;
}
