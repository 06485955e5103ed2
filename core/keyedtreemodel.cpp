#include "core/keyedtreemodel.h"

namespace kivo {

KeyedTreeModel::KeyedTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
{ }

KeyedTreeModel::~KeyedTreeModel() = default;

KeyedTreeModel::Node *KeyedTreeModel::addNode(const QString &parentKey, const TreeNodeSpec &spec)
{
    Node *p = parentKey.isEmpty() ? &m_root : node(parentKey);
    if (!p)
        return nullptr;
    return insertNode(parentKey, int(p->children.size()), spec);
}

KeyedTreeModel::Node *KeyedTreeModel::insertNode(const QString &parentKey, int row, const TreeNodeSpec &spec)
{
    Node *p = parentKey.isEmpty() ? &m_root : node(parentKey);
    if (!p || spec.key.isEmpty() || m_byKey.contains(spec.key))
        return nullptr;
    row = std::clamp(row, 0, int(p->children.size()));
    auto n = std::make_unique<Node>();
    n->key = spec.key;
    n->caption = spec.caption;
    n->image = spec.image;
    n->kind = spec.kind;
    n->tag = spec.tag;
    n->pageNumber = spec.pageNumber;
    n->serial = m_nextSerial++;
    n->parent = p;
    Node *raw = n.get();
    beginInsertRows(indexOfNode(p), row, row);
    p->children.insert(p->children.begin() + row, std::move(n));
    m_byKey.insert(raw->key, raw);
    endInsertRows();
    return raw;
}

void KeyedTreeModel::forget(Node *n)
{
    for (auto &c : n->children)
        forget(c.get());
    m_byKey.remove(n->key);
}

bool KeyedTreeModel::removeNode(const QString &key)
{
    Node *n = node(key);
    if (!n)
        return false;
    Node *p = n->parent;
    const auto it = std::find_if(p->children.begin(), p->children.end(), [n](auto &c) { return c.get() == n; });
    const int row = int(it - p->children.begin());
    beginRemoveRows(indexOfNode(p), row, row);
    forget(n);
    p->children.erase(it);
    endRemoveRows();
    return true;
}

void KeyedTreeModel::removeChildren(const QString &key)
{
    Node *n = node(key);
    if (!n || n->children.empty())
        return;
    beginRemoveRows(indexOfNode(n), 0, int(n->children.size()) - 1);
    for (auto &c : n->children)
        forget(c.get());
    n->children.clear();
    endRemoveRows();
}

bool KeyedTreeModel::setCaption(const QString &key, const QString &caption)
{
    Node *n = node(key);
    if (!n)
        return false;
    n->caption = caption;
    const QModelIndex i = indexOfNode(n);
    Q_EMIT dataChanged(i, i, {Qt::DisplayRole});
    return true;
}

void KeyedTreeModel::clear()
{
    beginResetModel();
    m_root.children.clear();
    m_byKey.clear();
    endResetModel();
}

KeyedTreeModel::Node *KeyedTreeModel::node(const QString &key) const
{
    return m_byKey.value(key, nullptr);
}

KeyedTreeModel::Node *KeyedTreeModel::nodeIfSame(const QString &key, quint64 serial) const
{
    Node *n = node(key);
    return n && n->serial == serial ? n : nullptr;
}

QModelIndex KeyedTreeModel::indexOf(const QString &key) const
{
    const Node *n = node(key);
    return n ? indexOfNode(n) : QModelIndex();
}

QString KeyedTreeModel::keyAt(const QModelIndex &index) const
{
    const Node *n = nodeAt(index);
    return n ? n->key : QString();
}

KeyedTreeModel::Node *KeyedTreeModel::nodeAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<Node *>(index.internalPointer());
}

QModelIndex KeyedTreeModel::indexOfNode(const Node *n) const
{
    if (!n || n == &m_root || !n->parent)
        return {};
    const auto &siblings = n->parent->children;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == n)
            return createIndex(int(i), 0, const_cast<Node *>(n));
    return {};
}

QModelIndex KeyedTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    const Node *p = parent.isValid() ? nodeAt(parent) : &m_root;
    if (!p || row >= int(p->children.size()))
        return {};
    return createIndex(row, 0, p->children[size_t(row)].get());
}

QModelIndex KeyedTreeModel::parent(const QModelIndex &child) const
{
    const Node *n = nodeAt(child);
    if (!n || !n->parent || n->parent == &m_root)
        return {};
    return indexOfNode(n->parent);
}

int KeyedTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const Node *p = parent.isValid() ? nodeAt(parent) : &m_root;
    return p ? int(p->children.size()) : 0;
}

int KeyedTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant KeyedTreeModel::data(const QModelIndex &index, int role) const
{
    const Node *n = nodeAt(index);
    if (!n)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole: // the whole caption, where the narrow tree cuts it
        return n->caption;
    case Qt::DecorationRole:
        return m_icons ? m_icons(n->image) : QVariant();
    case KeyRole:
        return n->key;
    case ImageRole:
        return n->image;
    case NodeKindRole:
        return int(n->kind);
    default:
        return {};
    }
}

} // namespace kivo
