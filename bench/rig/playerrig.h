#pragma once

// The real player as a user runs it, for the benchmarks: its own program folder
// (a copy of kivoplay beside the build's modules, a library with one playlist),
// the demo server, a private session bus to reach it over MPRIS, and the X
// display the benchmark runs on.

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <sys/types.h>

namespace benchrig {

QString buildDir();
// Seconds on a steady clock.
double now();
void sleepSeconds(double seconds);

// A song of `seconds` made with ffmpeg, with a lyric file beside it (a line every
// three seconds) when asked; empty on failure.
QString makeSong(const QString &dir, int seconds, bool withLyrics);
// A 1280×720 30 fps H.264 clip with sound.
QString makeVideo(const QString &dir, int seconds);

class SessionBus
{
public:
    SessionBus();
    ~SessionBus();
    QString address() const { return m_address; }
    bool isRunning() const { return !m_address.isEmpty(); }

private:
    QProcess m_daemon;
    QString m_address;
};

class DemoServer
{
public:
    DemoServer();
    ~DemoServer();
    QString baseUrl() const { return m_port > 0 ? QStringLiteral("http://127.0.0.1:%1/").arg(m_port) : QString(); }

private:
    QProcess m_server;
    int m_port = 0;
};

// One running player from its own folder; the song of `songPath` sits in the
// playlist "基准" of its library.
class Player
{
public:
    Player(const QString &serverBaseUrl, const QString &songPath, const SessionBus &bus,
        const QProcessEnvironment &extra = {});
    ~Player();
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    pid_t pid() const { return pid_t(m_process.processId()); }
    QString error() const { return m_error; }

    // Waits until the player answers over MPRIS (its engine is loaded).
    bool waitForMpris(double timeoutSeconds);
    // Starts the bench playlist and waits until it plays.
    bool playBenchPlaylist(double timeoutSeconds);
    bool pause();
    QString playbackStatus();
    // The main window's X id (0 when not found) and a left click at a place on it.
    unsigned long mainWindow() const;
    bool clickMainWindow(int x, int y) const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QDBusConnection m_bus;
    QString m_error;
};

// A program the benchmark runs beside the player (mpv, qmmp), ended when destroyed.
class Peer
{
public:
    Peer(const QString &program, const QStringList &args, const QString &workDir = QString());
    ~Peer();
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    pid_t pid() const { return pid_t(m_process.processId()); }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

} // namespace benchrig
