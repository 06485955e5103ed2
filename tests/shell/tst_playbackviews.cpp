// The running player end to end: main window and playback views with the real
// engine (null audio output), a fresh library and the demo server. A catalogue song
// is played from its list page, falls over a dead address, records its history,
// shows its lyrics and answers the transport buttons on both windows. The window and
// the engine are shared; every case starts from a stopped player and plays what it needs.

#include "core/commanddispatcher.h"
#include "core/pageformats.h"
#include "library/librarydatabase.h"
#include "library/ui/librarytreeview.h"
#include "lyrics/lyricscontroller.h"
#include "lyrics/lyrictick.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "lyrics/ui/lyricsuploaddialog.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/ui/resultarea.h"
#include "online/ui/tabheader.h"
#include "playback/mediaengine.h"
#include "playback/playbacksession.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "playback/ui/videodisplay.h"
#include "shell/libraryaccess.h"
#include "shell/ui/busyoverlay.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/songrowcommands.h"
#include "skin/commandmenus.h"
#include "skin/knob.h"
#include "skin/knobs.h"
#include "skin/skin.h"
#include "skin/skinbutton.h"
#include "support/demoserver.h"
#include "support/testpaths.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;
using kivo::test::DemoServer;

namespace {
const QString kWelcome = u"Kivo欢迎您，祝您愉快。"_qs;
// Song 1009: no address of its own, its first search candidate is a 404, it has lyrics.
const QString kSongId = u"1009"_qs;
} // namespace

class PlaybackViewsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DemoServer> m_demo;
    QTemporaryDir m_dir;
    LibraryDatabase m_db;
    std::unique_ptr<LibraryAccess> m_access;
    QNetworkAccessManager m_nam;
    std::unique_ptr<ServerClient> m_server;
    ProgramState m_state;
    std::unique_ptr<MainWindow> m_window;
    PlaybackViews *m_views = nullptr;
    QString m_songTitle;
    int m_playlistId = 0;

    QLabel *label(const QString &name) const { return m_window->findChild<QLabel *>(name); }
    PlayerControl *control() const { return m_views->session()->control(); }

    // Loads the catalogue's newest-songs pages until the song shows; its list view and row.
    std::optional<std::pair<int, int>> findCatalogueSong(const QString &id)
    {
        ResultPages *pages = m_window->online()->pages();
        for (int page = 1; page <= 4; ++page) {
            QSignalSpy opened(pages, &ResultPages::tabOpened);
            pages->LoadListPage({m_server->pageUrl(u"soft.asp?mlid=1"_qs), page, 0, u"新歌TOP100"_qs, {}});
            if (!opened.wait(5000) && opened.isEmpty())
                return std::nullopt;
            const int view = opened.last().at(2).toInt();
            SongListModel *model = pages->listModel(view);
            if (!QTest::qWaitFor([&] { return model && model->rowCount() > 0; }, 10000))
                return std::nullopt;
            for (int r = 0; r < model->rowCount(); ++r) {
                if (model->rowAt(r).record()->id == id) {
                    m_songTitle = model->rowAt(r).cells.value(0);
                    return std::pair {view, r};
                }
            }
        }
        return std::nullopt;
    }

    // Plays a catalogue song from its list page until the engine plays it.
    bool playCatalogueSong(const QString &id)
    {
        const auto place = findCatalogueSong(id);
        if (!place)
            return false;
        Q_EMIT m_window->online()->resultArea()->rowActivated(place->first, place->second);
        return QTest::qWaitFor(
            [this] { return m_views->session()->engine()->playState() == PlayState::Playing; }, 30000);
    }

    void press(PlayerCommand command) { m_window->commands()->dispatch(command); }

    static bool sameIcon(const QIcon &icon, Skin::Glyph glyph)
    {
        return icon.pixmap(24).toImage() == Skin::icon(glyph).pixmap(24).toImage();
    }

    QStringList lyricTexts(const QString &id)
    {
        const QString payload = HiddenDataPage::payloadOf(m_demo->post("/softlrc.asp?id=" + id.toLatin1()).text());
        QStringList out;
        for (const QString &line : payload.split(u"<br>"_qs))
            if (const QString text = line.section(u']', -1).trimmed(); !text.isEmpty())
                out << text;
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_demo = std::make_unique<DemoServer>();
        QVERIFY2(m_demo->isRunning(), qPrintable(m_demo->error()));
        const QString path = m_dir.filePath(u"kx.dat"_qs);
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        QVERIFY(m_db.open(path).ok());
        m_access = std::make_unique<LibraryAccess>(m_db);
        // A playlist of two demo songs with addresses of their own.
        m_playlistId = m_db.addPlaylist(u"测试列表"_qs).id;
        QVERIFY(m_playlistId > 0);
        for (const QString &id : {u"1001"_qs, u"1002"_qs})
            QVERIFY(
                m_db.addSongToPlaylist(m_playlistId,
                        {u"列表歌"_qs + id, m_demo->baseUrl() + u"media/songs/"_qs + id + u".mp3"_qs, QString(), 0, 0})
                    .added());
        m_server = std::make_unique<ServerClient>(&m_nam, m_demo->baseUrl());
        m_state.serverBaseUrl = m_demo->baseUrl();

        MainWindowContext ctx;
        ctx.programDir = m_dir.path();
        ctx.server = m_server.get();
        ctx.state = &m_state;
        ctx.library = m_access.get();
        // Stored settings: 20 s load time-out, pure green highlight.
        ctx.applyStoredConfig = [this](const QDateTime &) {
            m_state.settings = StoredSettings::parse(u"20㊣1㊣1㊣1㊣0㊣65280"_qs);
            return 0;
        };
        m_window = std::make_unique<MainWindow>(ctx);
        PlaybackViewsOptions options;
        options.engineOptions = {u"ao=null"_qs, u"vo=null"_qs, u"network-timeout=5"_qs};
        options.engineModuleDir = test::buildDir() + u"/lib"_qs;
        options.publishOnSessionBus = false;
        m_views = new PlaybackViews(m_window.get(), options);
        QSignalSpy ready(m_views, &PlaybackViews::engineReady);
        m_window->show();
        QVERIFY(ready.wait(20000));
        QVERIFY2(ready.first().first().toBool(), qPrintable(m_views->engineError()));
        QVERIFY(m_views->session()->hasEngine());
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_db.release();
    }

    // Every case starts from a stopped player in no-repeat mode, the main window shown.
    void cleanup()
    {
        m_demo->reset();
        press(PlayerCommand::Stop);
        m_window->menus()->nowPlaying.noRepeat->trigger();
        m_views->miniPlayer()->hide();
        m_window->leaveMiniMode();
    }

    void windowShowsTheWelcomeLineAndKnobs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessible");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("centreY");
        QTest::newRow("volume at full") << u"bf9"_qs << u"音量"_qs << 341 << 415;
        QTest::newRow("position at start") << u"bf10"_qs << u"播放进度"_qs << 365 << 415;
    }
    void windowShowsTheWelcomeLineAndKnobs()
    {
        QFETCH(QString, name);
        QFETCH(QString, accessible);
        QFETCH(int, x);
        QFETCH(int, centreY);
        QCOMPARE(label(u"Label4"_qs)->text(), kWelcome);
        QVERIFY(label(u"Label8"_qs));
        QVERIFY(label(u"Label2"_qs));
        QCOMPARE(m_window->findChildren<QLabel *>(u"Label4"_qs).size(), 1);
        QCOMPARE(m_window->timeLabel()->text(), u"00:00"_qs);
        auto *knob = m_window->findChild<Knob *>(name);
        QVERIFY(knob);
        QCOMPARE(knob->accessibleName(), accessible);
        QCOMPARE(knob->x(), x);
        QCOMPARE(knob->geometry().center().y(), centreY);
    }

    // The lyric line toggles the offset knob, which sits under the line.
    // The settings were read before the engine came: they reach the control when it does.
    void storedSettingsReachTheLinesAndTheControl()
    {
        const QColor green(0, 255, 0);
        QCOMPARE(m_views->lyricLine()->highlightLabel()->palette().color(QPalette::WindowText), green);
        QCOMPARE(m_views->miniPlayer()->lyricLine()->highlightLabel()->palette().color(QPalette::WindowText), green);
        QCOMPARE(control()->watchdog().timeoutSeconds(), 20);
    }

    void lyricLineTogglesTheOffsetKnob()
    {
        Knob *bc = m_views->offsetKnob();
        QCOMPARE(bc->accessibleName(), u"歌词偏移"_qs);
        QVERIFY(!bc->isVisible());
        QTest::mouseClick(m_views->lyricLine(), Qt::LeftButton);
        QVERIFY(bc->isVisible());
        const QRect onWindow(bc->mapTo(m_window.get(), QPoint()), bc->size());
        QVERIFY(onWindow.top() >= m_views->lyricLine()->geometry().bottom());
        QVERIFY(onWindow.bottom() < m_window->button(PlayerCommand::PlayPause)->geometry().top());
        QTest::mouseClick(m_views->lyricLine(), Qt::LeftButton);
        QVERIFY(!bc->isVisible());
    }

    void playModeItemsSetTheModeAndOneCheckMark_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("mode");
        QTest::newRow("repeat one") << u"单曲循环"_qs << int(PlayMode::RepeatOne);
        QTest::newRow("sequential") << u"顺序播放"_qs << int(PlayMode::Sequential);
        QTest::newRow("shuffle") << u"随机播放"_qs << int(PlayMode::Shuffle);
        QTest::newRow("no repeat") << u"不循环"_qs << int(PlayMode::NoRepeat);
    }
    void playModeItemsSetTheModeAndOneCheckMark()
    {
        QFETCH(QString, item);
        QFETCH(int, mode);
        const auto modes = m_window->menus()->nowPlaying.modes();
        QAction *chosen = modes[mode];
        QCOMPARE(chosen->objectName(), item);
        chosen->trigger();
        QCOMPARE(int(m_views->session()->playMode()), mode);
        int checked = 0;
        for (QAction *each : modes)
            checked += each->isChecked();
        QCOMPARE(checked, 1);
        QVERIFY(chosen->isChecked());
    }

    void catalogueSongPlaysPastADeadAddress()
    {
        const auto place = findCatalogueSong(kSongId);
        QVERIFY2(place, "song 1009 not on the newest-songs pages");
        m_demo->clearLog();
        Q_EMIT m_window->online()->resultArea()->rowActivated(place->first, place->second);

        MediaEngine *engine = m_views->session()->engine();
        QTRY_COMPARE_WITH_TIMEOUT(engine->playState(), PlayState::Playing, 30000);
        // It plays from the second candidate: the first was the 404.
        const QueueEntry &entry = m_views->session()->queue()->at(0);
        QCOMPARE(entry.title, m_songTitle);
        QVERIFY2(!entry.locator.contains(u"missing/"_qs), qPrintable(entry.locator));
        QVERIFY(entry.locator.contains(u"media/songs/1009.mp3"_qs));

        // History: today's day lists this song.
        auto recorded = [this] {
            const auto days = m_db.historyDays();
            if (days.isEmpty())
                return false;
            const auto songs = m_db.historyPage(days.first().id);
            return std::any_of(
                songs.begin(), songs.end(), [this](const StoredSong &s) { return s.title == m_songTitle; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(recorded(), 5000);
        const QString dayKey = u"d"_qs + QString::number(m_db.historyDays().first().id);
        QVERIFY(m_window->online()->libraryTree()->model()->indexOf(dayKey).isValid());

        // The working address was reported as a search find for no playlist row.
        auto reported = [this] {
            for (const QString &line : m_demo->requestLog()) {
                if (!line.contains(u"kxrjurl.asp"_qs))
                    continue;
                const auto query = test::decodedQuery(line);
                if (query.contains(qMakePair(u"lx"_qs, u"bd"_qs)) && query.contains(qMakePair(u"listid"_qs, u"-1"_qs)))
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(reported(), 5000);
        // The dead address was really asked for before the working one.
        const QStringList log = m_demo->requestLog();
        const auto dead = log.indexOf(QRegularExpression(u".*/media/missing/1009\\.mp3.*"_qs));
        const auto good = log.indexOf(QRegularExpression(u".*/media/songs/1009\\.mp3.*"_qs));
        QVERIFY2(dead >= 0 && good > dead, qPrintable(log.join(u'\n')));
    }

    void lyricLineShowsTheSongsLyrics()
    {
        QVERIFY(playCatalogueSong(kSongId));
        const QStringList lines = lyricTexts(kSongId);
        QVERIFY(lines.size() >= 3);
        // A line past the first (which names the song) shows as the song goes on.
        QTRY_VERIFY_WITH_TIMEOUT(lines.mid(1).contains(label(u"Label4"_qs)->text()), 15000);
        // The readout counts while it plays.
        QTRY_VERIFY_WITH_TIMEOUT(m_window->timeLabel()->text().contains(QRegularExpression(u"^00:0[1-9]"_qs)), 10000);
        // The position knob moves along as it plays.
        QTRY_VERIFY_WITH_TIMEOUT(m_views->positionKnob()->x() > 365, 10000);
        // A click on the readout flips it between the time played and the time left.
        const bool remaining = m_views->lyrics()->remainingTimeMode();
        QTest::mouseClick(m_window->timeLabel(), Qt::LeftButton);
        QCOMPARE(m_views->lyrics()->remainingTimeMode(), !remaining);
        QTest::mouseClick(m_window->timeLabel(), Qt::LeftButton);
        QCOMPARE(m_views->lyrics()->remainingTimeMode(), remaining);
        // Opened and playing: the pause picture on both windows.
        QCOMPARE(m_views->miniPlayer()->playButtonState(), int(PlayButtonState::Opening));
    }

    void transportShowsOnBothWindows()
    {
        QVERIFY(playCatalogueSong(u"1001"_qs)); // a song with an address of its own
        QAbstractButton *play = m_window->button(PlayerCommand::PlayPause);
        QCOMPARE(play->property("playButtonState").toInt(), int(PlayButtonState::Opening));
        QVERIFY(sameIcon(play->icon(), Skin::Glyph::Pause));
        press(PlayerCommand::PlayPause);
        QTRY_COMPARE_WITH_TIMEOUT(m_views->session()->engine()->playState(), PlayState::Paused, 5000);
        QCOMPARE(play->property("playButtonState").toInt(), int(PlayButtonState::Paused));
        QCOMPARE(m_views->miniPlayer()->playButtonState(), int(PlayButtonState::Paused));
        QVERIFY(sameIcon(play->icon(), Skin::Glyph::Play));
        // A position drag while paused stays where it was dropped, knob and readout.
        Knob *position = m_views->positionKnob();
        const int dropped = position->leftTwips() + KnobTracks::mainPosition.span() / 2;
        Q_EMIT position->pressed(0);
        Q_EMIT position->moved(KnobTracks::mainPosition.span() / 2);
        Q_EMIT position->released();
        QTest::qWait(100);
        QCOMPARE(position->leftTwips(), dropped);
        const double duration = m_views->session()->engine()->duration();
        QCOMPARE(m_window->timeLabel()->text(),
            positionReadout(positionForKnob(KnobTracks::mainPosition, dropped, duration), duration,
                m_views->lyrics()->remainingTimeMode()));
        press(PlayerCommand::PlayPause);
        QTRY_COMPARE_WITH_TIMEOUT(m_views->session()->engine()->playState(), PlayState::Playing, 5000);
        QCOMPARE(m_views->miniPlayer()->playButtonState(), int(PlayButtonState::Resumed));
        QVERIFY(sameIcon(play->icon(), Skin::Glyph::Pause));

        QAbstractButton *mute = m_window->button(PlayerCommand::Mute);
        mute->click();
        QVERIFY(mute->property("muted").toBool());
        QVERIFY(sameIcon(mute->icon(), Skin::Glyph::Muted));
        QVERIFY(m_views->session()->engine()->isMuted());
        m_views->miniPlayer()->button(PlayerCommand::Mute)->click(); // the same command from the other window
        QVERIFY(!mute->property("muted").toBool());
        QVERIFY(!m_views->session()->engine()->isMuted());
        QVERIFY(sameIcon(mute->icon(), Skin::Glyph::Speaker));

        m_views->miniPlayer()->button(PlayerCommand::Stop)->click();
        QCOMPARE(play->property("playButtonState").toInt(), int(PlayButtonState::Idle));
        QCOMPARE(m_views->miniPlayer()->playButtonState(), int(PlayButtonState::Idle));
        QCOMPARE(label(u"Label4"_qs)->text(), kWelcome);
        QCOMPARE(m_views->miniPlayer()->lyricLine()->baseLabel()->text(), kWelcome);
        QCOMPARE(m_window->timeLabel()->text(), u"00:00"_qs);
        QVERIFY(!m_views->lyrics()->isTicking());
        QVERIFY(sameIcon(play->icon(), Skin::Glyph::Play));
    }

    // The song menu shows the items for the row it opens on, and remembers the row.
    void songRowMenuShowsTheRowsItems_data()
    {
        QTest::addColumn<bool>("nowPlaying");
        QTest::addColumn<bool>("addLyrics");
        QTest::addColumn<bool>("addToQueue");
        QTest::addColumn<bool>("removeFromList");
        QTest::newRow("catalogue song with a music id") << false << true << true << false;
        QTest::newRow("now playing entry") << true << false << false << true;
    }
    void songRowMenuShowsTheRowsItems()
    {
        QFETCH(bool, nowPlaying);
        QFETCH(bool, addLyrics);
        QFETCH(bool, addToQueue);
        QFETCH(bool, removeFromList);
        const SongRowRef row = nowPlaying ? SongRowRef {SongPageKind::NowPlaying, 1, 0, u"歌"_qs, QueueEntryNumber {0}}
                                          : SongRowRef {SongPageKind::Catalogue, 1, 0, u"歌"_qs,
                                              SongRecord::fromText(u"1009|||||||||曲+歌手|||2"_qs)};
        m_views->songRowCommands()->openSongRowMenu(row, QPoint());
        const SongRowMenu &menu = m_window->menus()->songRow;
        QCOMPARE(menu.addLyrics->isVisible(), addLyrics);
        QCOMPARE(menu.addToQueue->isVisible(), addToQueue);
        QCOMPARE(menu.removeFromList->isVisible(), removeFromList);
        QVERIFY(!menu.renameSong->isEnabled());
        QCOMPARE(m_views->songRowCommands()->menuRow()->data, row.data);
    }

    // "重新调入播放" plays the row again without its address, and the row forgets it.
    void reloadPlaysTheRowWithoutItsAddress()
    {
        const auto place = findCatalogueSong(u"1001"_qs); // a song with an address of its own
        QVERIFY(place);
        SongListModel *model = m_window->online()->pages()->listModel(place->first);
        QVERIFY(!model->rowAt(place->second).record()->address().isEmpty());
        const SongRowRef row = *m_window->online()->songRow(place->first, place->second);
        m_views->songRowCommands()->openSongRowMenu(row, QPoint());
        m_demo->clearLog();
        m_window->menus()->songRow.reload->trigger();
        const SongRecord after = *model->rowAt(place->second).record();
        QCOMPARE(after.address(), QString());
        QCOMPARE(after.id, u"1001"_qs);
        // Without its address the song is searched for.
        QTRY_VERIFY_WITH_TIMEOUT(m_demo->requestLog().join(u'\n').contains(u"baiduurl.asp"_qs), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(m_views->session()->engine()->playState(), PlayState::Playing, 20000);
    }

    // "查看歌词" opens the lyrics search tab; "添加歌词" the upload dialog for the song.
    void lyricsItemsOfTheSongMenu()
    {
        const SongRowRef row {
            SongPageKind::Catalogue, 1, 0, u"某歌"_qs, SongRecord::fromText(u"1009|||||||||某歌+某人|||2"_qs)};
        SongRowCommands *commands = m_views->songRowCommands();
        commands->openSongRowMenu(row, QPoint());
        QSignalSpy opened(m_window->online()->pages(), &ResultPages::tabOpened);
        m_window->menus()->songRow.viewLyrics->trigger();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().at(1).value<TabKind>(), TabKind::Web);
        const ResultTabInfo *tab = m_window->online()->pages()->strip().tab(opened.first().at(0).toInt());
        QVERIFY(tab);
        QCOMPARE(tab->title, u"歌词:某歌"_qs);

        QVERIFY(!commands->uploadDialog());
        m_window->menus()->songRow.addLyrics->trigger();
        QVERIFY(commands->uploadDialog());
        QVERIFY(commands->uploadDialog()->isVisible());
        QCOMPARE(commands->uploadDialog()->musicId(), 1009);
        commands->uploadDialog()->hide();
    }

    // "播放此列表" / "添加到正在播放1" on the selected playlist node.
    void libraryListMenuFillsTheQueue_data()
    {
        QTest::addColumn<bool>("append");
        QTest::newRow("append") << true;
        QTest::newRow("play") << false;
    }
    void libraryListMenuFillsTheQueue()
    {
        QFETCH(bool, append);
        LibraryTreeView *view = m_window->online()->libraryView();
        const QModelIndex node
            = m_window->online()->libraryTree()->model()->indexOf(u"c"_qs + QString::number(m_playlistId));
        QVERIFY(node.isValid());
        view->setCurrentIndex(node);
        PlayQueue *queue = m_views->session()->queue();
        queue->reset();
        queue->replace(0, QueueEntry {u"已有"_qs, u"/m/none.mp3"_qs});
        const ListMenu &menu = m_window->menus()->lists;
        (append ? menu.appendList : menu.playList)->trigger();
        QStringList after;
        for (int i = 0; i <= queue->highest(); ++i)
            after << queue->at(i).title;
        const QStringList listed {u"列表歌1001"_qs, u"列表歌1002"_qs};
        QCOMPARE(after, append ? QStringList {u"已有"_qs} + listed : listed);
        if (!append) {
            QTRY_COMPARE_WITH_TIMEOUT(m_views->session()->engine()->playState(), PlayState::Playing, 20000);
            QTRY_COMPARE_WITH_TIMEOUT(label(u"Label4"_qs)->text().isEmpty(), false, 2000);
            press(PlayerCommand::Stop);
            QCOMPARE(label(u"Label4"_qs)->text(), kWelcome);
        }
    }

    // The video pane covers the result tabs while a video shows and gives way to a tab.
    void videoPaneGivesWayToTabsAndStop()
    {
        VideoDisplay *video = m_views->videoDisplay();
        QVERIFY(video);
        QCOMPARE(video->geometry(), QRect(176, 64, 424, 238));
        Q_EMIT control()->videoShown(u"某歌视频显示"_qs);
        QVERIFY(video->isVisible());
        QCOMPARE(m_window->online()->resultArea()->statusLabel()->text(), u"某歌视频显示"_qs);
        m_window->online()->OpenWebTab(m_demo->baseUrl() + u"softhelp.asp"_qs, u"帮助"_qs);
        QVERIFY(!video->isVisible());
        Q_EMIT control()->videoShown(u"某歌视频显示"_qs);
        QVERIFY(video->isVisible());
        // The tab under the video is no longer the front one: a click on it brings it back.
        ResultPages *pages = m_window->online()->pages();
        QVERIFY(!pages->strip().frontTab());
        TabHeader *header = m_window->online()->resultArea()->header(pages->strip().openTabs().last());
        QTest::mouseClick(header, Qt::LeftButton);
        QVERIFY(!video->isVisible());
        Q_EMIT control()->videoShown(u"某歌视频显示"_qs);
        press(PlayerCommand::Stop);
        QVERIFY(!video->isVisible());
    }

    // While the search page hangs the busy overlay shows that the player is at work.
    void addressSearchShowsTheBusyOverlay()
    {
        const auto place = findCatalogueSong(kSongId);
        QVERIFY(place);
        QVERIFY(m_demo->setFault(u"/baiduurl.asp"_qs, u"hang"_qs));
        Q_EMIT m_window->online()->resultArea()->rowActivated(place->first, place->second);
        QTRY_VERIFY_WITH_TIMEOUT(m_window->busyOverlay()->isVisible(), 5000);
        m_server->abortAll();
        QTRY_VERIFY(!m_window->busyOverlay()->isVisible());
    }

    // Without the engine module the lyric line says so as soon as loading fails, the
    // queue still takes songs, and a play request says again why nothing plays. A web
    // module that does not load is said once too.
    void withoutItsModulesTheLyricLineSaysSo()
    {
        QTemporaryDir noModule;
        MainWindowContext ctx;
        ctx.library = m_access.get();
        MainWindow window(ctx);
        PlaybackViewsOptions options;
        options.engineModuleDir = noModule.path();
        options.publishOnSessionBus = false;
        options.loadEngineAfterStartup = false;
        auto *views = new PlaybackViews(&window, options);
        QVERIFY(!views->loadEngine());
        QCOMPARE(views->lyrics()->screen().main.baseText, u"播放引擎未能加载"_qs);
        views->lyrics()->showCaption(QString());
        const SongRowRef row {
            SongPageKind::Playlist, 1, 0, u"无声"_qs, SongRecord::fromText(u"9|||/m/a.mp3|||无声||||||0"_qs)};
        Q_EMIT window.online()->songRowActivated(row);
        QCOMPARE(views->session()->queue()->at(0).title, u"无声"_qs);
        QCOMPARE(views->lyrics()->screen().main.baseText, u"播放引擎未能加载"_qs);

        int loads = 0;
        window.online()->setWebModuleLoader([&loads]() -> WebPaneFactory * {
            ++loads;
            return nullptr;
        });
        window.online()->loadWebEngine();
        QCOMPARE(views->lyrics()->screen().main.baseText, u"网页组件未能加载"_qs);
        views->lyrics()->showCaption(QString());
        window.online()->loadWebEngine();
        QCOMPARE(loads, 1);
        QCOMPARE(views->lyrics()->screen().main.baseText, QString());
    }

    // The mini player is made after the main window's first frame; asked for before
    // it (here the window never shows), it comes at once with what it mirrors.
    void miniModeBeforeTheFirstFrame()
    {
        ProgramState state;
        state.settings = StoredSettings::parse(u"20㊣1㊣1㊣1㊣0㊣255"_qs); // pure red highlight
        MainWindowContext ctx;
        ctx.library = m_access.get();
        ctx.state = &state;
        MainWindow window(ctx);
        PlaybackViewsOptions options;
        options.publishOnSessionBus = false;
        options.loadEngineAfterStartup = false;
        auto *views = new PlaybackViews(&window, options);
        Q_EMIT window.settingsApplied();
        Knob *main = views->volumeKnob();
        Q_EMIT main->pressed(0);
        Q_EMIT main->moved(-540);
        Q_EMIT main->released();
        const int volume = volumeForKnob(KnobTracks::mainVolume, main->leftTwips());

        window.commands()->dispatch(PlayerCommand::MiniMode);
        MiniPlayer *mini = window.findChild<PlaybackViews *>()->miniPlayer();
        QVERIFY(mini->isVisible());
        QCOMPARE(mini->volumeKnob()->leftTwips(), knobForVolume(KnobTracks::miniVolume, volume));
        QCOMPARE(mini->lyricLine()->highlightLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        mini->hide();
    }

    // Either window's volume knob sets the engine's volume and moves the other knob.
    void volumeKnobsOfBothWindows()
    {
        MediaEngine *engine = m_views->session()->engine();
        Knob *main = m_views->volumeKnob();
        Knob *mini = m_views->miniPlayer()->volumeKnob();
        const int start = main->leftTwips();
        Q_EMIT main->pressed(0);
        Q_EMIT main->moved(-270);
        Q_EMIT main->released();
        QCOMPARE(main->leftTwips(), start - 270);
        const int volume = volumeForKnob(KnobTracks::mainVolume, main->leftTwips());
        QVERIFY(volume > 0 && volume < 100);
        QCOMPARE(engine->volume(), volume);
        QCOMPARE(mini->leftTwips(), knobForVolume(KnobTracks::miniVolume, volume));

        Q_EMIT m_views->miniPlayer()->volumeChanged(30);
        QCOMPARE(engine->volume(), 30);
        QCOMPARE(main->leftTwips(), knobForVolume(KnobTracks::mainVolume, 30));
        Q_EMIT m_views->miniPlayer()->volumeChanged(100);
    }

    void miniModeAndBack()
    {
        MiniPlayer *mini = m_views->miniPlayer();
        m_window->button(PlayerCommand::MiniMode)->click();
        QTRY_VERIFY_WITH_TIMEOUT(mini->isVisible(), 2000);
        QVERIFY(!m_window->isVisible());
        mini->backButton()->click();
        QVERIFY(!mini->isVisible());
        QVERIFY(m_window->isVisible());
        QVERIFY(m_window->isMainPlayerVisible());
    }
};

QTEST_MAIN(PlaybackViewsTest)
#include "tst_playbackviews.moc"
