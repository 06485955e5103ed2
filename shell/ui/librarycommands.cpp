#include "shell/ui/librarycommands.h"

#include "core/commanddispatcher.h"
#include "library/librarytree.h"
#include "library/ui/librarytreeview.h"
#include "library/ui/playlistchooser.h"
#include "online/resultpages.h"
#include "online/songlistmodel.h"
#include "online/ui/cataloguetreeview.h"
#include "online/ui/resultarea.h"
#include "playback/playbacksession.h"
#include "shell/libraryaccess.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/songrowcommands.h"
#include "skin/commandmenus.h"

#include <QAction>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QShortcut>
#include <QTreeView>

namespace kivo {

LibraryCommands::LibraryCommands(MainWindow *window, PlaybackViews *playback)
    : QObject(window)
    , m_window(window)
    , m_playback(playback)
    , m_writes(window->context().library->database())
    , m_queue(playback->session()->queue())
    , m_operations(std::make_unique<LibraryOperations>(window->online()->libraryTree(), &m_writes, &m_queue))
{
    const CommandMenus *menus = window->menus();
    connect(menus->lists.addList, &QAction::triggered, this, &LibraryCommands::addPlaylist);
    connect(menus->lists.renameList, &QAction::triggered, this, &LibraryCommands::renamePlaylist);
    connect(menus->lists.deleteList, &QAction::triggered, this, &LibraryCommands::deletePlaylistOrDay);
    connect(menus->nowPlaying.clear, &QAction::triggered, this, &LibraryCommands::clearNowPlaying);
    connect(menus->nowPlaying.saveAsList, &QAction::triggered, this, &LibraryCommands::saveNowPlayingAs);
    connect(menus->nowPlaying.saveToExisting, &QAction::triggered, this, &LibraryCommands::chooseForQueue);
    connect(menus->songRow.addToPlaylist, &QAction::triggered, this, &LibraryCommands::chooseForRow);
    connect(menus->songRow.removeFromList, &QAction::triggered, this, &LibraryCommands::removeRow);
    connect(menus->songRow.renameSong, &QAction::triggered, this, &LibraryCommands::renameSong);
    connect(menus->artist.addToShelf, &QAction::triggered, this, &LibraryCommands::addToCdShelf);
    connect(menus->shelf.remove, &QAction::triggered, this, &LibraryCommands::removeFromCdShelf);
    // An open chooser follows the playlists added, renamed and deleted meanwhile.
    connect(m_operations.get(), &LibraryOperations::playlistsChanged, this, [this] {
        if (m_chooser)
            m_chooser->setPlaylists(m_operations->playlists());
    });
    wireKeyboard();
}

LibraryCommands::~LibraryCommands() = default; // the chooser and input boxes belong to the window

QString LibraryCommands::shortcutHelp()
{
    return QStringLiteral("快捷键：\n"
                          "空格　播放/暂停\n"
                          "Ctrl+←/→　上一首/下一首\n"
                          "Ctrl+↑/↓　音量增大/减小\n"
                          "Enter　播放选中的歌曲\n"
                          "Delete　从列表中删除选中的歌曲\n"
                          "F2　修改歌曲名称");
}

void LibraryCommands::wireKeyboard()
{
    // Window-wide keys, as long as the focus is anywhere in the main window.
    auto onWindow = [this](const QKeySequence &keys, auto slot) {
        auto *shortcut = new QShortcut(keys, m_window);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    CommandDispatcher *commands = m_window->commands();
    onWindow(QKeySequence(Qt::Key_Space), [commands] { commands->dispatch(PlayerCommand::PlayPause); });
    onWindow(QKeySequence(Qt::CTRL | Qt::Key_Left), [commands] { commands->dispatch(PlayerCommand::Previous); });
    onWindow(QKeySequence(Qt::CTRL | Qt::Key_Right), [commands] { commands->dispatch(PlayerCommand::Next); });
    onWindow(QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { m_playback->stepVolume(5); });
    onWindow(QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { m_playback->stepVolume(-5); });
    // The row keys act on the song list in front.
    QWidget *lists = m_window->online()->resultArea();
    for (const auto &[keys, slot] : {std::pair {QKeySequence(Qt::Key_Delete), &LibraryCommands::removeSelectedRows},
             std::pair {QKeySequence(Qt::Key_F2), &LibraryCommands::renameCurrentRow},
             std::pair {QKeySequence(Qt::Key_Return), &LibraryCommands::playCurrentRow},
             std::pair {QKeySequence(Qt::Key_Enter), &LibraryCommands::playCurrentRow}}) {
        auto *shortcut = new QShortcut(keys, lists);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    }
    if (auto *title = m_window->findChild<QLabel *>(QStringLiteral("Label5")))
        title->setToolTip(shortcutHelp());
}

void LibraryCommands::ask(
    const QString &prompt, const QString &title, const QString &value, std::function<void(const QString &)> answered)
{
    if (m_input)
        m_input->reject(); // one question at a time
    auto *box = new QInputDialog(m_window);
    box->setObjectName(QStringLiteral("inputBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(title);
    box->setLabelText(prompt);
    box->setTextValue(value);
    m_input = box;
    // Cancel says nothing; an empty answer is dropped by the command.
    connect(box, &QInputDialog::textValueSelected, this, std::move(answered));
    connect(box, &QObject::destroyed, this, [this, box] {
        if (m_input == box)
            m_input = nullptr;
    });
    connect(box, &QDialog::finished, this, [this, box] {
        if (m_input == box)
            m_input = nullptr;
    });
    box->open();
}

void LibraryCommands::show(const CommandResult &result)
{
    if (!result)
        return;
    const bool critical = result->icon == LibraryMessage::Icon::Critical;
    auto *box = new QMessageBox(critical ? QMessageBox::Critical : QMessageBox::NoIcon, m_window->windowTitle(),
        result->text, QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("libraryMessage"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    Q_EMIT messageShown(*result);
}

void LibraryCommands::addPlaylist()
{
    ask(QStringLiteral("请输入要添加的列表名称."), QStringLiteral("播放列表"), QString(),
        [this](const QString &answer) { show(m_operations->AddPlaylist(answer)); });
}

void LibraryCommands::saveNowPlayingAs()
{
    ask(QStringLiteral("请输入要另存为的列表名称."), QStringLiteral("播放列表"), QString(),
        [this](const QString &answer) { show(m_operations->SaveNowPlayingAs(answer)); });
}

void LibraryCommands::renamePlaylist()
{
    const QString key = m_window->online()->libraryView()->selectedKey();
    const KeyedTreeModel::Node *node = m_window->online()->libraryTree()->model()->node(key);
    if (!node || !LibraryOperations::playlistIdOfKey(key))
        return;
    ask(QStringLiteral("请输入要修改的列表名称."), QStringLiteral("播放列表"), node->caption,
        [this, key](const QString &answer) { show(m_operations->RenamePlaylist(key, answer)); });
}

void LibraryCommands::deletePlaylistOrDay()
{
    show(m_operations->DeletePlaylistOrDay(m_window->online()->libraryView()->selectedKey()));
}

void LibraryCommands::openChooser(const PlaylistEntry &entry)
{
    if (!m_chooser) {
        m_chooser = new PlaylistChooser(m_window);
        connect(m_chooser, &PlaylistChooser::chosen, this, [this](const PlaylistEntry &chosen, int playlistId) {
            show(m_operations->AddToPlaylist(chosen, playlistId));
        });
    }
    m_chooser->setPlaylists(m_operations->playlists());
    m_chooser->setEntry(entry);
    m_chooser->show();
    m_chooser->raise();
    m_chooser->activateWindow();
}

void LibraryCommands::chooseForQueue()
{
    openChooser(PlaylistEntry {true, {}});
}

void LibraryCommands::chooseForRow()
{
    int row = -1;
    if (!menuRowPage(row))
        return;
    if (const auto entry = m_operations->entryForRow(*m_playback->songRowCommands()->menuRow()))
        openChooser(*entry);
}

SongListModel *LibraryCommands::menuRowPage(int &row) const
{
    const std::optional<SongRowRef> &ref = m_playback->songRowCommands()->menuRow();
    if (!ref)
        return nullptr;
    SongListModel *page = m_window->online()->pages()->listModel(ref->view);
    // The row must still be where the menu found it.
    if (!page || ref->row < 0 || ref->row >= page->rowCount() || page->rowAt(ref->row).data != ref->data)
        return nullptr;
    row = ref->row;
    return page;
}

void LibraryCommands::removeRow()
{
    int row = -1;
    if (SongListModel *page = menuRowPage(row))
        show(m_operations->RemoveRows(page, {row}));
}

void LibraryCommands::renameRowOf(SongListModel *page, int row)
{
    const SongRecord *record = page->rowAt(row).record();
    if (!record || record->kind != SongKind::Playlist)
        return;
    const SongRowData data = page->rowAt(row).data;
    const QPointer<SongListModel> target(page);
    ask(QStringLiteral("请输入要修改的歌曲名称"), QStringLiteral("修改名称"), page->rowAt(row).cells.value(0),
        [this, target, row, data](const QString &answer) {
            // Dropped when the page moved on meanwhile.
            if (target && row < target->rowCount() && target->rowAt(row).data == data)
                show(m_operations->RenameSong(target, row, answer));
        });
}

void LibraryCommands::renameSong()
{
    int row = -1;
    if (SongListModel *page = menuRowPage(row))
        renameRowOf(page, row);
}

QList<SongListModel *> LibraryCommands::nowPlayingPages() const
{
    QList<SongListModel *> pages;
    ResultPages *results = m_window->online()->pages();
    for (const int tab : results->strip().openTabs()) {
        const ResultTabInfo *info = results->strip().tab(tab);
        SongListModel *page = info && info->kind == TabKind::List ? results->listModel(info->view) : nullptr;
        if (page && page->pageKind() == SongPageKind::NowPlaying)
            pages.append(page);
    }
    return pages;
}

void LibraryCommands::clearNowPlaying()
{
    m_operations->ClearNowPlaying(nowPlayingPages());
}

void LibraryCommands::addToCdShelf()
{
    const CatalogueTreeView *view = m_window->online()->catalogueView();
    const QString key = view->selectedKey();
    const KeyedTreeModel::Node *node = key.isEmpty() ? nullptr : view->tree()->model()->node(key);
    if (!node || !node->parent)
        return;
    show(m_operations->AddToCdShelf(key, node->caption, node->parent->caption));
}

void LibraryCommands::removeFromCdShelf()
{
    show(m_operations->RemoveFromCdShelf(m_window->online()->libraryView()->selectedKey()));
}

SongListModel *LibraryCommands::frontPage(QList<int> *selectedRows, int *view) const
{
    ResultPages *results = m_window->online()->pages();
    const std::optional<int> front = results->strip().frontTab();
    const ResultTabInfo *info = front ? results->strip().tab(*front) : nullptr;
    if (!info || info->kind != TabKind::List)
        return nullptr;
    QTreeView *list = m_window->online()->resultArea()->listView(info->view);
    SongListModel *page = results->listModel(info->view);
    if (!list || !page || !list->selectionModel())
        return nullptr;
    if (view)
        *view = info->view;
    if (selectedRows) {
        for (const QModelIndex &index : list->selectionModel()->selectedRows())
            selectedRows->append(index.row());
        std::sort(selectedRows->begin(), selectedRows->end());
    }
    return page;
}

void LibraryCommands::removeSelectedRows()
{
    QList<int> rows;
    SongListModel *page = frontPage(&rows);
    // The rows "从列表中删除" offers: now-playing, playlist and history songs.
    if (!page || rows.isEmpty()
        || (page->pageKind() != SongPageKind::NowPlaying && page->pageKind() != SongPageKind::Playlist
            && page->pageKind() != SongPageKind::History))
        return;
    show(m_operations->RemoveRows(page, rows));
}

void LibraryCommands::renameCurrentRow()
{
    QList<int> rows;
    SongListModel *page = frontPage(&rows);
    if (page && rows.size() == 1 && page->pageKind() == SongPageKind::Playlist)
        renameRowOf(page, rows.first());
}

void LibraryCommands::playCurrentRow()
{
    QList<int> rows;
    int view = 0;
    frontPage(&rows, &view);
    if (rows.size() != 1)
        return;
    if (const auto ref = m_window->online()->songRow(view, rows.first()))
        Q_EMIT m_window->online()->songRowActivated(*ref);
}

} // namespace kivo
