#pragma once

#include "library/localimport.h"
#include "shell/queueimport.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

#include <functional>
#include <memory>
#include <optional>

namespace kivo {

class ImportWindow;
class LibraryDatabase;
class MainWindow;
class PlaybackViews;
struct ImportRequest;

// Local files into the player: the import window Form7 behind "打开本地歌曲" (a song
// row) and "打开本地歌曲1" (the now-playing menu), and files or folders dropped on
// the main window, the mini player or a playlist of the library tree. Imports into a
// playlist run one at a time off the user-interface thread, with a progress window
// when they take longer than half a second.
class ImportCommands : public QObject
{
    Q_OBJECT
public:
    ImportCommands(MainWindow *window, PlaybackViews *playback, LibraryDatabase *library);
    ~ImportCommands() override;

    // Null until first opened.
    ImportWindow *importWindow() const { return m_importWindow; }
    QProgressDialog *progressWindow() const { return m_progress; }
    ImportQueuePort *queuePort() { return &m_queue; }
    bool isImporting() const { return m_running != nullptr; }

    void openImportForNowPlaying(); // OpenImportForNowPlaying
    void openImportForRow(); // OpenImportForRow
    void runImport(const ImportRequest &request);

    using ImportDone = std::function<void(const PlaylistImportOutcome &)>;
    // Stores the items in the playlist; `done` hears how it went (not when this object
    // went first). Imports asked for while one runs wait for it.
    void importIntoPlaylist(int playlistId, const QList<ImportItem> &items, ImportDone done);

    // Files and folders dropped: into the playlist, or with no playlist (0) appended to
    // the now-playing queue.
    void dropPaths(const QStringList &paths, int playlistId);

    // A playlist's id from its tree key "c" + id; nothing for any other key.
    static std::optional<int> playlistOfKey(const QString &key);
    // A message over the main window that does not wait.
    void showMessage(bool critical, const QString &text);

Q_SIGNALS:
    void messageShown(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct PendingImport
    {
        int playlistId = 0;
        QList<ImportItem> items;
        ImportDone done;
    };
    ImportWindow *ensureImportWindow();
    void showImportWindow();
    void startNext();
    void finishRunning(const PlaylistImportOutcome &outcome);
    void acceptDrops(QWidget *widget);

    MainWindow *m_window;
    PlaybackViews *m_playback;
    LibraryDatabase *m_library;
    QueueImport m_queue;
    ImportWindow *m_importWindow = nullptr; // owned by the main window
    QList<PendingImport> m_waiting;
    std::unique_ptr<BackgroundPlaylistImport> m_running;
    ImportDone m_runningDone;
    QPointer<QProgressDialog> m_progress;
    QWidget *m_treeViewport = nullptr;
};

} // namespace kivo
