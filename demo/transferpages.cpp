#include "demo/transferpages.h"

#include "demo/faults.h"

namespace kivo::demo {

namespace {

constexpr quint64 kLargestFile = quint64(1) << 30;
// A body spoiled by a fault is made in memory; larger files are served whole.
constexpr quint64 kLargestSpoiled = quint64(64) << 20;

// The byte at offset i of every files/N.bin; not periodic over any short
// stretch, so a misplaced block shows.
char generatedByte(quint64 i)
{
    return char((i * 131 + (i >> 9) * 7 + (i >> 17)) & 0xff);
}

bool serveFile(const QString &name, const Query &query, FaultKind fault, const httplib::Request &req,
    httplib::Response &res, const std::atomic<bool> &stopping)
{
    if (!name.endsWith(u".bin"))
        return false;
    bool ok = false;
    const quint64 size = name.chopped(4).toULongLong(&ok);
    if (!ok || size > kLargestFile)
        return false;
    const std::string type = "application/octet-stream";
    if (fault != FaultKind::None && size <= kLargestSpoiled) {
        std::string body(size, '\0');
        for (quint64 i = 0; i < size; ++i)
            body[i] = generatedByte(i);
        applyBodyFault(fault, body, type, req, res, stopping);
        return true;
    }
    auto read = [size](size_t offset, size_t length, std::string &out) {
        out.resize(std::min<size_t>(length, size - offset));
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = generatedByte(offset + i);
        return true;
    };
    const bool announceLength = query.value(QStringLiteral("nolength")) != u"1";
    serveBytes(size, type, read, query.number(QStringLiteral("rate"), 0), res, stopping, announceLength);
    return true;
}

bool serveRedirect(const QString &rest, const QByteArray &rawQuery, httplib::Response &res)
{
    const std::string query = rawQuery.isEmpty() ? std::string() : "?" + rawQuery.toStdString();
    if (rest == u"loop") {
        res.set_redirect("/redirect/loop");
        return true;
    }
    if (rest == u"file") {
        res.set_redirect("file:///etc/passwd");
        return true;
    }
    const qsizetype slash = rest.indexOf(u'/');
    bool ok = false;
    const int hops = rest.left(slash).toInt(&ok);
    if (slash < 0 || !ok || hops < 1 || hops > 100)
        return false;
    const QString target = rest.mid(slash + 1);
    const QString next = hops == 1 ? u"/"_qs + target : QStringLiteral("/redirect/%1/").arg(hops - 1) + target;
    res.set_redirect(next.toStdString() + query);
    return true;
}

} // namespace

bool serveTransferPage(const QString &path, const QByteArray &rawQuery, const Query &query, FaultKind fault,
    const httplib::Request &req, httplib::Response &res, const std::atomic<bool> &stopping)
{
    if (path.startsWith(u"files/"))
        return serveFile(path.mid(6), query, fault, req, res, stopping);
    if (path.startsWith(u"redirect/"))
        return serveRedirect(path.mid(9), rawQuery, res);
    return false;
}

} // namespace kivo::demo
