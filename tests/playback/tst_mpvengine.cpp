#include "playbackrig.h"

#include "playback/mediaengineloader.h"
#include "playback/ui/videodisplay.h"
#include "support/testpaths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <thread>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Serves one file for every request, on 127.0.0.1.
class FileServer : public QTcpServer
{
public:
    explicit FileServer(const QByteArray &body)
        : m_body(body)
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n"))
                        return;
                    m_request.clear();
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\nConnection: close\r\n"
                                  "Content-Length: "
                        + QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

private:
    QByteArray m_body;
    QByteArray m_request;
};

bool runFfmpeg(const QStringList &args)
{
    QProcess ffmpeg;
    ffmpeg.start(u"ffmpeg"_s, QStringList {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-y"_s} + args);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0;
}

QString makeSong(const QString &dir, double seconds)
{
    const QString path = dir + u"/tone.mp3"_s;
    QProcess ffmpeg;
    ffmpeg.start(u"ffmpeg"_s,
        {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
            u"sine=frequency=440:duration=%1"_s.arg(seconds), u"-ac"_s, u"1"_s, u"-ar"_s, u"22050"_s, u"-y"_s, path});
    if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0)
        return QString();
    return path;
}

} // namespace

class MpvEngineTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void deadCandidateFallsBackToNext();
    void localFilePauseResumeStop();
    void stalledThreadStillEndsOnPlaying();
    void videoIsDrawnAndCoverArtIsNot();

private:
    std::unique_ptr<MediaEngine> makeEngine();
    QTemporaryDir m_dir;
    QString m_song;
};

void MpvEngineTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_song = makeSong(m_dir.path(), 1.5);
    if (m_song.isEmpty())
        QSKIP("ffmpeg could not make a test song");
}

std::unique_ptr<MediaEngine> MpvEngineTest::makeEngine()
{
    QString error;
    std::unique_ptr<MediaEngine> engine(
        loadMediaEngine(nullptr, {u"ao=null"_s, u"vo=null"_s, u"network-timeout=5"_s}, buildDir() + u"/lib"_s, &error));
    if (!engine)
        qWarning() << "engine:" << error;
    return engine;
}

void MpvEngineTest::deadCandidateFallsBackToNext()
{
    auto engine = makeEngine();
    QVERIFY(engine);
    QFile file(m_song);
    QVERIFY(file.open(QIODevice::ReadOnly));
    FileServer good(file.readAll());
    QVERIFY(good.listen(QHostAddress::LocalHost));
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 deadPort = closed.serverPort();
    closed.close();

    FakeServer server;
    FakeLibrary library;
    RecordingLyrics lyrics;
    PlayQueue queue;
    SongSourceResolver resolver(&queue, &server, &library);
    QueuePlayer player(&queue, engine.get(), &resolver, &lyrics, &library);
    PlayerControl control(&player, &library);
    const QString dead = u"http://127.0.0.1:%1/dead.mp3"_s.arg(deadPort);
    const QString alive = u"http://127.0.0.1:%1/song.mp3"_s.arg(good.serverPort());
    server.payloads[u"word=w"_s] = u"lead<br>"_s + dead + u"<br>"_s + alive + u"<br>"_s;

    QStringList events;
    connect(engine.get(), &MediaEngine::playStateChanged, this,
        [&](PlayState s, LoadId load) { events << u"%1@%2"_s.arg(int(s)).arg(load); });
    connect(engine.get(), &MediaEngine::errorOccurred, this,
        [&](LoadId load, const QString &) { events << u"error@%1"_s.arg(load); });

    player.PlaySongRow(pageRow(u"测试曲"_s, u"8||||||s|||w|||3"_s));
    QTRY_VERIFY_WITH_TIMEOUT(events.contains(u"3@2"_s), 20000);
    QCOMPARE(control.statusText(), u"测试曲"_s);
    QCOMPARE(queue.at(0).locator, alive);
    QCOMPARE(engine->mediaKind(), MediaKind::Audio);
    QVERIFY(engine->duration() > 1.0);
    QCOMPARE(server.requestsContaining(u"kxrjurl.asp?listid=-1&lx=wj"_s).size(), 1);

    // The song ends by itself: mode 0 stops the player.
    QTRY_VERIFY_WITH_TIMEOUT(events.contains(u"1@2"_s), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(control.statusText(), PlayerControl::welcomeText(), 5000);
    QCOMPARE(events, (QStringList {u"9@1"_s, u"error@1"_s, u"9@2"_s, u"3@2"_s, u"1@2"_s}));
}

void MpvEngineTest::localFilePauseResumeStop()
{
    auto engine = makeEngine();
    QVERIFY(engine);
    QSignalSpy states(engine.get(), &MediaEngine::playStateChanged);
    engine->setUrl(m_song);
    engine->play();
    QTRY_VERIFY_WITH_TIMEOUT(engine->playState() == PlayState::Playing, 10000);
    // The position moves on smoothly between the null output's 50 ms steps and
    // never goes back, also across a fresh read from the engine.
    QList<double> readings;
    for (QElapsedTimer clock; readings.isEmpty() || !clock.hasExpired(600); QTest::qWait(5)) {
        if (readings.isEmpty())
            clock.start();
        readings << engine->position();
    }
    QVERIFY(std::is_sorted(readings.begin(), readings.end()));
    QVERIFY2(
        readings.last() - readings.first() > 0.45, qPrintable(QString::number(readings.last() - readings.first())));
    QVERIFY2(QSet<double>(readings.begin(), readings.end()).size() > readings.size() * 3 / 4,
        qPrintable(
            u"%1 distinct of %2"_s.arg(QSet<double>(readings.begin(), readings.end()).size()).arg(readings.size())));
    engine->pause();
    QTRY_VERIFY_WITH_TIMEOUT(engine->playState() == PlayState::Paused, 5000);
    const double pausedAt = engine->position();
    QTest::qWait(100);
    QCOMPARE(engine->position(), pausedAt);
    engine->play();
    QTRY_VERIFY_WITH_TIMEOUT(engine->playState() == PlayState::Playing, 5000);
    engine->stop();
    QTest::qWait(300);
    QList<int> seen;
    for (const auto &args : std::as_const(states))
        seen << int(args.at(0).value<PlayState>());
    // A stop we asked for does not say "the song ended".
    QCOMPARE(seen, (QList<int> {9, 3, 2, 3}));

    // A missing local file is an error of that load, and the report says why.
    QSignalSpy errors(engine.get(), &MediaEngine::errorOccurred);
    engine->setUrl(m_dir.path() + u"/missing.mp3"_s);
    engine->play();
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 10000);
    QCOMPARE(errors.first().first().value<LoadId>(), engine->currentLoad());
    const QString reason = errors.first().at(1).toString();
    QVERIFY2(reason.contains(u"loading failed"_s) && reason.contains(u"missing.mp3"_s), qPrintable(reason));
}

