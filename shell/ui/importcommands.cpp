#include "shell/ui/importcommands.h"

#include "core/songrow.h"
#include "library/librarydatabase.h"
#include "library/localfiles.h"
#include "library/ui/importwindow.h"
#include "library/ui/librarytreeview.h"
#include "playback/playbacksession.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/songrowcommands.h"
#include "skin/commandmenus.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QUrl>

namespace kivo {

namespace {

QStringList localPaths(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    return paths;
}

QList<ImportItem> localItems(const QStringList &files)
{
    QList<ImportItem> items;
    items.reserve(files.size());
    for (const QString &file : files)
        items.append(ImportItem::localFile(file));
    return items;
}

} // namespace

ImportCommands::ImportCommands(MainWindow *window, PlaybackViews *playback, LibraryDatabase *library)
    : QObject(window)
    , m_window(window)
    , m_playback(playback)
    , m_library(library)
    , m_queue(playback->session())
{
    const CommandMenus *menus = window->menus();
    connect(menus->nowPlaying.openLocal, &QAction::triggered, this, &ImportCommands::openImportForNowPlaying);
    connect(menus->songRow.openLocal, &QAction::triggered, this, &ImportCommands::openImportForRow);

    acceptDrops(window);
    // The mini player is made after the first frame: its drops are taken once it is.
    if (MiniPlayer *mini = playback->builtMiniPlayer())
        acceptDrops(mini);
    else
        connect(playback, &PlaybackViews::miniPlayerBuilt, this, [this](MiniPlayer *mini) { acceptDrops(mini); });
    if (LibraryTreeView *tree = window->online()->libraryView()) {
        m_treeViewport = tree->viewport();
        acceptDrops(m_treeViewport);
    }
}

ImportCommands::~ImportCommands()
{
    // A running import is cancelled and waited for; what it would have said is dropped.
    m_runningDone = nullptr;
    m_running.reset();
}

void ImportCommands::acceptDrops(QWidget *widget)
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

std::optional<int> ImportCommands::playlistOfKey(const QString &key)
{
    if (key.size() < 2 || key.front() != u'c')
        return std::nullopt;
    bool ok = false;
    const int id = key.mid(1).toInt(&ok);
    if (!ok || id <= 0 || key.mid(1) != QString::number(id))
        return std::nullopt;
    return id;
}

ImportWindow *ImportCommands::ensureImportWindow()
{
    if (!m_importWindow) {
        m_importWindow = new ImportWindow(m_window);
        connect(m_importWindow, &ImportWindow::importRequested, this, &ImportCommands::runImport);
    }
    return m_importWindow;
}

void ImportCommands::showImportWindow()
{
    ImportWindow *w = ensureImportWindow();
    w->show();
    w->raise();
    w->activateWindow();
}

void ImportCommands::openImportForNowPlaying()
{
    ensureImportWindow()->setTargetPlaylist(0);
    showImportWindow();
}

void ImportCommands::openImportForRow()
{
    ImportWindow *w = ensureImportWindow();
    const std::optional<SongRowRef> &row = m_playback->songRowCommands()->menuRow();
    if (row && row->page == SongPageKind::NowPlaying) {
        w->setTargetPlaylist(0);
    } else if (const SongRecord *record = row ? row->record() : nullptr;
               record && record->kind == SongKind::Playlist && m_library) {
        // A playlist song: its playlist, as stored now. Other rows keep the target.
        bool ok = false;
        const int songId = record->id.toInt(&ok);
        if (const auto playlist = ok ? m_library->playlistOfSong(songId) : std::nullopt)
            w->setTargetPlaylist(*playlist);
    }
    showImportWindow();
}

void ImportCommands::runImport(const ImportRequest &request)
{
    const QList<ImportItem> items = localItems(request.files);
    if (request.targetPlaylist == 0) {
        kivo::importIntoQueue(m_queue, items, request.append);
        m_importWindow->importSucceeded();
        return;
    }
    // The playlist keeps its songs either way: an import never removes a stored row.
    m_importWindow->setImportRunning(true);
    QPointer<ImportWindow> w = m_importWindow;
    importIntoPlaylist(request.targetPlaylist, items, [w](const PlaylistImportOutcome &outcome) {
        if (!w)
            return;
        w->setImportRunning(false);
        if (outcome.stored())
            w->importSucceeded();
        else if (outcome.status != PlaylistImportOutcome::Status::Cancelled)
            w->importFailed(outcome.failureMessage());
    });
}

void ImportCommands::importIntoPlaylist(int playlistId, const QList<ImportItem> &items, ImportDone done)
{
    m_waiting.append({playlistId, items, std::move(done)});
    if (!m_running)
        startNext();
}

void ImportCommands::startNext()
{
    if (m_waiting.isEmpty() || !m_library)
        return;
    PendingImport next = m_waiting.takeFirst();
    m_running = std::make_unique<BackgroundPlaylistImport>(m_library->path(), next.playlistId, next.items);
    m_runningDone = std::move(next.done);

    auto *progress = new QProgressDialog(m_window);
    progress->setObjectName(u"importProgress"_qs);
    progress->setWindowTitle(m_window->windowTitle());
    progress->setAccessibleName(u"导入进度"_qs);
    progress->setLabelText(u"正在导入歌曲……"_qs);
    auto *cancel = new QPushButton(u"取消"_qs, progress);
    cancel->setAccessibleName(u"取消"_qs);
    progress->setCancelButton(cancel);
    progress->setRange(0, std::max(1, m_running->total()));
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    // Shown only once the import has taken half a second.
    progress->setMinimumDuration(500);
    progress->setValue(0);
    m_progress = progress;
    connect(progress, &QProgressDialog::canceled, m_running.get(), &BackgroundPlaylistImport::cancel);
    connect(m_running.get(), &BackgroundPlaylistImport::progressed, progress, &QProgressDialog::setValue);
    connect(m_running.get(), &BackgroundPlaylistImport::finished, this, &ImportCommands::finishRunning);
    m_running->start();
}

void ImportCommands::finishRunning(const PlaylistImportOutcome &outcome)
{
    if (m_progress)
        m_progress->close();
    // The thread has ended by now; it goes after this report is handled.
    if (BackgroundPlaylistImport *finished = m_running.release())
        finished->deleteLater();
    if (ImportDone done = std::exchange(m_runningDone, nullptr))
        done(outcome);
    startNext();
}

void ImportCommands::dropPaths(const QStringList &paths, int playlistId)
{
    const QList<ImportItem> items = localItems(collectPlayableFiles(paths));
    if (items.isEmpty())
        return;
    if (playlistId == 0) {
        kivo::importIntoQueue(m_queue, items, true);
        return;
    }
    // A drop says nothing when it works.
    importIntoPlaylist(playlistId, items, [this](const PlaylistImportOutcome &outcome) {
        if (!outcome.stored() && outcome.status != PlaylistImportOutcome::Status::Cancelled)
            showMessage(true, outcome.failureMessage());
    });
}

bool ImportCommands::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (localPaths(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = localPaths(drop->mimeData());
        if (paths.isEmpty())
            return false;
        drop->acceptProposedAction();
        int playlistId = 0;
        if (watched == m_treeViewport) {
            OnlineViews *online = m_window->online();
            const QModelIndex index = online->libraryView()->indexAt(drop->position().toPoint());
            playlistId = playlistOfKey(online->libraryTree()->model()->keyAt(index)).value_or(0);
        }
        dropPaths(paths, playlistId);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void ImportCommands::showMessage(bool critical, const QString &text)
{
    auto *box = new QMessageBox(critical ? QMessageBox::Critical : QMessageBox::NoIcon, m_window->windowTitle(), text,
        QMessageBox::Ok, m_window);
    box->setObjectName(u"importMessage"_qs);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    Q_EMIT messageShown(text);
}

} // namespace kivo
