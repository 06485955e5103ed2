#pragma once

#include <QObject>

namespace kivo {

class DesktopNotifier;
class MainWindow;
class PlaybackViews;

// Announces each song that starts on the desktop, unless the player's own window
// (main or mini) is the active one, where the lyric line shows it, or the user
// switched it off.
class SongNotifications : public QObject
{
    Q_OBJECT
public:
    // Without a notifier (no session bus) nothing is announced.
    SongNotifications(MainWindow *window, PlaybackViews *playback, DesktopNotifier *notifier);

private:
    void follow();
    void announce(const QString &title, const QString &singer);

    MainWindow *m_window;
    PlaybackViews *m_playback;
    DesktopNotifier *m_notifier;
};

} // namespace kivo
