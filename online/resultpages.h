#pragma once

#include "online/listpage.h"
#include "online/pagefetcher.h"
#include "online/songlistmodel.h"
#include "online/tabstrip.h"

#include <QHash>
#include <QObject>

#include <QCoro/QCoroTask>

#include <functional>
#include <memory>

namespace kivo {

// One list page to load into a list tab.
struct ListPageRequest
{
    QString url; // the list URL without page suffix
    int page = 1; // 1 or more
    int tab = 0; // 0: open a new tab titled `title`; else refill that tab
    QString title;
    // Asked when the payload arrives: false drops it (the node it was for is gone).
    std::function<bool()> stillWanted;
    // A page opened from a catalogue node: its category records become that node's
    // children (parentKey names the node; empty for every other page).
    QString parentKey;
    std::function<void(const QList<TreeNodeSpec> &)> addCategories;
};

// The result area without its widgets: the tab strip, one song-list model per list
// view, the status line, and the loading and paging of server list pages.
class ResultPages : public QObject
{
    Q_OBJECT
public:
    explicit ResultPages(PageFetcher *fetcher, QObject *parent = nullptr);
    ~ResultPages() override;

    TabStrip &strip() { return m_strip; }
    const TabStrip &strip() const { return m_strip; }
    PageFetcher *fetcher() const { return m_fetcher; }
    SongListModel *listModel(int view) const;

    TabStrip::Opened OpenResultTab(TabKind kind, const QString &title);
    // Opens a web tab at url; a blank url opens nothing. Returns the tab number or 0.
    int OpenWebTab(const QString &url, const QString &title);
    // Loads one page of a server list into a list tab. A new tab opens at once, in the
    // order of the requests, and is filled when its page arrives; a page that brings
    // nothing closes it again. True when rows were put in place.
    QCoro::Task<bool> LoadListPage(ListPageRequest request);
    // The page buttons, on the tab the status line names while it is the one in front.
    QCoro::Task<bool> TurnListPage(PageTurn turn);
    void ActivateResultTab(int tab);
    // The playing video covers the result area: the front tab's content is hidden, its
    // header no longer marked, and the status line shows `caption`.
    void coverWithVideo(const QString &caption);
    void ScrollTabStrip(TabStrip::Direction direction);
    // False when the tab stays open (unknown, or the download page while downloading).
    bool CloseResultTab(int tab);
    void HoverResultTab(int tab);

    // Tree loads show the summary caption without naming a tab.
    void showSummaryCaption(const QString &caption);
    // The browser of a web view has shown its page once.
    void markWebPageShown(int view);

Q_SIGNALS:
    void tabOpened(int tab, kivo::TabKind kind, int view);
    void tabClosed(int tab, kivo::TabKind kind, int view);
    void webNavigate(int view, const QString &url);
    // Headers, front tab, scroll buttons or status line changed: views re-read the strip.
    void stripChanged();
    // The download page was asked to close while downloading (the caller confirms).
    void closeRefusedWhileDownloading(int tab);
    void busyChanged(bool busy);

private:
    PageFetcher *m_fetcher;
    TabStrip m_strip;
    QHash<int, SongListModel *> m_models; // by list-view number
    QHash<quint64, quint64> m_latestLoad; // tab serial -> newest request, so older replies drop
    quint64 m_nextLoad = 1;
};

} // namespace kivo
