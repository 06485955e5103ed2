// Search, info pages, dedication and settings in the running main window against the
// demo server: each dialog is driven by the names of its controls, and what the server
// received is checked.
#include "community/ui/settingsdialog.h"
#include "core/mirrortext.h"
#include "library/librarydatabase.h"
#include "library/ui/librarytreeview.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/ui/cataloguetreeview.h"
#include "playback/desktopnotifier.h"
#include "playback/playbacksession.h"
#include "playback/playercontrol.h"
#include "shell/libraryaccess.h"
#include "shell/ui/communitycommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/songnotifications.h"
#include "shell/ui/songrowcommands.h"
#include "skin/commandmenus.h"
#include "support/demoserver.h"
#include "support/messageboxes.h"
#include "support/privatebus.h"
#include "support/testpaths.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

namespace {

// The player as main.cpp puts it together, over a library file.
struct Player
{
    ProgramState state;
    std::unique_ptr<MainWindow> window;
    PlaybackViews *views = nullptr;
    CommunityCommands *community = nullptr;

    Player(LibraryDatabase &db, LibraryAccess &access, ServerClient &server, const QString &dir)
    {
        state.preferences = UserPreferences(dir + u"/config/kivoplay.ini"_qs);
        MainWindowContext ctx {dir, &server, &state, &access, {}, {}};
        ctx.applyStoredConfig = [this, &db](const QDateTime &day) -> qint32 {
            const auto config = db.loadStartupConfig(day);
            if (config)
                state.settings = StoredSettings::parse(config->settingsContent);
            return config ? config->dailyDownloadCount : 0;
        };
        window = std::make_unique<MainWindow>(ctx);
        PlaybackViewsOptions options {{u"ao=null"_qs, u"vo=null"_qs}, test::buildDir() + u"/lib"_qs, false};
        views = new PlaybackViews(window.get(), options);
        community = new CommunityCommands(window.get(), views);
        window->show();
    }
    bool started() const
    {
        return QTest::qWaitFor([this] { return window->startupFinished() && views->session()->control(); }, 30000);
    }
    QColor highlight() const { return views->lyricLine()->highlightLabel()->palette().color(QPalette::WindowText); }
};

// A control of one window (dialogs are windows of their own), by its name.
template<typename T> T *find(QWidget *in, const QString &name)
{
    for (T *w : in->findChildren<T *>())
        if (w->accessibleName() == name && w->window() == in->window())
            return w;
    return nullptr;
}

QWidget *dialog(const QString &title)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->accessibleName() == title && top->isVisible())
            return top;
    return nullptr;
}

using test::takeMessage;

const QString kWords = u"%E7%9A%84+%E6%9E%97%E6%B5%B7%E9%A3%8E"_qs; // "的" + "林海风"

} // namespace

class CommunityTest : public QObject
{
    Q_OBJECT

    test::DemoServer m_demo;
    QTemporaryDir m_dir;
    LibraryDatabase m_db;
    std::unique_ptr<LibraryAccess> m_access;
    QNetworkAccessManager m_nam;
    std::unique_ptr<ServerClient> m_server;
    std::unique_ptr<Player> m_player;

    OnlineViews *online() const { return m_player->window->online(); }
    QWidget *window() const { return m_player->window.get(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_demo.isRunning(), qPrintable(m_demo.error()));
        const QString path = m_dir.filePath(u"kx.dat"_qs);
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        QVERIFY(m_db.open(path).ok());
        QVERIFY(m_db.addCdAlbum(u"林海风-海风集"_qs, 306).added());
        m_access = std::make_unique<LibraryAccess>(m_db);
        m_server = std::make_unique<ServerClient>(&m_nam, m_demo.baseUrl());
        m_player = std::make_unique<Player>(m_db, *m_access, *m_server, m_dir.path());
        QVERIFY(m_player->started());
    }

    void cleanupTestCase()
    {
        m_player.reset();
        m_db.release();
    }

    void searchesTheSiteTheNetworkAndLyrics()
    {
        find<QAbstractButton>(window(), u"搜索"_qs)->click();
        QWidget *form = dialog(u"搜索歌曲"_qs);
        QVERIFY(form);
        auto *song = find<QLineEdit>(form, u"歌曲名称"_qs);
        song->setText(u"的"_qs);
        find<QLineEdit>(form, u"歌手姓名"_qs)->setText(u"林海风"_qs);
        ResultPages *pages = online()->pages();
        QSignalSpy opened(pages, &ResultPages::tabOpened);
        QTest::keyClick(song, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 10000);
        QVERIFY(!form->isVisible());
        QCOMPARE(pages->strip().tab(opened.first().at(0).toInt())->title, u"的(林海风)"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(pages->listModel(opened.first().at(2).toInt())->rowCount() > 0, 10000);
        QVERIFY(m_demo.requestLog().contains(
            u"POST /softss.asp?1=1&word1=%E7%9A%84&word2=%E6%9E%97%E6%B5%B7%E9%A3%8E&page=1"_qs));

        // The words stay; the network, as Wma, from the dialog's own button.
        find<QAbstractButton>(window(), u"搜索"_qs)->click();
        find<QRadioButton>(form, u"网络资源"_qs)->click();
        find<QRadioButton>(form, u"Wma"_qs)->click();
        find<QAbstractButton>(form, u"搜索"_qs)->click();
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 2, 10000); // the tab opens at the click, filled when the page comes
        QTRY_VERIFY_WITH_TIMEOUT(
            m_demo.requestLog().contains(u"POST /baidulist.asp?1=1&word="_qs + kWords + u"&lx=2&page=1"_qs), 10000);

        // Lyrics: the server's lyrics page in a web tab.
        find<QAbstractButton>(window(), u"搜索"_qs)->click();
        find<QRadioButton>(form, u"搜索歌词"_qs)->click();
        QSignalSpy navigated(pages, &ResultPages::webNavigate);
        QTest::keyClick(song, Qt::Key_Return);
        QCOMPARE(navigated.value(0).value(1).toString(), m_demo.baseUrl() + u"baidugc.asp?1=1&word="_qs + kWords);
    }

