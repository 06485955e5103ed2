#include "online/ui/resultarea.h"

#include "core/logging.h"
#include "online/softfilelink.h"
#include "online/ui/tabheader.h"
#include "skin/twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace kivo {

namespace {
// sj1: how often a web tab whose page has arrived checks whether it may show it.
constexpr int kRevealIntervalMs = 500;
} // namespace

ResultArea::ResultArea(ResultPages *pages, QWidget *parent)
    : QWidget(parent)
    , m_pages(pages)
    , m_strip(new QWidget(this))
    , m_stack(new QStackedWidget(this))
    , m_empty(new QWidget(m_stack))
    , m_status(new QLabel(this))
{
    m_strip->setObjectName(u"Picture1"_qs);
    m_strip->setFixedHeight(20);
    m_strip->setAccessibleName(u"标签栏"_qs);
    m_stack->addWidget(m_empty);
    m_status->setObjectName(u"Label6"_qs);
    m_status->setTextFormat(Qt::PlainText);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip);
    layout->addWidget(m_stack, 1);
    layout->addWidget(m_status);

    connect(m_pages, &ResultPages::tabOpened, this, &ResultArea::onTabOpened);
    connect(m_pages, &ResultPages::tabClosed, this, &ResultArea::onTabClosed);
    connect(m_pages, &ResultPages::webNavigate, this, &ResultArea::onWebNavigate);
    connect(m_pages, &ResultPages::stripChanged, this, &ResultArea::sync);
    for (int tab : m_pages->strip().openTabs())
        if (const ResultTabInfo *t = m_pages->strip().tab(tab))
            onTabOpened(tab, t->kind, t->view);
    sync();
}

ResultArea::~ResultArea() = default;

QTreeView *ResultArea::listView(int view) const
{
    return m_listViews.value(view, nullptr);
}

TabHeader *ResultArea::header(int tab) const
{
    return m_headers.value(tab, nullptr);
}

QProgressBar *ResultArea::loadingIndicator(int webView) const
{
    return m_webTabs.contains(webView) ? m_webTabs.value(webView).indicator : nullptr;
}

WebPane *ResultArea::webPane(int webView) const
{
    return m_webTabs.contains(webView) ? m_webTabs.value(webView).pane : nullptr;
}

void ResultArea::setWebPaneFactory(WebPaneFactory *factory)
{
    m_factory = factory;
    for (auto it = m_webTabs.begin(); it != m_webTabs.end(); ++it)
        if (!it->pane)
            attachPane(it.key(), *it);
}

void ResultArea::onTabOpened(int tab, TabKind kind, int view)
{
    const ResultTabInfo *info = m_pages->strip().tab(tab);
    const QString title = info ? info->title : QString();
    auto *header = new TabHeader(tab, title, m_strip);
    m_headers.insert(tab, header);
    connect(header, &TabHeader::activated, m_pages, &ResultPages::ActivateResultTab);
    connect(header, &TabHeader::closeRequested, m_pages, &ResultPages::CloseResultTab);
    connect(header, &TabHeader::hovered, m_pages, &ResultPages::HoverResultTab);

    if (kind == TabKind::List) {
        auto *list = new QTreeView(m_stack);
        list->setObjectName(u"ListView1"_qs);
        list->setAccessibleName(title.trimmed());
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true); // keeps pages of many thousand rows cheap to lay out
        list->setAllColumnsShowFocus(true);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection); // Delete removes several rows at once
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        SongListModel *model = m_pages->listModel(view);
        list->setModel(model);
        const auto applyWidths = [list, model] {
            if (!model)
                return;
            const QList<int> widths = SongListModel::columnWidths(model->pageKind());
            for (int c = 0; c < widths.size(); ++c)
                list->header()->resizeSection(c, twipsToPixels(widths.at(c)));
        };
        applyWidths();
        if (model)
            connect(model, &QAbstractItemModel::modelReset, list, applyWidths);
        connect(list, &QTreeView::doubleClicked, this,
            [this, view](const QModelIndex &index) { Q_EMIT rowActivated(view, index.row()); });
        connect(list, &QWidget::customContextMenuRequested, this, [this, view, list](const QPoint &pos) {
            const QModelIndex index = list->indexAt(pos);
            if (index.isValid())
                Q_EMIT rowContextMenuRequested(view, index.row(), list->viewport()->mapToGlobal(pos));
        });
        m_stack->addWidget(list);
        m_listViews.insert(view, list);
    } else {
        WebTab web;
        web.page = new QWidget(m_stack);
        web.page->setAccessibleName(title.trimmed());
        auto *layout = new QVBoxLayout(web.page);
        layout->setContentsMargins(0, 0, 0, 0);
        web.indicator = new QProgressBar(web.page);
        web.indicator->setObjectName(u"jd1"_qs);
        web.indicator->setAccessibleName(u"页面载入进度"_qs);
        web.indicator->setRange(0, 100);
        web.indicator->setValue(0);
        layout->addWidget(web.indicator, 0, Qt::AlignTop);
        web.timer = new QTimer(web.page);
        web.timer->setObjectName(u"sj1"_qs);
        web.timer->setInterval(kRevealIntervalMs);
        connect(web.timer, &QTimer::timeout, this, [this, view] { revealWhenLoaded(view); });
        m_stack->addWidget(web.page);
        m_webTabs.insert(view, web);
        attachPane(view, m_webTabs[view]);
    }
}

