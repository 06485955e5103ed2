#include "shell/ui/songrowcommands.h"

#include "library/songlistmodel.h"
#include "library/ui/librarytreeview.h"
#include "lyrics/lyricslookup.h"
#include "lyrics/ui/lyricsuploaddialog.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "playback/playbacksession.h"
#include "playback/playqueue.h"
#include "playback/songrowmenu.h"
#include "shell/ui/commandmenus.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"

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

const QString kPlayModeItems[] = {u"不循环"_qs, u"单曲循环"_qs, u"顺序播放"_qs, u"随机播放"_qs};

} // namespace

SongRowCommands::SongRowCommands(MainWindow *window, PlaybackSession *session, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_session(session)
{
    CommandMenus *menus = window->online()->menus();
    auto on = [&](const QString &item, auto slot) {
        if (QAction *a = menus->item(item))
            connect(a, &QAction::triggered, this, slot);
    };
    on(u"重新调入播放"_qs, [this] { reloadRow(); });
    on(u"添加到正在播放"_qs, [this] { addRowToQueue(); });
    on(u"查看歌词"_qs, [this] { viewLyrics(); });
    on(u"添加歌词"_qs, [this] { addLyrics(); });
    on(u"播放此列表"_qs, [this] { playSelectedList(false); });
    on(u"添加到正在播放1"_qs, [this] { playSelectedList(true); });
    wirePlayModes();

    connect(window->online(), &OnlineViews::songRowMenuRequested, this,
        [this](const SongRowRef &row, int view, int rowIndex, const QPoint &pos) {
            openSongRowMenu(row, pos, view, rowIndex);
        });
}

SongRowCommands::~SongRowCommands() = default; // the upload dialog belongs to the window

void SongRowCommands::wirePlayModes()
{
    CommandMenus *menus = m_window->online()->menus();
    for (int mode = 0; mode < 4; ++mode) {
        if (QAction *a = menus->item(kPlayModeItems[mode]))
            connect(a, &QAction::triggered, this, [this, mode] { m_session->SetPlayMode(PlayMode(mode)); });
    }
    auto check = [menus](PlayMode mode) {
        if (QAction *a = menus->item(kPlayModeItems[int(mode)]))
            a->setChecked(true); // the group unchecks the others
    };
    connect(m_session, &PlaybackSession::playModeChanged, this, check);
    check(m_session->playMode());
}

void SongRowCommands::openSongRowMenu(const SongRowRef &row, const QPoint &globalPos, int view, int rowIndex)
{
    const SongRowMenuPlan plan = planSongRowMenu(true, true, row, *m_session->queue());
    CommandMenus *menus = m_window->online()->menus();
    QMenu *menu = nullptr;
    switch (plan.popup) {
    case SongRowMenuPlan::Popup::None:
        return;
    case SongRowMenuPlan::Popup::DownloadManager:
        menu = menus->menu(u"下载管理"_qs);
        break;
    case SongRowMenuPlan::Popup::SongList:
        applyPlan(plan);
        menu = menus->menu(u"歌曲列表"_qs);
        break;
    }
    m_row = row;
    m_view = view;
    m_rowIndex = rowIndex;
    if (menu && !globalPos.isNull())
        menu->popup(globalPos);
}

void SongRowCommands::applyPlan(const SongRowMenuPlan &plan)
{
    CommandMenus *menus = m_window->online()->menus();
    auto show = [menus](const QString &name, bool visible, bool enabled = true) {
        if (QAction *a = menus->item(name)) {
            a->setVisible(visible);
            a->setEnabled(enabled);
        }
    };
    show(u"添加到播放列表"_qs, plan.addToPlaylist);
    show(u"添加到正在播放"_qs, plan.addToQueue);
    show(u"从列表中删除"_qs, plan.removeFromList);
    show(u"下载此歌曲"_qs, plan.download);
    show(u"给好友点歌"_qs, plan.dedicate);
    show(u"打开本地歌曲"_qs, plan.openLocal);
    show(u"添加歌词"_qs, plan.addLyrics);
    show(u"修改歌曲名称"_qs, plan.rename, plan.renameEnabled);
}

void SongRowCommands::reloadRow()
{
    QueuePlayer *player = m_session->player();
    if (!player || m_row.tag.isEmpty())
        return;
    const QString before = m_row.tag;
    m_row.tag = player->ReloadRow(m_row);
    // The row keeps the tag without its address, so a later double-click does not
    // try the address that failed again.
    SongListModel *model = m_window->online()->pages()->listModel(m_view);
    if (m_row.tag == before || !model || m_rowIndex < 0 || m_rowIndex >= model->rowCount()
        || model->rowAt(m_rowIndex).record.toText() != before)
        return;
    QList<SongListRow> rows = model->rows();
    rows[m_rowIndex].record = SongRecord::fromText(m_row.tag);
    model->setRows(std::move(rows));
}

void SongRowCommands::addRowToQueue()
{
    if (QueuePlayer *player = m_session->player(); player && !m_row.tag.isEmpty())
        player->AddSongToQueue(m_row);
}

void SongRowCommands::viewLyrics()
{
    const ServerClient *server = m_window->context().server;
    if (!server || m_row.text.isEmpty())
        return;
    WebTabRequest request;
    if (m_row.isNowPlayingPage()) {
        bool ok = false;
        const int index = m_row.tag.toInt(&ok);
        const PlayQueue *queue = m_session->queue();
        if (!ok || !queue->contains(index))
            return;
        const QueueEntry &entry = queue->at(index);
        request = LyricsSearchForEntry(server->baseUrl(), m_row.text, entry.id, entry.url2);
    } else {
        request = LyricsSearchForRow(server->baseUrl(), m_row.text, m_row.tag);
    }
    OnlineViews *online = m_window->online();
    ViewLyrics(request, [online](const QString &url, const QString &title) { online->OpenWebTab(url, title); });
}

void SongRowCommands::addLyrics()
{
    if (!AddLyricsTarget(m_row.tag))
        return; // only catalogue songs take lyrics
    if (!m_upload) {
        m_upload = new LyricsUploadDialog(m_window->context().server, m_window);
        MainWindow *window = m_window;
        m_upload->setBusyHandlers(
            [window](const QString &text) { window->ShowBusy(text); }, [window] { window->HideBusy(); });
    }
    OpenLyricsUpload(m_upload, m_row.tag);
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
