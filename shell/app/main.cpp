#include "core/logging.h"
#include "library/librarydatabase.h"
#include "online/serverclient.h"
#include "shell/installsettings.h"
#include "shell/libraryaccess.h"
#include "shell/programstate.h"
#include "shell/qttranslations.h"
#include "shell/ui/communitycommands.h"
#include "shell/ui/downloadcommands.h"
#include "shell/ui/importcommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/playlistfilecommands.h"

#include <QApplication>
#include <QMessageBox>
#include <QNetworkAccessManager>

#include <clocale>

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

    const QString programDir = QCoreApplication::applicationDirPath();
    const InstallSettings install = InstallSettings::load(programDir);

    // The library must be there and usable: the player never creates it, and a
    // file it cannot use is reported and left as it is.
    LibraryDatabase library;
    const LibraryOpenOutcome opened = library.open(programDir + u"/data/kx.dat"_qs);
    if (!opened.ok()) {
        qCWarning(lcDb).noquote() << "cannot open the library:" << opened.message();
        QMessageBox box(QMessageBox::Critical, u"Kivo"_qs, opened.message(), QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }

    ProgramState state;
    state.serverBaseUrl = install.serverBaseUrl;
    state.downloadPageUrl = install.downloadPageUrl;

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
    MainWindow window(context);
    // Playback, lyrics, knobs and the mini player; the engine loads after the first window.
    PlaybackViews playback(&window);
    DownloadCommands downloads(&window, &playback); // the download list, its page and its menu
    // Local files: the import window, drops, and playlists as files.
    ImportCommands imports(&window, &playback, &library);
    PlaylistFileCommands playlistFiles(&window, &playback, &library, &imports);
    // Search, info pages, dedication and settings.
    CommunityCommands community(&window, &playback);
    window.show();
    return app.exec();
}
