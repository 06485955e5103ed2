// The tray icon on a real X display with and without a tray host.
#include "shell/ui/mainwindow.h"
#include "shell/ui/trayicon.h"

#include <QAbstractButton>
#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>

using namespace kivo;

class TrayTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb"_qs)
            QSKIP("needs an X display");
        if (QStandardPaths::findExecutable(u"trayer"_qs).isEmpty())
            QSKIP("needs the trayer tray host");
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
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.trayIcon()->available());
        QCOMPARE(TrayIcon::tip(), u"Ruvo音乐播放器"_qs);

        window.button(PlayerCommand::HideToTray)->click();
        QTRY_VERIFY(!window.isVisible());
        Q_EMIT window.trayIcon()->leftClicked();
        QTRY_VERIFY(window.isVisible());

        // Mini mode stands in until the mini player exists; a tray click brings the player back.
        window.button(PlayerCommand::MiniMode)->click();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isMainPlayerVisible());
        Q_EMIT window.trayIcon()->leftClicked();
        QTRY_VERIFY(window.isVisible());
        QVERIFY(window.isMainPlayerVisible());

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
