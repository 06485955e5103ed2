#pragma once

#include <QObject>
#include <QStringList>

namespace kivo {

class InstanceChannel;
class MainWindow;
class PlaybackViews;

// Files opened from the desktop: those of this start play once the start-up
// sequence has run (or a second after the window, when the server is slow), those a
// later start hands over through the channel at once; an empty hand-over brings the
// player's window back.
class FileOpenCommands : public QObject
{
    Q_OBJECT
public:
    FileOpenCommands(MainWindow *window, PlaybackViews *playback, InstanceChannel *channel, QStringList startFiles);

    void open(const QStringList &files);

private:
    void openStartFiles();

    MainWindow *m_window;
    PlaybackViews *m_playback;
    QStringList m_startFiles;
};

} // namespace kivo
