#include "online/cataloguetree.h"

#include <QPointer>

namespace kivo {

namespace {
struct FixedNode
{
    const char16_t *key;
    const char16_t *caption;
    const char16_t *parent;
    int image;
    int kind; // -1: no tag
    const char16_t *path; // page path of the tag
};

// clang-format off
const FixedNode kFixed[] = {
    {u"a0", u"Kivo媒体库", u"", 1, -1, u""},
    {u"b0", u"音乐媒体库", u"a0", 2, -1, u""},
    {u"g0", u"视频媒体库", u"a0", 2, -1, u""},
    {u"h0", u"娱乐资讯", u"a0", 2, -1, u""},
    {u"c0", u"本站排行榜", u"a0", 3, -1, u""},
    {u"c0-1", u"新歌TOP100", u"c0", 4, 2, u"soft.asp?mlid=1"},
    {u"c0-2", u"歌曲TOP100", u"c0", 4, 2, u"soft.asp?mlid=2"},
    {u"c0-3", u"新手TOP100", u"c0", 3, 0, u"soft.asp?mlid=3"},
    {u"c0-4", u"歌手TOP100", u"c0", 3, 0, u"soft.asp?mlid=4"},
    {u"c0-5", u"专辑最新100", u"c0", 3, 0, u"soft.asp?mlid=5"},
    {u"c0-6", u"专辑TOP100", u"c0", 3, 0, u"soft.asp?mlid=6"},
    {u"c0-7", u"新MTVTOP100", u"c0", 4, 2, u"soft.asp?mlid=1&classid=1"},
    {u"c0-8", u"MTVTOP100", u"c0", 4, 2, u"soft.asp?mlid=2&classid=1"},
    {u"c0-9", u"新手TOP100", u"c0", 3, 0, u"soft.asp?mlid=3&classid=1"},
    {u"c0-10", u"歌手TOP100", u"c0", 3, 0, u"soft.asp?mlid=4&classid=1"},
    {u"c0-11", u"专辑最新100", u"c0", 3, 0, u"soft.asp?mlid=5&classid=1"},
    {u"c0-12", u"专辑TOP100", u"c0", 3, 0, u"soft.asp?mlid=6&classid=1"},
    {u"d0", u"Mp3排行榜", u"a0", 3, -1, u""},
    {u"d1", u"新歌TOP100", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=1"},
    {u"d2", u"歌曲TOP500", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=2"},
    {u"d3", u"歌手TOP200", u"d0", 3, 0, u"kxrjbaidu.asp?bdid=3"},
    {u"d4", u"电影金曲", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=4"},
    {u"d5", u"电视金曲", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=5"},
    {u"d6", u"经典老歌", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=6"},
    {u"d8", u"热门对唱", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=8"},
    {u"d9", u"热门DJ", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=9"},
    {u"d10", u"民歌精选", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=10"},
    {u"d11", u"校园歌曲", u"d0", 4, 2, u"kxrjbaidu.asp?bdid=11"},
    {u"e0", u"留言建议", u"a0", 6, -1, u""},
    {u"f0", u"帮助中心", u"a0", 13, -1, u""},
};
// clang-format on

// The fixed top-level branch a key belongs to: the letter of its first part.
QChar branchOf(const QString &key)
{
    return key.isEmpty() ? QChar() : key.at(0);
}

bool isPaging(const KeyedTreeModel::Node *n)
{
    return n && (n->kind == TreeNodeKind::PreviousPage || n->kind == TreeNodeKind::NextPage);
}

// What a node stands for. The two library roots carry no tag of their own: their
// levels come from fixed pages, also when a paging node below them turns the page.
std::optional<CatalogueTag> tagOf(const KeyedTreeModel::Node *n)
{
    if (n->key == u"b0"_qs)
        return CatalogueTag {0, QString(), u"urlkxrj_0.asp?id=1"_qs};
    if (n->key == u"g0"_qs)
        return CatalogueTag {0, QString(), u"urlkxrj_0.asp?id=1&classid=1"_qs};
    return n->tag;
}
} // namespace

CatalogueTree::CatalogueTree(KeyedTreeModel *model, ResultPages *pages, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_pages(pages)
{ }

void CatalogueTree::BuildCatalogueTree(KeyedTreeModel &model)
{
    for (const FixedNode &f : kFixed) {
        TreeNodeSpec spec;
        spec.key = QString::fromUtf16(f.key);
        spec.caption = QString::fromUtf16(f.caption);
        spec.image = f.image;
        spec.kind = TreeNodeKind::Fixed;
        if (f.kind >= 0)
            spec.tag = CatalogueTag {f.kind, QString(), QString::fromUtf16(f.path)};
        model.addNode(QString::fromUtf16(f.parent), spec);
    }
}

CatalogueAction CatalogueTree::decide(const QString &key) const
{
    using Type = CatalogueAction::Type;
    const KeyedTreeModel::Node *node = m_model->node(key);
    if (!node || !m_pages || !m_pages->fetcher())
        return {};
    const QString base = m_pages->fetcher()->baseUrl();
    const QChar branch = branchOf(key);

    if (branch == u'h') {
        if (key == u"h0"_qs) {
            if (!node->children.empty())
                return {};
            return {Type::LoadTree, base + u"news.asp"_qs, key, QString(), false};
        }
        if (isPaging(node) || !node->tag || node->tag->pagePath.trimmed().isEmpty() || !node->children.empty())
            return {};
        return {Type::OpenWeb, base + node->tag->pagePath, key, node->caption + u"娱乐资讯列表"_qs, false};
    }
    if (branch == u'e')
        return {Type::OpenWeb, base + u"softbook.asp"_qs, key, u"留言建议"_qs, false};
    if (branch == u'f')
        return {Type::OpenWeb, base + u"softhelp.asp"_qs, key, u"帮助中心"_qs, false};
    if (branch != u'g' && branch != u'b' && branch != u'c' && branch != u'd')
        return {};

    // Library and chart nodes.
    const KeyedTreeModel::Node *target = node;
    std::optional<CatalogueTag> tag = tagOf(node);
    QString suffix;
    bool clear = false;
    if (isPaging(node)) {
        target = node->parent;
        if (!target || target->key.isEmpty())
            return {};
        tag = tagOf(target);
        suffix = u"&page="_qs + QString::number(node->pageNumber);
        clear = true;
    }
    if (!tag)
        return {};
    const QString path = branch == u'd' ? tag->pagePath.trimmed() : tag->pagePath;
    const QString url = base + path + suffix;
    if (tag->kind != 0)
        return {Type::LoadList, url, target->key, target->caption, clear};
    // A category that shows its children is not fetched again (paging clears them first).
    if (!clear && !target->children.empty())
        return {};
    return {Type::LoadTree, url, target->key, QString(), clear};
}

QCoro::Task<bool> CatalogueTree::openNode(QString key)
{
    const CatalogueAction action = decide(key);
    switch (action.type) {
    case CatalogueAction::Type::Nothing:
        co_return false;
    case CatalogueAction::Type::OpenWeb:
        co_return m_pages->OpenWebTab(action.url, action.title) != 0;
    case CatalogueAction::Type::LoadTree: {
        const KeyedTreeModel::Node *target = m_model->node(action.targetKey);
        // Never two copies of a level: a node still loading is left alone.
        if (!target || target->loading)
            co_return false;
        if (action.clearChildrenFirst) {
            m_model->removeChildren(action.targetKey);
            Q_EMIT selectRequested(action.targetKey);
        }
        co_return co_await loadLevel(action.url, action.targetKey);
    }
    case CatalogueAction::Type::LoadList: {
        KeyedTreeModel::Node *target = m_model->node(action.targetKey);
        if (!target)
            co_return false;
        if (action.clearChildrenFirst) {
            m_model->removeChildren(action.targetKey);
            Q_EMIT selectRequested(action.targetKey);
        }
        const quint64 serial = target->serial;
        QPointer<KeyedTreeModel> model(m_model);
        const QString targetKey = action.targetKey;
        ListPageRequest request {action.url, 1, 0, action.title,
            [model, targetKey, serial] { return model && model->nodeIfSame(targetKey, serial); }, targetKey,
            [model, targetKey](const QList<TreeNodeSpec> &nodes) {
                // The categories listed with the songs become the node's children.
                for (const TreeNodeSpec &spec : nodes)
                    if (model)
                        model->addNode(targetKey, spec);
            }};
        QPointer<CatalogueTree> self(this);
        Q_EMIT busyChanged(true);
        const bool loaded = co_await m_pages->LoadListPage(std::move(request));
        if (self)
            Q_EMIT busyChanged(false);
        co_return loaded;
    }
    }
    co_return false;
}

QCoro::Task<bool> CatalogueTree::loadLevel(QString url, QString targetKey)
{
    KeyedTreeModel::Node *target = m_model->node(targetKey);
    const quint64 serial = target->serial;
    target->loading = true;
    QPointer<CatalogueTree> self(this);
    QPointer<KeyedTreeModel> model(m_model);
    Q_EMIT busyChanged(true);
    const QString payload = co_await m_pages->fetcher()->fetchHiddenPayload(url);
    if (!self || !model)
        co_return false;
    Q_EMIT busyChanged(false);
    target = m_model->nodeIfSame(targetKey, serial);
    if (!target)
        co_return false; // the node went while its level was on the way
    target->loading = false;
    const ListPageContent content = parseListPage(payload, ListPageMode::Tree, targetKey);
    if (content.summary)
        m_pages->showSummaryCaption(content.summary->summaryText());
    if (content.nodes.isEmpty())
        co_return false;
    for (const TreeNodeSpec &spec : content.nodes)
        m_model->addNode(targetKey, spec);
    Q_EMIT expandRequested(targetKey);
    co_return true;
}

std::optional<ArtistMenuItems> CatalogueTree::artistMenuFor(const QString &key, bool pagingNode)
{
    if (pagingNode || branchOf(key) != u'b')
        return std::nullopt;
    const qsizetype parts = key.count(QLatin1Char('-')) + 1;
    if (parts < 4)
        return std::nullopt;
    if (parts == 4)
        return ArtistMenuItems {false, false, true};
    return ArtistMenuItems {true, true, false};
}

std::optional<ArtistMenuItems> CatalogueTree::artistMenuFor(const QString &key) const
{
    const KeyedTreeModel::Node *n = m_model->node(key);
    return n ? artistMenuFor(key, isPaging(n)) : std::nullopt;
}

} // namespace kivo
