// The tray icon on a real X display with and without a tray host, clicked where the
// user clicks it, and MPRIS "Raise" on a private session bus.
#include "playback/mprisservice.h"
#include "playback/playbacksession.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/trayicon.h"
#include "skin/skinbutton.h"
#include "support/testpaths.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>

using namespace kivo;

namespace {

// The window the tray shows the icon in.
QWidget *iconWindow(const TrayIcon *tray)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (tray->isIconWindow(w))
            return w;
    return nullptr;
}

// A real left click at the icon's place on the screen.
bool clickOn(QWidget *w)
{
    QProcess geometry;
    geometry.start(u"xdotool"_qs, {u"getwindowgeometry"_qs, u"--shell"_qs, QString::number(w->winId())});
    if (!geometry.waitForFinished(5000))
        return false;
    QHash<QString, int> g;
    for (const QByteArray &line : geometry.readAllStandardOutput().split('\n'))
        if (const qsizetype eq = line.indexOf('='); eq > 0)
            g.insert(QString::fromLatin1(line.left(eq)), line.mid(eq + 1).toInt());
    const QString x = QString::number(g.value(u"X"_qs) + g.value(u"WIDTH"_qs) / 2);
    const QString y = QString::number(g.value(u"Y"_qs) + g.value(u"HEIGHT"_qs) / 2);
    return QProcess::execute(u"xdotool"_qs, {u"mousemove"_qs, x, y, u"click"_qs, u"1"_qs}) == 0;
}

} // namespace

class TrayTest : public QObject
{
    Q_OBJECT
    QProcess m_bus;
    QString m_busAddress;

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb"_qs)
            QSKIP("needs an X display");
        if (QStandardPaths::findExecutable(u"trayer"_qs).isEmpty()
            || QStandardPaths::findExecutable(u"xdotool"_qs).isEmpty())
            QSKIP("needs the trayer tray host and xdotool");
        // MPRIS goes to a private session bus, started here and ended with the test.
        m_bus.start(u"dbus-daemon"_qs, {u"--session"_qs, u"--print-address"_qs, u"--nofork"_qs});
        if (m_bus.waitForStarted(5000) && m_bus.waitForReadyRead(5000)) {
            m_busAddress = QString::fromLatin1(m_bus.readLine()).trimmed();
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress.toUtf8());
        }
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(u"client"_qs);
        m_bus.terminate();
        m_bus.waitForFinished(3000);
    }

    void hidesToTheTrayAndComesBack()
    {
        QProcess trayer;
        trayer.start(u"trayer"_qs,
            {u"--edge"_qs, u"top"_qs, u"--widthtype"_qs, u"pixel"_qs, u"--width"_qs, u"120"_qs, u"--height"_qs,
                u"24"_qs});
        QVERIFY(trayer.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 5000);

        MainWindow window(MainWindowContext {});
        PlaybackViewsOptions options;
        options.engineOptions = {u"ao=null"_qs, u"vo=null"_qs};
        options.engineModuleDir = test::buildDir() + u"/lib"_qs;
        options.loadEngineAfterStartup = false;
        auto *views = new PlaybackViews(&window, options);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.firstFrameShown()); // the icon is registered after it
        QVERIFY(window.trayIcon()->available());
        QCOMPARE(TrayIcon::tip(), u"Ruvo音乐播放器"_qs);
        QWidget *icon = iconWindow(window.trayIcon());
        QVERIFY(icon);
        QTRY_VERIFY(icon->isVisible());

        // Hidden to the tray, the icon stays, and a click on it brings the player back.
        window.button(PlayerCommand::HideToTray)->click();
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(icon->isVisible());
        QVERIFY(clickOn(icon));
        QTRY_VERIFY(window.isVisible());

        // In mini mode the click brings back the mini player.
        window.button(PlayerCommand::MiniMode)->click();
        QTRY_VERIFY(views->miniPlayer()->isVisible());
        views->miniPlayer()->button(PlayerCommand::HideToTray)->click();
        QTRY_VERIFY(!views->miniPlayer()->isVisible());
        QVERIFY(clickOn(icon));
        QTRY_VERIFY(views->miniPlayer()->isVisible());
        QVERIFY(!window.isVisible());
        views->miniPlayer()->backButton()->click();
        QVERIFY(window.isVisible());

        // MPRIS "Raise" shows the hidden player too.
        if (!m_busAddress.isEmpty()) {
            QVERIFY(views->loadEngine());
            QVERIFY(views->session()->mpris());
            window.button(PlayerCommand::HideToTray)->click();
            QTRY_VERIFY(!window.isVisible());
            const QDBusMessage raise = QDBusMessage::createMethodCall(
                MprisService::serviceName(), u"/org/mpris/MediaPlayer2"_qs, u"org.mpris.MediaPlayer2"_qs, u"Raise"_qs);
            QDBusPendingCall call = QDBusConnection::connectToBus(m_busAddress, u"client"_qs).asyncCall(raise, 5000);
            QTRY_VERIFY_WITH_TIMEOUT(call.isFinished(), 5000);
            QCOMPARE(call.reply().type(), QDBusMessage::ReplyMessage);
            QTRY_VERIFY(window.isVisible());
        }

        trayer.terminate();
        trayer.waitForFinished(5000);
    }

    void withoutATrayHidingMinimises()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!QSystemTrayIcon::isSystemTrayAvailable(), 5000);
        MainWindow window(MainWindowContext {});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.trayIcon()->available()); // the window loads all the same
        window.button(PlayerCommand::HideToTray)->click();
        QTRY_VERIFY(window.isMinimized());
        QVERIFY(window.isVisible()); // still reachable from the task bar
    }
};

int main(int argc, char *argv[])
{
    // This test needs the real window system, not the offscreen default of the suite.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TrayTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_tray.moc"