void ResultArea::attachPane(int view, WebTab &web)
{
    if (web.pane || !m_factory)
        return;
    const QString host = QUrl(m_pages->fetcher() ? m_pages->fetcher()->baseUrl() : QString()).host();
    web.pane = m_factory->createPane(web.page, host);
    if (!web.pane)
        return;
    web.pane->setObjectName(u"Web1"_qs);
    web.pane->setFailureText(u"页面无法打开"_qs);
    web.pane->hide(); // behind the indicator until the page has loaded
    web.page->layout()->addWidget(web.pane);
    connect(web.pane, &WebPane::loadProgress, this, [this, view](int percent) {
        if (!m_webTabs.contains(view))
            return;
        WebTab &tab = m_webTabs[view];
        if (percent > 0 && percent < 100)
            tab.indicator->setValue(percent);
        else if (percent >= 100 && m_stack->currentWidget() == tab.page && !tab.indicator->isHidden()
            && !tab.timer->isActive())
            tab.timer->start(); // the front tab shows its page at a tick once it has loaded completely
    });
    connect(web.pane, &WebPane::loadFinished, this, [this, view](bool ok) {
        if (!m_webTabs.contains(view))
            return;
        // A page that did not load keeps its tab on the indicator; nothing else is said.
        if (!ok) {
            qCWarning(lcUi).noquote() << "web tab page did not load:" << m_webTabs[view].url.toString();
            return;
        }
        m_webTabs[view].loaded = true;
        sync();
    });
    connect(web.pane, &WebPane::linkRequested, this, &ResultArea::openServerLink);
    connect(web.pane, &WebPane::newWindowRequested, this, [this](const QUrl &url) { openNewWindow(url); });
    if (!web.url.isEmpty())
        web.pane->navigate(web.url);
}

void ResultArea::openServerLink(const QString &url)
{
    const LinkDecision d = decideServerLink(url, m_pages->fetcher() ? m_pages->fetcher()->baseUrl() : QString());
    if (!d.openInTab.isEmpty())
        m_pages->OpenWebTab(d.openInTab, linkedPageTitle());
}

void ResultArea::openNewWindow(const QUrl &url)
{
    // A "softfile:" address asked for as a window follows the link rule.
    if (url.toString().contains(u"softfile:"_qs, Qt::CaseInsensitive))
        openServerLink(url.toString());
    else
        m_pages->OpenWebTab(url.toString(), linkedPageTitle());
}

void ResultArea::onWebNavigate(int view, const QString &url)
{
    if (!m_webTabs.contains(view))
        return;
    WebTab &web = m_webTabs[view];
    web.url = QUrl(url);
    web.loaded = false;
    if (web.pane)
        web.pane->navigate(web.url);
}

void ResultArea::revealWhenLoaded(int view)
{
    if (!m_webTabs.contains(view))
        return;
    WebTab &web = m_webTabs[view];
    if (!web.loaded || !web.pane || web.indicator->isHidden())
        return;
    web.indicator->setValue(0);
    web.timer->stop();
    web.indicator->hide();
    web.pane->show();
    m_pages->markWebPageShown(view);
}

void ResultArea::onTabClosed(int tab, TabKind kind, int view)
{
    delete m_headers.take(tab);
    if (kind == TabKind::List) {
        delete m_listViews.take(view);
    } else {
        WebTab web = m_webTabs.take(view);
        delete web.page; // the pane, indicator and timer with it
    }
}

void ResultArea::sync()
{
    const TabStrip &strip = m_pages->strip();
    for (auto it = m_headers.cbegin(); it != m_headers.cend(); ++it) {
        TabHeader *h = it.value();
        const ResultTabInfo *info = strip.tab(it.key());
        const int left = strip.leftOf(it.key());
        if (!info || left < 0) {
            h->hide();
            continue;
        }
        h->move(twipsToPixels(left), 0);
        h->setState(info->state);
        h->show();
    }
    QWidget *front = m_empty;
    for (auto it = m_webTabs.begin(); it != m_webTabs.end(); ++it) {
        const std::optional<int> tab = strip.tabOfView(TabKind::Web, it.key());
        const ResultTabInfo *info = tab ? strip.tab(*tab) : nullptr;
        const bool isFront = info && info->state == HeaderState::Selected;
        WebTab &web = it.value();
        if (!isFront) {
            web.timer->stop();
            continue;
        }
        front = web.page;
        if (info->pageShown && web.pane) {
            web.indicator->hide();
            web.pane->show();
        } else {
            web.indicator->show();
            if (web.loaded && !web.timer->isActive())
                web.timer->start();
        }
    }
    if (const std::optional<int> tab = strip.frontTab()) {
        const ResultTabInfo *info = strip.tab(*tab);
        if (info->kind == TabKind::List)
            if (QTreeView *list = listView(info->view))
                front = list;
    }
    m_stack->setCurrentWidget(front);
    m_status->setText(strip.status().caption);
    m_status->setAccessibleName(strip.status().caption);
    if (m_scrollButtons != strip.scrollButtonsVisible()) {
        m_scrollButtons = strip.scrollButtonsVisible();
        Q_EMIT scrollButtonsVisibleChanged(m_scrollButtons);
    }
}

} // namespace kivo
