#include "playbackrig.h"

#include "playback/mprisservice.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Calls without blocking: the player answers from this same thread's event loop.
QDBusMessage callOnBus(const QString &interface, const QString &method, const QVariantList &args = {})
{
    QDBusMessage message
        = QDBusMessage::createMethodCall(MprisService::serviceName(), u"/org/mpris/MediaPlayer2"_s, interface, method);
    message.setArguments(args);
    QDBusPendingCall call = QDBusConnection(u"client"_s).asyncCall(message, 5000);
    for (int i = 0; i < 500 && !call.isFinished(); ++i)
        QTest::qWait(10);
    return call.isFinished() ? call.reply() : QDBusMessage();
}

} // namespace

// Runs against a private session bus that the test starts and ends.
class MprisTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void transportGoesThroughButtons_data();
    void transportGoesThroughButtons();
    void propertiesFollowThePlayer();
    void storedPlaylistsAreListedAndStarted();

private:
    QVariant property(const QString &name);
    QProcess m_daemon;
    QString m_address;
};

void MprisTest::initTestCase()
{
    m_daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--print-address"_s, u"--nofork"_s});
    if (!m_daemon.waitForStarted(5000))
        QSKIP("dbus-daemon is not available");
    QVERIFY(m_daemon.waitForReadyRead(5000));
    m_address = QString::fromLatin1(m_daemon.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
}

void MprisTest::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(u"player"_s);
    QDBusConnection::disconnectFromBus(u"client"_s);
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(3000))
        m_daemon.kill();
}

QVariant MprisTest::property(const QString &name)
{
    const QDBusMessage reply
        = callOnBus(u"org.freedesktop.DBus.Properties"_s, u"Get"_s, {u"org.mpris.MediaPlayer2.Player"_s, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QVariant();
    return reply.arguments().first().value<QDBusVariant>().variant();
}

void MprisTest::transportGoesThroughButtons_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("status"); // PlaybackStatus afterwards
    QTest::addColumn<QString>("started"); // song handed over last
    QTest::newRow("next") << u"Next"_s << u"Playing"_s << u"s2"_s;
    QTest::newRow("previous") << u"Previous"_s << u"Playing"_s << u"s0"_s;
    QTest::newRow("pause") << u"Pause"_s << u"Paused"_s << u"s1"_s;
    QTest::newRow("play-pause") << u"PlayPause"_s << u"Paused"_s << u"s1"_s;
    QTest::newRow("play while playing") << u"Play"_s << u"Playing"_s << u"s1"_s;
    QTest::newRow("stop") << u"Stop"_s << u"Stopped"_s << u"s1"_s;
}

void MprisTest::transportGoesThroughButtons()
{
    QFETCH(QString, method);
    QFETCH(QString, status);
    QFETCH(QString, started);
    QDBusConnection playerBus = QDBusConnection::connectToBus(m_address, u"player"_s);
    QDBusConnection clientBus = QDBusConnection::connectToBus(m_address, u"client"_s);
    QVERIFY(playerBus.isConnected());
    PlaybackRig rig;
    rig.fill(3);
    MprisService service(&rig.control, &rig.player, &rig.commands);
    QVERIFY(service.registerOn(playerBus));
    rig.player.PlayEntry(1, false);
    rig.playCurrent();
    QCOMPARE(property(u"PlaybackStatus"_s).toString(), u"Playing"_s);

    QVERIFY(clientBus.isConnected());
    const QDBusMessage reply = callOnBus(u"org.mpris.MediaPlayer2.Player"_s, method);
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(rig.lastStarted(), started);
    if (method == u"Next"_s || method == u"Previous"_s)
        rig.playCurrent();
    QCOMPARE(property(u"PlaybackStatus"_s).toString(), status);
}

void MprisTest::propertiesFollowThePlayer()
{
    QDBusConnection playerBus = QDBusConnection::connectToBus(m_address, u"player"_s);
    PlaybackRig rig;
    rig.fill(2);
    MprisService service(&rig.control, &rig.player, &rig.commands);
    QVERIFY(service.registerOn(playerBus));
    QCOMPARE(property(u"PlaybackStatus"_s).toString(), u"Stopped"_s);

    rig.engine.setDuration(200.5);
    rig.engine.setPosition(12.25);
    rig.player.PlayEntry(1, false);
    rig.playCurrent();
    const QVariantMap meta = qdbus_cast<QVariantMap>(property(u"Metadata"_s));
    QCOMPARE(meta.value(u"xesam:title"_s).toString(), u"s1"_s);
    QCOMPARE(meta.value(u"mpris:length"_s).toLongLong(), 200500000LL);
    QCOMPARE(property(u"Position"_s).toLongLong(), 12250000LL);

    callOnBus(u"org.freedesktop.DBus.Properties"_s, u"Set"_s,
        {u"org.mpris.MediaPlayer2.Player"_s, u"Volume"_s, QVariant::fromValue(QDBusVariant(0.4))});
    QCOMPARE(rig.engine.volume(), 40);
    QCOMPARE(property(u"Volume"_s).toDouble(), 0.4);

    // A second player cannot take the name.
    MprisService second(&rig.control, &rig.player, &rig.commands);
    QVERIFY(!second.registerOn(QDBusConnection::connectToBus(m_address, u"second"_s)));
    QDBusConnection::disconnectFromBus(u"second"_s);
}

void MprisTest::storedPlaylistsAreListedAndStarted()
{
    QDBusConnection playerBus = QDBusConnection::connectToBus(m_address, u"player"_s);
    PlaybackRig rig;
    rig.library.named = {{4, u"旧歌"_s}, {9, u"新歌"_s}};
    rig.library.playlists[9] = {{31, u"p1"_s, u"http://h/p1.mp3"_s, {}}, {32, u"p2"_s, u"http://h/p2.mp3"_s, {}}};
    MprisService service(&rig.control, &rig.player, &rig.commands);
    QVERIFY(service.registerOn(playerBus));

    const QDBusMessage listed
        = callOnBus(u"org.mpris.MediaPlayer2.Playlists"_s, u"GetPlaylists"_s, {0u, 10u, u"CreationDate"_s, true});
    QCOMPARE(listed.type(), QDBusMessage::ReplyMessage);
    const auto playlists = qdbus_cast<QList<MprisPlaylist>>(listed.arguments().value(0));
    QCOMPARE(playlists.size(), 2);
    QCOMPARE(playlists.at(0).name, u"新歌"_s); // newest first when reversed

    callOnBus(u"org.mpris.MediaPlayer2.Playlists"_s, u"ActivatePlaylist"_s, {QVariant::fromValue(playlists.at(0).id)});
    QCOMPARE(rig.lastStarted(), u"p1"_s);
    const QDBusMessage unknown = callOnBus(u"org.mpris.MediaPlayer2.Playlists"_s, u"ActivatePlaylist"_s,
        {QVariant::fromValue(QDBusObjectPath(u"/org/kivo/playlist/77"_s))});
    QCOMPARE(unknown.type(), QDBusMessage::ReplyMessage);
    QCOMPARE(rig.lastStarted(), u"p1"_s);
}

QTEST_GUILESS_MAIN(MprisTest)
#include "moc_playbackrig.cpp"
#include "tst_mpris.moc"
