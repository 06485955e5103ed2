// The lyrics steps of a starting entry as the player runs them: what ends up in the
// entry and on screen for cached lyrics, lyric files beside local songs, the
// settings switch, and a start overtaken by a newer one.

#include "lyrics/lyricscontroller.h"
#include "playback/entrylyrics.h"
#include "playback/playqueue.h"
#include "playback/queueplayer.h"
#include "playback/songsourceresolver.h"
#include "playbackrig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QCoro/QCoroTask>

using namespace kivo;

namespace {
const QString kCached = u"[00:01.00]cached one<br>[00:03.00]cached two"_qs;

QueueEntry playlistSong(const QString &locator, const QString &cached)
{
    QueueEntry entry;
    entry.title = u"歌"_qs;
    entry.locator = locator;
    entry.id = 1009;
    entry.kind = SongKind::Playlist;
    entry.lyrics = cached;
    return entry;
}
} // namespace

class EntryLyricsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entryLyricsAreStoredAndShown_data()
    {
        QTest::addColumn<QString>("cached");
        QTest::addColumn<QString>("fileText"); // beside the local song; empty: no file
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("expectStored");
        QTest::addColumn<QString>("expectFirstLine"); // empty: nothing shown

        const QString file = u"[00:01.00]file one\n[00:03.00]file two\n"_qs;
        QTest::newRow("cached lyrics") << kCached << QString() << true << kCached << u"cached one"_qs;
        QTest::newRow("file beside the song wins")
            << kCached << file << true << u"[00:01.00]file one<br>[00:03.00]file two<br>"_qs << u"file one"_qs;
        QTest::newRow("file ignored when lyrics are off") << QString() << file << false << QString() << QString();
    }
    void entryLyricsAreStoredAndShown()
    {
        QFETCH(QString, cached);
        QFETCH(QString, fileText);
        QFETCH(bool, enabled);
        QFETCH(QString, expectStored);
        QFETCH(QString, expectFirstLine);

        QTemporaryDir dir;
        if (!fileText.isEmpty()) {
            QFile f(dir.filePath(u"歌.lrc"_qs));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(fileText.toUtf8());
        }
        LyricsController lyrics;
        EntryLyrics steps(&lyrics, nullptr, nullptr, [enabled] { return enabled; });
        FakeMediaEngine engine;
        test::FakeServer server;
        PlayQueue queue;
        SongSourceResolver resolver(&queue, &server, nullptr);
        QueuePlayer player(&queue, &engine, &resolver, &steps, nullptr);
        queue.replace(0, playlistSong(dir.filePath(u"歌.mp3"_qs), cached));

        QCoro::waitFor(player.PlayEntry(0, false));
        QCOMPARE(engine.urls.size(), 1);
        QCOMPARE(queue.at(0).lyrics, expectStored);
        if (expectFirstLine.isEmpty()) {
            QVERIFY(lyrics.currentLyrics().isEmpty());
        } else {
            QVERIFY2(
                lyrics.currentLyrics().text().contains(expectFirstLine), qPrintable(lyrics.currentLyrics().text()));
            QVERIFY(lyrics.currentLyrics().isDisplayable());
        }
    }

    void overtakenStartShowsNothing()
    {
        LyricsController lyrics;
        EntryLyrics steps(&lyrics, nullptr, nullptr);
        steps.clearCurrentLyrics();
        const auto found
            = QCoro::waitFor(steps.ResolveEntryLyrics(playlistSong(QString(), kCached), [] { return false; }));
        QVERIFY(!found);
        QVERIFY(lyrics.currentLyrics().isEmpty());
    }
};

QTEST_GUILESS_MAIN(EntryLyricsTest)
#include "moc_playbackrig.cpp"
#include "tst_entrylyrics.moc"
