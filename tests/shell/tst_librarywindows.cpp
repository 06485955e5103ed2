// The library commands in the running main window against the demo server: a chart
// song added to a playlist through the chooser `Form5`, which follows the playlists
// added and deleted while it is open, and the keyboard on a playlist page.

#include "core/commanddispatcher.h"
#include "library/librarydatabase.h"
#include "library/librarypages.h"
#include "library/ui/librarytreeview.h"
#include "library/ui/playlistchooser.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "online/ui/resultarea.h"
#include "shell/libraryaccess.h"
#include "shell/ui/librarycommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "skin/commandmenus.h"
#include "skin/skinbutton.h"
#include "support/demoserver.h"

#include <QAction>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace kivo;

class LibraryWindowsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DemoServer> m_demo;
    QTemporaryDir m_dir;
    LibraryDatabase m_db;
    std::unique_ptr<LibraryAccess> m_access;
    QNetworkAccessManager m_nam;
    std::unique_ptr<ServerClient> m_server;
    ProgramState m_state;
    std::unique_ptr<MainWindow> m_window;
    LibraryCommands *m_commands = nullptr;

    ResultPages *pages() const { return m_window->online()->pages(); }
    const CommandMenus *menus() const { return m_window->menus(); }
    QStringList messages;

    // Answers the input box the command opened.
    void answer(const QString &text)
    {
        QInputDialog *box = m_commands->inputBox();
        QVERIFY(box && box->isVisible());
        box->setTextValue(text);
        box->accept();
    }
    void selectNode(const QString &key)
    {
        LibraryTreeView *view = m_window->online()->libraryView();
        view->setCurrentIndex(m_window->online()->libraryTree()->model()->indexOf(key));
        QCOMPARE(view->selectedKey(), key);
    }
    QString keyOf(const QString &caption)
    {
        const auto &children = m_window->online()->libraryTree()->model()->node(u"c0"_qs)->children;
        for (const auto &child : children) {
            if (child->caption == caption)
                return child->key;
        }
        return {};
    }
    QStringList chooserRows() const
    {
        QStringList rows;
        const QAbstractItemModel *model = m_commands->chooser()->list()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            rows << model->index(r, 0).data().toString();
        return rows;
    }
    int songsIn(const QString &caption)
    {
        QSqlQuery q(m_db.connection());
        q.prepare(u"SELECT count(*) FROM list JOIN class ON class.id = list.classid WHERE class.title = ?"_qs);
        q.addBindValue(caption);
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_demo = std::make_unique<test::DemoServer>();
        QVERIFY2(m_demo->isRunning(), qPrintable(m_demo->error()));
        QVERIFY(m_demo->setNoticeField(u"announcement"_qs, u" "_qs));
        const QString path = m_dir.filePath(u"data/kx.dat"_qs);
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        QVERIFY(m_db.open(path).ok());
        m_access = std::make_unique<LibraryAccess>(m_db);
        m_server = std::make_unique<ServerClient>(&m_nam, m_demo->baseUrl());
        MainWindowContext ctx;
        ctx.programDir = m_dir.path();
        ctx.server = m_server.get();
        ctx.state = &m_state;
        ctx.library = m_access.get();
        ctx.applyStoredConfig = [](const QDateTime &) { return 0; };
        m_window = std::make_unique<MainWindow>(ctx);
        PlaybackViewsOptions options;
        options.loadEngineAfterStartup = false;
        options.publishOnSessionBus = false;
        auto *playback = new PlaybackViews(m_window.get(), options);
        m_commands = new LibraryCommands(m_window.get(), playback);
        connect(m_commands, &LibraryCommands::messageShown, this,
            [this](const LibraryMessage &message) { messages << message.text; });
        QSignalSpy started(m_window.get(), &MainWindow::startupSequenceFinished);
        m_window->show();
        QVERIFY(started.wait(20000));
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_db.release();
    }

    void chooserFollowsThePlaylists()
    {
        selectNode(u"c0"_qs);
        for (const QString &name : {u"白天"_qs, u"夜晚"_qs}) {
            menus()->lists.addList->trigger();
            answer(u"  "_qs + name);
            QVERIFY(!keyOf(name).isEmpty());
        }

        QSignalSpy opened(pages(), &ResultPages::tabOpened);
        pages()->LoadListPage({m_server->pageUrl(u"soft.asp?mlid=1"_qs), 1, 0, u"排行榜"_qs, {}});
        QVERIFY(!opened.isEmpty() || opened.wait(10000));
        const int chart = opened.last().at(2).toInt();
        QVERIFY(QTest::qWaitFor([&] { return pages()->listModel(chart)->rowCount() > 0; }, 10000));
        Q_EMIT m_window->online()->resultArea()->rowContextMenuRequested(chart, 0, {});
        menus()->songRow.addToPlaylist->trigger();
        PlaylistChooser *chooser = m_commands->chooser();
        QVERIFY(chooser && chooser->isVisible());
        QCOMPARE(chooser->parentWidget(), m_window.get());
        QVERIFY(!chooser->isModal());
        QCOMPARE(chooserRows(), (QStringList {u"白天"_qs, u"夜晚"_qs}));

        // Meanwhile a playlist comes and the chosen one goes.
        selectNode(u"c0"_qs);
        menus()->lists.addList->trigger();
        answer(u"清晨"_qs);
        const QString night = keyOf(u"夜晚"_qs);
        chooser->selectPlaylist(LibraryOperations::playlistIdOfKey(night).value());
        QCOMPARE(chooserRows().size(), 3);
        QSqlQuery(m_db.connection()).exec(u"DELETE FROM class WHERE title = '夜晚'"_qs);
        chooser->okButton()->click();
        QCOMPARE(messages.takeLast(), u"操作失败：播放列表已经不存在。"_qs);
        QCOMPARE(songsIn(u"夜晚"_qs), 0);

        selectNode(night);
        menus()->lists.deleteList->trigger();
        menus()->songRow.addToPlaylist->trigger();
        QCOMPARE(chooserRows(), (QStringList {u"白天"_qs, u"清晨"_qs}));
        chooser->selectPlaylist(LibraryOperations::playlistIdOfKey(keyOf(u"白天"_qs)).value());
        chooser->okButton()->click();
        QVERIFY(!chooser->isVisible());
        QCOMPARE(messages.takeLast(), u"操作成功."_qs);
        QCOMPARE(songsIn(u"白天"_qs), 1);
    }

    // On the playlist page: F2 renames the selected song, Delete removes it.
    void keyboardOnAPlaylistPage()
    {
        const QString key = keyOf(u"白天"_qs);
        QSignalSpy opened(pages(), &ResultPages::tabOpened);
        m_window->online()->libraryPages()->open(m_window->online()->libraryTree()->pageFor(key));
        QVERIFY(!opened.isEmpty() || opened.wait(5000));
        const int view = opened.last().at(2).toInt();
        QTreeView *list = m_window->online()->resultArea()->listView(view);
        QCOMPARE(pages()->listModel(view)->rowCount(), 1);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list, Qt::Key_F2);
        answer(u" 改名 "_qs);
        QCOMPARE(pages()->listModel(view)->rowAt(0).cells.first(), u"改名"_qs);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(pages()->listModel(view)->rowCount(), 0);
        QCOMPARE(songsIn(u"白天"_qs), 0);

        // The transport keys go where the buttons' commands go (no engine here: the
        // test stands in for the player).
        QList<PlayerCommand> ran;
        for (const PlayerCommand command : {PlayerCommand::PlayPause, PlayerCommand::Next})
            m_window->commands()->setHandler(command, this, [&ran, command] { ran << command; });
        QTest::keyClick(list, Qt::Key_Space);
        QTest::keyClick(list, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(ran, (QList<PlayerCommand> {PlayerCommand::PlayPause, PlayerCommand::Next}));
    }
};

QTEST_MAIN(LibraryWindowsTest)
#include "tst_librarywindows.moc"
