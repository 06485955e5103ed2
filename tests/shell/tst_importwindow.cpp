// The import window in the running main window against the demo server: opened from
// the now-playing menu, it fills the queue; aimed at a playlist it stores the files,
// and a playlist deleted while it is open gets nothing. Files dropped on the main
// window join the queue.
#include "library/librarydatabase.h"
#include "library/ui/importwindow.h"
#include "online/serverclient.h"
#include "playback/playbacksession.h"
#include "playback/playqueue.h"
#include "shell/libraryaccess.h"
#include "shell/ui/importcommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/miniplayer.h"
#include "shell/ui/playbackviews.h"
#include "skin/commandmenus.h"
#include "support/demoserver.h"
#include "support/messageboxes.h"
#include "support/testpaths.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace kivo;

namespace {

template<typename T> T *control(QWidget *in, const QString &name)
{
    for (T *w : in->findChildren<T *>())
        if (w->accessibleName() == name)
            return w;
    return nullptr;
}

using test::takeMessage;

QStringList queueTitles(const PlayQueue &queue)
{
    QStringList titles;
    for (int i = 0; i <= queue.highest(); ++i)
        titles.append(queue.at(i).title);
    return titles;
}

} // namespace

class ImportWindowTest : public QObject
{
    Q_OBJECT

    test::DemoServer m_demo;
    QTemporaryDir m_dir;
    QString m_music;
    LibraryDatabase m_db;
    std::unique_ptr<LibraryAccess> m_access;
    QNetworkAccessManager m_nam;
    std::unique_ptr<ServerClient> m_server;
    ProgramState m_state;
    std::unique_ptr<MainWindow> m_window;
    PlaybackViews *m_views = nullptr;
    ImportCommands *m_imports = nullptr;

    PlayQueue *queue() const { return m_views->session()->queue(); }

    // Selects the listed files at these rows and presses OK.
    void importRows(ImportWindow *w, const QList<int> &rows, bool all, bool append)
    {
        auto *files = control<QListView>(w, u"文件"_qs);
        files->clearSelection();
        for (int row : rows)
            files->selectionModel()->select(files->model()->index(row, 0), QItemSelectionModel::Select);
        control<QCheckBox>(w, u"打开全部"_qs)->setChecked(all);
        control<QCheckBox>(w, u"追加文件"_qs)->setChecked(append);
        QTest::mouseClick(control<QAbstractButton>(w, u"确定"_qs), Qt::LeftButton);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_demo.isRunning(), qPrintable(m_demo.error()));
        m_music = m_dir.filePath(u"音乐"_qs);
        QVERIFY(QDir().mkpath(m_music + u"/子"_qs));
        for (const char *name : {"b 二.MP3", "a 一.flac", "c 三.ogg", "说明.txt"}) {
            QFile f(m_music + u'/' + QString::fromUtf8(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString path = m_dir.filePath(u"kx.dat"_qs);
        QCOMPARE(LibraryDatabase::create(path).status, LibraryCreateOutcome::Status::Created);
        QVERIFY(m_db.open(path).ok());
        m_access = std::make_unique<LibraryAccess>(m_db);
        m_server = std::make_unique<ServerClient>(&m_nam, m_demo.baseUrl());
        m_window = std::make_unique<MainWindow>(
            MainWindowContext {m_dir.path(), m_server.get(), &m_state, m_access.get(), {}, {}});
        PlaybackViewsOptions options {{u"ao=null"_qs, u"vo=null"_qs}, test::buildDir() + u"/lib"_qs, false};
        m_views = new PlaybackViews(m_window.get(), options);
        m_imports = new ImportCommands(m_window.get(), m_views, &m_db);
        m_window->show();
        QVERIFY(QTest::qWaitFor([this] { return m_window->startupFinished(); }, 30000));
    }

    void cleanupTestCase()
    {
        m_window.reset();
        m_db.release();
    }

    void fillsTheQueueFromTheNowPlayingMenu()
    {
        queue()->assign({QueueEntry {u"旧一"_qs, u"/x/1.mp3"_qs}, QueueEntry {u"旧二"_qs, u"/x/2.mp3"_qs}});
        m_views->session()->player()->setCurrentIndex(1);
        m_window->menus()->nowPlaying.openLocal->trigger();
        ImportWindow *w = m_imports->importWindow();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->targetPlaylist(), 0);
        w->showFolder(m_music);
        QCOMPARE(w->listedFiles(), (QStringList {u"a 一.flac"_qs, u"b 二.MP3"_qs, u"c 三.ogg"_qs}));

        importRows(w, {2, 0}, false, false);
        QCOMPARE(takeMessage(), u"打开文件成功."_qs);
        QVERIFY(!w->isVisible());
        QCOMPARE(queueTitles(*queue()), (QStringList {u"a 一.flac"_qs, u"c 三.ogg"_qs}));
        QCOMPARE(queue()->at(1).locator, m_music + u"/c 三.ogg"_qs);
        QCOMPARE(queue()->at(1).kind, -3);
        // "下一首" after a replace starts the first new song.
        QCOMPARE(m_views->session()->player()->currentIndex(), -1);

        // Opened again, it is where it was; "追加文件" adds after the songs.
        m_window->menus()->nowPlaying.openLocal->trigger();
        QCOMPARE(w->folder(), m_music);
        importRows(w, {1}, false, true);
        QCOMPARE(takeMessage(), u"打开文件成功."_qs);
        QCOMPARE(queue()->highest(), 2);
    }

    void storesIntoAPlaylistUnlessItWasDeleted()
    {
        const int id = m_db.addPlaylist(u"本地"_qs).id;
        ImportWindow *w = m_imports->importWindow();
        w->setTargetPlaylist(id);
        w->show();
        importRows(w, {0}, true, false);
        QCOMPARE(takeMessage(), u"打开文件成功."_qs);
        QCOMPARE(m_db.playlistPage(id).size(), 3);

        // Deleted while the window is open: nothing written, the window stays.
        const int gone = m_db.addPlaylist(u"将删"_qs).id;
        w->setTargetPlaylist(gone);
        w->show();
        QVERIFY(m_db.deletePlaylist(gone));
        w->showFolder(m_music + u"/子"_qs);
        w->showFolder(m_music);
        importRows(w, {1}, false, false);
        QCOMPARE(takeMessage(), u"操作失败：播放列表已经不存在。"_qs);
        QVERIFY(w->isVisible());
        QCOMPARE(m_db.playlistPage(gone).size(), 0);
        w->hide();
    }

    void dropOnTheWindowJoinsTheQueue()
    {
        // The mini player is made after the main window's first frame; it takes drops too.
        for (QWidget *target :
            {static_cast<QWidget *>(m_window.get()), static_cast<QWidget *>(m_views->miniPlayer())}) {
            queue()->reset();
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(m_music)});
            const QPoint at(40, 40);
            QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &drop);
            QCOMPARE(queueTitles(*queue()), (QStringList {u"a 一.flac"_qs, u"b 二.MP3"_qs, u"c 三.ogg"_qs}));
        }
    }
};

QTEST_MAIN(ImportWindowTest)
#include "tst_importwindow.moc"
