#include "online/listpage.h"

#include "core/pageformats.h"

namespace kivo {

namespace {
std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

QString fieldAt(const QStringList &f, int i)
{
    return i < f.size() ? f.at(i).trimmed() : QString();
}
} // namespace

int childImageFor(const QString &parentKey)
{
    const qsizetype parts = parentKey.isEmpty() ? 0 : parentKey.count(QLatin1Char('-')) + 1;
    if (parts <= 1)
        return 3;
    if (parts == 2)
        return 4;
    if (parts == 3)
        return 5;
    return 8;
}

ListPageContent parseListPage(const QString &payload, ListPageMode mode, const QString &parentKey)
{
    ListPageContent out;
    if (payload.trimmed().isEmpty())
        return out;
    const int image = childImageFor(parentKey);
    std::optional<QStringList> nextPaging;
    const QList<QStringList> records = splitListPayload(payload);
    for (const QStringList &f : records) {
        switch (classifyListRecord(f)) {
        case ListRecordKind::Invalid:
            break;
        case ListRecordKind::Summary:
            out.summary = PagingState {fieldAt(f, 2), fieldAt(f, 4), fieldAt(f, 3)};
            break;
        case ListRecordKind::Song:
            if (mode == ListPageMode::List) {
                CatalogueSong s;
                s.title = fieldAt(f, 1);
                s.added = fieldAt(f, 2);
                s.popularity = fieldAt(f, 3);
                s.record.kind = wholeNumber(f.at(0)).value_or(2);
                s.record.id = fieldAt(f, 4);
                s.record.url = fieldAt(f, 5);
                s.record.url1 = fieldAt(f, 6);
                s.record.url2 = fieldAt(f, 7);
                out.songs.append(std::move(s));
            }
            break;
        case ListRecordKind::TreePaging: {
            if (mode != ListPageMode::Tree)
                break;
            const auto current = wholeNumber(fieldAt(f, 4));
            const auto count = wholeNumber(fieldAt(f, 3));
            if (current && *current >= 2) {
                TreeNodeSpec prev;
                prev.key = parentKey + u"-pas"_qs + fieldAt(f, 4);
                prev.caption = u"上一页("_qs + fieldAt(f, 4) + u"/"_qs + fieldAt(f, 3) + u")"_qs;
                prev.image = 14;
                prev.kind = TreeNodeKind::PreviousPage;
                prev.pageNumber = *current - 1;
                out.nodes.append(prev);
            }
            if (current && count && *current < *count)
                nextPaging = f;
            break;
        }
        case ListRecordKind::Category: {
            // A category without an id could not be told apart from its siblings. A
            // list page keeps its categories only for the node it was opened from.
            if ((mode != ListPageMode::Tree && parentKey.isEmpty()) || fieldAt(f, 4).isEmpty())
                break;
            TreeNodeSpec node;
            node.key = parentKey + u"-"_qs + fieldAt(f, 4);
            const auto entries = wholeNumber(fieldAt(f, 3));
            node.caption = entries && *entries >= 1 ? fieldAt(f, 1) + u"("_qs + fieldAt(f, 3) + u")"_qs : fieldAt(f, 1);
            node.image = image;
            node.kind = TreeNodeKind::Category;
            node.tag = CatalogueTag {wholeNumber(f.at(0)).value_or(0), fieldAt(f, 4), fieldAt(f, 5)};
            out.nodes.append(node);
            break;
        }
        }
    }
    if (nextPaging && nextPaging->size() >= 5) {
        const QStringList &f = *nextPaging;
        TreeNodeSpec next;
        next.key = parentKey + u"-pax"_qs + fieldAt(f, 4);
        next.caption = u"下一页("_qs + fieldAt(f, 4) + u"/"_qs + fieldAt(f, 3) + u")"_qs;
        next.image = 15;
        next.kind = TreeNodeKind::NextPage;
        next.pageNumber = wholeNumber(fieldAt(f, 4)).value_or(0) + 1;
        out.nodes.append(next);
    }
    return out;
}

std::optional<int> pageTurnTarget(int action, const std::optional<PagingState> &paging)
{
    if (!paging)
        return std::nullopt;
    const auto current = wholeNumber(paging->current);
    const auto count = wholeNumber(paging->pageCount);
    if (!current || !count || !wholeNumber(paging->total))
        return std::nullopt;
    // Wide enough for a step past the ends of the int range the server's numbers fill.
    long long target = *count;
    if (action == 1)
        target = 1;
    else if (action == 2)
        target = static_cast<long long>(*current) - 1;
    else if (action == 3)
        target = static_cast<long long>(*current) + 1;
    if (target <= 0 || target > *count || target == *current)
        return std::nullopt;
    return static_cast<int>(target);
}

QString listPageUrl(const QString &url, int page)
{
    return page > 0 ? url + u"&page="_qs + QString::number(page) : url;
}

} // namespace kivo
