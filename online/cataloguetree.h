#pragma once

#include "core/keyedtreemodel.h"
#include "online/resultpages.h"

#include <QObject>

namespace kivo {

// What a double-click on a catalogue node does.
struct CatalogueAction
{
    enum class Type { Nothing, LoadTree, LoadList, OpenWeb };
    Type type = Type::Nothing;
    QString url;
    QString targetKey; // the node that receives children or titles the tab
    QString title; // list and web tabs
    bool clearChildrenFirst = false; // paging: the parent is refilled with the other page

    bool operator==(const CatalogueAction &) const = default;
};

// Which items of the "歌手" menu a right click on a music-library node shows.
struct ArtistMenuItems
{
    bool addToShelf = false; // "加入CD架"
    bool buyCd = false; // "购买此CD"
    bool news = false; // "相关新闻"
    bool operator==(const ArtistMenuItems &) const = default;
};

// The catalogue tree: the fixed first two levels, and everything below loaded from
// the server one level at a time.
class CatalogueTree : public QObject
{
    Q_OBJECT
public:
    CatalogueTree(KeyedTreeModel *model, ResultPages *pages, QObject *parent = nullptr);

    KeyedTreeModel *model() const { return m_model; }

    // The fixed nodes, in their order; the caller expands the root.
    static void BuildCatalogueTree(KeyedTreeModel &model);

    // The decision alone, from the node's place in the tree (its top-level branch is
    // the first part of its key, its kind says whether it is a paging node).
    CatalogueAction decide(const QString &key) const;
    // Carries out a double-click. True when something was loaded or opened.
    QCoro::Task<bool> openNode(QString key);

    // The right-click rule: the "歌手" menu for artists (four key parts below "b0")
    // and albums (five or more); nothing for anything else.
    static std::optional<ArtistMenuItems> artistMenuFor(const QString &key, bool pagingNode);
    std::optional<ArtistMenuItems> artistMenuFor(const QString &key) const;

Q_SIGNALS:
    void busyChanged(bool busy);
    // A level was loaded into this node; the view expands it.
    void expandRequested(const QString &key);
    // Paging cleared the parent's children and selected it.
    void selectRequested(const QString &key);

private:
    QCoro::Task<bool> loadLevel(QString url, QString targetKey);

    KeyedTreeModel *m_model;
    ResultPages *m_pages;
};

} // namespace kivo
