#include "shell/ui/songnotifications.h"

#include "playback/desktopnotifier.h"
#include "playback/playbacksession.h"
#include "playback/playercontrol.h"
#include "shell/programstate.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/playbackviews.h"

#include <QApplication>

namespace kivo {

SongNotifications::SongNotifications(MainWindow *window, PlaybackViews *playback, DesktopNotifier *notifier)
    : QObject(window)
    , m_window(window)
    , m_playback(playback)
    , m_notifier(notifier)
{
    if (!m_notifier)
        return;
    if (playback->session()->control())
        follow();
    else
        connect(playback->session(), &PlaybackSession::engineAttached, this, &SongNotifications::follow);
}

void SongNotifications::follow()
{
    connect(m_playback->session()->control(), &PlayerControl::songStarted, this, &SongNotifications::announce);
}

void SongNotifications::announce(const QString &title, const QString &singer)
{
    const ProgramState *state = m_window->context().state;
    if (state && !state->preferences.songNotifications())
        return;
    const QWidget *active = QApplication::activeWindow();
    if (active && (active == m_window || active == m_playback->builtMiniPlayer()))
        return;
    m_notifier->notify(title, singer);
}

} // namespace kivo
