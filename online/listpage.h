#pragma once

#include "library/songrecord.h"
#include "online/tabstrip.h"

#include <QList>
#include <QString>

#include <optional>

namespace kivo {

// What a catalogue node stands for: kind 0 a category whose children load into the
// tree, any other kind a song list; the server id and the page path below the base URL.
struct CatalogueTag
{
    int kind = 0;
    QString id;
    QString pagePath;

    // "kind|||id|||path", the form the server's records and the fixed table use.
    QString toText() const;
    // Empty when the text has fewer than three fields or the kind is not a number.
    static std::optional<CatalogueTag> fromText(const QString &text);
    bool operator==(const CatalogueTag &) const = default;
};

enum class CatalogueNodeKind { Fixed, Category, PreviousPage, NextPage };

// A node the list parser asks the tree to add under the parent.
struct CatalogueNodeSpec
{
    QString key;
    QString caption;
    int image = 0;
    CatalogueNodeKind kind = CatalogueNodeKind::Category;
    std::optional<CatalogueTag> tag; // categories
    int pageNumber = 0; // paging nodes: the page they lead to
    bool operator==(const CatalogueNodeSpec &) const = default;
};

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
    QList<CatalogueNodeSpec> nodes; // tree mode only, in the order they are added
};

enum class ListPageMode { Tree, List };

// Parses an unmirrored list payload. In tree mode categories and paging records become
// nodes under parentKey (songs are not listed); in list mode songs become rows and
// categories and tree paging records are ignored.
ListPageContent parseListPage(const QString &payload, ListPageMode mode, const QString &parentKey = {});

// The image of a node loaded below a parent with this key: the deeper, the later.
int childImageFor(const QString &parentKey);

// The page a page-turn action leads to, or nothing (first/last/current page, no state).
// Actions: 1 first, 2 previous, 3 next, anything else last.
std::optional<int> pageTurnTarget(int action, const std::optional<PagingState> &paging);

// The request address of one list page: the list URL plus "&page=n" when n > 0.
QString listPageUrl(const QString &url, int page);

} // namespace kivo
