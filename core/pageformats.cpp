#include "core/pageformats.h"

#include "core/mirrortext.h"

namespace kivo {

QString asTagField(const QString &freeText)
{
    if (!freeText.contains(u'|'))
        return freeText;
    QString text = freeText;
    return text.replace(u'|', QChar(0xFF5C));
}

QStringList splitFields(const QString &text, const QString &sep)
{
    if (text.isEmpty())
        return {};
    return text.split(sep);
}

namespace HiddenDataPage {

QString payloadOf(const QString &pageText)
{
    QString text = pageText;
    text.remove(kHiddenBodyMarker);
    const qsizetype end = text.indexOf(kBodyEnd);
    if (end < 0)
        return {};
    text.truncate(end);
    mirrorInPlace(text);
    return text;
}

QString wrap(const QString &payload)
{
    return kHiddenBodyMarker + MirrorText(payload) + kBodyEnd;
}

} // namespace HiddenDataPage

QList<QStringList> splitListPayload(QString payload)
{
    payload.remove(QLatin1Char('\r'));
    payload.remove(QLatin1Char('\n'));
    QList<QStringList> records;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = payload.indexOf(kRecordSep, from);
        if (at < 0)
            break;
        records.append(payload.mid(from, at - from).split(kFieldSep));
        from = at + kRecordSep.size();
    }
    return records;
}

QString joinListPayload(const QList<QStringList> &records)
{
    // An empty field would write "㊣㊣" inside a record, which readers take as the
    // end of the record: empty fields travel as one blank, and readers trim.
    QString out;
    for (const QStringList &r : records) {
        for (qsizetype i = 0; i < r.size(); ++i) {
            if (i > 0)
                out += kFieldSep;
            out += r.at(i).isEmpty() ? QStringLiteral(" ") : r.at(i);
        }
        out += kRecordSep;
    }
    return out;
}

namespace {
std::optional<long long> wholeNumber(const QString &text)
{
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}
} // namespace

ListRecordKind classifyListRecord(const QStringList &fields)
{
    if (fields.isEmpty())
        return ListRecordKind::Invalid;
    const auto kind = wholeNumber(fields.at(0));
    if (!kind)
        return ListRecordKind::Invalid;
    const bool minusOne = fields.size() > 1 && fields.at(1).trimmed() == QLatin1String("-1");
    if (*kind >= 2)
        return minusOne ? ListRecordKind::Summary : ListRecordKind::Song;
    if (*kind <= 0 && minusOne)
        return ListRecordKind::TreePaging;
    return ListRecordKind::Category;
}

namespace ListRecords {

QStringList song(int kind, const QString &title, const QString &added, int popularity, const QString &id,
    const QString &url, const QString &url1, const QString &url2)
{
    return {QString::number(kind), title, added, QString::number(popularity), id, url, url1, url2};
}

QStringList summary(int total, int pageCount, int currentPage)
{
    return {QStringLiteral("2"), QStringLiteral("-1"), QString::number(total), QString::number(pageCount),
        QString::number(currentPage)};
}

QStringList category(int kind, const QString &caption, int entryCount, const QString &id, const QString &pagePath)
{
    return {QString::number(kind), caption, QString(), QString::number(entryCount), id, pagePath};
}

QStringList treePaging(int pageCount, int currentPage)
{
    return {
        QStringLiteral("0"), QStringLiteral("-1"), QString(), QString::number(pageCount), QString::number(currentPage)};
}

} // namespace ListRecords

std::optional<qint16> parseInt16(const QString &text)
{
    const auto v = wholeNumber(text);
    if (!v || *v < -32768 || *v > 32767)
        return std::nullopt;
    return qint16(*v);
}

std::optional<QDateTime> parseServerDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    static const char *const formats[] = {
        "yyyy-M-d H:m:s",
        "yyyy/M/d H:m:s",
        "yyyy-M-d H:m",
        "yyyy/M/d H:m",
        "yyyy-M-d",
        "yyyy/M/d",
        "yyyy.M.d",
    };
    for (const char *f : formats) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(f));
        if (dt.isValid())
            return dt;
        const QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
    }
    return std::nullopt;
}

std::optional<Notice> parseNoticePayload(const QString &payload)
{
    static const QString head = QStringLiteral("DLXX") + kFieldSep;
    static const QString tail = kFieldSep + QStringLiteral("END") + kFieldSep;
    QString text = payload;
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    const qsizetype start = text.indexOf(head);
    if (start < 0)
        return std::nullopt;
    text = text.mid(start + head.size());
    const qsizetype end = text.indexOf(tail);
    if (end < 0)
        return std::nullopt;
    text.truncate(end);
    const QStringList f = splitFields(text, kFieldSep);
    if (f.size() < 3)
        return std::nullopt;

    Notice n;
    n.noticeLine = f.at(0);
    n.announcementUrl = f.at(1).trimmed();
    const QStringList link = f.at(2).split(kTagSep);
    if (link.size() >= 2) {
        n.linkTarget = link.at(0);
        n.linkCaption = link.at(1);
    }
    // Each later field is looked at only when the one before it exists.
    if (f.size() > 3) {
        n.maxQueuedDownloads = parseInt16(f.at(3));
        if (f.size() > 4) {
            n.dailyDownloadLimit = parseInt16(f.at(4));
            if (f.size() > 5) {
                n.serverDate = parseServerDate(f.at(5));
                if (f.size() > 6)
                    n.publishedVersion = f.at(6);
            }
        }
    }
    return n;
}

QString buildNoticePayload(const QStringList &fields)
{
    return QStringLiteral("DLXX") + kFieldSep + fields.join(kFieldSep) + kFieldSep + QStringLiteral("END") + kFieldSep;
}

} // namespace kivo
