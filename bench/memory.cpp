// What the player holds in memory: the summed proportional set size (PSS, from
// /proc/<pid>/smaps_rollup) of its whole process tree, 5 s after start-up against the
// demo server and after 30 s of playing a song with lyrics, beside qmmp doing the
// same in the same run (bench/run.sh installs qmmp on demand).
//   memory startup_pss_mb: 240.0 MB in 4 processes (qmmp 70.0 MB, ratio 3.43, goal <= 150 MB)
#include "rig/playerrig.h"
#include "rig/proctree.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

using namespace benchrig;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Figures
{
    TreePss startup;
    TreePss playing;
};

// qmmp started bare for the start-up figure, and again with the song for the playing one.
Figures qmmp(const QString &song)
{
    Figures f;
    const QString program = QStandardPaths::findExecutable(u"qmmp"_s);
    if (program.isEmpty())
        return f;
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    {
        Peer bare(program, {});
        sleepSeconds(5);
        f.startup = treePss(bare.pid());
    }
    {
        Peer playing(program, {song});
        sleepSeconds(30);
        f.playing = treePss(playing.pid());
    }
    return f;
}

void line(const char *figure, const TreePss &mine, const TreePss &reference, const char *goal)
{
    if (reference.megabytes > 0)
        std::printf("memory %s: %.1f MB in %d processes (qmmp %.1f MB, ratio %.2f, goal %s)\n", figure, mine.megabytes,
            mine.processes, reference.megabytes, mine.megabytes / reference.megabytes, goal);
    else // no reference on this machine: no ratio rather than a ratio of 0
        std::printf("memory %s: %.1f MB in %d processes (qmmp not measured, goal %s)\n", figure, mine.megabytes,
            mine.processes, goal);
    std::printf("memory %s_parts: %s\n", figure, qPrintable(mine.parts));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString song = makeSong(dir.path(), 60, true);
    SessionBus bus;
    DemoServer server;
    if (song.isEmpty() || !bus.isRunning() || server.baseUrl().isEmpty()) {
        std::fprintf(stderr, "memory: no song, session bus or demo server\n");
        return 1;
    }
    Figures kivo;
    {
        const double launched = now();
        Player player(server.baseUrl(), song, bus);
        if (!player.waitForMpris(30)) {
            std::fprintf(stderr, "memory: %s\n", qPrintable(player.error()));
            return 1;
        }
        sleepSeconds(std::max(0.0, launched + 5 - now()));
        kivo.startup = treePss(player.pid());
        if (!player.playBenchPlaylist(20)) {
            std::fprintf(stderr, "memory: %s\n", qPrintable(player.error()));
            return 1;
        }
        sleepSeconds(30);
        kivo.playing = treePss(player.pid());
    }
    const Figures reference = qmmp(song);
    line("startup_pss_mb", kivo.startup, reference.startup, "<= 150 MB");
    line("playing_pss_mb", kivo.playing, reference.playing, "-");
    return 0;
}
