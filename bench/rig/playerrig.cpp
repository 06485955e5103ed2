#include "rig/playerrig.h"

#include "library/librarydatabase.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <time.h>

using namespace Qt::Literals::StringLiterals;

namespace benchrig {

namespace {

struct Playlist
{
    QDBusObjectPath id;
    QString name;
    QString icon;
};

QDBusArgument &operator<<(QDBusArgument &a, const Playlist &p)
{
    a.beginStructure();
    a << p.id << p.name << p.icon;
    a.endStructure();
    return a;
}

const QDBusArgument &operator>>(const QDBusArgument &a, Playlist &p)
{
    a.beginStructure();
    a >> p.id >> p.name >> p.icon;
    a.endStructure();
    return a;
}

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.kivoplay");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kBenchPlaylist = QStringLiteral("基准");

bool runFfmpeg(const QStringList &args)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-y"_s} + args);
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitCode() == 0;
}

void endsWithParent(QProcess &p)
{
    p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

void stop(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(2000);
    }
}

QString xdotool(const QStringList &args)
{
    QProcess x;
    x.start(QStringLiteral("xdotool"), args);
    x.waitForFinished(5000);
    return QString::fromLocal8Bit(x.readAllStandardOutput());
}

} // namespace

QString buildDir()
{
    return QStringLiteral(KIVO_BUILD_DIR);
}

double now()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void sleepSeconds(double seconds)
{
    QThread::usleep(static_cast<unsigned long>(seconds * 1e6));
}

QString makeSong(const QString &dir, int seconds, bool withLyrics)
{
    const QString path = dir + QStringLiteral("/基准歌曲.mp3");
    if (!runFfmpeg({u"-f"_s, u"lavfi"_s, u"-i"_s, QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
            u"-ac"_s, u"2"_s, u"-ar"_s, u"44100"_s, u"-b:a"_s, u"192k"_s, path}))
        return {};
    if (withLyrics) {
        QFile lrc(dir + QStringLiteral("/基准歌曲.lrc"));
        if (!lrc.open(QIODevice::WriteOnly))
            return {};
        QByteArray text = "[ti:基准歌曲]\n";
        for (int s = 0; s < seconds; s += 3)
            text += QStringLiteral("[%1:%2.00]第%3句歌词，一直唱到这一句的最后一个字\n")
                        .arg(s / 60, 2, 10, QLatin1Char('0'))
                        .arg(s % 60, 2, 10, QLatin1Char('0'))
                        .arg(s / 3 + 1)
                        .toUtf8();
        lrc.write(text);
    }
    return path;
}

