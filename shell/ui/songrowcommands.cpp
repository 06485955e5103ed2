#include "shell/ui/songrowcommands.h"

#include "library/ui/librarytreeview.h"
#include "lyrics/lyricslookup.h"
#include "lyrics/ui/lyricsuploaddialog.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "playback/playbacksession.h"
#include "playback/playqueue.h"
#include "playback/songrowmenu.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "skin/commandmenus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace kivo {

namespace {

// A library node key: "c"+id a playlist, "d"+id a history day; the roots ("c0",
// "d0") and every other node name no list.
std::optional<std::pair<PlaybackLibrary::ListKind, qint32>> listOfKey(const QString &key)
{
    if (key.size() < 2)
        return std::nullopt;
    bool ok = false;
    const qint32 id = key.mid(1).toInt(&ok);
    if (!ok || id <= 0)
        return std::nullopt;
    if (key.front() == u'c')
        return std::pair {PlaybackLibrary::ListKind::Playlist, id};
    if (key.front() == u'd')
        return std::pair {PlaybackLibrary::ListKind::HistoryDay, id};
    return std::nullopt;
}

} // namespace

SongRowCommands::SongRowCommands(MainWindow *window, PlaybackSession *session, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_session(session)
{
    const CommandMenus *menus = window->menus();
    connect(menus->songRow.reload, &QAction::triggered, this, &SongRowCommands::reloadRow);
    connect(menus->songRow.addToQueue, &QAction::triggered, this, &SongRowCommands::addRowToQueue);
    connect(menus->songRow.viewLyrics, &QAction::triggered, this, &SongRowCommands::viewLyrics);
    connect(menus->songRow.addLyrics, &QAction::triggered, this, &SongRowCommands::addLyrics);
    connect(menus->lists.playList, &QAction::triggered, this, [this] { playSelectedList(false); });
    connect(menus->lists.appendList, &QAction::triggered, this, [this] { playSelectedList(true); });
    wirePlayModes();

    connect(window->online(), &OnlineViews::songRowMenuRequested, this, &SongRowCommands::openSongRowMenu);
}

SongRowCommands::~SongRowCommands() = default; // the upload dialog belongs to the window

void SongRowCommands::wirePlayModes()
{
    const auto modes = m_window->menus()->nowPlaying.modes();
    for (int mode = 0; mode < int(modes.size()); ++mode)
        connect(modes[mode], &QAction::triggered, this, [this, mode] { m_session->SetPlayMode(PlayMode(mode)); });
    auto check = [modes](PlayMode mode) {
        modes[int(mode)]->setChecked(true); // the group unchecks the others
    };
    connect(m_session, &PlaybackSession::playModeChanged, this, check);
    check(m_session->playMode());
}

void SongRowCommands::openSongRowMenu(const SongRowRef &row, const QPoint &globalPos)
{
    const SongRowMenuPlan plan = planSongRowMenu(true, true, row, *m_session->queue());
    const CommandMenus *menus = m_window->menus();
    QMenu *menu = nullptr;
    switch (plan.popup) {
    case SongRowMenuPlan::Popup::None:
        return;
    case SongRowMenuPlan::Popup::DownloadManager:
        menu = menus->downloads.menu;
        break;
    case SongRowMenuPlan::Popup::SongList:
        applyPlan(plan);
        menu = menus->songRow.menu;
        break;
    }
    m_row = row;
    if (!globalPos.isNull())
        menu->popup(globalPos);
}

void SongRowCommands::applyPlan(const SongRowMenuPlan &plan)
{
    const SongRowMenu &items = m_window->menus()->songRow;
    auto show = [](QAction *item, bool visible, bool enabled = true) {
        item->setVisible(visible);
        item->setEnabled(enabled);
    };
    show(items.addToPlaylist, plan.addToPlaylist);
    show(items.addToQueue, plan.addToQueue);
    show(items.removeFromList, plan.removeFromList);
    show(items.download, plan.download);
    show(items.dedicate, plan.dedicate);
    show(items.openLocal, plan.openLocal);
    show(items.addLyrics, plan.addLyrics);
    show(items.renameSong, plan.rename, plan.renameEnabled);
}

void SongRowCommands::reloadRow()
{
    QueuePlayer *player = m_session->player();
    if (!player || !m_row)
        return;
    const SongRowData before = m_row->data;
    m_row->data = player->ReloadRow(*m_row);
    // The row keeps what it stands for without its address, so a later double-click
    // does not try the address that failed again.
    SongListModel *model = m_window->online()->pages()->listModel(m_row->view);
    if (m_row->data == before || !model || m_row->row < 0 || m_row->row >= model->rowCount()
        || model->rowAt(m_row->row).data != before)
        return;
    model->setRowData(m_row->row, m_row->data);
}

void SongRowCommands::addRowToQueue()
{
    if (QueuePlayer *player = m_session->player(); player && m_row)
        player->AddSongToQueue(*m_row);
}

void SongRowCommands::viewLyrics()
{
    const ServerClient *server = m_window->context().server;
    if (!server || !m_row || m_row->title.isEmpty())
        return;
    WebTabRequest request;
    if (const auto index = m_row->queueEntry()) {
        const PlayQueue *queue = m_session->queue();
        if (!queue->contains(*index))
            return;
        const QueueEntry &entry = queue->at(*index);
        request = LyricsSearchForEntry(server->baseUrl(), m_row->title, entry.id, entry.url2);
    } else if (const SongRecord *record = m_row->record()) {
        request = LyricsSearchForRow(server->baseUrl(), m_row->title, *record);
    }
    OnlineViews *online = m_window->online();
    ViewLyrics(request, [online](const QString &url, const QString &title) { online->OpenWebTab(url, title); });
}

void SongRowCommands::addLyrics()
{
    const SongRecord *record = m_row ? m_row->record() : nullptr;
    if (!record || !AddLyricsTarget(*record))
        return; // only catalogue songs take lyrics
    if (!m_upload) {
        m_upload = new LyricsUploadDialog(m_window->context().server, m_window);
        MainWindow *window = m_window;
        m_upload->setBusyHandlers(
            [window](const QString &text) { window->ShowBusy(text); }, [window] { window->HideBusy(); });
    }
    OpenLyricsUpload(m_upload, *record);
}

void SongRowCommands::playSelectedList(bool append)
{
    QueuePlayer *player = m_session->player();
    const auto list = listOfKey(m_window->online()->libraryView()->selectedKey());
    if (!player || !list)
        return;
    if (append)
        player->AppendTreeList(list->first, list->second);
    else
        player->PlayTreeList(list->first, list->second);
}

} // namespace kivo
