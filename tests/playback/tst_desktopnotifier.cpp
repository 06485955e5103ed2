// Song notifications sent to a stand-in for the desktop's notification service.
#include "playback/desktopnotifier.h"
#include "support/privatebus.h"

#include <QDBusConnection>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;
using namespace Qt::Literals::StringLiterals;
using kivo::test::FakeNotifications;

class DesktopNotifierTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachNotificationReplacesTheOneBefore()
    {
        test::PrivateBus bus;
        if (!bus.isRunning())
            QSKIP("dbus-daemon is not available");
        FakeNotifications service;
        QDBusConnection desktop = bus.connect(u"desktop"_s);
        QVERIFY(desktop.registerObject(
            u"/org/freedesktop/Notifications"_s, &service, QDBusConnection::ExportScriptableSlots));
        QVERIFY(desktop.registerService(u"org.freedesktop.Notifications"_s));

        DesktopNotifier notifier(bus.connect(u"player"_s));
        QSignalSpy answered(&notifier, &DesktopNotifier::answered);
        notifier.notify(u"海风"_s, u"林海风"_s);
        QVERIFY(answered.wait(5000));
        QCOMPARE(service.shown.size(), 1);
        QCOMPARE(service.shown[0].replaces, 0u);
        QCOMPARE(service.shown[0].summary, u"海风"_s);
        QCOMPARE(service.shown[0].body, u"林海风"_s);
        // Three songs in quick succession: the later ones wait for the id to replace,
        // and only the last of those waiting is shown.
        notifier.notify(u"a"_s, QString());
        notifier.notify(u"b"_s, QString());
        notifier.notify(u"c"_s, QString());
        QTRY_COMPARE_WITH_TIMEOUT(answered.size(), 3, 5000);
        QCOMPARE(service.shown.size(), 3);
        QCOMPARE(service.shown[1].replaces, 41u);
        QCOMPARE(service.shown[2].replaces, 41u);
        QCOMPARE(service.shown[2].summary, u"c"_s);
    }

    void noServiceIsLoggedOnce()
    {
        test::PrivateBus bus;
        if (!bus.isRunning())
            QSKIP("dbus-daemon is not available");
        DesktopNotifier notifier(bus.connect(u"player"_s));
        QSignalSpy answered(&notifier, &DesktopNotifier::answered);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^the desktop shows no notifications:"_s));
        notifier.notify(u"a"_s, QString());
        notifier.notify(u"b"_s, QString());
        QTRY_COMPARE_WITH_TIMEOUT(answered.size(), 2, 5000);
        QCOMPARE(notifier.shownId(), 0u);
    }
};

QTEST_GUILESS_MAIN(DesktopNotifierTest)
#include "tst_desktopnotifier.moc"
