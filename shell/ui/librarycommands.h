#pragma once

#include "library/libraryoperations.h"
#include "library/playlistwrites.h"
#include "shell/nowplayingqueue.h"

#include <QObject>

#include <functional>
#include <memory>

class QInputDialog;

namespace kivo {

class MainWindow;
class PlaybackViews;
class PlaylistChooser;
class SongListModel;

// The library commands of the menus in the main window: playlists ("添加列表",
// "修改列表", "删除列表"), the now-playing menu's "清空", "另存为列表" and "保存到现有",
// the song rows' "添加到播放列表", "从列表中删除" and "修改歌曲名称", the CD shelf's
// "加入CD架" and "删除", the playlist chooser `Form5`, and the keyboard of the window.
class LibraryCommands : public QObject
{
    Q_OBJECT
public:
    LibraryCommands(MainWindow *window, PlaybackViews *playback);
    ~LibraryCommands() override;

    LibraryOperations *operations() const { return m_operations.get(); }
    // Null until first opened.
    PlaylistChooser *chooser() const { return m_chooser; }
    // The input box waiting for an answer; null when none is open.
    QInputDialog *inputBox() const { return m_input; }

    void addPlaylist();
    void saveNowPlayingAs();
    void renamePlaylist();
    void deletePlaylistOrDay();
    void chooseForQueue(); // "保存到现有"
    void chooseForRow(); // "添加到播放列表"
    void removeRow();
    void renameSong();
    void clearNowPlaying();
    void addToCdShelf();
    void removeFromCdShelf();

    // The shortcuts of the window, as the help tooltip lists them.
    static QString shortcutHelp();

Q_SIGNALS:
    void messageShown(const kivo::LibraryMessage &message);

private:
    void wireKeyboard();
    void ask(const QString &prompt, const QString &title, const QString &value,
        std::function<void(const QString &)> answered);
    void show(const CommandResult &result);
    void openChooser(const PlaylistEntry &entry);
    // The right-clicked row's page and place, while the row is still there.
    SongListModel *menuRowPage(int &row) const;
    // The tab in front when it is a song list, with its selected rows.
    SongListModel *frontPage(QList<int> *selectedRows, int *view = nullptr) const;
    QList<SongListModel *> nowPlayingPages() const;
    void removeSelectedRows();
    void renameCurrentRow();
    void playCurrentRow();
    void renameRowOf(SongListModel *page, int row);

    MainWindow *m_window;
    PlaybackViews *m_playback;
    PlaylistWrites m_writes;
    NowPlayingQueue m_queue;
    std::unique_ptr<LibraryOperations> m_operations;
    PlaylistChooser *m_chooser = nullptr; // owned by the window
    QInputDialog *m_input = nullptr;
};

} // namespace kivo
