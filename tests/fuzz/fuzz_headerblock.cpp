// The download's response headers: the header block and GetHeader's reading of it.
// First line: the name asked for; the rest: the block as received, NULs and all.

#include "fuzzinput.h"
#include "transfer/headerblock.h"

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const QString name = QString::fromLatin1(in.takeLine());
    const QByteArray bytes = in.rest();
    const QString block = QString::fromLatin1(bytes);

    const QString answer = headerFromBlock(block, name);
    fuzz::check(answer == QLatin1String("0") || block.contains(answer), "an answer is a part of the block");

    // The same bytes as "Name: value" lines the server sent: every known header is
    // found by its exact spelling, first one first.
    QList<std::pair<QByteArray, QByteArray>> headers;
    for (const QByteArray &line : bytes.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && !line.contains('\0'))
            headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
    }
    const QString raw = rawHeaderBlock(headers);
    for (const char *spelling : {"Content-Length", "Content-Type", "Date", "Last-Modified", "Server"}) {
        QString expected = QStringLiteral("0");
        for (const auto &[n, v] : headers) {
            if (n == spelling) {
                expected = QString::fromLatin1(v);
                break;
            }
        }
        fuzz::check(raw.isEmpty() || headerFromBlock(raw, QString::fromLatin1(spelling).toLower()) == expected,
            "a known header by its spelling");
    }
    fuzz::check(headerFromBlock(raw, QString()) == (raw.isEmpty() ? QStringLiteral("0") : raw), "the whole block");
    return 0;
}
