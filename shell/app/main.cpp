#include "online/serverclient.h"
#include "shell/installsettings.h"
#include "shell/programstate.h"
#include "shell/ui/mainwindow.h"

#include <QApplication>
#include <QFileInfo>
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

    const QString programDir = QCoreApplication::applicationDirPath();
    const InstallSettings install = InstallSettings::load(programDir);

    // The library must be there: the player never creates it.
    const QString dataFile = programDir + u"/data/kx.dat"_qs;
    if (!QFileInfo::exists(dataFile)) {
        QMessageBox::critical(nullptr, u"Kivo"_qs, u"数据库调入错误。"_qs);
        return 1;
    }

    ProgramState state;
    state.serverBaseUrl = install.serverBaseUrl;
    state.downloadPageUrl = install.downloadPageUrl;

    QNetworkAccessManager network;
    ServerClient server(&network, install.serverBaseUrl);

    MainWindowContext context;
    context.programDir = programDir;
    context.server = &server;
    context.state = &state;
    MainWindow window(context);
    window.show();
    return app.exec();
}
