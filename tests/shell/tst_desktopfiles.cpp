// Files opened from the desktop: the command line's files, and one player per
// library taking the files of a later start over a bus of the test's own.
#include "shell/commandlinefiles.h"
#include "shell/instancechannel.h"
#include "support/privatebus.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>

using namespace kivo;
using namespace Qt::Literals::StringLiterals;

class DesktopFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandLineFiles()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"歌"_s));
        for (const QString &name : {u"a.mp3"_s, u"歌/b c.flac"_s}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString a = dir.filePath(u"a.mp3"_s), b = dir.filePath(u"歌/b c.flac"_s);
        QTest::ignoreMessage(QtWarningMsg, "not opened, no such file: gone.mp3");
        QTest::ignoreMessage(QtWarningMsg, "not opened, no such file: 歌");
        QTest::ignoreMessage(QtWarningMsg, "not opened, not a local file: file://host/x.mp3");
        // Relative, a file:// address (percent-encoded), missing, a folder, a remote file: address.
        const QStringList arguments {u"a.mp3"_s, QUrl::fromLocalFile(b).toString(QUrl::FullyEncoded), u"gone.mp3"_s,
            u"歌"_s, u"file://host/x.mp3"_s, u"./歌/../a.mp3"_s};
        QCOMPARE(localFilesFromArguments(arguments, dir.path()), (QStringList {a, b, a}));
    }

    void laterStartHandsItsFilesOver()
    {
        test::PrivateBus bus;
        if (!bus.isRunning())
            QSKIP("dbus-daemon is not available");
        QTemporaryDir dir;
        const QString library = dir.filePath(u"kx.dat"_s);
        InstanceChannel running(library, bus.connect(u"running"_s));
        InstanceChannel later(dir.path() + u"/./kx.dat"_s, bus.connect(u"later"_s));
        QCOMPARE(later.serviceName(), running.serviceName()); // the same library, however spelt
        QVERIFY(InstanceChannel(dir.filePath(u"other.dat"_s), QDBusConnection(u"later"_s)).serviceName()
            != running.serviceName());

        QCOMPARE(later.handOver({u"/m/a.mp3"_s}, 500), InstanceChannel::Handover::NoneRunning);
        QVERIFY(running.listen());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^another process holds org.kivo.kivoplay.L"_s));
        QVERIFY(!later.listen()); // the name is taken
        // Asked before the player's parts are built: kept for them, not lost.
        running.Open({u"/m/early.mp3"_s});
        QCOMPARE(running.takeEarlyRequests(), (QList<QStringList> {{u"/m/early.mp3"_s}}));
        QSignalSpy files(&running, &InstanceChannel::filesOpened);
        QSignalSpy raised(&running, &InstanceChannel::raiseRequested);
        // The running player is in this thread, which the blocking call holds: it cannot
        // answer, as a hung player would not, and the later start carries on.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^the running player did not take the files"_s));
        QCOMPARE(later.handOver({u"/m/a.mp3"_s}, 300), InstanceChannel::Handover::NoAnswer);
        QTest::qWait(200); // the late call arrives after all
        files.clear();

        // Answering from another thread, it takes them.
        QThread thread;
        running.moveToThread(&thread);
        thread.start();
        QCOMPARE(later.handOver({u"/m/a.mp3"_s, u"/m/b.mp3"_s}), InstanceChannel::Handover::Delivered);
        QCOMPARE(later.handOver({}), InstanceChannel::Handover::Delivered);
        QThread *home = this->thread();
        QMetaObject::invokeMethod(
            &running, [&] { running.moveToThread(home); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
        QTRY_COMPARE(files.size(), 1);
        QCOMPARE(files.first().first().toStringList(), (QStringList {u"/m/a.mp3"_s, u"/m/b.mp3"_s}));
        QCOMPARE(raised.size(), 1);
    }
};

QTEST_GUILESS_MAIN(DesktopFilesTest)
#include "tst_desktopfiles.moc"
