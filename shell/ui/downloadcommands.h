#pragma once

#include <QObject>

namespace kivo {

class DownloadManager;
class DownloadOptionsDialog;
class MainWindow;
class PlaybackViews;
struct DownloadMessage;

// The download list in the main window: "下载此歌曲" on song rows, the download
// menu ("开始下载", "清空所有", "删除记录", "下载设置"), the download page's rows
// and its tab while a run goes on, and exit ending a running download.
class DownloadCommands : public QObject
{
    Q_OBJECT
public:
    DownloadCommands(MainWindow *window, PlaybackViews *playback);
    ~DownloadCommands() override;

    DownloadManager *manager() const { return m_manager; }
    // Null until "下载设置" first opened it.
    DownloadOptionsDialog *optionsDialog() const { return m_options; }

    void queueRow(); // "下载此歌曲"
    void startDownloads(); // "开始下载"
    void clearAll(); // "清空所有"
    void removeRecord(); // "删除记录"
    void showOptions(); // "下载设置"
    // A double-click on the tab of the download page while it downloads.
    void askToCloseRunningPage();

private:
    void showMessage(const DownloadMessage &message);

    MainWindow *m_window;
    PlaybackViews *m_playback;
    DownloadManager *m_manager;
    DownloadOptionsDialog *m_options = nullptr; // owned by the window
};

} // namespace kivo
