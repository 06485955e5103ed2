#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace kivo {

enum class TabKind { List, Web };
enum class HeaderState { Normal = 0, Hover = 1, Selected = 2 };

// Where a list tab stands in its server list: total songs, current page, page count,
// as the summary record wrote them.
struct PagingState
{
    QString total;
    QString current;
    QString pageCount;

    // "共有资源：120个，第2/6页"
    QString summaryText() const;
    bool operator==(const PagingState &) const = default;
};

struct ResultTabInfo
{
    int number = 0; // tab number, 1 upwards
    TabKind kind = TabKind::List;
    int view = 0; // list-view or web-view number, 1 upwards, by kind
    quint64 serial = 0; // unique for the life of the process: numbers are reused, serials never
    QString title; // untrimmed (tool tip); the header shows it trimmed
    HeaderState state = HeaderState::Normal;
    // list tabs: the list URL without page suffix, and the paging state once known
    QString listUrl;
    std::optional<PagingState> paging;
    // web tabs: the page has been shown once, so bringing the tab forward shows it at once
    bool pageShown = false;
};

// The status line under the result area: a caption, and the list tab whose paging
// state it shows (0 for a web tab, none when it shows neither).
struct StatusLine
{
    QString caption;
    std::optional<int> tab;
    bool operator==(const StatusLine &) const = default;
};

// The tab strip's bookkeeping: which tabs are open, which numbers are free, which
// headers are placed in the strip and where. The strip holds five headers of
// 1200 twips each; a header's left position is its slot times 1200.
class TabStrip
{
public:
    static constexpr int kHeaderWidth = 1200; // twips
    static constexpr int kStripSlots = 5;

    struct Opened
    {
        int tab = 0;
        int view = 0;
    };
    Opened open(TabKind kind, const QString &title);

    struct Closed
    {
        TabKind kind = TabKind::List;
        int view = 0;
        std::optional<int> front; // the tab brought to the front, if any
    };
    std::optional<Closed> close(int tab);

    // Brings a tab to the front; false when it already was (or does not exist).
    bool activate(int tab);
    // No tab in front any more (the video covers the result area); false when none was.
    bool deactivate();
    enum class Direction { Back, Forward };
    // True when the strip changed.
    bool scroll(Direction direction);
    // Marks a normal header as under the mouse and returns the others to normal.
    void hover(int tab);

    const ResultTabInfo *tab(int number) const;
    ResultTabInfo *tab(int number);
    // A tab by number, only while it is the same tab (its serial): a reply for a
    // closed tab whose number was reused must not land in the new one.
    ResultTabInfo *tabIfSame(int number, quint64 serial);
    std::optional<int> tabOfView(TabKind kind, int view) const;

    const QList<int> &openTabs() const { return m_open; }
    const QList<int> &placedTabs() const { return m_placed; }
    int leftOf(int tab) const; // twips, -1 when the header is not placed
    int stripWidth() const { return int(m_placed.size()) * kHeaderWidth; }
    bool scrollButtonsVisible() const { return m_scrollButtons; }
    std::optional<int> frontTab() const;

    const StatusLine &status() const { return m_status; }
    void setStatus(const StatusLine &status) { m_status = status; }

private:
    void place(int tab);
    void unplaceAll();
    void layOutFromOpen();

    QList<ResultTabInfo> m_tabs;
    QList<int> m_open;
    QList<int> m_placed;
    QList<int> m_freeTabs, m_freeListViews, m_freeWebViews;
    int m_highestTab = 0, m_highestListView = 0, m_highestWebView = 0;
    quint64 m_nextSerial = 1;
    bool m_scrollButtons = false;
    StatusLine m_status;
};

} // namespace kivo
