// One command, four senders: the main window's button, the tray menu, the mini
// player and MPRIS all reach the same dispatcher and the same outcome.

#include "core/commanddispatcher.h"
#include "playback/mprisservice.h"
#include "playback/playbacksession.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/playbackviews.h"
#include "skin/commandmenus.h"
#include "skin/skinbutton.h"
#include "support/fakemediaengine.h"

#include <QAbstractButton>
#include <QAction>
#include <QSignalSpy>
#include <QTest>

using namespace kivo;

class CommandsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everySenderReachesTheSameOutcome_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::newRow("main window button") << u"window"_qs;
        QTest::newRow("tray menu") << u"tray"_qs;
        QTest::newRow("mini player") << u"mini"_qs;
        QTest::newRow("MPRIS") << u"mpris"_qs;
    }
    void everySenderReachesTheSameOutcome()
    {
        QFETCH(QString, sender);
        MainWindow window(MainWindowContext {});
        PlaybackViewsOptions options;
        options.loadEngineAfterStartup = false;
        options.publishOnSessionBus = false;
        auto *views = new PlaybackViews(&window, options);
        auto *engine = new FakeMediaEngine;
        PlaybackSession *session = views->session();
        session->attachEngine(engine, false);
        MprisService mpris(session->control(), session->player(), window.commands());
        session->queue()->replace(0, QueueEntry {u"一"_qs, u"http://h/一"_qs});
        session->queue()->append(QueueEntry {u"二"_qs, u"http://h/二"_qs});
        session->player()->PlayEntry(0, false);
        engine->reportState(PlayState::Transitioning);
        engine->reportState(PlayState::Playing);

        QSignalSpy dispatched(window.commands(), &CommandDispatcher::dispatched);
        if (sender == u"window"_qs)
            window.button(PlayerCommand::Next)->click();
        else if (sender == u"tray"_qs)
            window.menus()->tray.next->trigger();
        else if (sender == u"mini"_qs)
            views->miniPlayer()->button(PlayerCommand::Next)->click();
        else
            mpris.next();

        QCOMPARE(dispatched.size(), 1);
        QCOMPARE(dispatched.first().first().value<PlayerCommand>(), PlayerCommand::Next);
        QCOMPARE(engine->urls.last(), u"http://h/二"_qs);
        QCOMPARE(session->player()->currentIndex(), 1);
    }

    // Exit closes the dispatcher: nothing runs any more.
    void nothingRunsAfterExit()
    {
        MainWindow window(MainWindowContext {});
        bool ran = false;
        window.commands()->setHandler(PlayerCommand::Search, &window, [&] { ran = true; });
        window.menus()->tray.exit->trigger();
        QVERIFY(window.isQuitting());
        window.button(PlayerCommand::Search)->click();
        QVERIFY(!ran);
    }
};

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
