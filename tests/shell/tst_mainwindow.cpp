#include "core/pageformats.h"
#include "online/serverclient.h"
#include "online/ui/cataloguetreeview.h"
#include "shell/qttranslations.h"
#include "shell/ui/busyoverlay.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "skin/skinbutton.h"
#include "support/cannedhttpserver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

// What the window holds when its first paint comes.
struct FirstPaintProbe : QObject
{
    explicit FirstPaintProbe(MainWindow *window)
        : m_window(window)
    {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !painted) {
            painted = true;
            overlayShown = m_window->busyOverlay()->isVisible();
            catalogueRows = m_window->online()->catalogueView()->model()->rowCount();
        }
        return false;
    }
    MainWindow *m_window;
    bool painted = false;
    bool overlayShown = false;
    int catalogueRows = -1;
};

class MainWindowTest : public QObject
{
    Q_OBJECT
    // A window of the test's own server, state and folder, with nothing else wired.
    MainWindowContext plainContext()
    {
        MainWindowContext ctx;
        ctx.programDir = dir.path();
        ctx.server = server.get();
        ctx.state = &state;
        return ctx;
    }

private Q_SLOTS:
    void init()
    {
        http = std::make_unique<test::CannedHttpServer>();
        QVERIFY(http->start());
        const QString payload = buildNoticePayload(
            {u"今日<b>推荐</b><img src=x>"_qs, u""_qs, u"javascript:alert(1)|||点我"_qs, u"20"_qs});
        http->setAnswer(
            u"/dl.asp"_qs, {200, HiddenDataPage::wrap(payload).toUtf8(), "text/html; charset=utf-8", false});
        server = std::make_unique<ServerClient>(&nam, http->baseUrl());
        state = ProgramState {};
        MainWindowContext ctx = plainContext();
        ctx.applyStoredConfig = [](const QDateTime &) { return 3; };
        window = std::make_unique<MainWindow>(ctx);
        window->show();
    }
    void cleanup() { window.reset(); }

    void startupShowsNoticeAsPlainTextAndLink()
    {
        QSignalSpy finished(window.get(), &MainWindow::startupSequenceFinished);
        QVERIFY(finished.wait(10000));
        auto *label1 = window->findChild<QLabel *>(u"Label1"_qs);
        QCOMPARE(label1->text(), u"今日<b>推荐</b><img src=x>"_qs);
        QCOMPARE(label1->textFormat(), Qt::PlainText);
        auto *label7 = window->findChild<QLabel *>(u"Label7"_qs);
        QCOMPARE(label7->text(), u"点我"_qs);
        QCOMPARE(label7->toolTip(), u"单击查看详细内容"_qs);
        QCOMPARE(state.maxQueuedDownloads, qint16(20));
        QCOMPARE(state.dailyDownloadCount, 3);
        QVERIFY(!window->busyOverlay()->isVisible());
        QVERIFY(window->startupFinished());
    }

    void buttonsShowHoverPicturesUntilTheBackgroundRestoresThem()
    {
        auto *next = qobject_cast<SkinButton *>(window->button(PlayerCommand::Next));
        auto *stop = qobject_cast<SkinButton *>(window->button(PlayerCommand::Stop));
        QVERIFY(next && stop);
        QTest::mouseMove(next, next->rect().center());
        QTRY_VERIFY(next->isHoverShown());
        next->showHoverImage();
        stop->showHoverImage();
        // A move over the window's own background puts every normal picture back.
        QMouseEvent move(QEvent::MouseMove, QPointF(300, 440), window->mapToGlobal(QPointF(300, 440)), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &move);
        QVERIFY(!next->isHoverShown());
        QVERIFY(!stop->isHoverShown());
    }

    void busyOverlayOnlyWhileMainWindowIsThePlayer()
    {
        window->ShowBusy(u"稍等"_qs);
        QVERIFY(window->busyOverlay()->isVisible());
        QCOMPARE(window->busyOverlay()->caption(), u"稍等"_qs);
        window->HideBusy();
        QVERIFY(!window->busyOverlay()->isVisible());
        window->ShowBusy(QString());
        QCOMPARE(window->busyOverlay()->caption(), u"正在调入(loading......)"_qs);

        window->button(PlayerCommand::MiniMode)->click(); // hides the overlay and the window
        QVERIFY(!window->busyOverlay()->isVisible());
        QVERIFY(!window->isMainPlayerVisible());
        window->ShowBusy(QString());
        QVERIFY(!window->busyOverlay()->isVisible());
        window->leaveMiniMode();
        QVERIFY(window->isMainPlayerVisible());
    }

