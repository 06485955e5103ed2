#pragma once

#include "core/treenode.h"

#include <QAbstractItemModel>
#include <QHash>

#include <functional>
#include <memory>
#include <vector>

namespace kivo {

// A tree of nodes with unique text keys, one column: what both side trees show.
// Nodes carry their image number and, for catalogue nodes, their typed tag.
class KeyedTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum Role { KeyRole = Qt::UserRole + 1, ImageRole, NodeKindRole };

    struct Node
    {
        QString key;
        QString caption;
        int image = 0;
        TreeNodeKind kind = TreeNodeKind::Fixed;
        std::optional<CatalogueTag> tag;
        int pageNumber = 0;
        quint64 serial = 0; // unique per node ever added: a key can come back after its node went
        bool loading = false;
        Node *parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
    };

    explicit KeyedTreeModel(QObject *parent = nullptr);
    ~KeyedTreeModel() override;

    // Adds a node as the last child of parentKey (empty: a top-level node). Returns
    // nullptr when the key is taken or the parent is missing.
    Node *addNode(const QString &parentKey, const TreeNodeSpec &spec);
    // Adds a node at a position among the parent's children (newest-first lists).
    Node *insertNode(const QString &parentKey, int row, const TreeNodeSpec &spec);
    bool removeNode(const QString &key);
    void removeChildren(const QString &key);
    bool setCaption(const QString &key, const QString &caption);
    void clear();

    Node *node(const QString &key) const;
    // The node with that key only while it is the same node.
    Node *nodeIfSame(const QString &key, quint64 serial) const;
    QModelIndex indexOf(const QString &key) const;
    QString keyAt(const QModelIndex &index) const;
    int nodeCount() const { return int(m_byKey.size()); }

    // Icons by image number; the views set it, tests leave it empty.
    void setIconProvider(std::function<QVariant(int image)> provider) { m_icons = std::move(provider); }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    Node *nodeAt(const QModelIndex &index) const;
    QModelIndex indexOfNode(const Node *node) const;
    void forget(Node *node);

    Node m_root;
    QHash<QString, Node *> m_byKey;
    quint64 m_nextSerial = 1;
    std::function<QVariant(int)> m_icons;
};

} // namespace kivo
