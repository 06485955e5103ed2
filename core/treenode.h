#pragma once

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

// A node of a side tree: fixed, a category loaded from the server, or a paging node.
enum class TreeNodeKind { Fixed, Category, PreviousPage, NextPage };

// A node to add to a side tree: what the fixed tables, the library and the list
// parser hand to the tree model.
struct TreeNodeSpec
{
    QString key;
    QString caption;
    int image = 0;
    TreeNodeKind kind = TreeNodeKind::Category;
    std::optional<CatalogueTag> tag; // categories
    int pageNumber = 0; // paging nodes: the page they lead to
    bool operator==(const TreeNodeSpec &) const = default;
};

} // namespace kivo