    void treeButtonsSwitchTrees()
    {
        auto *catalogue = window->findChild<QWidget *>(u"TreeView1"_qs);
        auto *library = window->findChild<QWidget *>(u"TreeView2"_qs);
        window->button(PlayerCommand::ShowLibraryTree)->click();
        QVERIFY(library->isVisible() && !catalogue->isVisible());
        window->button(PlayerCommand::ShowCatalogueTree)->click();
        QVERIFY(catalogue->isVisible() && !library->isVisible());
    }

    void timeLabelFlipsTheReadout()
    {
        auto *label3 = window->findChild<QLabel *>(u"Label3"_qs);
        QCOMPARE(label3->text(), u"00:00"_qs);
        QSignalSpy flips(window.get(), &MainWindow::timeReadoutClicked);
        QTest::mouseClick(label3, Qt::LeftButton);
        QTest::mouseClick(label3, Qt::LeftButton);
        QCOMPARE(flips.count(), 2);
    }

    // Where the window system refuses to move the window (no window manager), the
    // title strip moves it by following the mouse.
    void titleStripDragsTheWindow()
    {
        auto *strip = window->findChild<QLabel *>(u"Label5"_qs);
        const QPoint start = window->pos();
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(10, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), strip->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(strip, &move);
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(40, 30));
        QCOMPARE(window->pos(), start + QPoint(30, 20));
    }

    void standardButtonsReadChinese()
    {
        QVERIFY(installQtTranslations());
        QMessageBox box(
            QMessageBox::Critical, u"Kivo"_qs, u"数据库调入错误。"_qs, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), u"确定"_qs);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), u"取消"_qs);
    }

    // The rest of the player is built before the window shows and can take longer
    // than Timer4's interval: the first frame still comes before the start-up's work.
    void firstFrameIsDrawnBeforeTheStartupRuns()
    {
        window.reset();
        window = std::make_unique<MainWindow>(plainContext());
        QTest::qSleep(50); // Timer4 is overdue when the window shows
        FirstPaintProbe probe(window.get());
        QSignalSpy finished(window.get(), &MainWindow::startupSequenceFinished);
        QSignalSpy drawn(window.get(), &MainWindow::firstFrameDrawn);
        bool builtAfterFrame = false;
        QLabel *shown = nullptr, *hidden = nullptr;
        window->buildAfterFirstFrame([&] {
            builtAfterFrame = probe.painted && drawn.isEmpty() && server->pendingRequests() == 0;
            shown = new QLabel(u"歌词"_qs, window.get());
            hidden = new QLabel(window.get());
            hidden->hide();
        });
        window->show();
        QVERIFY(finished.wait(10000));
        QVERIFY(probe.painted);
        QVERIFY(builtAfterFrame); // after the frame, before its signal and the start-up's first request
        // What it builds shows in the window already on the screen, unless it was hidden.
        QVERIFY(shown->isVisible());
        QVERIFY(!hidden->isVisible());
        QVERIFY(!probe.overlayShown);
        QCOMPARE(probe.catalogueRows, 0);
        QVERIFY(window->firstFrameShown());
        QVERIFY(window->online()->catalogueView()->model()->rowCount() > 0);
    }

    void windowHiddenBeforeItsFirstFrameStillBuildsAndStartsUp()
    {
        window.reset();
        window = std::make_unique<MainWindow>(plainContext());
        bool built = false;
        window->buildAfterFirstFrame([&] { built = server->pendingRequests() == 0; });
        QSignalSpy finished(window.get(), &MainWindow::startupSequenceFinished);
        window->show();
        window->hide();
        QVERIFY(finished.wait(10000));
        QVERIFY(!window->firstFrameShown());
        QVERIFY(built);
    }

    void exitWhileStartupWaitsEndsCleanly()
    {
        // A fresh window whose start-up page never answers.
        window.reset();
        http->setAnswer(u"/dl.asp"_qs, {200, {}, {}, true});
        MainWindowContext ctx = plainContext();
        bool released = false;
        ctx.releaseDatabase = [&] { released = true; };
        window = std::make_unique<MainWindow>(ctx);
        window->show();
        QTRY_COMPARE(server->pendingRequests(), 1);
        window->button(PlayerCommand::Exit)->click();
        QVERIFY(window->isQuitting());
        QVERIFY(released);
        QTRY_COMPARE(server->pendingRequests(), 0);
        QTest::qWait(50);
        QVERIFY(!window->startupFinished());
    }

private:
    QTemporaryDir dir;
    QNetworkAccessManager nam;
    std::unique_ptr<test::CannedHttpServer> http;
    std::unique_ptr<ServerClient> server;
    ProgramState state;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
