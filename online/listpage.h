#pragma once

#include "core/songrecord.h"
#include "core/treenode.h"
#include "online/tabstrip.h"

#include <QList>
#include <QString>

#include <optional>

namespace kivo {

// One catalogue song row of a list page.
struct CatalogueSong
{
    QString title;
    QString added;
    QString popularity;
    SongRecord record; // id, url, url1, url2, kind
};

struct ListPageContent
{
    QList<CatalogueSong> songs; // list mode only
    std::optional<PagingState> summary; // the last summary record
    QList<TreeNodeSpec> nodes; // tree mode only, in the order they are added
};

enum class ListPageMode { Tree, List };

// Parses an unmirrored list payload. In tree mode categories and paging records become
// nodes under parentKey (songs are not listed); in list mode songs become rows, tree
// paging records are ignored and categories become nodes under parentKey when one is
// given (a page opened from a catalogue node), else they are ignored too.
ListPageContent parseListPage(const QString &payload, ListPageMode mode, const QString &parentKey = {});

// The image of a node loaded below a parent with this key: the deeper, the later.
int childImageFor(const QString &parentKey);

// The page buttons under a list tab.
enum class PageTurn { First = 1, Previous = 2, Next = 3, Last = 4 };

// The page a page-turn action leads to, or nothing (first/last/current page, no state).
// Actions: 1 first, 2 previous, 3 next, anything else last.
std::optional<int> pageTurnTarget(int action, const std::optional<PagingState> &paging);

// The request address of one list page: the list URL plus "&page=n" when n > 0.
QString listPageUrl(const QString &url, int page);

} // namespace kivo
