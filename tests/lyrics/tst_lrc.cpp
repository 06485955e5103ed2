#include "lyrics/lrclyrics.h"

#include <QTest>

using namespace kivo;

class LrcTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void normalize_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("normalized");
        QTest::newRow("last line dropped")
            << u"[00:01.00]A<br>[00:03.50]B<br>[00:07.00]C"_qs << u"[00:01.00]A[2500]<br>[00:03.50]B[3500]<br>"_qs;
        QTest::newRow("two tags on one line")
            << u"[00:05.00][00:20.00]Hi<br>[00:10.00]Yo"_qs << u"[00:05.00]Hi[5000]<br>[00:10.00]Yo[10000]<br>"_qs;
        QTest::newRow("metadata sorts last, span 0")
            << u"[ti:Title]<br>[00:02.00]One<br>[00:04.00]Two"_qs << u"[00:02.00]One[2000]<br>[00:04.00]Two[0]<br>"_qs;
        QTest::newRow("metadata case-insensitive order")
            << u"[ar:x]<br>[TI:y]<br>[00:01.00]a"_qs << u"[00:01.00]a[0]<br>[ar:x][0]<br>"_qs;
        QTest::newRow("text trimmed, inner spaces kept")
            << u"[00:01.00]   two  words  <br>[00:02.00]x"_qs << u"[00:01.00]two  words[1000]<br>"_qs;
        QTest::newRow("unsorted input is sorted") << u"[00:09.00]late<br>[00:01.00]early<br>[00:20.00]end"_qs
                                                  << u"[00:01.00]early[8000]<br>[00:09.00]late[11000]<br>"_qs;
        QTest::newRow("line without bracket adds nothing")
            << u"plain words<br>[00:01.00]a<br>[00:02.00]b"_qs << u"[00:01.00]a[1000]<br>"_qs;
        QTest::newRow("text before a tag is cut off at its last [")
            << u"x[00:01.00]a<br>[00:02.00]b"_qs << u"[00:01.00]a[1000]<br>"_qs;
        QTest::newRow("empty line text") << u"[00:01.00]<br>[00:02.00]b<br>[00:03.00]c"_qs
                                         << u"[00:01.00][1000]<br>[00:02.00]b[1000]<br>"_qs;
        QTest::newRow("one entry only") << u"[00:01.00]alone"_qs << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("tags without fraction") << u"[01:23]a<br>[01:25]b"_qs << u"[01:23]a[2000]<br>"_qs;
        // Whole entries are compared: a tag's closing "]" sorts after digits, before letters.
        QTest::newRow("shorter tag against a longer one")
            << u"[1]a<br>[12]b<br>[1b]c<br>[9]z"_qs << u"[12]b[0]<br>[1]a[0]<br>[1b]c[0]<br>"_qs;
        QTest::newRow("equal tags: text decides, case-insensitive")
            << u"[00:01.00]b<br>[00:01.00]A<br>[00:01.00]a<br>[00:02.00]z"_qs
            << u"[00:01.00]A[0]<br>[00:01.00]a[0]<br>[00:01.00]b[1000]<br>"_qs;
    }
    void normalize()
    {
        QFETCH(QString, raw);
        QFETCH(QString, normalized);
        QCOMPARE(NormalizeLrcText(raw), normalized);
        QCOMPARE(NormalizeLrc(raw).text(), normalized);
    }

    // One line repeated under thousands of tags once grew with the square of its
    // length; whatever the text, a lyric yields a bounded amount.
    void hostileLineIsBounded()
    {
        const QString line = QString(32 * 1024, u']') + QString(32 * 1024, u'x');
        const QString out = NormalizeLrcText(line);
        QVERIFY(out.size() <= kMaxNormalizedLrcChars);
        QVERIFY(out.startsWith(u"[]"_qs + QString(32 * 1024, u'x') + u"[0]<br>[]x"_qs));
        const QString tags = QString(64 * 1024, u']');
        QVERIFY(NormalizeLrcText(tags).size() <= kMaxLrcEntries * qsizetype(sizeof("[][0]<br>")));
    }

    // A line full of time keys was once indexed by reading the rest of the line again
    // for every key, with the square of its length (hours for this one); each
    // character is now read a bounded number of times.
    void lineOfKeysIsIndexedInOnePass()
    {
        const QString keys = u"01:02.3 "_qs.repeated(400000);
        const LrcLyrics lyrics = NormalizeLrc(u"[00:00.00]"_qs + keys + u"<br>[00:01.00]B"_qs);
        const LrcLyrics::Line *inText = lyrics.lineAt(u"01:02.3");
        QVERIFY(inText && inText->startsLine);
        QCOMPARE(inText->text, QString()); // what follows the key's "]": nothing before "[1000]"
        const LrcLyrics::Line *first = lyrics.lineAt(u"00:00.0");
        QVERIFY(first);
        QCOMPARE(first->text, keys.trimmed());
        QCOMPARE(first->spanMs, 1000);
    }

    void tagSpan_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("ms");
        QTest::newRow("tenths when one fraction is short") << u"01:02.5"_qs << u"01:03.25"_qs << 700;
        QTest::newRow("hundredths") << u"01:02.50"_qs << u"01:03.25"_qs << 750;
        QTest::newRow("minutes above 23 invalid") << u"30:00.00"_qs << u"30:01.00"_qs << 0;
        QTest::newRow("invalid to") << u"00:01.00"_qs << u"24:00.00"_qs << 0;
        QTest::newRow("three-digit fractions read whole") << u"00:01.123"_qs << u"00:01.200"_qs << 770;
        QTest::newRow("seconds above 59 invalid") << u"00:60.00"_qs << u"01:00.00"_qs << 0;
        QTest::newRow("negative when earlier") << u"00:03.50"_qs << u"00:01.00"_qs << -2500;
        QTest::newRow("no fraction on one side") << u"00:01"_qs << u"00:03.90"_qs << 2000;
        QTest::newRow("metadata") << u"ti:Title"_qs << u"00:01.00"_qs << 0;
        QTest::newRow("empty") << QString() << u"00:01.00"_qs << 0;
        QTest::newRow("keys in tenths") << u"00:59.9"_qs << u"01:01.1"_qs << 1200;
        QTest::newRow("23 minutes valid") << u"00:00.00"_qs << u"23:59.99"_qs << 1439990;
    }
    void tagSpan()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, ms);
        QCOMPARE(LrcTagSpanMs(from, to), ms);
    }

    // The lookup must answer exactly like searching the text for the key.
    void lineLookup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("span"); // -1: no span
        const QString lyrics = u"[00:01.00]A[2500]<br>[00:03.50]B[3500]<br>"_qs;
        QTest::newRow("first line") << lyrics << u"00:01.0"_qs << true << u"A"_qs << 2500;
        QTest::newRow("second line") << lyrics << u"00:03.5"_qs << true << u"B"_qs << 3500;
        QTest::newRow("between lines") << lyrics << u"00:02.0"_qs << false << QString() << -1;
        QTest::newRow("hundredths tag matched by its tenths")
            << u"[00:01.05]A[100]<br>"_qs << u"00:01.0"_qs << true << u"A"_qs << 100;
        QTest::newRow("same tenth: first entry wins")
            << u"[00:01.01]A[10]<br>[00:01.02]B[10]<br>"_qs << u"00:01.0"_qs << true << u"A"_qs << 10;
        QTest::newRow("raw text, no span") << u"[00:01.00]A<br>"_qs << u"00:01.0"_qs << true << u"A"_qs << -1;
        QTest::newRow("negative tenths searched in text")
            << u"x0:04.-2]odd[5]<br>"_qs << u"0:04.-2"_qs << true << u"odd"_qs << 5;
        QTest::newRow("the next line's \"]\" is not this line's")
            << u"x00:00.0 A<br>00:00.1]B[5]<br>"_qs << u"00:00.1"_qs << true << u"B"_qs << 5;
        QTest::newRow("negative tenths absent") << lyrics << u"0:04.-2"_qs << false << QString() << -1;
    }
    void lineLookup()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(bool, found);
        QFETCH(QString, line);
        QFETCH(int, span);
        const LrcLyrics lyrics = LrcLyrics::fromText(text);
        const LrcLyrics::Line *hit = lyrics.lineAt(key);
        QCOMPARE(hit != nullptr, found);
        if (!hit)
            return;
        QVERIFY(hit->startsLine);
        QCOMPARE(hit->text, line);
        QCOMPARE(hit->hasSpan ? hit->spanMs : -1, span);
    }

    void keyWithoutLineBreakStartsNothing()
    {
        const LrcLyrics lyrics = LrcLyrics::fromText(u"[00:01.00]A[2500]"_qs);
        const LrcLyrics::Line *hit = lyrics.lineAt(u"00:01.0");
        QVERIFY(hit);
        QVERIFY(!hit->startsLine);
    }

    void shortTextIsNotDisplayable()
    {
        QVERIFY(!LrcLyrics::fromText(u"  [0:1]<br>  "_qs).isDisplayable()); // 9 characters
        QVERIFY(LrcLyrics::fromText(u"[0:1]a<br>"_qs).isDisplayable());
        QVERIFY(LrcLyrics::fromText(u"[00:01.00]A[2500]<br>"_qs).isDisplayable());
    }
};

QTEST_GUILESS_MAIN(LrcTest)
#include "tst_lrc.moc"
