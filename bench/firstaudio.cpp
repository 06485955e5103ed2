// Time from the load request of a local song to the start of its playback
// (libmpv's playback-restart, reported as the playing state).

#include "benchsong.h"

#include "playback/mediaengine.h"
#include "playback/mediaengineloader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString song = makeBenchSong(dir.path(), 10);
    if (song.isEmpty()) {
        std::fprintf(stderr, "firstaudio: ffmpeg could not make the song\n");
        return 1;
    }
    QElapsedTimer loading;
    loading.start();
    QString error;
    kivo::MediaEngine *engine = kivo::loadMediaEngine(
        &app, {QStringLiteral("ao=null"), QStringLiteral("vo=null")}, QStringLiteral(KIVO_BUILD_DIR "/lib"), &error);
    if (!engine) {
        std::fprintf(stderr, "firstaudio: %s\n", qPrintable(error));
        return 1;
    }
    const double loadMs = loading.nsecsElapsed() / 1e6;

    constexpr int runs = 7;
    QList<double> times;
    QElapsedTimer clock;
    auto start = [&] {
        engine->stop();
        clock.start();
        engine->setUrl(song);
        engine->play();
    };
    QObject::connect(engine, &kivo::MediaEngine::playStateChanged, &app, [&](kivo::PlayState state, kivo::LoadId) {
        if (state != kivo::PlayState::Playing)
            return;
        times << clock.nsecsElapsed() / 1e6;
        if (times.size() == runs)
            app.quit();
        else
            QTimer::singleShot(0, &app, start);
    });
    QObject::connect(engine, &kivo::MediaEngine::errorOccurred, &app, [&] { app.quit(); });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    QTimer::singleShot(0, &app, start);
    app.exec();
    if (times.size() != runs) {
        std::fprintf(stderr, "firstaudio: only %d of %d runs started\n", int(times.size()), runs);
        return 1;
    }
    const double first = times.first();
    std::sort(times.begin(), times.end());
    std::printf("firstaudio module_load_ms: %.1f ms\n", loadMs);
    std::printf("firstaudio first_ms: %.1f ms\n", first);
    std::printf("firstaudio median_ms: %.1f ms\n", times.at(runs / 2));
    std::printf("firstaudio max_ms: %.1f ms\n", times.last());
    return 0;
}
