#include "lyrics/lyricfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;

namespace {
const QByteArray kGbLyrics("[00:01.00]\xc4\xe3\xba\xc3\xa3\xac\xca\xc0\xbd\xe7"); // [00:01.00]你好，世界
} // namespace

class LyricFilesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lyricPath_data()
    {
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("lyrics");
        QTest::newRow("windows") << u"C:\\Music\\Song.mp3"_qs << u"C:\\Music\\Song.lrc"_qs;
        QTest::newRow("dotted windows folder") << u"D:\\a.b\\song.mp3"_qs << u"D:\\a.b\\song.lrc"_qs;
        QTest::newRow("my.music") << u"D:\\my.music\\song.mp3"_qs << u"D:\\my.music\\song.lrc"_qs;
        QTest::newRow("hidden unix folder")
            << u"/home/u/.local/share/music/song.mp3"_qs << u"/home/u/.local/share/music/song.lrc"_qs;
        QTest::newRow("dots in the name") << u"/music/01. Intro.remix.ogg"_qs << u"/music/01. Intro.remix.lrc"_qs;
        QTest::newRow("no extension") << u"/music/a.b/song"_qs << u"/music/a.b/song.lrc"_qs;
        QTest::newRow("dot file") << u"/music/.song"_qs << u"/music/.song.lrc"_qs;
        QTest::newRow("bare name") << u"song.wma"_qs << u"song.lrc"_qs;
    }
    void lyricPath()
    {
        QFETCH(QString, song);
        QFETCH(QString, lyrics);
        QCOMPARE(LyricFilePathFor(song), lyrics);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8 with bom") << QByteArray("\xef\xbb\xbf[00:01.00]\xe4\xbd\xa0") << u"[00:01.00]你"_qs;
        QTest::newRow("utf-8") << QByteArray("[00:01.00]\xe4\xbd\xa0") << u"[00:01.00]你"_qs;
        QTest::newRow("utf-16le with bom") << QByteArray("\xff\xfe[\x00\x60\x4f", 6) << u"[你"_qs;
        QTest::newRow("gb18030") << kGbLyrics << u"[00:01.00]你好，世界"_qs;
        QTest::newRow("ascii") << QByteArray("[ti:x]") << u"[ti:x]"_qs;
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeLyricFileBytes(bytes), text);
    }

    void localFile_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("lyrics"); // "-": none
        QTest::newRow("crlf") << u"plain"_qs << QByteArray("[00:01.00]a\r\n[00:02.00]b\r\n")
                              << u"[00:01.00]a<br>[00:02.00]b<br>"_qs;
        QTest::newRow("lf alone") << u"plain"_qs << QByteArray("[00:01.00]a\n[00:02.00]b")
                                  << u"[00:01.00]a<br>[00:02.00]b"_qs;
        QTest::newRow("cr alone") << u"plain"_qs << QByteArray("[00:01.00]a\r[00:02.00]b")
                                  << u"[00:01.00]a<br>[00:02.00]b"_qs;
        QTest::newRow("dotted folders") << u".local/my.music"_qs << QByteArray("[00:01.00]abc\n")
                                        << u"[00:01.00]abc<br>"_qs;
        QTest::newRow("gb18030 file") << u"gb"_qs << kGbLyrics << u"[00:01.00]你好，世界"_qs;
        QTest::newRow("under 10 characters") << u"plain"_qs << QByteArray("  [0:1]ab \r\n") << u"-"_qs;
    }
    void localFile()
    {
        QFETCH(QString, folder);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, lyrics);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString dir = root.filePath(folder);
        QVERIFY(QDir().mkpath(dir));
        QFile file(dir + u"/song.lrc"_qs);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const std::optional<QString> found = LoadLocalLyrics(dir + u"/song.mp3"_qs, true);
        QCOMPARE(found.value_or(u"-"_qs), lyrics);
    }

    void onlyLocalFilesWithLyricsOn()
    {
        QTemporaryDir root;
        QFile file(root.filePath(u"song.lrc"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[00:01.00]long enough");
        file.close();
        const QString song = root.filePath(u"song.mp3"_qs);
        QVERIFY(LoadLocalLyrics(song, true));
        QVERIFY(!LoadLocalLyrics(song, false));
        QVERIFY(!LoadLocalLyrics(u"http://127.0.0.1:1/song.mp3"_qs, true));
        QVERIFY(!LoadLocalLyrics(QString(), true));
        QVERIFY(!LoadLocalLyrics(root.filePath(u"other.mp3"_qs), true));
    }

    // Lyric collections named by the older rule (the path up to its first ".") are
    // found beside the song; the song's own name comes first.
    void olderLyricFileBesideTheSong()
    {
        QTemporaryDir root;
        if (root.path().contains(u'.'))
            QSKIP("the temporary folder's path holds a dot");
        const auto write = [&root](const QString &name, const QByteArray &bytes) {
            QFile file(root.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        };
        const QString song = root.filePath(u"01. Intro.remix.mp3"_qs);
        write(u"01.lrc"_qs, "[00:01.00]older rule");
        QCOMPARE(LoadLocalLyrics(song, true).value_or(QString()), u"[00:01.00]older rule"_qs);
        write(u"01. Intro.remix.lrc"_qs, "[00:01.00]own name");
        QCOMPARE(LoadLocalLyrics(song, true).value_or(QString()), u"[00:01.00]own name"_qs);
        // For a song in a dotted folder the older name lies outside that folder.
        write(u"my.lrc"_qs, "[00:01.00]not this one");
        QVERIFY(QDir(root.path()).mkpath(u"my.music"_qs));
        QVERIFY(!LoadLocalLyrics(root.filePath(u"my.music/song.mp3"_qs), true));
    }
};

QTEST_GUILESS_MAIN(LyricFilesTest)
#include "tst_lyricfiles.moc"
