// Downloads in the running main window against the demo server: two songs of a
// chart queued from their row menu, the download page started from its menu, kept
// open while it runs, the songs with their lyric files in KivoDownload; exit ends a
// running download.

#include "downloads/downloadmanager.h"
#include "downloads/ui/downloadoptionsdialog.h"
#include "library/librarydatabase.h"
#include "library/librarypages.h"
#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "online/ui/resultarea.h"
#include "shell/libraryaccess.h"
#include "shell/ui/downloadcommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "skin/commandmenus.h"
#include "support/demoserver.h"

#include <QAction>
#include <QDir>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

class DownloadDemoTest : public QObject
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
    DownloadCommands *m_downloads = nullptr;

    ResultPages *pages() const { return m_window->online()->pages(); }
    const CommandMenus *menus() const { return m_window->menus(); }
    void rightClick(int view, int row)
    {
        Q_EMIT m_window->online()->resultArea()->rowContextMenuRequested(view, row, {});
    }
    // The texts of the message boxes on screen; closes them.
    QStringList takeMessages() const
    {
        QStringList texts;
        for (QMessageBox *box : m_window->findChildren<QMessageBox *>())
            texts << (box->isVisible() ? box->text() : QString());
        for (QMessageBox *box : m_window->findChildren<QMessageBox *>())
            box->reject();
        texts.removeAll(QString());
        return texts;
    }
    // Opens a list page (a chart, or the download page from its library node); its view.
    int openPage(const QString &chartUrl)
    {
        QSignalSpy opened(pages(), &ResultPages::tabOpened);
        if (chartUrl.isEmpty())
            m_window->online()->libraryPages()->open(m_window->online()->libraryTree()->pageFor(u"e0"_qs));
        else
            pages()->LoadListPage({chartUrl, 1, 0, u"排行榜"_qs, {}});
        if (opened.isEmpty() && !opened.wait(10000))
            return -1;
        const int view = opened.last().at(2).toInt();
        return QTest::qWaitFor([&] { return pages()->listModel(view)->rowCount() > 0 || chartUrl.isEmpty(); }, 10000)
            ? view
            : -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_demo = std::make_unique<test::DemoServer>();
        QVERIFY2(m_demo->isRunning(), qPrintable(m_demo->error()));
        QVERIFY(m_demo->setNoticeField(u"announcement"_qs, u" "_qs));
        const QString path = m_dir.filePath(u"kx.dat"_qs);
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        QVERIFY(m_db.open(path).ok());
        m_access = std::make_unique<LibraryAccess>(m_db);
        m_server = std::make_unique<ServerClient>(&m_nam, m_demo->baseUrl());

        MainWindowContext ctx;
        ctx.programDir = m_dir.path();
        ctx.server = m_server.get();
        ctx.state = &m_state;
        ctx.library = m_access.get();
        ctx.applyStoredConfig = [this](const QDateTime &) {
            m_state.settings.downloadLyricsEnabled = true; // "下载歌曲时，同步下载LRC歌词。"
            return 0;
        };
        m_window = std::make_unique<MainWindow>(ctx);
        PlaybackViewsOptions options;
        options.loadEngineAfterStartup = false;
        options.publishOnSessionBus = false;
        auto *playback = new PlaybackViews(m_window.get(), options);
        m_downloads = new DownloadCommands(m_window.get(), playback);
        QSignalSpy started(m_window.get(), &MainWindow::startupSequenceFinished);
        m_window->show();
        QVERIFY(started.wait(20000));

        // "下载设置": the folder chosen in the dialog is where the songs go.
        menus()->downloads.settings->trigger();
        QVERIFY(m_downloads->optionsDialog()->isVisible());
        QVERIFY(QDir(m_dir.path()).mkpath(u"music"_qs));
        m_downloads->optionsDialog()->chooseFolder(m_dir.filePath(u"music"_qs));
        QCOMPARE(m_downloads->manager()->options().root, m_dir.filePath(u"music"_qs));
        m_downloads->optionsDialog()->hide();
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_db.release();
    }

    void twoChartSongsWithTheirLyrics()
    {
        const int chart = openPage(m_server->pageUrl(u"soft.asp?mlid=1"_qs));
        QVERIFY(chart > 0);
        QStringList titles;
        for (int row : {0, 1}) {
            rightClick(chart, row);
            menus()->songRow.download->trigger();
            QCOMPARE(takeMessages(), QStringList {u"添加下载歌曲成功。"_qs});
            titles << pages()->listModel(chart)->rowAt(row).cells.value(0);
        }

        const int view = openPage(QString());
        SongListModel *page = pages()->listModel(view);
        QVERIFY(page);
        QCOMPARE(page->rowCount(), 2);
        rightClick(view, 0);
        menus()->downloads.start->trigger();
        QVERIFY(!menus()->downloads.start->isEnabled());
        // The running page stays open; the question comes instead, and Cancel lets it run.
        QVERIFY(!pages()->CloseResultTab(*pages()->strip().frontTab()));
        QCOMPARE(takeMessages(), QStringList {u"是否关闭下载"_qs});

        QTRY_VERIFY_WITH_TIMEOUT(menus()->downloads.start->isEnabled(), 30000);
        QCOMPARE(page->rowAt(0).cells.value(3), u"100%"_qs);
        QCOMPARE(page->rowAt(1).cells.value(3), u"100%"_qs);
        const QStringList files = QDir(m_dir.filePath(u"music/KivoDownload"_qs)).entryList(QDir::Files);
        for (const QString &title : std::as_const(titles))
            QVERIFY2(files.contains(title + u".mp3"_qs), qPrintable(files.join(u' ')));
        const QStringList lyrics = files.filter(u".lrc"_qs);
        QVERIFY(!lyrics.isEmpty());
        for (const QString &lrc : lyrics)
            QVERIFY(files.contains(lrc.chopped(4) + u".mp3"_qs));
        QCOMPARE(m_state.dailyDownloadCount, 2);
        QVERIFY(m_downloads->manager()->queue().isEmpty());
    }

    void exitEndsARunningDownload()
    {
        const int chart = openPage(m_server->pageUrl(u"soft.asp?mlid=2"_qs));
        QVERIFY(chart > 0);
        const SongRecord *song = pages()->listModel(chart)->rowAt(0).record();
        QVERIFY(m_demo->setFault(u"/media/songs/"_qs + song->id + u".mp3"_qs, u"drip"_qs)); // slow
        rightClick(chart, 0);
        menus()->songRow.download->trigger();
        takeMessages();
        const int view = openPage(QString());
        rightClick(view, 0);
        menus()->downloads.start->trigger();
        SongListModel *page = pages()->listModel(view);
        QTRY_VERIFY_WITH_TIMEOUT(page->rowAt(0).cells.value(3).endsWith(u'%'), 10000);

        menus()->tray.exit->trigger();
        QVERIFY(!m_downloads->manager()->isRunning());
        QCOMPARE(page->rowAt(0).cells.value(3), u"中止"_qs);
        QVERIFY(menus()->downloads.start->isEnabled());
    }
};

QTEST_MAIN(DownloadDemoTest)
#include "tst_downloaddemo.moc"