void MpvEngineTest::stalledThreadStillEndsOnPlaying()
{
    // One song replaces another while the window's thread is held up (a module loading,
    // a big page): the new load may have started before its "transitioning" report
    // comes through, which must then not be the last word on it.
    auto engine = makeEngine();
    QVERIFY(engine);
    engine->setUrl(m_song);
    engine->play();
    QTRY_VERIFY_WITH_TIMEOUT(engine->playState() == PlayState::Playing, 10000);
    QSignalSpy states(engine.get(), &MediaEngine::playStateChanged);
    engine->setUrl(m_song);
    engine->stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the engine's wake-up is queued
    engine->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(600)); // and the new song has started
    QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty(), 5000);
    QTest::qWait(100);
    QCOMPARE(states.last().at(0).value<PlayState>(), PlayState::Playing);
    QCOMPARE(engine->playState(), PlayState::Playing);
}

void MpvEngineTest::videoIsDrawnAndCoverArtIsNot()
{
    const QString video = m_dir.path() + u"/clip.mkv"_s;
    const QString cover = m_dir.path() + u"/cover.png"_s;
    const QString withCover = m_dir.path() + u"/cover.mp3"_s;
    QVERIFY(runFfmpeg({u"-f"_s, u"lavfi"_s, u"-i"_s, u"color=c=red:size=160x120:rate=25:duration=3"_s, u"-c:v"_s,
        u"mpeg4"_s, video}));
    QVERIFY(runFfmpeg({u"-f"_s, u"lavfi"_s, u"-i"_s, u"color=c=blue:size=64x64"_s, u"-frames:v"_s, u"1"_s, cover}));
    QVERIFY(runFfmpeg({u"-i"_s, m_song, u"-i"_s, cover, u"-map"_s, u"0"_s, u"-map"_s, u"1"_s, u"-c:a"_s, u"copy"_s,
        u"-disposition:v"_s, u"attached_pic"_s, withCover}));

    QString error;
    std::unique_ptr<MediaEngine> engine(loadMediaEngine(nullptr, {u"ao=null"_s}, buildDir() + u"/lib"_s, &error));
    QVERIFY2(engine, qPrintable(error));
    {
        QWidget window;
        window.resize(160, 120);
        auto *display = new VideoDisplay(engine.get(), &window);
        display->resize(160, 120);
        window.show();
        QVERIFY(display->surface());

        engine->setUrl(withCover);
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(engine->playState() == PlayState::Playing, 10000);
        QCOMPARE(engine->mediaKind(), MediaKind::Audio);

        engine->stop();
        engine->setUrl(video);
        engine->play();
        QTRY_VERIFY_WITH_TIMEOUT(engine->playState() == PlayState::Playing, 10000);
        QCOMPARE(engine->mediaKind(), MediaKind::Video);
        // The frame reaches the pane: mostly red in the middle.
        QTRY_VERIFY_WITH_TIMEOUT(display->surface()->grab().toImage().pixelColor(80, 60).red() > 200, 5000);
        engine->stop();
    }
    // The pane is gone first here; the engine then ends without aborting.
    engine.reset();

    // And the other way round: the engine ends while its pane still shows.
    std::unique_ptr<MediaEngine> second(loadMediaEngine(nullptr, {u"ao=null"_s}, buildDir() + u"/lib"_s));
    QVERIFY(second);
    QWidget window;
    auto *display = new VideoDisplay(second.get(), &window);
    window.show();
    second->setUrl(video);
    second->play();
    QTRY_VERIFY_WITH_TIMEOUT(second->playState() == PlayState::Playing, 10000);
    second.reset();
    QTest::mouseClick(display, Qt::LeftButton);
    display->surface()->grab();
}

QTEST_MAIN(MpvEngineTest)
#include "moc_playbackrig.cpp"
#include "tst_mpvengine.moc"