QString makeVideo(const QString &dir, int seconds)
{
    const QString path = dir + QStringLiteral("/基准视频.mp4");
    if (!runFfmpeg({u"-f"_s, u"lavfi"_s, u"-i"_s,
            QStringLiteral("testsrc2=size=1280x720:rate=30:duration=%1").arg(seconds), u"-f"_s, u"lavfi"_s, u"-i"_s,
            QStringLiteral("sine=frequency=330:duration=%1").arg(seconds), u"-c:v"_s, u"libx264"_s, u"-preset"_s,
            u"veryfast"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a"_s, u"aac"_s, u"-shortest"_s, path}))
        return {};
    return path;
}

SessionBus::SessionBus()
{
    endsWithParent(m_daemon);
    m_daemon.start(QStringLiteral("dbus-daemon"), {u"--session"_s, u"--print-address"_s, u"--nofork"_s});
    if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
        m_address = QString::fromLatin1(m_daemon.readLine()).trimmed();
}

SessionBus::~SessionBus()
{
    stop(m_daemon);
}

DemoServer::DemoServer()
{
    endsWithParent(m_server);
    m_server.start(buildDir() + QStringLiteral("/tools/kivodemo"),
        {u"--port"_s, u"0"_s, u"--media"_s, buildDir() + QStringLiteral("/demo-media"), u"--standin-update"_s});
    static const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QDeadlineTimer deadline(10000);
    QByteArray out;
    while (!deadline.hasExpired() && m_server.waitForReadyRead(int(deadline.remainingTime()))) {
        out += m_server.readAllStandardOutput();
        const auto m = listening.match(QString::fromUtf8(out));
        if (m.hasMatch()) {
            m_port = m.captured(1).toInt();
            break;
        }
    }
    m_server.setStandardOutputFile(QProcess::nullDevice());
}

DemoServer::~DemoServer()
{
    stop(m_server);
}

Player::Player(
    const QString &serverBaseUrl, const QString &songPath, const SessionBus &bus, const QProcessEnvironment &extra)
    : m_bus(QDBusConnection::connectToBus(bus.address(), QStringLiteral("bench")))
{
    qDBusRegisterMetaType<Playlist>();
    qDBusRegisterMetaType<QList<Playlist>>();
    const QString root = m_dir.path();
    // bin/ holds the copied player; ../lib is where it looks for its two modules.
    QDir().mkpath(root + QStringLiteral("/bin/data"));
    QDir().mkpath(root + QStringLiteral("/home"));
    QFile::link(buildDir() + QStringLiteral("/lib"), root + QStringLiteral("/lib"));
    const QString bin = root + QStringLiteral("/bin");
    if (!QFile::copy(buildDir() + QStringLiteral("/bin/kivoplay"), bin + QStringLiteral("/kivoplay"))) {
        m_error = QStringLiteral("cannot copy the player");
        return;
    }
    QFile ini(bin + QStringLiteral("/kivoplay.ini"));
    ini.open(QIODevice::WriteOnly);
    const QByteArray base = serverBaseUrl.toUtf8();
    ini.write(
        "[install]\nServerBaseUrl=" + base + "\nDownloadPageUrl=" + base + "down.asp\nUpdateServerUrl=" + base + "\n");
    ini.close();
    const QString library = bin + QStringLiteral("/data/kx.dat");
    if (kivo::LibraryDatabase::create(library).status != kivo::LibraryCreateOutcome::Status::Created) {
        m_error = QStringLiteral("cannot make the library");
        return;
    }
    {
        kivo::LibraryDatabase db;
        if (!db.open(library).ok()) {
            m_error = QStringLiteral("cannot open the library");
            return;
        }
        const int playlist = db.addPlaylist(kBenchPlaylist).id;
        if (!songPath.isEmpty())
            db.addSongToPlaylist(playlist, {QStringLiteral("基准歌曲"), songPath, {}, 0, 0});
        db.release();
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/home/.config"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    for (const QString &key : extra.keys())
        env.insert(key, extra.value(key));
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(bin);
    m_process.setStandardOutputFile(root + QStringLiteral("/player.log"));
    m_process.setStandardErrorFile(root + QStringLiteral("/player.log"), QIODevice::Append);
    endsWithParent(m_process);
    m_process.start(bin + QStringLiteral("/kivoplay"), {});
    if (!m_process.waitForStarted(5000))
        m_error = QStringLiteral("the player did not start");
}

Player::~Player()
{
    m_bus.disconnectFromBus(QStringLiteral("bench"));
    stop(m_process);
}

bool Player::waitForMpris(double timeoutSeconds)
{
    const double end = now() + timeoutSeconds;
    QDBusInterface dbus(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), m_bus);
    while (now() < end && isRunning()) {
        const QDBusReply<bool> has = dbus.call(QStringLiteral("NameHasOwner"), kService);
        if (has.isValid() && has.value())
            return true;
        sleepSeconds(0.1);
    }
    m_error = QStringLiteral("the player did not appear on the session bus (running %1, exit %2)")
                  .arg(isRunning())
                  .arg(m_process.exitCode());
    QFile log(m_dir.path() + QStringLiteral("/player.log"));
    if (log.open(QIODevice::ReadOnly))
        m_error += QStringLiteral("; its log ends:\n") + QString::fromUtf8(log.readAll().right(2000));
    return false;
}

bool Player::playBenchPlaylist(double timeoutSeconds)
{
    QDBusInterface playlists(kService, kPath, QStringLiteral("org.mpris.MediaPlayer2.Playlists"), m_bus);
    const QDBusMessage listed
        = playlists.call(QStringLiteral("GetPlaylists"), 0u, 100u, QStringLiteral("CreationDate"), false);
    const auto all = qdbus_cast<QList<Playlist>>(listed.arguments().value(0));
    for (const Playlist &p : all) {
        if (p.name != kBenchPlaylist)
            continue;
        playlists.call(QStringLiteral("ActivatePlaylist"), QVariant::fromValue(p.id));
        const double end = now() + timeoutSeconds;
        while (now() < end) {
            if (playbackStatus() == QStringLiteral("Playing"))
                return true;
            sleepSeconds(0.1);
        }
        m_error = QStringLiteral("the bench playlist did not start playing");
        return false;
    }
    m_error = QStringLiteral("the player lists no bench playlist");
    return false;
}

bool Player::pause()
{
    QDBusInterface player(kService, kPath, QStringLiteral("org.mpris.MediaPlayer2.Player"), m_bus);
    player.call(QStringLiteral("Pause"));
    for (int i = 0; i < 50; ++i) {
        if (playbackStatus() == QStringLiteral("Paused"))
            return true;
        sleepSeconds(0.1);
    }
    return false;
}

QString Player::playbackStatus()
{
    QDBusInterface player(kService, kPath, QStringLiteral("org.mpris.MediaPlayer2.Player"), m_bus);
    return player.property("PlaybackStatus").toString();
}

unsigned long Player::mainWindow() const
{
    const QStringList ids
        = xdotool({u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(pid()), u"--name"_s, u"."_s})
              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const QString geometry = xdotool({u"getwindowgeometry"_s, id});
        if (geometry.contains(QStringLiteral("610x450")))
            return id.toULong();
    }
    return 0;
}

bool Player::clickMainWindow(int x, int y) const
{
    const unsigned long w = mainWindow();
    if (!w)
        return false;
    xdotool({u"mousemove"_s, u"--window"_s, QString::number(w), QString::number(x), QString::number(y), u"click"_s,
        u"1"_s});
    return true;
}

Peer::Peer(const QString &program, const QStringList &args, const QString &workDir)
{
    endsWithParent(m_process);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    if (!workDir.isEmpty())
        m_process.setWorkingDirectory(workDir);
    m_process.start(program, args);
    m_process.waitForStarted(5000);
}

Peer::~Peer()
{
    stop(m_process);
}

} // namespace benchrig
