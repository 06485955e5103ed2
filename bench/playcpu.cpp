// What playing a song costs: the real player started against the demo server plays
// a local song with its lyric file from a playlist of its library (started over
// MPRIS); the CPU of its whole process tree is read over 30 s in the main window,
// over 30 s in mini mode and over 10 s paused, beside bare mpv playing the same
// file in the same run. The engine inside this program, without the windows, is the
// last line.
//   playcpu main_pct: 1.40 %  mpv_pct: 1.10 %  ratio …
#include "rig/playerrig.h"
#include "rig/proctree.h"

#include "playback/mediaengine.h"
#include "playback/mediaengineloader.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace benchrig;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double kWindow = 30; // seconds measured
constexpr int kSongSeconds = 100;

QString comm(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/comm").arg(pid));
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll().trimmed()) : QStringLiteral("?");
}

// Percent of one core the tree used over the next `seconds`; `parts` gets each process's share.
double treePercent(pid_t root, double seconds, QString *parts = nullptr)
{
    const TreeCpu before = treeCpu(root);
    const double start = now();
    sleepSeconds(seconds);
    const TreeCpu after = treeCpu(root);
    const double wall = now() - start;
    if (parts) {
        for (const pid_t pid : after.processes()) {
            const TreeCpu one = after.of(pid);
            *parts += QStringLiteral("%1%2 %3 %")
                          .arg(parts->isEmpty() ? QString() : QStringLiteral(", "), comm(pid))
                          .arg(100.0 * cpuBetween(before, one) / wall, 0, 'f', 2);
        }
    }
    return 100.0 * cpuBetween(before, after) / wall;
}

double mpvPercent(const QString &song)
{
    Peer mpv(QStringLiteral("mpv"), {u"--no-config"_s, u"--no-video"_s, u"--ao=null"_s, u"--really-quiet"_s, song});
    sleepSeconds(2);
    return mpv.isRunning() ? treePercent(mpv.pid(), kWindow) : -1;
}

// This program's own CPU while its engine plays the song (no windows).
double enginePercent(QApplication &app, const QString &song)
{
    QString error;
    kivo::MediaEngine *engine = kivo::loadMediaEngine(
        &app, {QStringLiteral("ao=null"), QStringLiteral("vo=null")}, buildDir() + QStringLiteral("/lib"), &error);
    if (!engine)
        return -1;
    engine->setUrl(song);
    engine->play();
    TreeCpu before;
    double start = 0;
    double percent = -1;
    QTimer::singleShot(2000, &app, [&] {
        before = treeCpu(getpid());
        start = now();
    });
    QTimer::singleShot(int(2000 + kWindow * 1000), &app, [&] {
        percent = 100.0 * cpuBetween(before, treeCpu(getpid())) / (now() - start);
        app.quit();
    });
    app.exec();
    engine->stop();
    delete engine;
    return percent;
}

void line(const char *figure, double value, double reference, const char *goal)
{
    std::printf("playcpu %s: %.2f %% (mpv %.2f %%, ratio %.2f, goal %s)\n", figure, value, reference,
        reference > 0 ? value / reference : 0.0, goal);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString song = makeSong(dir.path(), kSongSeconds, true);
    if (song.isEmpty()) {
        std::fprintf(stderr, "playcpu: ffmpeg could not make the song\n");
        return 1;
    }
    SessionBus bus;
    DemoServer server;
    if (!bus.isRunning() || server.baseUrl().isEmpty()) {
        std::fprintf(stderr, "playcpu: no session bus or demo server\n");
        return 1;
    }

    double main = -1, mini = -1, paused = -1;
    QString mainParts, miniParts;
    {
        Player player(server.baseUrl(), song, bus);
        if (!player.waitForMpris(30) || !player.playBenchPlaylist(20)) {
            std::fprintf(stderr, "playcpu: %s\n", qPrintable(player.error()));
            return 1;
        }
        sleepSeconds(3); // the start's own work settles
        main = treePercent(player.pid(), kWindow, &mainParts);
        if (player.clickMainWindow(524, 16)) { // the mini mode button
            sleepSeconds(2);
            mini = treePercent(player.pid(), kWindow, &miniParts);
        }
        if (player.pause()) {
            sleepSeconds(2);
            paused = treePercent(player.pid(), 10);
        }
    }
    const double mpv = mpvPercent(song);
    line("main_window_pct", main, mpv, "<= 1.30");
    std::printf("playcpu main_window_parts: %s\n", qPrintable(mainParts));
    line("mini_mode_pct", mini, mpv, "<= 1.30");
    std::printf("playcpu mini_mode_parts: %s\n", qPrintable(miniParts));
    std::printf("playcpu paused_pct: %.2f %% (goal <= 0.50 %%)\n", paused);
    const double engine = enginePercent(app, song);
    line("engine_only_pct", engine, mpv, "-");
    return 0;
}
