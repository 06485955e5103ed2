#pragma once

#include <QObject>

namespace kivo {

class ImportCommands;
class LibraryDatabase;
class MainWindow;
class PlaybackViews;

// Playlists as files: "导出播放列表..." writes a playlist, a history day or the
// now-playing queue as M3U8 or PLS; "导入播放列表文件..." reads an M3U, M3U8 or PLS
// file into the selected playlist or onto the end of the queue.
class PlaylistFileCommands : public QObject
{
    Q_OBJECT
public:
    PlaylistFileCommands(
        MainWindow *window, PlaybackViews *playback, LibraryDatabase *library, ImportCommands *imports);

    // What the file dialogs hand over; tests call them directly.
    void exportSelectedList(const QString &path);
    void exportQueue(const QString &path);
    void importIntoSelectedList(const QString &path);
    void importIntoQueue(const QString &path);

private:
    void askForFile(bool save, const QString &title, void (PlaylistFileCommands::*then)(const QString &));
    void enableListItems();
    void reportWritten(bool ok, const QString &error);

    MainWindow *m_window;
    PlaybackViews *m_playback;
    LibraryDatabase *m_library;
    ImportCommands *m_imports;
};

} // namespace kivo
