#pragma once

#include "core/songrow.h"

#include <QObject>
#include <QPoint>

#include <optional>

namespace kivo {

class LyricsUploadDialog;
class MainWindow;
class PlaybackSession;
struct SongRowMenuPlan;

// The playback commands of the song-row menu ("歌曲列表"), the library list menu
// ("我的媒体库1") and the play modes of the now-playing menu ("我的媒体库").
class SongRowCommands : public QObject
{
    Q_OBJECT
public:
    SongRowCommands(MainWindow *window, PlaybackSession *session, QObject *parent = nullptr);
    ~SongRowCommands() override;

    // A right-click on a song row: shows and enables the items for it and pops the
    // menu up at globalPos (none when it is null, for tests).
    void openSongRowMenu(const SongRowRef &row, const QPoint &globalPos);
    // The row the song-row commands act on (the row last right-clicked); none before.
    const std::optional<SongRowRef> &menuRow() const { return m_row; }

    void reloadRow();
    void addRowToQueue();
    void viewLyrics();
    void addLyrics();
    // "播放此列表" / "添加到正在播放1" on the selected library node.
    void playSelectedList(bool append);

    // Null until "添加歌词" first opened it.
    LyricsUploadDialog *uploadDialog() const { return m_upload; }

private:
    void applyPlan(const SongRowMenuPlan &plan);
    void wirePlayModes();

    MainWindow *m_window;
    PlaybackSession *m_session;
    std::optional<SongRowRef> m_row;
    LyricsUploadDialog *m_upload = nullptr; // owned by the window
};

} // namespace kivo
