#include "core/logging.h"
#include "library/librarydatabase.h"
#include "online/serverclient.h"
#include "shell/commandlinefiles.h"
#include "shell/fontwarmup.h"
#include "shell/installsettings.h"
#include "shell/instancechannel.h"
#include "shell/libraryaccess.h"
#include "shell/librarylocation.h"
#include "shell/programstate.h"
#include "shell/qttranslations.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/playerparts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QStandardPaths>

#include <clocale>
#include <future>
#include <memory>

using namespace kivo;

int main(int argc, char *argv[])
{
    // No AA_ShareOpenGLContexts here: it makes QApplication bring up OpenGL
    // (~200 ms on software GL) before the first window can show.
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"kivoplay"_qs);
    QApplication::setQuitOnLastWindowClosed(false); // hidden to the tray is still running
    std::setlocale(LC_NUMERIC, "C"); // the media engine reads numbers in the C locale
    installQtTranslations();
    const FontWarmUp fonts; // while the library opens and the windows are built

    const QString programDir = QCoreApplication::applicationDirPath();
    const InstallSettings install = InstallSettings::load(programDir);
    // The library must be there and usable: the player never creates it (an
    // installed one copies the shipped empty library to the user's folder once),
    // and a file it cannot use is reported and left as it is.
    const LibraryLocation location
        = LibraryLocation::find(programDir, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString libraryPath = location.path;

    // The library file is checked (read-only) on a second thread during the hand-over
    // and while the main window is built; it is opened, or reported, before any window
    // shows.
    std::future<LibraryInspection> inspection
        = std::async(std::launch::async, [path = libraryPath] { return LibraryDatabase::inspect(path); });

    // The command line carries only files to play. One player per library: when one
    // runs, it takes them (none: it comes to the front) and this start ends.
    const QStringList files = localFilesFromArguments(app.arguments().mid(1), QDir::currentPath());
    std::unique_ptr<InstanceChannel> channel;
    if (InstanceChannel::sessionBusNamed()) {
        channel = std::make_unique<InstanceChannel>(libraryPath, QDBusConnection::sessionBus());
        const InstanceChannel::Handover handover = channel->handOver(files);
        if (handover == InstanceChannel::Handover::Delivered)
            return 0;
        // Two starts at once: the one that lost the name hands over to the winner. A
        // player that did not answer is not asked twice.
        if (!channel->listen() && handover == InstanceChannel::Handover::NoneRunning
            && channel->handOver(files) == InstanceChannel::Handover::Delivered)
            return 0;
    }

    LibraryDatabase library;
    ProgramState state;
    state.serverBaseUrl = install.serverBaseUrl;
    state.downloadPageUrl = install.downloadPageUrl;
    state.preferences = UserPreferences(UserPreferences::defaultPath());

    QNetworkAccessManager network;
    ServerClient server(&network, install.serverBaseUrl);

    LibraryAccess access(library);
    MainWindowContext context;
    context.library = &access;
    context.programDir = programDir;
    context.server = &server;
    context.state = &state;
    context.applyStoredConfig = [&library, &state](const QDateTime &serverDate) -> qint32 {
        const auto config = library.loadStartupConfig(serverDate);
        if (!config)
            return 0; // an empty table leaves every default
        state.settings = StoredSettings::parse(config->settingsContent);
        return config->dailyDownloadCount;
    };
    context.releaseDatabase = [&library] { library.release(); };
    // The face, its buttons and the trees read nothing from the library: they are built
    // while the check of the file finishes on its thread.
    auto mainWindow = std::make_unique<MainWindow>(context);
    LibraryOpenOutcome opened = library.open(inspection.get());
    if (!location.error.isEmpty() && !opened.ok()) {
        opened.status = LibraryOpenOutcome::Status::Unusable;
        opened.reason = location.error;
    }
    if (!opened.ok()) {
        qCWarning(lcDb).noquote() << "cannot open the library:" << opened.message();
        // The window, never shown, goes first: its start-up timer must not run under
        // the message box.
        mainWindow.reset();
        QMessageBox box(QMessageBox::Critical, u"Kivo"_qs, opened.message(), QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
    mainWindow->show();
    // The rest comes after the first frame; it goes before the window.
    std::unique_ptr<PlayerParts> parts;
    mainWindow->buildAfterFirstFrame(
        [&] { parts = std::make_unique<PlayerParts>(mainWindow.get(), &library, channel.get(), files); });
    return app.exec();
}
