// Search, info pages, dedication and settings in the running main window against the
// demo server: each dialog is opened and filled the way a user does, by the names of
// its controls, and what the server received is checked.
#include "community/ui/settingsdialog.h"
#include "core/mirrortext.h"
#include "library/librarydatabase.h"
#include "library/ui/librarytreeview.h"
#include "lyrics/ui/lyriclinewidget.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/ui/cataloguetreeview.h"
#include "playback/playbacksession.h"
#include "playback/playercontrol.h"
#include "shell/libraryaccess.h"
#include "shell/ui/communitycommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/songrowcommands.h"
#include "skin/commandmenus.h"
#include "support/demoserver.h"
#include "support/testpaths.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
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
using kivo::test::DemoServer;

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
        state.serverBaseUrl = server.baseUrl();
        MainWindowContext ctx;
        ctx.programDir = dir;
        ctx.server = &server;
        ctx.state = &state;
        ctx.library = &access;
        ctx.applyStoredConfig = [this, &db](const QDateTime &day) -> qint32 {
            const auto config = db.loadStartupConfig(day);
            if (!config)
                return 0;
            state.settings = StoredSettings::parse(config->settingsContent);
            return config->dailyDownloadCount;
        };
        window = std::make_unique<MainWindow>(ctx);
        PlaybackViewsOptions options;
        options.engineOptions = {u"ao=null"_qs, u"vo=null"_qs};
        options.engineModuleDir = test::buildDir() + u"/lib"_qs;
        options.publishOnSessionBus = false;
        views = new PlaybackViews(window.get(), options);
        community = new CommunityCommands(window.get(), views);
    }
    bool start()
    {
        QSignalSpy ready(views, &PlaybackViews::engineReady);
        window->show();
        return ready.wait(30000) && ready.first().first().toBool();
    }
    // A control of the main window, by the name a user knows it by.
    template<typename T> T *control(const QString &accessibleName) const
    {
        return find<T>(window.get(), accessibleName);
    }
    // A control of one window (its dialogs are windows of their own), by its name.
    template<typename T> static T *find(QWidget *in, const QString &accessibleName)
    {
        for (T *w : in->findChildren<T *>())
            if (w->accessibleName() == accessibleName && w->window() == in->window())
                return w;
        return nullptr;
    }
    // A dialog showing, by its title.
    static QWidget *dialog(const QString &title)
    {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->accessibleName() == title && top->isVisible())
                return top;
        return nullptr;
    }
    QColor highlight() const { return views->lyricLine()->highlightLabel()->palette().color(QPalette::WindowText); }
};

// The message box showing, its text; it is closed.
QString takeMessage()
{
    QString text;
    (void)QTest::qWaitFor(
        [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *box = qobject_cast<QMessageBox *>(top); box && box->isVisible()) {
                    text = box->text();
                    box->close();
                    return true;
                }
            return false;
        },
        10000);
    return text;
}

// Where "下载铃声" hands its page: to the desktop, recorded here instead.
class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

class CommunityTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DemoServer> m_demo;
    QTemporaryDir m_dir;
    LibraryDatabase m_db;
    std::unique_ptr<LibraryAccess> m_access;
    QNetworkAccessManager m_nam;
    std::unique_ptr<ServerClient> m_server;
    std::unique_ptr<Player> m_player;

    OnlineViews *online() const { return m_player->window->online(); }
    QString lastRequest(const QString &page) const
    {
        const QStringList log = m_demo->requestLog();
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->contains(page))
                return *it;
        return {};
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_demo = std::make_unique<DemoServer>();
        QVERIFY2(m_demo->isRunning(), qPrintable(m_demo->error()));
        const QString path = m_dir.filePath(u"kx.dat"_qs);
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        QVERIFY(m_db.open(path).ok());
        QVERIFY(m_db.addCdAlbum(u"林海风-海风集"_qs, 306).added());
        m_access = std::make_unique<LibraryAccess>(m_db);
        m_server = std::make_unique<ServerClient>(&m_nam, m_demo->baseUrl());
        m_player = std::make_unique<Player>(m_db, *m_access, *m_server, m_dir.path());
        QVERIFY(m_player->start());
        QTRY_VERIFY_WITH_TIMEOUT(m_player->window->startupFinished(), 15000);
    }

    void cleanupTestCase()
    {
        m_player.reset();
        m_db.release();
    }

    void searchesTheSiteTheNetworkAndLyrics()
    {
        m_player->control<QAbstractButton>(u"搜索"_qs)->click();
        QWidget *form = m_player->dialog(u"搜索歌曲"_qs);
        QVERIFY(form);
        auto *song = Player::find<QLineEdit>(form, u"歌曲名称"_qs);
        song->setText(u"的"_qs);
        Player::find<QLineEdit>(form, u"歌手姓名"_qs)->setText(u"林海风"_qs);
        ResultPages *pages = online()->pages();
        QSignalSpy opened(pages, &ResultPages::tabOpened);
        QTest::keyClick(song, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 10000);
        QVERIFY(!form->isVisible());
        const int view = opened.first().at(2).toInt();
        QTRY_VERIFY_WITH_TIMEOUT(pages->listModel(view)->rowCount() > 0, 10000);
        QCOMPARE(pages->strip().tab(opened.first().at(0).toInt())->title, u"的(林海风)"_qs);
        QCOMPARE(test::decodedQuery(lastRequest(u"softss.asp"_qs)),
            (QList<QPair<QString, QString>> {
                {u"1"_qs, u"1"_qs}, {u"word1"_qs, u"的"_qs}, {u"word2"_qs, u"林海风"_qs}, {u"page"_qs, u"1"_qs}}));

        // The dialog kept the words; the network, as Wma.
        m_player->control<QAbstractButton>(u"搜索"_qs)->click();
        QCOMPARE(song->text(), u"的"_qs);
        Player::find<QRadioButton>(form, u"网络资源"_qs)->click();
        Player::find<QRadioButton>(form, u"Wma"_qs)->click();
        Player::find<QAbstractButton>(form, u"搜索"_qs)->click();
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 2, 10000);
        QVERIFY(
            lastRequest(u"baidulist.asp"_qs).endsWith(u"&word=%E7%9A%84+%E6%9E%97%E6%B5%B7%E9%A3%8E&lx=2&page=1"_qs));

        // Lyrics open the server's lyrics page in a web tab.
        m_player->control<QAbstractButton>(u"搜索"_qs)->click();
        Player::find<QRadioButton>(form, u"搜索歌词"_qs)->click();
        QSignalSpy navigated(pages, &ResultPages::webNavigate);
        QTest::keyClick(song, Qt::Key_Return);
        QCOMPARE(navigated.size(), 1);
        QCOMPARE(navigated.first().at(1).toString(),
            m_demo->baseUrl() + u"baidugc.asp?1=1&word=%E7%9A%84+%E6%9E%97%E6%B5%B7%E9%A3%8E"_qs);
    }

    void infoItemsOpenTheServersPages()
    {
        // Down the music library to an artist.
        CatalogueTreeView *tree = online()->catalogueView();
        QString key = u"b0"_qs;
        for (int level = 0; level < 3; ++level) {
            QVERIFY(QCoro::waitFor(tree->tree()->openNode(key)));
            const QModelIndex first = tree->model()->index(0, 0, tree->tree()->model()->indexOf(key));
            key = tree->tree()->model()->keyAt(first);
        }
        QCOMPARE(key.count(u'-'), 3);
        tree->setCurrentIndex(tree->tree()->model()->indexOf(key));
        const QString artist = captionNameOf(tree->tree()->model()->node(key)->caption);
        QSignalSpy navigated(online()->pages(), &ResultPages::webNavigate);
        m_player->window->menus()->artist.introduction->trigger();
        QCOMPARE(navigated.size(), 1);
        const QString url = navigated.first().at(1).toString();
        QCOMPARE(url,
            m_demo->baseUrl() + u"softgc.asp?nclassid="_qs + key.section(u'-', -1) + u"&word="_qs
                + QString::fromLatin1(QUrl::toPercentEncoding(artist)));
        QVERIFY(m_demo->post(url.mid(m_demo->baseUrl().size() - 1).toUtf8())
                    .text()
                    .contains(artist + u"是本站的原创歌手"_qs));

        // "购买" on the CD shelf: the album's name.
        LibraryTreeView *library = online()->libraryView();
        const QModelIndex album
            = online()->libraryTree()->model()->index(0, 0, online()->libraryTree()->model()->indexOf(u"f0"_qs));
        library->setCurrentIndex(album);
        m_player->window->menus()->shelf.buy->trigger();
        QCOMPARE(navigated.size(), 2);
        QCOMPARE(navigated.last().at(1).toString(),
            m_demo->baseUrl() + u"cdsearch.asp?title=%E6%B5%B7%E9%A3%8E%E9%9B%86"_qs);
    }

    void dedicatesASongAndRingtonesGoToTheDesktop()
    {
        // The first song of the site search, right-clicked.
        ResultPages *pages = online()->pages();
        int view = 0;
        for (int tab : pages->strip().openTabs())
            if (pages->strip().tab(tab)->listUrl.contains(u"softss.asp"_qs))
                view = pages->strip().tab(tab)->view;
        const auto row = online()->songRow(view, 0);
        QVERIFY(row && row->record());
        m_player->views->songRowCommands()->openSongRowMenu(*row, QPoint());

        DesktopRecorder desktop;
        QDesktopServices::setUrlHandler(u"http"_qs, &desktop, "open");
        m_player->window->menus()->songRow.ringtone->trigger();
        QDesktopServices::unsetUrlHandler(u"http"_qs);
        QCOMPARE(desktop.opened,
            QList<QUrl> {QUrl(
                m_demo->baseUrl() + u"smsss.asp?word="_qs + QString::fromLatin1(QUrl::toPercentEncoding(row->title)))});

        m_player->window->menus()->songRow.dedicate->trigger();
        QWidget *form = Player::dialog(u"给好友点歌送祝福"_qs);
        QVERIFY(form);
        Player::find<QLineEdit>(form, u"好友信箱"_qs)->setText(u"friend@example"_qs);
        Player::find<QAbstractButton>(form, u"发送"_qs)->click();
        QCOMPARE(takeMessage(), u"错误,好友信箱格式不正确."_qs);
        Player::find<QLineEdit>(form, u"好友信箱"_qs)->setText(u"friend@example.org"_qs);
        Player::find<QLineEdit>(form, u"好友姓名"_qs)->setText(u"小明"_qs);
        Player::find<QLineEdit>(form, u"祝福标题"_qs)->setText(u"生日 & 快乐"_qs);
        Player::find<QPlainTextEdit>(form, u"祝福内容"_qs)->setPlainText(u"愿你 100% 开心+顺利"_qs);
        m_demo->reset();
        Player::find<QAbstractButton>(form, u"发送"_qs)->click();
        QCOMPARE(takeMessage(), u"祝福发送成功"_qs);
        const auto received = m_demo->dedications();
        QCOMPARE(received.size(), 1);
        const SongRecord &record = *row->record();
        QCOMPARE(received.first(),
            (QList<QPair<QString, QString>> {{u"toemail"_qs, u"friend@example.org"_qs},
                {u"title"_qs, u"生日 & 快乐"_qs}, {u"name"_qs, u"小明"_qs}, {u"gm"_qs, row->title},
                {u"url1"_qs, record.url}, {u"url"_qs, MirrorText(record.url2 + u"+"_qs + record.url1)},
                {u"id"_qs, record.id}, {u"content"_qs, u"愿你 100% 开心+顺利"_qs}}));
        // The dialog stays with its fields.
        QVERIFY(form->isVisible());
        QCOMPARE(Player::find<QLineEdit>(form, u"好友姓名"_qs)->text(), u"小明"_qs);
    }

    // Last: the player is started again over the same library.
    void settingsTakeEffectAtOnceAndAfterARestart()
    {
        m_player->control<QAbstractButton>(u"设置"_qs)->click();
        QWidget *form = Player::dialog(u"播放器参数设置"_qs);
        QVERIFY(form);
        auto *time = Player::find<QLineEdit>(form, u"歌曲缓存调入时间"_qs);
        QCOMPARE(time->text(), u"26"_qs);
        time->setText(u"0"_qs);
        Player::find<QAbstractButton>(form, u"确定"_qs)->click();
        QCOMPARE(takeMessage(), u"缓存调入时间必须是1到32767之间的整数。"_qs);
        QVERIFY(!m_db.configRow());

        // A colour shows on the lyric line as soon as it is picked.
        Player::find<QAbstractButton>(form, u"选择颜色"_qs)->click();
        QColorDialog *colours = m_player->community->settingsDialog()->colourDialog();
        QTRY_VERIFY(colours->isVisible());
        colours->setCurrentColor(QColor(0, 200, 0));
        colours->accept();
        QCOMPARE(m_player->highlight(), QColor(0, 200, 0));
        QCOMPARE(m_player->views->miniPlayer()->lyricLine()->highlightLabel()->palette().color(QPalette::WindowText),
            QColor(0, 200, 0));

        time->setText(u" 12 "_qs);
        Player::find<QCheckBox>(form, u"显示LRC同步歌词。"_qs)->click();
        Player::find<QCheckBox>(form, u"下载歌曲时，同步下载LRC歌词。"_qs)->click();
        Player::find<QAbstractButton>(form, u"确定"_qs)->click();
        QCOMPARE(takeMessage(), u"参数修改成功。"_qs);
        QVERIFY(!form->isVisible());
        QCOMPARE(m_player->views->session()->control()->watchdog().timeoutSeconds(), 12);
        QVERIFY(!m_player->state.settings.localLyricsEnabled && m_player->state.settings.downloadLyricsEnabled);
        QCOMPARE(m_db.configRow()->content, u"12㊣0㊣1㊣1㊣1㊣51200"_qs);
        QCOMPARE(m_db.configRow()->downday, 0);

        // Started again: the same settings, the same colour.
        m_player.reset();
        m_player = std::make_unique<Player>(m_db, *m_access, *m_server, m_dir.path());
        QVERIFY(m_player->start());
        QTRY_VERIFY_WITH_TIMEOUT(m_player->window->startupFinished(), 15000);
        QCOMPARE(m_player->highlight(), QColor(0, 200, 0));
        QCOMPARE(m_player->views->session()->control()->watchdog().timeoutSeconds(), 12);
        m_player->control<QAbstractButton>(u"设置"_qs)->click();
        form = Player::dialog(u"播放器参数设置"_qs);
        QVERIFY(form);
        QCOMPARE(Player::find<QLineEdit>(form, u"歌曲缓存调入时间"_qs)->text(), u"12"_qs);
        QVERIFY(!Player::find<QCheckBox>(form, u"显示LRC同步歌词。"_qs)->isChecked());
        QCOMPARE(m_player->community->settingsDialog()->swatchColour(), quint32(51200));
    }

private:
    static QString captionNameOf(const QString &caption) { return caption.section(u'(', 0, 0); }
};

QTEST_MAIN(CommunityTest)
#include "tst_community.moc"
