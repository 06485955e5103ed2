#include "shell/ui/playerparts.h"

#include "core/logging.h"
#include "playback/desktopnotifier.h"

#include <QDBusConnection>

namespace kivo {

namespace {

// Notifications go through the session bus the hand-over uses; without one, none.
std::unique_ptr<DesktopNotifier> notifierFor(const InstanceChannel *channel)
{
    if (channel)
        return std::make_unique<DesktopNotifier>(QDBusConnection::sessionBus());
    qCWarning(lcDesktop) << "the environment names no session bus: no hand-over, no notifications";
    return nullptr;
}

} // namespace

PlayerParts::PlayerParts(MainWindow *window, LibraryDatabase *library, InstanceChannel *channel, QStringList startFiles)
    : m_playback(window)
    , m_downloads(window, &m_playback)
    , m_imports(window, &m_playback, library)
    , m_playlistFiles(window, &m_playback, library, &m_imports)
    , m_community(window, &m_playback)
    , m_fileOpen(window, &m_playback, channel, std::move(startFiles))
    , m_notifier(notifierFor(channel))
    , m_notifications(window, &m_playback, m_notifier.get())
    , m_libraryCommands(window, &m_playback)
{ }

PlayerParts::~PlayerParts() = default;

} // namespace kivo
