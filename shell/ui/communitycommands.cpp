#include "shell/ui/communitycommands.h"

#include "community/ui/dedicationdialog.h"
#include "community/ui/settingsdialog.h"
#include "core/commanddispatcher.h"
#include "core/logging.h"
#include "library/ui/librarytreeview.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "online/infopages.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/ui/cataloguetreeview.h"
#include "online/ui/searchdialog.h"
#include "playback/playbacksession.h"
#include "playback/playqueue.h"
#include "shell/libraryaccess.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/songrowcommands.h"
#include "shell/weblinks.h"
#include "skin/commandmenus.h"

#include <QAction>
#include <QDesktopServices>

namespace kivo {

CommunityCommands::CommunityCommands(MainWindow *window, PlaybackViews *playback)
    : QObject(window)
    , m_window(window)
    , m_playback(playback)
{
    CommandDispatcher *commands = window->commands();
    commands->setHandler(PlayerCommand::Search, this, [this] { openSearch(); });
    commands->setHandler(PlayerCommand::Settings, this, [this] { openSettings(); });
    const CommandMenus *menus = window->menus();
    connect(menus->artist.introduction, &QAction::triggered, this, &CommunityCommands::openIntroduction);
    connect(menus->artist.buyCd, &QAction::triggered, this, &CommunityCommands::openBuyCd);
    connect(menus->artist.news, &QAction::triggered, this, &CommunityCommands::openArtistNews);
    connect(menus->shelf.buy, &QAction::triggered, this, &CommunityCommands::openShelfBuy);
    connect(menus->songRow.ringtone, &QAction::triggered, this, &CommunityCommands::openRingtones);
    connect(menus->songRow.dedicate, &QAction::triggered, this, &CommunityCommands::StartDedication);
}

QString CommunityCommands::baseUrl() const
{
    const ServerClient *server = m_window->context().server;
    return server ? server->baseUrl() : QString();
}

void CommunityCommands::showDialog(QWidget *dialog)
{
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CommunityCommands::openSearch()
{
    if (!m_search) {
        m_search = new SearchDialog(m_window->online()->pages(), m_window);
        MainWindow *window = m_window;
        m_search->setBusyHandlers(
            [window](const QString &text) { window->ShowBusy(text); }, [window] { window->HideBusy(); });
    }
    showDialog(m_search);
}

void CommunityCommands::openSettings()
{
    const MainWindowContext &ctx = m_window->context();
    if (!ctx.state || !ctx.library)
        return;
    if (!m_settings) {
        ProgramState *state = ctx.state;
        m_settings = new SettingsDialog(
            &state->settings, ctx.library, [state] { return state->serverDate; }, m_window, &state->preferences);
        // A picked colour shows on both lyric lines at once; a save applies everything.
        connect(m_settings, &SettingsDialog::highlightColourChosen, this, [this](const QColor &colour) {
            m_playback->lyricLine()->setHighlightColor(colour);
            m_playback->miniPlayer()->setHighlightColor(colour);
        });
        connect(m_settings, &SettingsDialog::settingsSaved, m_window, &MainWindow::settingsApplied);
    }
    m_settings->fill();
    showDialog(m_settings);
}

void CommunityCommands::StartDedication()
{
    const std::optional<SongRowRef> &row = m_playback->songRowCommands()->menuRow();
    if (!row)
        return;
    // The row must still be where the menu found it.
    const SongListModel *model = m_window->online()->pages()->listModel(row->view);
    if (!model || row->row < 0 || row->row >= model->rowCount() || model->rowAt(row->row).data != row->data)
        return;
    DedicatedSong song;
    if (const auto index = row->queueEntry()) {
        const PlayQueue *queue = m_playback->session()->queue();
        if (!queue->contains(*index) || queue->at(*index).title.isEmpty())
            return;
        song = dedicatedSongOfEntry(queue->at(*index));
    } else if (const SongRecord *record = row->record()) {
        song = dedicatedSongOfRow(row->title, *record);
    } else {
        return; // download entries are not dedicated
    }
    if (!m_dedication) {
        m_dedication = new DedicationDialog(m_window->context().server, m_window);
        MainWindow *window = m_window;
        m_dedication->setBusyHandlers(
            [window](const QString &text) { window->ShowBusy(text); }, [window] { window->HideBusy(); });
    }
    m_dedication->setSong(song);
    showDialog(m_dedication);
}

bool CommunityCommands::selectedCatalogueNode(QString &key, QString &caption) const
{
    const CatalogueTreeView *view = m_window->online()->catalogueView();
    key = view->selectedKey();
    const KeyedTreeModel::Node *node = key.isEmpty() ? nullptr : view->tree()->model()->node(key);
    if (!node)
        return false;
    caption = node->caption;
    return true;
}

void CommunityCommands::openIntroduction()
{
    QString key, caption;
    if (!selectedCatalogueNode(key, caption))
        return;
    if (const auto page = introductionPage(baseUrl(), key, caption))
        m_window->online()->OpenWebTab(page->url, page->title);
}

void CommunityCommands::openBuyCd()
{
    QString key, caption;
    if (!selectedCatalogueNode(key, caption))
        return;
    const InfoPage page = buyCdPage(baseUrl(), caption);
    m_window->online()->OpenWebTab(page.url, page.title);
}

void CommunityCommands::openArtistNews()
{
    QString key, caption;
    if (!selectedCatalogueNode(key, caption))
        return;
    const InfoPage page = artistNewsPage(baseUrl(), caption);
    m_window->online()->OpenWebTab(page.url, page.title);
}

void CommunityCommands::openShelfBuy()
{
    const LibraryTreeView *view = m_window->online()->libraryView();
    const QString key = view->selectedKey();
    // Albums of the shelf: "f" + id + "-" + the server's album id; "f0" is the shelf.
    if (!key.startsWith(u'f') || key == u"f0"_qs)
        return;
    const KeyedTreeModel::Node *node = m_window->online()->libraryTree()->model()->node(key);
    if (!node)
        return;
    const InfoPage page = shelfBuyPage(baseUrl(), node->caption);
    m_window->online()->OpenWebTab(page.url, page.title);
}

void CommunityCommands::openRingtones()
{
    const std::optional<SongRowRef> &row = m_playback->songRowCommands()->menuRow();
    if (!row || row->title.isEmpty())
        return;
    const QString address = ringtonePageUrl(baseUrl(), row->title);
    const QUrl url = openableWebLink(address);
    if (!url.isValid()) {
        qCWarning(lcUi).noquote() << "not a web address, not handed to the desktop:" << address;
        return;
    }
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcUi).noquote() << "the desktop did not open" << url.toString();
}

} // namespace kivo
