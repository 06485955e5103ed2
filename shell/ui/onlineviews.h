#pragma once

#include "core/keyedtreemodel.h"
#include "core/songrow.h"
#include "library/librarytree.h"
#include "online/cataloguetree.h"
#include "online/serverclientfetcher.h"
#include "skin/treemousebutton.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>
#include <optional>

namespace kivo {

class AdPane;
class CatalogueTreeView;
class CommandMenus;
class LibraryPages;
class LibrarySource;
class LibraryTreeView;
class ResultArea;
class ResultPages;
class ServerClient;
class WebPaneFactory;

// The catalogue and library trees, the result tabs with their song lists and web
// panes, the news pane and the popup menus of the main window, wired together.
class OnlineViews : public QObject
{
    Q_OBJECT
public:
    OnlineViews(QWidget *window, ServerClient *server, const LibrarySource *library, const CommandMenus *menus);
    ~OnlineViews() override;

    ResultArea *resultArea() const { return m_area; }
    ResultPages *pages() const { return m_pages; }
    CatalogueTreeView *catalogueView() const { return m_catalogueView; }
    LibraryTreeView *libraryView() const { return m_libraryView; }
    LibraryTree *libraryTree() { return &m_libraryTree; }
    LibraryPages *libraryPages() const { return m_libraryPages.get(); }

    // Start-up steps: the fixed catalogue, the fixed library nodes, then the stored ones.
    void buildCatalogueTree();
    void addLibraryNodes();
    void loadLibraryNodes();
    // A day the history record added: node "d"+id under "d0".
    void addHistoryDayNode(int id, const QString &caption);

    int OpenWebTab(const QString &url, const QString &title);
    // Loads the web engine (after the first window shows) and the news pane "webggt.asp".
    void loadWebEngine();
    // What loads the web module (the program: WebModule::load); tests stand in for it.
    void setWebModuleLoader(std::function<WebPaneFactory *()> loader) { m_webLoader = std::move(loader); }
    void loadNewsPane(const QString &url);

    // The advertising pane `Webgg` inside the picture box `Picview` over the result
    // area: pointed at its page when a video starts buffering, shown while the video
    // loads, hidden and blanked once the video shows or a tab comes to the front.
    void loadAdvertisingPane(const QString &url);
    void showVideoLoading();
    void hideAdvertisingPane();
    QWidget *pictureBox() const { return m_picview; }

    // The now-playing page's rows come from the queue.
    void setNowPlayingProvider(std::function<QList<NowPlayingItem>()> provider);

    // A row of a list view as the queue operations read it.
    std::optional<SongRowRef> songRow(int view, int row) const;

    // The tree buttons (each tree hides the other), the tab strip's scroll buttons and
    // the page buttons of the list tabs.
    void showLibraryTree();
    void showCatalogueTree();
    void scrollTabs(TabStrip::Direction direction);
    void turnListPage(PageTurn turn);

Q_SIGNALS:
    void busyChanged(bool busy);
    void scrollButtonsVisibleChanged(bool visible);
    void songRowActivated(const kivo::SongRowRef &row);
    void songRowMenuRequested(const kivo::SongRowRef &row, const QPoint &globalPos);
    // The web module could not be loaded: web panes stay empty. Sent once.
    void webPanesMissing();

private:
    QWidget *m_window;
    ServerClient *m_server;
    const LibrarySource *m_library;
    ServerClientFetcher m_fetcher;
    ResultPages *m_pages = nullptr;
    ResultArea *m_area = nullptr;
    const CommandMenus *m_menus;
    LastTreeButton m_lastButton;
    KeyedTreeModel m_catalogueModel;
    KeyedTreeModel m_libraryModel;
    std::unique_ptr<CatalogueTree> m_catalogue; // needs the pages, made after them
    LibraryTree m_libraryTree;
    std::unique_ptr<LibraryPages> m_libraryPages;
    CatalogueTreeView *m_catalogueView = nullptr;
    LibraryTreeView *m_libraryView = nullptr;
    AdPane *m_newsPane = nullptr;
    QWidget *m_picview = nullptr;
    AdPane *m_adPane = nullptr;
    WebPaneFactory *m_webFactory = nullptr;
    bool m_webTried = false;
    std::function<WebPaneFactory *()> m_webLoader;
    QString m_pendingNewsPane;
};

} // namespace kivo
