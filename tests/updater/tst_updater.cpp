// The update program against the demo server: a successful update, stop and
// restart, downloads it refuses (each leaving the old player in place), and the
// texts and checks it is made of.

#include "support/demoserver.h"
#include "support/programfolder.h"
#include "updatefolder.h"
#include "updater/elfcheck.h"
#include "updater/progresstext.h"
#include "updater/updatecontroller.h"
#include "updater/updatewindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace kivo;
using kivo::test::DemoServer;

namespace {

// The update window as the user has it, with every message it showed.
struct UpdateRun
{
    explicit UpdateRun(const QString &programDir)
        : controller(UpdatePlan::forProgramDir(programDir))
        , window(&controller)
    {
        QObject::connect(
            &controller, &UpdateController::message, &window, [this](const UpdateMessage &m) { messages.append(m); });
        window.show();
        controller.windowShown();
    }
    QPushButton *button(const char *name) const { return window.findChild<QPushButton *>(QLatin1String(name)); }
    QString status() const { return window.findChild<QLabel *>(u"Label1"_qs)->text(); }
    // The text of the message box on screen, if one is.
    QString shownMessage() const
    {
        const auto *box = window.findChild<QMessageBox *>();
        return box && box->isVisible() ? box->text() : QString();
    }

    UpdateController controller;
    UpdateWindow window;
    QList<UpdateMessage> messages;
};

} // namespace

class UpdaterTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DemoServer> m_server;

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<DemoServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    }
    void init() { QVERIFY(m_server->reset()); }

    void progressTexts_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("percent"); // -1: none
        QTest::newRow("nothing yet") << 0ll << 2048000ll << u"字节/2,048,000字节"_qs << 0;
        QTest::newRow("part") << 1024ll << 2048000ll << u"1,024字节/2,048,000字节"_qs << 0;
        QTest::newRow("all") << 999999ll << 999999ll << u"999,999字节/999,999字节"_qs << 100;
        QTest::newRow("size unknown") << 512ll << 0ll << u"512字节/字节"_qs << -1;
        QTest::newRow("beyond 32 bits") << 3000000000ll << 6000000000ll << u"3,000,000,000字节/6,000,000,000字节"_qs
                                        << 50;
    }
    void progressTexts()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, size);
        QFETCH(QString, text);
        QFETCH(int, percent);
        QCOMPARE(progressText(received, size), text);
        QCOMPARE(progressPercent(received, size).value_or(-1), percent);
    }

    void programCheck_data()
    {
        const QByteArray standIn = UpdateFolder::bytesOf(UpdateFolder::standIn());
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("runs");
        QTest::newRow("the stand-in player") << standIn << true;
        QTest::newRow("this test program") << UpdateFolder::bytesOf(QCoreApplication::applicationFilePath()) << true;
        QTest::newRow("the stand-in cut in half") << standIn.left(standIn.size() / 2) << false;
        QTest::newRow("its first 64 bytes") << standIn.left(64) << false;
        QTest::newRow("a web page") << QByteArray("<html><body>服务器繁忙</body></html>") << false;
        QTest::newRow("a script") << QByteArray("#!/bin/sh\nexit 0\n") << false;
        QByteArray otherMachine = standIn;
        otherMachine[18] = char(otherMachine[18] ^ 0x01); // e_machine
        QTest::newRow("another machine") << otherMachine << false;
    }
    void programCheck()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, runs);
        QTemporaryDir dir;
        QFile f(dir.filePath(u"kivoplay.new"_qs));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        QString why;
        QCOMPARE(isProgramForThisMachine(f.fileName(), &why), runs);
        QCOMPARE(why.isEmpty(), runs);
    }

    void updatesThePlayer_data()
    {
        QTest::addColumn<bool>("playerRunning");
        QTest::newRow("player ended") << false;
        QTest::newRow("player still running") << true; // replacing a running program is safe here
    }
    void updatesThePlayer()
    {
        QFETCH(bool, playerRunning);
        UpdateFolder folder(m_server->baseUrl(), playerRunning ? u"/bin/sleep"_qs : u"/bin/true"_qs);
        QVERIFY(folder.isValid());
        QProcess running;
        if (playerRunning) {
            running.start(folder.player(), {u"30"_qs});
            QVERIFY(running.waitForStarted());
        }
        UpdateRun run(folder.path());
        QTRY_COMPARE_WITH_TIMEOUT(run.messages.size(), 1, 10000);
        QCOMPARE(run.messages[0].icon, UpdateMessage::Icon::Information);
        QCOMPARE(run.messages[0].caption, u"提示"_qs);
        QCOMPARE(run.shownMessage(), u"更新成功！返回退出。"_qs);
        QVERIFY(!run.button("Command1")->isEnabled());
        QVERIFY(run.button("Command2")->isEnabled());
        QCOMPARE(run.window.findChild<QProgressBar *>()->value(), 100);

        QCOMPARE(UpdateFolder::bytesOf(folder.player()), UpdateFolder::bytesOf(UpdateFolder::standIn()));
        QVERIFY(folder.playerStarts());
        QCOMPARE(UpdateFolder::bytesOf(folder.file(u"kivoplay.bak"_qs)), folder.oldPlayerBytes());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).filter(u".new"_qs), QStringList());
        if (playerRunning) {
            QCOMPARE(running.state(), QProcess::Running);
            running.kill();
            running.waitForFinished();
        }
    }

    // Against the demo's default update (the built player): the update succeeds, the
    // new player starts, and as the server names its own version again it stays.
    void updatesToThePlayerThatStays()
    {
        DemoServer demo({}, false);
        QVERIFY2(demo.isRunning(), qPrintable(demo.error()));
        QVERIFY(demo.setNoticeField(u"version"_qs, u"1.40"_qs));
        kivo::test::ProgramFolder folder(demo.baseUrl());
        QVERIFY(folder.isValid());
        QFile::remove(folder.path() + u"/kivoplay"_qs);
        QVERIFY(QFile::copy(u"/bin/true"_qs, folder.path() + u"/kivoplay"_qs)); // the old player
        {
            UpdateRun run(folder.path());
            QTRY_COMPARE_WITH_TIMEOUT(run.messages.size(), 1, 10000);
            QCOMPARE(run.shownMessage(), u"更新成功！返回退出。"_qs);
        }
        QVERIFY(UpdateFolder::bytesOf(folder.path() + u"/kivoplay"_qs)
            == UpdateFolder::bytesOf(kivo::test::programDir() + u"/kivoplay"_qs));

        folder.addFakeUpdater();
        demo.clearLog();
        QProcess player;
        folder.startPlayer(player);
        QVERIFY(player.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(demo.requestLog().contains(u"POST /dl.asp"_qs), 10000);
        QTest::qWait(1500);
        QCOMPARE(player.state(), QProcess::Running);
        QVERIFY(!folder.updaterWasStarted());
        player.kill();
        player.waitForFinished(5000);
    }

    void stopAndRestartFromByteZero()
    {
        UpdateFolder folder(m_server->baseUrl());
        QVERIFY(m_server->request("POST", "/__demo/update?rate=2000").status == 200); // about 10 s in all
        UpdateRun run(folder.path());
        QTRY_VERIFY_WITH_TIMEOUT(run.status().contains(u"字节/"_qs), 5000);
        QTest::mouseClick(run.button("Command1"), Qt::LeftButton);
        QVERIFY(!run.button("Command1")->isEnabled());
        QVERIFY(run.button("Command2")->isEnabled());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).filter(u".new"_qs), QStringList()); // no part kept
        QCOMPARE(UpdateFolder::bytesOf(folder.player()), folder.oldPlayerBytes());

        QVERIFY(m_server->request("POST", "/__demo/update?rate=0").status == 200);
        QTest::mouseClick(run.button("Command2"), Qt::LeftButton);
        QVERIFY(!run.button("Command2")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(run.messages.size(), 1, 10000);
        QCOMPARE(run.shownMessage(), u"更新成功！返回退出。"_qs);
        QCOMPARE(UpdateFolder::bytesOf(folder.player()), UpdateFolder::bytesOf(UpdateFolder::standIn()));
        QCOMPARE(m_server->requestLog().filter(u"kivoplay.exe"_qs).size(), 2);
    }

    void refusesBadUpdates_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("error");
        QTest::newRow("bad length") << u"truncate"_qs << u"无法连接服务器"_qs;
        QTest::newRow("not a program") << u"page"_qs << u"无法连接服务器"_qs;
        QTest::newRow("server error") << u"500"_qs << u"无法连接服务器"_qs;
        QTest::newRow("no update address") << u"no address"_qs << u"无法创建连接"_qs;
        QTest::newRow("player cannot be replaced")
            << u"player is a folder"_qs << u"文件{player}正在使用,无法进行操作"_qs;
    }
    void refusesBadUpdates()
    {
        QFETCH(QString, fault);
        QFETCH(QString, error);
        UpdateFolder folder(fault == u"no address" ? QString() : m_server->baseUrl());
        QVERIFY(folder.isValid());
        if (fault == u"player is a folder") {
            QVERIFY(QFile::remove(folder.player()) && QDir().mkpath(folder.player() + u"/data"_qs));
        } else if (fault != u"no address") {
            QVERIFY(m_server->setFault(u"/download/code/kivoplay.exe"_qs, fault));
        }
        UpdateRun run(folder.path());
        QTRY_COMPARE_WITH_TIMEOUT(run.messages.size(), 1, 10000);
        QTest::qWait(50); // no second message follows
        QCOMPARE(run.messages.size(), 1);
        QCOMPARE(run.messages[0].icon, UpdateMessage::Icon::Critical);
        QCOMPARE(run.messages[0].caption, u"错误"_qs);
        QCOMPARE(run.shownMessage(), error.replace(u"{player}"_qs, folder.player()));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).filter(u".new"_qs), QStringList());
        if (fault == u"player is a folder")
            QVERIFY(QFileInfo(folder.player() + u"/data"_qs).isDir());
        else
            QCOMPARE(UpdateFolder::bytesOf(folder.player()), folder.oldPlayerBytes());
    }
};

QTEST_MAIN(UpdaterTest)
#include "tst_updater.moc"
