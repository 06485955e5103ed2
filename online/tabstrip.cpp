#include "online/tabstrip.h"

namespace kivo {

QString PagingState::summaryText() const
{
    return u"共有资源："_qs + total + u"个，第"_qs + current + u"/"_qs + pageCount + u"页"_qs;
}

namespace {
int takeFree(QList<int> &free, int &highest)
{
    if (!free.isEmpty())
        return free.takeFirst(); // oldest first
    return ++highest;
}
} // namespace

const ResultTabInfo *TabStrip::tab(int number) const
{
    for (const ResultTabInfo &t : m_tabs)
        if (t.number == number)
            return &t;
    return nullptr;
}

ResultTabInfo *TabStrip::tab(int number)
{
    for (ResultTabInfo &t : m_tabs)
        if (t.number == number)
            return &t;
    return nullptr;
}

ResultTabInfo *TabStrip::tabIfSame(int number, quint64 serial)
{
    ResultTabInfo *t = tab(number);
    return t && t->serial == serial ? t : nullptr;
}

std::optional<int> TabStrip::tabOfView(TabKind kind, int view) const
{
    for (const ResultTabInfo &t : m_tabs)
        if (t.kind == kind && t.view == view)
            return t.number;
    return std::nullopt;
}

int TabStrip::leftOf(int number) const
{
    const qsizetype slot = m_placed.indexOf(number);
    return slot < 0 ? -1 : int(slot) * kHeaderWidth;
}

std::optional<int> TabStrip::frontTab() const
{
    for (const ResultTabInfo &t : m_tabs)
        if (t.state == HeaderState::Selected)
            return t.number;
    return std::nullopt;
}

void TabStrip::place(int number)
{
    m_placed.append(number);
}

void TabStrip::unplaceAll()
{
    for (int n : std::as_const(m_placed))
        if (ResultTabInfo *t = tab(n))
            t->state = HeaderState::Normal;
    m_placed.clear();
}

TabStrip::Opened TabStrip::open(TabKind kind, const QString &title)
{
    const int n = takeFree(m_freeTabs, m_highestTab);
    for (int p : std::as_const(m_placed))
        if (ResultTabInfo *t = tab(p); t && t->state == HeaderState::Selected)
            t->state = HeaderState::Normal;
    if (m_placed.size() >= kStripSlots) {
        // The strip is full: it starts again from the left with the new header.
        m_placed.clear();
        m_scrollButtons = true;
    }
    const int m = kind == TabKind::List ? takeFree(m_freeListViews, m_highestListView)
                                        : takeFree(m_freeWebViews, m_highestWebView);
    ResultTabInfo info;
    info.number = n;
    info.kind = kind;
    info.view = m;
    info.serial = m_nextSerial++;
    info.title = title;
    info.state = HeaderState::Selected;
    m_tabs.append(info);
    place(n);
    m_open.append(n);
    return {n, m};
}

bool TabStrip::activate(int number)
{
    ResultTabInfo *target = tab(number);
    if (!target || target->state == HeaderState::Selected)
        return false;
    for (ResultTabInfo &t : m_tabs)
        if (t.state == HeaderState::Selected)
            t.state = HeaderState::Normal;
    target->state = HeaderState::Selected;
    if (target->kind == TabKind::Web) {
        m_status = {target->title, 0};
    } else if (target->paging) {
        m_status = {target->paging->summaryText(), number};
    } else {
        m_status = {};
    }
    return true;
}

bool TabStrip::deactivate()
{
    bool changed = false;
    for (ResultTabInfo &t : m_tabs) {
        if (t.state == HeaderState::Selected) {
            t.state = HeaderState::Normal;
            changed = true;
        }
    }
    return changed;
}

void TabStrip::hover(int number)
{
    for (ResultTabInfo &t : m_tabs) {
        if (t.number == number && t.state == HeaderState::Normal)
            t.state = HeaderState::Hover;
        else if (t.number != number && t.state == HeaderState::Hover)
            t.state = HeaderState::Normal;
    }
}

bool TabStrip::scroll(Direction direction)
{
    QList<int> toPlace;
    if (direction == Direction::Back) {
        if (m_placed.isEmpty())
            return false;
        const qsizetype at = m_open.indexOf(m_placed.first());
        if (at <= 0)
            return false;
        const QList<int> earlier = m_open.mid(0, at);
        // Fewer than a strip's worth of earlier tabs: the back button does nothing.
        if (earlier.size() < kStripSlots)
            return false;
        toPlace = earlier.mid(earlier.size() - kStripSlots);
    } else {
        if (m_placed.isEmpty())
            return false;
        const qsizetype at = m_open.indexOf(m_placed.last());
        if (at < 0 || at + 1 >= m_open.size())
            return false;
        toPlace = m_open.mid(at + 1, kStripSlots);
    }
    unplaceAll();
    for (int n : std::as_const(toPlace))
        place(n);
    activate(toPlace.last());
    return true;
}

void TabStrip::layOutFromOpen()
{
    const QList<int> last = m_open.mid(std::max<qsizetype>(0, m_open.size() - kStripSlots));
    for (int n : last)
        place(n);
}

std::optional<TabStrip::Closed> TabStrip::close(int number)
{
    const ResultTabInfo *info = tab(number);
    if (!info)
        return std::nullopt;
    Closed closed {info->kind, info->view, std::nullopt};

    const qsizetype slot = m_placed.indexOf(number);
    const bool wasPlaced = slot >= 0;
    const bool moreOpenThanShown = m_open.size() > m_placed.size();
    std::optional<int> laidOutLast;
    if (wasPlaced) {
        m_placed.removeAt(slot);
        if (moreOpenThanShown && !m_placed.isEmpty()) {
            // The next open tab after the strip moves in at its right end.
            const qsizetype lastAt = m_open.indexOf(m_placed.last());
            for (qsizetype i = lastAt + 1; i < m_open.size(); ++i) {
                if (m_open.at(i) != number && !m_placed.contains(m_open.at(i))) {
                    place(m_open.at(i));
                    break;
                }
            }
        }
    }

    m_open.removeAll(number);
    m_freeTabs.append(number);
    (closed.kind == TabKind::List ? m_freeListViews : m_freeWebViews).append(closed.view);
    m_tabs.removeIf([number](const ResultTabInfo &t) { return t.number == number; });

    if (wasPlaced && m_placed.isEmpty() && !m_open.isEmpty()) {
        layOutFromOpen();
        laidOutLast = m_placed.last();
    }

    m_scrollButtons = m_open.size() > kStripSlots;
    // The status line no longer names the closed tab, so page buttons cannot act on it
    // (or on a later tab that gets its number).
    m_status.caption.clear();
    if (m_status.tab && *m_status.tab == number)
        m_status.tab.reset();

    if (laidOutLast) {
        closed.front = laidOutLast;
    } else if (wasPlaced && !m_placed.isEmpty()) {
        closed.front = slot < m_placed.size() ? m_placed.at(slot) : m_placed.at(slot - 1);
    }
    if (closed.front)
        activate(*closed.front);
    return closed;
}

} // namespace kivo
