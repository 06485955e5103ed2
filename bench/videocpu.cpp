// What playing a video costs: a generated 1280×720 30 fps H.264 clip of 30 s played
// by the real player in its video pane (started from a playlist of its library over
// MPRIS), whole process tree CPU over 25 s, beside mpv showing the same clip through
// X11 on the same display in the same run; mpv's dropped frames are read over its
// IPC socket at the end.
//   videocpu player_pct: 15.0 % (mpv 20.0 %, ratio 0.75, goal <= 1.50)
#include "rig/playerrig.h"
#include "rig/proctree.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <cstdio>

using namespace benchrig;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double kWindow = 25;

double treePercent(pid_t root, double seconds)
{
    const TreeCpu before = treeCpu(root);
    const double start = now();
    sleepSeconds(seconds);
    return 100.0 * cpuBetween(before, treeCpu(root)) / (now() - start);
}

// One property of a running mpv through its JSON IPC socket.
QString mpvProperty(const QString &socketPath, const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(R"({"command":["get_property",")" + name.toUtf8() + "\"]}\n");
    socket.waitForBytesWritten(2000);
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(2000))
        reply += socket.readAll();
    const qsizetype at = reply.indexOf("\"data\":");
    return at < 0 ? QString() : QString::fromUtf8(reply.mid(at + 7).split(',').first());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = makeVideo(dir.path(), 30);
    SessionBus bus;
    DemoServer server;
    if (clip.isEmpty() || !bus.isRunning() || server.baseUrl().isEmpty()) {
        std::fprintf(stderr, "videocpu: no clip, session bus or demo server\n");
        return 1;
    }
    double player = -1;
    {
        Player kivo(server.baseUrl(), clip, bus);
        if (!kivo.waitForMpris(30) || !kivo.playBenchPlaylist(20)) {
            std::fprintf(stderr, "videocpu: %s\n", qPrintable(kivo.error()));
            return 1;
        }
        sleepSeconds(2);
        player = treePercent(kivo.pid(), kWindow);
    }
    const QString socket = dir.path() + u"/mpv.sock"_s;
    double mpv = -1;
    QString dropped;
    {
        Peer reference(u"mpv"_s,
            {u"--no-config"_s, u"--ao=null"_s, u"--vo=x11"_s, u"--input-ipc-server="_s + socket, u"--really-quiet"_s,
                clip});
        sleepSeconds(2);
        mpv = treePercent(reference.pid(), kWindow);
        dropped = mpvProperty(socket, u"frame-drop-count"_s);
    }
    std::printf("videocpu player_pct: %.2f %% (mpv %.2f %%, ratio %.2f, goal <= 1.50)\n", player, mpv,
        mpv > 0 ? player / mpv : 0.0);
    std::printf("videocpu mpv_frame_drop_count: %s\n", dropped.isEmpty() ? "?" : qPrintable(dropped));
    return 0;
}
