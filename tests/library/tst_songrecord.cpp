#include "library/songrecord.h"

#include <QDir>
#include <QTemporaryFile>
#include <QTest>

using namespace kivo;

class TestSongRecord : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void locatorChoice_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("url1");
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QString>("expected");
        QTest::newRow("existing path wins over url1")
            << u"/m/a.mp3"_qs << u"http://h/a.mp3"_qs << true << u"/m/a.mp3"_qs;
        QTest::newRow("missing file falls back to url1")
            << u"/m/a.mp3"_qs << u"http://h/a.mp3"_qs << false << u"http://h/a.mp3"_qs;
        QTest::newRow("missing file, no url1") << u"/m/a.mp3"_qs << QString() << false << QString();
        QTest::newRow("no url, url1 kept") << QString() << u"http://h/b.mp3"_qs << true << u"http://h/b.mp3"_qs;
        QTest::newRow("both empty") << QString() << QString() << true << QString();
    }
    void locatorChoice()
    {
        QFETCH(QString, url);
        QFETCH(QString, url1);
        QFETCH(bool, fileThere);
        QFETCH(QString, expected);
        QStringList asked;
        const auto exists = [&](const QString &p) {
            asked << p;
            return fileThere;
        };
        QCOMPARE(chooseLocator(url, url1, exists), expected);
        // An empty stored path is never looked up on disk.
        QCOMPARE(asked.contains(QString()), false);
    }

    void realFileTest()
    {
        QTemporaryFile f;
        QVERIFY(f.open());
        QCOMPARE(chooseLocator(f.fileName(), u"x"_qs), f.fileName());
        QCOMPARE(chooseLocator(f.fileName() + u".gone"_qs, u"x"_qs), u"x"_qs);
        // A folder is not a song file.
        QCOMPARE(chooseLocator(QDir::tempPath(), u"x"_qs), u"x"_qs);
    }

    void textForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<SongRecord>("record");
        SongRecord pl;
        pl.id = u"7"_qs;
        pl.kind = 0;
        pl.locator = u"/m/a.mp3"_qs;
        pl.title = u"歌"_qs;
        pl.url2 = u"u2"_qs;
        pl.baiduId = u"b"_qs;
        pl.musicId = u"m"_qs;
        QTest::newRow("playlist") << u"7|||/m/a.mp3 |||歌 |||u2|||0|||b|||m|||0"_qs << pl;
        SongRecord empty = pl;
        empty.locator.clear();
        QTest::newRow("playlist without locator: field 1 two blanks")
            << u"7|||  |||歌 |||u2|||0|||b|||m|||0"_qs << empty;
        SongRecord hist = pl;
        hist.kind = 1;
        hist.listId = u"12"_qs;
        QTest::newRow("history") << u"7|||/m/a.mp3 |||歌 |||u2|||1|||b|||m|||0|||12"_qs << hist;
        SongRecord cat;
        cat.id = u"55"_qs;
        cat.kind = 3;
        cat.url = u"a"_qs;
        cat.url1 = u"b"_qs;
        cat.url2 = u"c"_qs;
        QTest::newRow("catalogue") << u"55||| a|||b|||c|||3"_qs << cat;
    }
    void textForm()
    {
        QFETCH(QString, text);
        QFETCH(SongRecord, record);
        QCOMPARE(record.toText(), text);
        QCOMPARE(SongRecord::fromText(text), record);
    }

    void shortTextReadsEmptyFields()
    {
        const SongRecord r = SongRecord::fromText(u"9|||x"_qs);
        QCOMPARE(r.id, u"9"_qs);
        QCOMPARE(r.kind, 0);
        QCOMPARE(r.locator, u"x"_qs);
        QVERIFY(r.title.isEmpty());
        QVERIFY(!r.listId);
    }
};

QTEST_GUILESS_MAIN(TestSongRecord)
#include "tst_songrecord.moc"
