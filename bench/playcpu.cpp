// CPU time of playing a 30 s local song through the player's engine, once bare and
// once with the lyric line shown and ticking as in the player, next to the bare mpv
// program playing the same file, one run each.

#include "benchsong.h"

#include "lyrics/lyricscontroller.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "playback/mediaengine.h"
#include "playback/mediaengineloader.h"

#include <QApplication>
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

struct Run
{
    bool ended = false;
    double cpu = 0;
    double wall = 0;
};

// Plays the song to its end; with lyrics, the lyric line of a window follows it.
Run playOnce(QApplication &app, kivo::MediaEngine *engine, const QString &song, bool withLyrics)
{
    Run run;
    QWidget window;
    kivo::LyricsController lyrics;
    if (withLyrics) {
        window.resize(610, 450);
        auto *line = new kivo::LyricLineWidget(
            {QStringLiteral("Label4"), QStringLiteral("Label8"), QStringLiteral("Label2")}, &window);
        line->setGeometry(16, 350, 470, 40);
        line->follow(&lyrics, kivo::LyricLineWidget::Window::Main);
        window.show();
        QString text;
        for (int s = 0; s < 30; s += 4)
            text += QStringLiteral("[00:%1.00]第%2句歌词，唱到这里<br>").arg(s, 2, 10, QLatin1Char('0')).arg(s / 4 + 1);
        lyrics.setCurrentLyrics(text, lyrics.clearCurrentLyrics());
        lyrics.setClock([engine] {
            return kivo::PlaybackClock {
                engine->playState() == kivo::PlayState::Playing, engine->position(), engine->duration()};
        });
    }
    QMetaObject::Connection state
        = QObject::connect(engine, &kivo::MediaEngine::playStateChanged, &app, [&](kivo::PlayState s, kivo::LoadId) {
              if (s == kivo::PlayState::Playing && withLyrics)
                  lyrics.startTicking();
              if (s == kivo::PlayState::Stopped) {
                  run.ended = true;
                  app.quit();
              }
          });
    QMetaObject::Connection error
        = QObject::connect(engine, &kivo::MediaEngine::errorOccurred, &app, [&] { app.quit(); });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &app, &QCoreApplication::quit);
    limit.start(90000);
    const double before = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer wall;
    wall.start();
    engine->setUrl(song);
    engine->play();
    app.exec();
    run.cpu = cpuSeconds(RUSAGE_SELF) - before;
    run.wall = wall.elapsed() / 1000.0;
    lyrics.stopTicking();
    QObject::disconnect(state);
    QObject::disconnect(error);
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
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

    // ao=null plays in real time, so every run takes the song's length.
    const Run bare = playOnce(app, engine, song, false);
    const Run withLyrics = playOnce(app, engine, song, true);
    if (!bare.ended || !withLyrics.ended) {
        std::fprintf(stderr, "playcpu: the song did not play to its end\n");
        return 1;
    }

    QProcess mpv;
    QElapsedTimer wall;
    wall.start();
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

    const double engineCpu = bare.cpu;
    std::printf("playcpu engine_cpu_s: %.3f s\n", bare.cpu);
    std::printf("playcpu engine_wall_s: %.2f s\n", bare.wall);
    std::printf("playcpu engine_lyrics_cpu_s: %.3f s\n", withLyrics.cpu);
    std::printf("playcpu engine_lyrics_wall_s: %.2f s\n", withLyrics.wall);
    std::printf("playcpu mpv_cpu_s: %.3f s\n", mpvCpu);
    std::printf("playcpu mpv_wall_s: %.2f s\n", mpvWall);
    std::printf("playcpu ratio: %.2f x\n", mpvCpu > 0 ? engineCpu / mpvCpu : 0.0);
    std::printf("playcpu lyrics_ratio: %.2f x\n", mpvCpu > 0 ? withLyrics.cpu / mpvCpu : 0.0);
    return 0;
}
