#include "online/resultpages.h"

#include <QPointer>

namespace kivo {

ResultPages::ResultPages(PageFetcher *fetcher, QObject *parent)
    : QObject(parent)
    , m_fetcher(fetcher)
{ }

ResultPages::~ResultPages() = default;

SongListModel *ResultPages::listModel(int view) const
{
    return m_models.value(view, nullptr);
}

TabStrip::Opened ResultPages::OpenResultTab(TabKind kind, const QString &title)
{
    const TabStrip::Opened opened = m_strip.open(kind, title);
    if (kind == TabKind::List) {
        auto *model = new SongListModel(SongPageKind::Catalogue, this);
        m_models.insert(opened.view, model);
    }
    Q_EMIT tabOpened(opened.tab, kind, opened.view);
    Q_EMIT stripChanged();
    return opened;
}

int ResultPages::OpenWebTab(const QString &url, const QString &title)
{
    if (url.trimmed().isEmpty())
        return 0;
    const TabStrip::Opened opened = OpenResultTab(TabKind::Web, title);
    m_strip.setStatus({title, 0});
    Q_EMIT stripChanged();
    Q_EMIT webNavigate(opened.view, url);
    return opened.tab;
}

QCoro::Task<bool> ResultPages::LoadListPage(ListPageRequest request)
{
    if (!m_fetcher)
        co_return false;
    // Refilling a tab: remember which tab it was, since its number may be reused. A
    // new tab opens now, so tabs stand in the order they were asked for.
    int tabNumber = request.tab;
    const bool newTab = tabNumber == 0;
    const std::optional<int> frontBefore = m_strip.frontTab();
    const StatusLine statusBefore = m_strip.status();
    if (newTab)
        tabNumber = OpenResultTab(TabKind::List, request.title).tab;
    const ResultTabInfo *t = m_strip.tab(tabNumber);
    if (!t || t->kind != TabKind::List)
        co_return false;
    const quint64 serial = t->serial;
    const quint64 load = m_nextLoad++;
    m_latestLoad.insert(serial, load);

    QPointer<ResultPages> self(this);
    const QString payload = co_await m_fetcher->fetchHiddenPayload(listPageUrl(request.url, request.page));
    if (!self)
        co_return false;
    ResultTabInfo *info = m_strip.tabIfSame(tabNumber, serial);
    if (!info || m_latestLoad.value(serial) != load)
        co_return false; // closed meanwhile, or a newer page was asked for
    if (payload.trimmed().isEmpty() || (request.stillWanted && !request.stillWanted())) {
        // Nothing to show: the tab opened for it goes again and what was in front
        // before comes back as it was.
        if (newTab) {
            const bool wasFront = m_strip.frontTab() == tabNumber;
            const StatusLine status = m_strip.status();
            CloseResultTab(tabNumber);
            if (!wasFront) {
                m_strip.setStatus(status);
            } else if (frontBefore && m_strip.tab(*frontBefore)) {
                m_strip.activate(*frontBefore);
                m_strip.setStatus(statusBefore);
            }
            Q_EMIT stripChanged();
        }
        co_return false;
    }

    ListPageContent content = parseListPage(payload, ListPageMode::List, request.parentKey);
    if (request.addCategories && !content.nodes.isEmpty())
        request.addCategories(content.nodes);
    info->listUrl = request.url;
    info->paging = content.summary;
    SongListModel *model = listModel(info->view);

    QList<SongListRow> rows;
    rows.reserve(content.songs.size());
    for (CatalogueSong &s : content.songs) {
        SongListRow row;
        row.cells = {s.title, u"音频文件"_qs, s.popularity, s.added};
        row.data = std::move(s.record);
        row.icon = 12;
        rows.append(std::move(row));
    }
    if (model)
        model->setRows(std::move(rows));
    // The summary names this tab while it is in front; a tab that opened behind
    // another keeps its totals for when it comes forward.
    if (content.summary && (m_strip.frontTab() == tabNumber || !m_strip.frontTab()))
        m_strip.setStatus({content.summary->summaryText(), tabNumber});
    Q_EMIT stripChanged();
    co_return true;
}

QCoro::Task<bool> ResultPages::TurnListPage(PageTurn turn)
{
    const std::optional<int> tabNumber = m_strip.status().tab;
    // Only the list in front turns: a page in front that is not the list the status
    // line names (a library page, a web page) leaves that list alone.
    if (!tabNumber || *tabNumber == 0 || m_strip.frontTab() != tabNumber)
        co_return false;
    const ResultTabInfo *info = m_strip.tab(*tabNumber);
    if (!info || info->kind != TabKind::List)
        co_return false;
    const std::optional<int> target = pageTurnTarget(int(turn), info->paging);
    if (!target)
        co_return false;
    ListPageRequest request {info->listUrl, *target, *tabNumber, QString(), {}};
    QPointer<ResultPages> self(this);
    Q_EMIT busyChanged(true);
    const bool loaded = co_await LoadListPage(std::move(request));
    if (self)
        Q_EMIT busyChanged(false);
    co_return loaded;
}

void ResultPages::ActivateResultTab(int tab)
{
    if (m_strip.activate(tab))
        Q_EMIT stripChanged();
}

void ResultPages::coverWithVideo(const QString &caption)
{
    m_strip.deactivate();
    m_strip.setStatus({caption, std::nullopt});
    Q_EMIT stripChanged();
}

void ResultPages::ScrollTabStrip(TabStrip::Direction direction)
{
    if (m_strip.scroll(direction))
        Q_EMIT stripChanged();
}

bool ResultPages::CloseResultTab(int tab)
{
    const ResultTabInfo *info = m_strip.tab(tab);
    if (!info)
        return false;
    if (info->kind == TabKind::List) {
        if (SongListModel *m = listModel(info->view); m && m->downloading()) {
            Q_EMIT closeRefusedWhileDownloading(tab);
            return false;
        }
    }
    m_latestLoad.remove(info->serial);
    const std::optional<TabStrip::Closed> closed = m_strip.close(tab);
    if (!closed)
        return false;
    // The views go first, then the rows they showed.
    Q_EMIT tabClosed(tab, closed->kind, closed->view);
    if (closed->kind == TabKind::List)
        delete m_models.take(closed->view);
    Q_EMIT stripChanged();
    return true;
}

void ResultPages::HoverResultTab(int tab)
{
    m_strip.hover(tab);
    Q_EMIT stripChanged();
}

void ResultPages::showSummaryCaption(const QString &caption)
{
    StatusLine s = m_strip.status();
    s.caption = caption;
    m_strip.setStatus(s);
    Q_EMIT stripChanged();
}

void ResultPages::markWebPageShown(int view)
{
    if (const auto tab = m_strip.tabOfView(TabKind::Web, view))
        m_strip.tab(*tab)->pageShown = true;
}

} // namespace kivo
