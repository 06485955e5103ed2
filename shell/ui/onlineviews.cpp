#include "shell/ui/onlineviews.h"

#include "library/librarypages.h"
#include "library/librarysource.h"
#include "library/ui/librarytreeview.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "online/ui/adpane.h"
#include "online/ui/cataloguetreeview.h"
#include "online/ui/resultarea.h"
#include "online/ui/webmodule.h"
#include "skin/commandmenus.h"
#include "skin/labeltext.h"

#include <QLabel>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace kivo {

namespace {
// Places on the 610 × 450 face, in pixels.
const QRect kTreeArea(10, 64, 160, 190);
const QRect kStripArea(176, 36, 400, 24);
const QRect kResultArea(176, 64, 424, 238);
const QRect kStatusLine(178, 306, 288, 20);
const QRect kNewsPane(10, 258, 160, 44); // under the tree, shown once its page has loaded
} // namespace

OnlineViews::OnlineViews(QWidget *window, ServerClient *server, const LibrarySource *library, const CommandMenus *menus)
    : QObject(window)
    , m_window(window)
    , m_server(server)
    , m_library(library)
    , m_fetcher(server)
    , m_menus(menus)
    , m_libraryTree(&m_libraryModel)
{
    m_pages = new ResultPages(&m_fetcher, this);
    m_catalogue = std::make_unique<CatalogueTree>(&m_catalogueModel, m_pages);

    m_area = new ResultArea(m_pages, window);
    m_area->setGeometry(kResultArea);
    m_area->strip()->setParent(window);
    m_area->strip()->setGeometry(kStripArea);
    m_area->statusLabel()->setParent(window);
    m_area->statusLabel()->setGeometry(kStatusLine);
    applyLabelText(m_area->statusLabel(), {QColor(0xae, 0xbf, 0xcc)});

    m_libraryPages = std::make_unique<LibraryPages>(m_pages, m_library);

    m_catalogueView = new CatalogueTreeView(m_catalogue.get(), m_menus, &m_lastButton, window);
    m_catalogueView->setGeometry(kTreeArea);
    m_libraryView = new LibraryTreeView(&m_libraryTree, m_libraryPages.get(), m_menus, &m_lastButton, window);
    m_libraryView->setGeometry(kTreeArea);
    m_libraryView->hide();

    m_newsPane = new AdPane(window);
    m_newsPane->setObjectName(u"Webggt"_qs);
    m_newsPane->setGeometry(kNewsPane);

    m_picview = new QWidget(window);
    m_picview->setObjectName(u"Picview"_qs);
    m_picview->setGeometry(kResultArea);
    auto *picLayout = new QVBoxLayout(m_picview);
    picLayout->setContentsMargins(0, 0, 0, 0);
    m_adPane = new AdPane(m_picview);
    m_adPane->setObjectName(u"Webgg"_qs);
    picLayout->addWidget(m_adPane);
    m_picview->hide();
    // Links in the small panes open web tabs as links in the tabs' own pages do.
    for (AdPane *pane : {m_newsPane, m_adPane}) {
        connect(pane, &AdPane::linkRequested, m_area, &ResultArea::openServerLink);
        connect(pane, &AdPane::newWindowRequested, m_area, &ResultArea::openNewWindow);
    }
    // Opening or bringing a tab to the front hides the picture box.
    connect(m_pages, &ResultPages::tabOpened, this, [this] { m_picview->hide(); });
    connect(m_pages, &ResultPages::stripChanged, this, [this] { m_picview->hide(); });

    connect(m_pages, &ResultPages::busyChanged, this, &OnlineViews::busyChanged);
    connect(m_catalogue.get(), &CatalogueTree::busyChanged, this, &OnlineViews::busyChanged);
    connect(m_area, &ResultArea::scrollButtonsVisibleChanged, this, &OnlineViews::scrollButtonsVisibleChanged);
    connect(m_area, &ResultArea::rowActivated, this, [this](int view, int row) {
        if (const auto ref = songRow(view, row))
            Q_EMIT songRowActivated(*ref);
    });
    connect(m_area, &ResultArea::rowContextMenuRequested, this, [this](int view, int row, const QPoint &pos) {
        if (const auto ref = songRow(view, row))
            Q_EMIT songRowMenuRequested(*ref, pos);
    });
}

OnlineViews::~OnlineViews() = default;

void OnlineViews::buildCatalogueTree()
{
    CatalogueTree::BuildCatalogueTree(m_catalogueModel);
    m_catalogueView->expand(m_catalogueModel.indexOf(u"a0"_qs));
}

void OnlineViews::addLibraryNodes()
{
    m_libraryTree.AddLibraryNodes();
    m_libraryView->expand(m_libraryModel.indexOf(u"a0"_qs));
}

void OnlineViews::loadLibraryNodes()
{
    if (m_library)
        m_libraryTree.LoadLibraryNodes(*m_library);
}

void OnlineViews::addHistoryDayNode(int id, const QString &caption)
{
    m_libraryTree.addHistoryDayNode(LibraryListEntry {id, caption});
}

int OnlineViews::OpenWebTab(const QString &url, const QString &title)
{
    return m_pages->OpenWebTab(url, title);
}

void OnlineViews::loadWebEngine()
{
    if (m_webTried)
        return;
    m_webTried = true;
    m_webFactory = m_webLoader ? m_webLoader() : WebModule::load();
    if (!m_webFactory) {
        // No web engine: web tabs keep their loading indicator, and the user is told.
        Q_EMIT webPanesMissing();
        return;
    }
    m_area->setWebPaneFactory(m_webFactory);
    m_newsPane->setWebPaneFactory(m_webFactory, QUrl(m_server->baseUrl()).host());
    m_adPane->setWebPaneFactory(m_webFactory, QUrl(m_server->baseUrl()).host());
    if (!m_pendingNewsPane.isEmpty())
        m_newsPane->load(QUrl(m_pendingNewsPane));
}

void OnlineViews::loadNewsPane(const QString &url)
{
    m_pendingNewsPane = url;
    if (m_webFactory)
        m_newsPane->load(QUrl(url));
}

void OnlineViews::loadAdvertisingPane(const QString &url)
{
    m_adPane->load(QUrl(url));
}

void OnlineViews::showVideoLoading()
{
    m_picview->show();
    m_picview->raise();
}

void OnlineViews::hideAdvertisingPane()
{
    m_picview->hide();
    m_adPane->load(QUrl(u"about:blank"_qs));
}

void OnlineViews::setNowPlayingProvider(std::function<QList<NowPlayingItem>()> provider)
{
    m_libraryPages->setNowPlaying(std::move(provider));
}

std::optional<SongRowRef> OnlineViews::songRow(int view, int row) const
{
    const SongListModel *model = m_pages->listModel(view);
    return model ? model->songRow(view, row) : std::nullopt;
}

void OnlineViews::showLibraryTree()
{
    m_catalogueView->hide();
    m_libraryView->show();
}

void OnlineViews::showCatalogueTree()
{
    m_libraryView->hide();
    m_catalogueView->show();
}

void OnlineViews::scrollTabs(TabStrip::Direction direction)
{
    m_pages->ScrollTabStrip(direction);
}

void OnlineViews::turnListPage(PageTurn turn)
{
    m_pages->TurnListPage(turn); // runs on; the page lands when the server answers
}

} // namespace kivo
