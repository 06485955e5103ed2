#include "shell/ui/playlistfilecommands.h"

#include "library/librarydatabase.h"
#include "library/playlistfile.h"
#include "library/ui/librarytreeview.h"
#include "playback/playbacksession.h"
#include "shell/queueimport.h"
#include "shell/ui/importcommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "skin/commandmenus.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>

namespace kivo {

namespace {

// A history day's id from its tree key "d" + id.
std::optional<int> dayOfKey(const QString &key)
{
    if (key.size() < 2 || key.front() != u'd')
        return std::nullopt;
    bool ok = false;
    const int id = key.mid(1).toInt(&ok);
    return ok && id > 0 && key.mid(1) == QString::number(id) ? std::optional<int>(id) : std::nullopt;
}

QList<PlaylistFileEntry> fileEntriesOf(const QList<StoredSong> &songs)
{
    QList<PlaylistFileEntry> entries;
    for (const StoredSong &s : songs) {
        const QString location = s.url.isEmpty() ? s.url1 : s.url;
        if (!s.title.isEmpty() && !location.isEmpty())
            entries.append({s.title, location});
    }
    return entries;
}

} // namespace

PlaylistFileCommands::PlaylistFileCommands(
    MainWindow *window, PlaybackViews *playback, LibraryDatabase *library, ImportCommands *imports)
    : QObject(window)
    , m_window(window)
    , m_playback(playback)
    , m_library(library)
    , m_imports(imports)
{
    const CommandMenus *menus = window->menus();
    connect(menus->lists.exportFile, &QAction::triggered, this,
        [this] { askForFile(true, u"导出播放列表"_qs, &PlaylistFileCommands::exportSelectedList); });
    connect(menus->lists.importFile, &QAction::triggered, this,
        [this] { askForFile(false, u"导入播放列表文件"_qs, &PlaylistFileCommands::importIntoSelectedList); });
    connect(menus->nowPlaying.exportFile, &QAction::triggered, this,
        [this] { askForFile(true, u"导出播放列表"_qs, &PlaylistFileCommands::exportQueue); });
    connect(menus->nowPlaying.importFile, &QAction::triggered, this,
        [this] { askForFile(false, u"导入播放列表文件"_qs, &PlaylistFileCommands::importIntoQueue); });
    connect(menus->lists.menu, &QMenu::aboutToShow, this, &PlaylistFileCommands::enableListItems);
}

void PlaylistFileCommands::enableListItems()
{
    const QString key = m_window->online()->libraryView()->selectedKey();
    const bool playlist = ImportCommands::playlistOfKey(key).has_value();
    const ListMenu &lists = m_window->menus()->lists;
    lists.exportFile->setEnabled(playlist || dayOfKey(key));
    lists.importFile->setEnabled(playlist);
}

void PlaylistFileCommands::askForFile(
    bool save, const QString &title, void (PlaylistFileCommands::*then)(const QString &))
{
    auto *dialog = new QFileDialog(m_window, title, QDir::homePath());
    dialog->setObjectName(u"playlistFileDialog"_qs);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog->setNameFilters({u"M3U8 播放列表 (*.m3u8)"_qs, u"PLS 播放列表 (*.pls)"_qs});
        dialog->setDefaultSuffix(u"m3u8"_qs);
        connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString &filter) {
            dialog->setDefaultSuffix(filter.contains(u"pls"_qs) ? u"pls"_qs : u"m3u8"_qs);
        });
    } else {
        dialog->setNameFilters({u"播放列表文件 (*.m3u *.m3u8 *.pls)"_qs, u"所有文件 (*)"_qs});
    }
    connect(dialog, &QFileDialog::fileSelected, this, [this, then](const QString &path) { (this->*then)(path); });
    dialog->open();
}

void PlaylistFileCommands::reportWritten(bool ok, const QString &error)
{
    if (ok)
        m_imports->showMessage(false, u"导出播放列表成功."_qs);
    else
        m_imports->showMessage(true, u"操作失败："_qs + error);
}

void PlaylistFileCommands::exportSelectedList(const QString &path)
{
    const QString key = m_window->online()->libraryView()->selectedKey();
    QList<StoredSong> songs;
    if (const auto playlist = ImportCommands::playlistOfKey(key))
        songs = m_library->playlistQueueRows(*playlist);
    else if (const auto day = dayOfKey(key))
        songs = m_library->historyQueueRows(*day);
    else
        return;
    QString error;
    reportWritten(writePlaylistFile(path, fileEntriesOf(songs), &error), error);
}

void PlaylistFileCommands::exportQueue(const QString &path)
{
    QString error;
    reportWritten(writePlaylistFile(path, queueFileEntries(*m_playback->session()->queue()), &error), error);
}

void PlaylistFileCommands::importIntoSelectedList(const QString &path)
{
    const auto playlist = ImportCommands::playlistOfKey(m_window->online()->libraryView()->selectedKey());
    if (!playlist)
        return;
    QString error;
    const auto entries = readPlaylistFile(path, &error);
    if (!entries) {
        m_imports->showMessage(true, u"操作失败："_qs + error);
        return;
    }
    QPointer<ImportCommands> imports = m_imports;
    m_imports->importIntoPlaylist(*playlist, importItemsOf(*entries), [imports](const PlaylistImportOutcome &outcome) {
        if (!imports || outcome.status == PlaylistImportOutcome::Status::Cancelled)
            return;
        if (outcome.stored())
            imports->showMessage(false, u"打开文件成功."_qs);
        else
            imports->showMessage(true, outcome.failureMessage());
    });
}

void PlaylistFileCommands::importIntoQueue(const QString &path)
{
    QString error;
    const auto entries = readPlaylistFile(path, &error);
    if (!entries) {
        m_imports->showMessage(true, u"操作失败："_qs + error);
        return;
    }
    kivo::importIntoQueue(*m_imports->queuePort(), importItemsOf(*entries), true);
    m_imports->showMessage(false, u"打开文件成功."_qs);
}

} // namespace kivo
