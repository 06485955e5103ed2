// CPU time of playing a 30 s local song through the player's engine, next to the
// bare mpv program playing the same file, one run each.

#include "benchsong.h"

#include "playback/mediaengine.h"
#include "playback/mediaengineloader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString song = makeBenchSong(dir.path(), 30);
    if (song.isEmpty()) {
        std::fprintf(stderr, "playcpu: ffmpeg could not make the song\n");
        return 1;
    }
    QString error;
    kivo::MediaEngine *engine = kivo::loadMediaEngine(
        &app, {QStringLiteral("ao=null"), QStringLiteral("vo=null")}, QStringLiteral(KIVO_BUILD_DIR "/lib"), &error);
    if (!engine) {
        std::fprintf(stderr, "playcpu: %s\n", qPrintable(error));
        return 1;
    }

    // ao=null plays in real time, so both runs take the song's length.
    bool ended = false;
    QObject::connect(engine, &kivo::MediaEngine::playStateChanged, &app, [&](kivo::PlayState state, kivo::LoadId) {
        if (state == kivo::PlayState::Stopped) {
            ended = true;
            app.quit();
        }
    });
    QObject::connect(engine, &kivo::MediaEngine::errorOccurred, &app, [&] { app.quit(); });
    QTimer::singleShot(90000, &app, &QCoreApplication::quit);
    const double before = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer wall;
    wall.start();
    engine->setUrl(song);
    engine->play();
    app.exec();
    const double engineCpu = cpuSeconds(RUSAGE_SELF) - before;
    const double engineWall = wall.elapsed() / 1000.0;
    if (!ended) {
        std::fprintf(stderr, "playcpu: the song did not play to its end\n");
        return 1;
    }

    QProcess mpv;
    wall.restart();
    mpv.start(QStringLiteral("mpv"),
        {QStringLiteral("--no-config"), QStringLiteral("--no-video"), QStringLiteral("--ao=null"),
            QStringLiteral("--really-quiet"), song});
    if (!mpv.waitForFinished(90000)) {
        mpv.kill();
        mpv.waitForFinished(5000);
        std::fprintf(stderr, "playcpu: mpv did not finish\n");
        return 1;
    }
    const double mpvCpu = cpuSeconds(RUSAGE_CHILDREN);
    const double mpvWall = wall.elapsed() / 1000.0;

    std::printf("playcpu engine_cpu_s: %.3f s\n", engineCpu);
    std::printf("playcpu engine_wall_s: %.2f s\n", engineWall);
    std::printf("playcpu mpv_cpu_s: %.3f s\n", mpvCpu);
    std::printf("playcpu mpv_wall_s: %.2f s\n", mpvWall);
    std::printf("playcpu ratio: %.2f x\n", mpvCpu > 0 ? engineCpu / mpvCpu : 0.0);
    return 0;
}
