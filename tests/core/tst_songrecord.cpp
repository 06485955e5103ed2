#include "core/songrecord.h"

#include <QTest>

using namespace kivo;

class TestSongRecord : public QObject
{
    Q_OBJECT
private Q_SLOTS:
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

    void separatorsInATitleKeepTheRowsMeaning()
    {
        SongRecord r;
        r.id = u"9"_qs;
        r.locator = u"/m/a.mp3"_qs;
        r.title = u"Live ||| 2 ||| 3"_qs;
        r.url2 = u"词|||3|"_qs;
        r.musicId = u"5"_qs;
        const SongRecord back = SongRecord::fromText(r.toText());
        QCOMPARE(back.kind, SongKind::Playlist);
        QCOMPARE(back.id, u"9"_qs);
        QCOMPARE(back.locator, u"/m/a.mp3"_qs);
        QCOMPARE(back.musicId, u"5"_qs);
        // Bars in free text travel as their full-width look-alike.
        QCOMPARE(back.title, u"Live ｜｜｜ 2 ｜｜｜ 3"_qs);
        QCOMPARE(back.url2, u"词｜｜｜3｜"_qs);
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