    void infoItemsOpenTheServersPages()
    {
        // Down the music library to an artist.
        CatalogueTreeView *tree = online()->catalogueView();
        KeyedTreeModel *model = tree->tree()->model();
        QString key = u"b0"_qs;
        for (int level = 0; level < 3; ++level) {
            QVERIFY(QCoro::waitFor(tree->tree()->openNode(key)));
            key = model->keyAt(model->index(0, 0, model->indexOf(key)));
        }
        tree->setCurrentIndex(model->indexOf(key));
        const QString artist = model->node(key)->caption.section(u'(', 0, 0);
        QSignalSpy navigated(online()->pages(), &ResultPages::webNavigate);
        m_player->window->menus()->artist.introduction->trigger();
        const QString page = u"softgc.asp?nclassid="_qs + key.section(u'-', -1) + u"&word="_qs
            + QString::fromLatin1(QUrl::toPercentEncoding(artist));
        QCOMPARE(navigated.value(0).value(1).toString(), m_demo.baseUrl() + page);
        QVERIFY(m_demo.post(u"/"_qs.append(page).toUtf8()).text().contains(artist + u"是本站的原创歌手"_qs));

        // "购买" on the CD shelf: the album's name.
        KeyedTreeModel *library = online()->libraryTree()->model();
        online()->libraryView()->setCurrentIndex(library->index(0, 0, library->indexOf(u"f0"_qs)));
        m_player->window->menus()->shelf.buy->trigger();
        QCOMPARE(navigated.value(1).value(1).toString(),
            m_demo.baseUrl() + u"cdsearch.asp?title=%E6%B5%B7%E9%A3%8E%E9%9B%86"_qs);
    }

    void dedicatesASong()
    {
        // The first song the site search found, right-clicked.
        const TabStrip &strip = online()->pages()->strip();
        int view = 0;
        for (int tab : strip.openTabs())
            view = strip.tab(tab)->listUrl.contains(u"softss.asp"_qs) ? strip.tab(tab)->view : view;
        const auto row = online()->songRow(view, 0);
        QVERIFY(row && row->record());
        m_player->views->songRowCommands()->openSongRowMenu(*row, QPoint());

        m_player->window->menus()->songRow.dedicate->trigger();
        QWidget *form = dialog(u"给好友点歌送祝福"_qs);
        QVERIFY(form);
        find<QLineEdit>(form, u"好友信箱"_qs)->setText(u"friend@example"_qs);
        find<QAbstractButton>(form, u"发送"_qs)->click();
        QCOMPARE(takeMessage(), u"错误,好友信箱格式不正确."_qs);
        find<QLineEdit>(form, u"好友信箱"_qs)->setText(u"friend@example.org"_qs);
        find<QLineEdit>(form, u"好友姓名"_qs)->setText(u"小明"_qs);
        find<QLineEdit>(form, u"祝福标题"_qs)->setText(u"生日 & 快乐"_qs);
        find<QPlainTextEdit>(form, u"祝福内容"_qs)->setPlainText(u"愿你 100% 开心+顺利"_qs);
        find<QAbstractButton>(form, u"发送"_qs)->click();
        QCOMPARE(takeMessage(), u"祝福发送成功"_qs);
        const SongRecord &r = *row->record();
        QCOMPARE(m_demo.dedications().value(0),
            (QList<QPair<QString, QString>> {{u"toemail"_qs, u"friend@example.org"_qs},
                {u"title"_qs, u"生日 & 快乐"_qs}, {u"name"_qs, u"小明"_qs}, {u"gm"_qs, row->title}, {u"url1"_qs, r.url},
                {u"url"_qs, MirrorText(r.url2 + u"+"_qs + r.url1)}, {u"id"_qs, r.id},
                {u"content"_qs, u"愿你 100% 开心+顺利"_qs}}));
        QVERIFY(form->isVisible()); // with its fields, for the next song
        QCOMPARE(find<QLineEdit>(form, u"好友姓名"_qs)->text(), u"小明"_qs);
    }

