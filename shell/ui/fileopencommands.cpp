#include "shell/ui/fileopencommands.h"

#include "core/commanddispatcher.h"
#include "core/logging.h"
#include "playback/playbacksession.h"
#include "shell/instancechannel.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/playbackviews.h"

#include <QTimer>

namespace kivo {

namespace {
// Local files need no server: a start-up that waits on it holds them back no longer.
constexpr int kStartFilesLatestMs = 1000;
} // namespace

FileOpenCommands::FileOpenCommands(
    MainWindow *window, PlaybackViews *playback, InstanceChannel *channel, QStringList startFiles)
    : QObject(window)
    , m_window(window)
    , m_playback(playback)
    , m_startFiles(std::move(startFiles))
{
    if (channel) {
        connect(channel, &InstanceChannel::filesOpened, this, &FileOpenCommands::open);
        connect(channel, &InstanceChannel::raiseRequested, window, [window] {
            qCDebug(lcDesktop) << "a later start brings the player back";
            window->commands()->dispatch(PlayerCommand::ShowPlayer);
        });
        // Asked for while this player was still building.
        const QList<QStringList> early = channel->takeEarlyRequests();
        for (const QStringList &files : early)
            QTimer::singleShot(0, channel, [channel, files] { channel->Open(files); });
    }
    if (m_startFiles.isEmpty())
        return;
    connect(window, &MainWindow::startupSequenceFinished, this, &FileOpenCommands::openStartFiles);
    QTimer::singleShot(kStartFilesLatestMs, this, &FileOpenCommands::openStartFiles);
}

void FileOpenCommands::open(const QStringList &files)
{
    qCDebug(lcDesktop).noquote() << "opening" << files.join(u", "_qs);
    m_playback->session()->player()->OpenLocalFiles(files);
}

void FileOpenCommands::openStartFiles()
{
    const QStringList files = std::exchange(m_startFiles, {});
    if (!files.isEmpty())
        open(files);
}

} // namespace kivo
