#include "core/mirrortext.h"

namespace kivo {

namespace {
constexpr char16_t mirrored(char16_t c)
{
    if (c >= 48 && c <= 60)
        return char16_t(108 - c);
    if (c >= 65 && c <= 91)
        return char16_t(156 - c);
    if (c >= 93 && c <= 123)
        return char16_t(216 - c);
    return c;
}
static_assert(mirrored(u'A') == u'[' && mirrored(u'0') == u'<' && mirrored(u'=') == u'=');
} // namespace

void mirrorInPlace(QString &text)
{
    char16_t *data = reinterpret_cast<char16_t *>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i];
        if (c < 124)
            data[i] = mirrored(c);
    }
}

QString MirrorText(const QString &text)
{
    QString out = text;
    mirrorInPlace(out);
    return out;
}

} // namespace kivo
