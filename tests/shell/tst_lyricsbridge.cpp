// The lyrics steps of a starting entry as the player runs them: what ends up in the
// entry and on screen for cached lyrics, lyric files beside local songs, the
// settings switch, and a start overtaken by a newer one.

#include "library/storedsettings.h"
#include "lyrics/lyricscontroller.h"
#include "playback/playqueue.h"
#include "shell/lyricsbridge.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QCoro/QCoroTask>

using namespace kivo;

class LyricsBridgeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entryLyricsAreStoredAndShown_data()
    {
        QTest::addColumn<QString>("cached");
        QTest::addColumn<QString>("fileText"); // beside the local song; empty: no file
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("stillCurrent");
        QTest::addColumn<QString>("expectStored");
        QTest::addColumn<QString>("expectFirstLine"); // empty: nothing shown

        const QString cached = u"[00:01.00]cached one<br>[00:03.00]cached two"_qs;
        const QString file = u"[00:01.00]file one\n[00:03.00]file two\n"_qs;
        QTest::newRow("cached lyrics") << cached << QString() << true << true << cached << u"cached one"_qs;
        QTest::newRow("file beside the song wins")
            << cached << file << true << true << u"[00:01.00]file one<br>[00:03.00]file two<br>"_qs << u"file one"_qs;
        QTest::newRow("file ignored when lyrics are off")
            << QString() << file << false << true << QString() << QString();
        QTest::newRow("overtaken start shows nothing") << cached << QString() << true << false << cached << QString();
    }
    void entryLyricsAreStoredAndShown()
    {
        QFETCH(QString, cached);
        QFETCH(QString, fileText);
        QFETCH(bool, enabled);
        QFETCH(bool, stillCurrent);
        QFETCH(QString, expectStored);
        QFETCH(QString, expectFirstLine);

        QTemporaryDir dir;
        const QString song = dir.filePath(u"歌.mp3"_qs);
        if (!fileText.isEmpty()) {
            QFile f(dir.filePath(u"歌.lrc"_qs));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(fileText.toUtf8());
        }
        StoredSettings settings;
        settings.localLyricsEnabled = enabled;
        LyricsController lyrics;
        PlayQueue queue;
        LyricsBridge bridge(&lyrics, nullptr, nullptr, &settings);
        bridge.setQueue(&queue);
        QueueEntry entry;
        entry.title = u"歌"_qs;
        entry.id = 1009;
        entry.kind = EntryKind::MusicId;
        entry.lyrics = cached;
        queue.replace(0, entry);

        // The order the player runs the steps in.
        bridge.clearCurrentLyrics();
        bool resolved = false;
        bridge.ResolveEntryLyrics(0, [&] { return stillCurrent; }).then([&] { resolved = true; });
        QTRY_VERIFY_WITH_TIMEOUT(resolved, 2000);
        if (stillCurrent)
            bridge.LoadLocalLyrics(0, song);
        bridge.ResetLyricDisplay();

        QCOMPARE(queue.at(0).lyrics, expectStored);
        if (expectFirstLine.isEmpty()) {
            QVERIFY(lyrics.currentLyrics().isEmpty());
        } else {
            QVERIFY2(
                lyrics.currentLyrics().text().contains(expectFirstLine), qPrintable(lyrics.currentLyrics().text()));
            QVERIFY(lyrics.currentLyrics().isDisplayable());
        }
    }
};

QTEST_GUILESS_MAIN(LyricsBridgeTest)
#include "tst_lyricsbridge.moc"