    // Last: the player is started again over the same library.
    void songsAreAnnouncedOnlyAwayFromThePlayer()
    {
        test::PrivateBus bus;
        if (!bus.isRunning())
            QSKIP("dbus-daemon is not available");
        test::FakeNotifications desktop;
        QVERIFY(desktop.publishOn(bus.connect(u"desktop"_qs)));
        DesktopNotifier notifier(bus.connect(u"player"_qs));
        new SongNotifications(m_player->window.get(), m_player->views, &notifier);
        PlayerControl *control = m_player->views->session()->control();
        QWidget elsewhere; // another program's window, as far as the player can tell
        auto activate = [](QWidget *w) {
            w->show();
            w->activateWindow();
            return QTest::qWaitForWindowActive(w);
        };
        MiniPlayer *mini = m_player->views->miniPlayer();
        QVERIFY(activate(mini));
        Q_EMIT control->songStarted(u"海风"_qs, u"林海风"_qs);
        mini->hide();
        QVERIFY(activate(window()));
        Q_EMIT control->songStarted(u"海风"_qs, u"林海风"_qs);
        QVERIFY(activate(&elsewhere));
        m_player->state.preferences.setSongNotifications(false);
        Q_EMIT control->songStarted(u"海风"_qs, u"林海风"_qs);
        m_player->state.preferences.setSongNotifications(true);
        Q_EMIT control->songStarted(u"路"_qs, QString());
        QTRY_COMPARE_WITH_TIMEOUT(desktop.shown.size(), 1, 5000);
        QTest::qWait(100);
        QCOMPARE(desktop.shown.size(), 1);
        QCOMPARE(desktop.shown[0].summary, u"路"_qs);
    }

    void settingsTakeEffectAtOnceAndAfterARestart()
    {
        find<QAbstractButton>(window(), u"设置"_qs)->click();
        QWidget *form = dialog(u"播放器参数设置"_qs);
        QVERIFY(form);
        auto *time = find<QLineEdit>(form, u"歌曲缓存调入时间"_qs);
        QCOMPARE(time->text(), u"26"_qs);
        time->setText(u"0"_qs);
        find<QAbstractButton>(form, u"确定"_qs)->click();
        QCOMPARE(takeMessage(), u"缓存调入时间必须是1到32767之间的整数。"_qs);
        QVERIFY(!m_db.configRow());

        // A colour shows on both lyric lines as soon as it is picked; cancelling keeps it.
        QColorDialog *colours = nullptr;
        for (bool pick : {true, false}) {
            find<QAbstractButton>(form, u"选择颜色"_qs)->click();
            colours = m_player->community->settingsDialog()->colourDialog();
            QVERIFY(colours->isVisible());
            colours->setCurrentColor(pick ? QColor(0, 200, 0) : QColor(9, 9, 9));
            pick ? colours->accept() : colours->reject();
            QCOMPARE(m_player->highlight(), QColor(0, 200, 0));
        }
        QCOMPARE(m_player->views->miniPlayer()->lyricLine()->highlightLabel()->palette().color(QPalette::WindowText),
            QColor(0, 200, 0));

        time->setText(u" 12 "_qs);
        find<QCheckBox>(form, u"显示LRC同步歌词。"_qs)->click();
        find<QCheckBox>(form, u"下载歌曲时，同步下载LRC歌词。"_qs)->click();
        auto *notifications = find<QCheckBox>(form, u"歌曲开始播放时显示桌面通知。"_qs);
        QVERIFY(notifications->isChecked());
        notifications->click();
        find<QAbstractButton>(form, u"确定"_qs)->click();
        QCOMPARE(takeMessage(), u"参数修改成功。"_qs);
        QVERIFY(!form->isVisible());
        QCOMPARE(m_player->views->session()->control()->watchdog().timeoutSeconds(), 12);
        QVERIFY(!m_player->state.settings.localLyricsEnabled && m_player->state.settings.downloadLyricsEnabled);
        // The notification switch is kept beside, not in the six settings' text.
        QCOMPARE(m_db.configRow()->content, u"12㊣0㊣1㊣1㊣1㊣51200"_qs);
        QVERIFY(!m_player->state.preferences.songNotifications());

        // Started again: the same settings, the same colour, the swatch showing it.
        m_player.reset();
        m_player = std::make_unique<Player>(m_db, *m_access, *m_server, m_dir.path());
        QVERIFY(m_player->started());
        QCOMPARE(m_player->highlight(), QColor(0, 200, 0));
        QCOMPARE(m_player->views->session()->control()->watchdog().timeoutSeconds(), 12);
        find<QAbstractButton>(window(), u"设置"_qs)->click();
        form = dialog(u"播放器参数设置"_qs);
        QCOMPARE(find<QLineEdit>(form, u"歌曲缓存调入时间"_qs)->text(), u"12"_qs);
        QVERIFY(!find<QCheckBox>(form, u"显示LRC同步歌词。"_qs)->isChecked());
        QVERIFY(!find<QCheckBox>(form, u"歌曲开始播放时显示桌面通知。"_qs)->isChecked());
        QCOMPARE(m_player->community->settingsDialog()->swatchColour(), quint32(51200));
    }
};

QTEST_MAIN(CommunityTest)
#include "tst_community.moc"
