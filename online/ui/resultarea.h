#pragma once

#include "online/resultpages.h"
#include "online/ui/webpane.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QStackedWidget;
class QTimer;
class QTreeView;

namespace kivo {

class TabHeader;

// The result area: the tab strip (`Picture1`), the list and web views of the tabs
// and the status line (`Label6`). A thin layer over ResultPages, which keeps the state.
class ResultArea : public QWidget
{
    Q_OBJECT
public:
    explicit ResultArea(ResultPages *pages, QWidget *parent = nullptr);
    ~ResultArea() override;

    ResultPages *pages() const { return m_pages; }
    // Web tabs opened before the factory arrives get their pane when it does.
    void setWebPaneFactory(WebPaneFactory *factory);

    QWidget *strip() const { return m_strip; }
    QLabel *statusLabel() const { return m_status; }
    QTreeView *listView(int view) const;
    TabHeader *header(int tab) const;
    QProgressBar *loadingIndicator(int webView) const;
    WebPane *webPane(int webView) const;

    // A link from any server page: "softfile:" addresses open a web tab at the server.
    void openServerLink(const QString &url);
    // A page asked for a new window: a web tab opens instead.
    void openNewWindow(const QUrl &url);

Q_SIGNALS:
    // The strip scroll buttons (skin buttons 6 and 7) show only when tabs are hidden.
    void scrollButtonsVisibleChanged(bool visible);
    // A song row was double-clicked or right-clicked (list-view number, row).
    void rowActivated(int view, int row);
    void rowContextMenuRequested(int view, int row, const QPoint &globalPos);

private:
    struct WebTab
    {
        QWidget *page = nullptr;
        QProgressBar *indicator = nullptr; // jd1
        QTimer *timer = nullptr; // sj1
        WebPane *pane = nullptr;
        QUrl url;
        bool loaded = false;
    };

    void onTabOpened(int tab, TabKind kind, int view);
    void onTabClosed(int tab, TabKind kind, int view);
    void onWebNavigate(int view, const QString &url);
    void attachPane(int view, WebTab &web);
    void revealWhenLoaded(int view);
    void sync();

    ResultPages *m_pages;
    WebPaneFactory *m_factory = nullptr;
    QWidget *m_strip;
    QStackedWidget *m_stack;
    QWidget *m_empty;
    QLabel *m_status;
    QHash<int, TabHeader *> m_headers; // by tab
    QHash<int, QTreeView *> m_listViews; // by list-view number
    QHash<int, WebTab> m_webTabs; // by web-view number
    bool m_scrollButtons = false;
};

} // namespace kivo
