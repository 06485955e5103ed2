#include "core/songrecord.h"

#include "core/pageformats.h"

namespace kivo {

QString SongRecord::toText() const
{
    if (isCatalogue())
        return id + u"||| "_qs + url + kTagSep + url1 + kTagSep + asTagField(url2) + kTagSep + QString::number(kind);
    // A missing locator travels as one blank so the field count stays fixed.
    QString t = id + kTagSep + (locator.isEmpty() ? u" "_qs : locator) + u" |||"_qs + asTagField(title) + u" |||"_qs
        + asTagField(url2) + kTagSep + QString::number(kind) + kTagSep + baiduId + kTagSep + musicId + u"|||0"_qs;
    if (listId)
        t += kTagSep + *listId;
    return t;
}

SongRecord SongRecord::fromText(const QString &text)
{
    const QStringList f = text.split(kTagSep);
    auto field = [&](int i) { return i < f.size() ? f.at(i).trimmed() : QString(); };
    SongRecord r;
    r.id = field(0);
    bool ok = false;
    const int kind = field(4).toInt(&ok);
    r.kind = ok ? kind : 0;
    r.url2 = field(3);
    if (r.isCatalogue()) {
        r.url = field(1);
        r.url1 = field(2);
    } else {
        r.locator = field(1);
        r.title = field(2);
        r.baiduId = field(5);
        r.musicId = field(6);
        if (f.size() > 8)
            r.listId = field(8);
    }
    return r;
}

} // namespace kivo
