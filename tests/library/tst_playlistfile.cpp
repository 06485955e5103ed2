// Playlist files: what an M3U or PLS file names, and what the player writes reads back the same.
#include "library/playlistfile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

class PlaylistFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsM3uAndPls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("m3u") << u"a.m3u"_qs
                             << u"\uFEFF#EXTM3U\r\n#EXTINF:123,海风 - 一\r\n歌/一.mp3\r\n\r\n..\\旧\\二.wma\r\n"
                                "file:///srv/%E4%B8%89.flac\r\n#EXTINF:-1,电台\r\nhttp://radio.example/live?x=1\r\n"_qs;
        QTest::newRow("pls") << u"a.PLS"_qs
                             << u"[playlist]\nFile2=../旧/二.wma\nTitle1=海风 - 一\nFile1=歌/一.mp3\n"
                                "file3=file:///srv/%E4%B8%89.flac\nFile4=http://radio.example/live?x=1\n"
                                "Title4=电台\nNumberOfEntries=4\n"_qs;
    }
    void readsM3uAndPls()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        const QList<PlaylistFileEntry> got = parsePlaylistText(text, playlistFileFormat(name), u"/home/u/列表"_qs);
        const QList<PlaylistFileEntry> expected {{u"海风 - 一"_qs, u"/home/u/列表/歌/一.mp3"_qs},
            {QString(), u"/home/u/旧/二.wma"_qs}, {QString(), u"/srv/三.flac"_qs},
            {u"电台"_qs, u"http://radio.example/live?x=1"_qs}};
        QCOMPARE(got, expected);
        const QList<ImportItem> items = importItemsOf(got);
        QCOMPARE(items.at(1).title, u"二.wma"_qs);
        QCOMPARE(items.at(3).url2, QString());
    }

    void writesWhatItReads_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("m3u8") << u"出.m3u8"_qs;
        QTest::newRow("pls") << u"出.pls"_qs;
    }
    void writesWhatItReads()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QList<PlaylistFileEntry> entries {{u"歌, 一"_qs, u"/音乐/一.mp3"_qs},
            {u"两\n行"_qs, u"https://h.example/二.mp3"_qs}, {u"三"_qs, dir.filePath(u"三 3.ogg"_qs)}};
        QVERIFY(writePlaylistFile(path, entries));
        QList<PlaylistFileEntry> expected = entries;
        expected[1].title = u"两 行"_qs; // a line break would end the line early
        QCOMPARE(readPlaylistFile(path).value(), expected);
    }
};

QTEST_GUILESS_MAIN(PlaylistFileTest)
#include "tst_playlistfile.moc"
