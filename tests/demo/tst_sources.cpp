// Where songs play from on the demo server: direct addresses, search candidates
// with dead ones first, lyrics timed to the songs, and the media files themselves.

#include "core/pageformats.h"
#include "support/demoserver.h"
#include "support/testpaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTcpSocket>
#include <QTemporaryFile>
#include <QTest>
#include <QUrl>

using namespace kivo;
using kivo::test::DemoServer;
using kivo::test::HttpResult;

namespace {

struct Song
{
    QString id, title, url, singer, searchText;
};

QByteArray pathOf(const QString &address)
{
    const QUrl u(address);
    QByteArray out = u.path(QUrl::FullyEncoded).toUtf8();
    if (u.hasQuery())
        out += '?' + u.query(QUrl::FullyEncoded).toUtf8();
    return out;
}

} // namespace

class DemoSourcesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DemoServer> m_server;
    QList<Song> m_songs;

    QString payload(const QByteArray &pathAndQuery)
    {
        return HiddenDataPage::payloadOf(m_server->post(pathAndQuery).text());
    }

    // How an address behaves when a player tries it.
    enum class Outcome { Audio, NotFound, NotAudio, NoAnswer };
    Outcome tryAddress(const QString &address)
    {
        const QUrl u(address);
        HttpResult r;
        if (u.port() == m_server->port()) {
            r = m_server->request("GET", pathOf(address), 3000);
        } else {
            // Another port of this machine: it accepts and then stays silent.
            QTcpSocket s;
            s.connectToHost(u.host(), quint16(u.port()));
            if (!s.waitForConnected(2000))
                return Outcome::NotFound;
            s.write("GET " + pathOf(address) + " HTTP/1.1\r\nHost: x\r\n\r\n");
            return s.waitForReadyRead(300) ? Outcome::Audio : Outcome::NoAnswer;
        }
        if (r.status == 404)
            return Outcome::NotFound;
        if (r.status == 200 && r.header("Content-Type") == "audio/mpeg" && r.complete() && r.body.size() > 1000)
            return Outcome::Audio;
        return Outcome::NotAudio;
    }

    QStringList candidates(const Song &s)
    {
        const QString text = payload("/baiduurl.asp?word=" + QUrl::toPercentEncoding(s.title) + '+'
            + QUrl::toPercentEncoding(s.singer) + "&time=12:00:00&word1=" + QUrl::toPercentEncoding(s.title));
        return text.split(kLineBreak);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<DemoServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
        for (int page = 1; page <= 4; ++page)
            for (const QStringList &r : splitListPayload(payload("/soft.asp?mlid=1&page=" + QByteArray::number(page))))
                if (classifyListRecord(r) == ListRecordKind::Song)
                    m_songs.append(
                        {r.at(4).trimmed(), r.at(1), r.at(5).trimmed(), r.at(6).trimmed(), r.at(7).trimmed()});
        QVERIFY(m_songs.size() >= 40);
    }

    void someSongsCarryAnAddressAndSomeDoNot()
    {
        int direct = 0;
        for (const Song &s : std::as_const(m_songs))
            if (!s.url.isEmpty()) {
                QVERIFY(s.url.startsWith(m_server->baseUrl() + u"media/"));
                ++direct;
            }
        QVERIFY(direct >= 5);
        QVERIFY(direct <= m_songs.size() - 5);
    }

    // Every song's search answer is shaped as the player reads it: a first item
    // that is not an address, then each address followed by "<br>".
    void candidateListsAreShapedForThePlayer()
    {
        for (const Song &s : std::as_const(m_songs)) {
            const QStringList items = candidates(s);
            QVERIFY2(items.size() >= 2, qPrintable(s.title));
            QVERIFY(!items.first().startsWith(u"http"));
            QVERIFY(items.last().isEmpty());
            for (qsizetype i = 1; i + 1 < items.size(); ++i)
                QVERIFY(items.at(i).startsWith(u"http://127.0.0.1:"));
        }
    }

    void deadCandidatesComeFirstForSomeSongs()
    {
        int withDeadFirst = 0, withOnlyDead = 0, checked = 0;
        QSet<int> deadKinds;
        for (const Song &s : std::as_const(m_songs)) {
            const QStringList items = candidates(s);
            bool playable = false;
            // The player tries items 1 .. u-1 in order.
            for (qsizetype i = 1; i + 1 < items.size() && !playable; ++i) {
                const Outcome o = tryAddress(items.at(i));
                if (o == Outcome::Audio) {
                    playable = true;
                    withDeadFirst += i > 1;
                } else {
                    deadKinds.insert(int(o));
                }
            }
            withOnlyDead += !playable;
            if (++checked >= 16 && withDeadFirst >= 3)
                break;
        }
        QVERIFY(withDeadFirst >= 3);
        QVERIFY(deadKinds.contains(int(Outcome::NotFound)));
        QVERIFY(deadKinds.contains(int(Outcome::NotAudio)));
        QVERIFY(deadKinds.contains(int(Outcome::NoAnswer)));
        Q_UNUSED(withOnlyDead);
    }

    void aSongCanHaveNoWorkingCandidate()
    {
        int exhausted = 0;
        for (const Song &s : std::as_const(m_songs)) {
            const QStringList items = candidates(s);
            bool any = false;
            for (qsizetype i = 1; i + 1 < items.size(); ++i)
                any = any || items.at(i).contains(u"/media/songs/");
            exhausted += !any;
        }
        QCOMPARE(exhausted, 1);
    }

    void unknownSongsHaveNoCandidates()
    {
        const QString text = payload("/baiduurl.asp?word=nothing&time=1&word1=nothing");
        QCOMPARE(text.split(kLineBreak).size(), 2); // the first item and nothing after it
    }

    // Lyrics are LRC lines in "<br>"-separated text, in time order, within the song.
    void lyricsAreTimedLrc()
    {
        static const QRegularExpression stamp(QStringLiteral("^\\[(\\d\\d):(\\d\\d)\\.(\\d\\d)\\](.+)$"));
        int with = 0, without = 0;
        for (const Song &s : std::as_const(m_songs)) {
            const QString text = payload("/softlrc.asp?id=" + s.id.toUtf8());
            if (text.isEmpty()) {
                ++without;
                continue;
            }
            ++with;
            int last = -1, timed = 0;
            for (const QString &line : text.split(kLineBreak)) {
                const auto m = stamp.match(line);
                if (!m.hasMatch())
                    continue;
                const int at = m.captured(1).toInt() * 60 + m.captured(2).toInt();
                QVERIFY(at > last);
                QVERIFY(at <= 40);
                last = at;
                ++timed;
            }
            QVERIFY(timed >= 5);
        }
        QVERIFY(with >= 20);
        QVERIFY(without >= 3);
        QVERIFY(payload("/softlrc.asp?id=999999").isEmpty());
    }

    void mediaIsServedWithRanges_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("file");
        QTest::newRow("song") << QByteArray("/media/songs/1001.mp3") << u"songs/1001.mp3"_qs;
        QTest::newRow("video") << QByteArray("/media/mtv/2001.mp4") << u"mtv/2001.mp4"_qs;
        QTest::newRow("bench song") << QByteArray("/media/bench30.mp3") << u"bench30.mp3"_qs;
        QTest::newRow("slow drip") << QByteArray("/media/drip/songs/1002.mp3?rate=200000") << u"songs/1002.mp3"_qs;
    }
    void mediaIsServedWithRanges()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, file);
        QFile f(QDir(kivo::test::demoMediaDir()).filePath(file));
        if (!f.open(QIODevice::ReadOnly))
            QSKIP("demo media not made (scripts/make-demo-media.sh)");
        const QByteArray bytes = f.readAll();

        const HttpResult whole = m_server->request("GET", path, 20000);
        QCOMPARE(whole.status, 200);
        QCOMPARE(whole.contentLength, qint64(bytes.size()));
        QCOMPARE(whole.header("Accept-Ranges"), QByteArray("bytes"));
        QVERIFY(whole.body == bytes);

        const HttpResult part = m_server->request("GET", path, 20000, "Range: bytes=1000-1999\r\n");
        QCOMPARE(part.status, 206);
        QCOMPARE(part.body.size(), 1000);
        QVERIFY(part.body == bytes.mid(1000, 1000));
        QVERIFY(part.header("Content-Range").startsWith("bytes 1000-1999/"));

        const HttpResult tail
            = m_server->request("GET", path, 20000, "Range: bytes=" + QByteArray::number(bytes.size() - 10) + "-\r\n");
        QCOMPARE(tail.status, 206);
        QVERIFY(tail.body == bytes.right(10));
    }

    void mediaPlanMatchesTheCatalogue()
    {
        // Every song's address names a file the media script makes.
        QProcess plan;
        plan.start(kivo::test::toolsDir() + u"/kivodemo"_qs, {u"--media-plan"_qs});
        QVERIFY(plan.waitForFinished(10000));
        const QString text = QString::fromUtf8(plan.readAllStandardOutput());
        for (const Song &s : std::as_const(m_songs))
            QVERIFY2(text.contains(u"songs/"_qs + s.id + u".mp3|"_qs), qPrintable(s.id));
        QVERIFY(text.contains(u"bench30.mp3|30|audio|"));
        QCOMPARE(text.count(u"|video|"), 3);
    }

    void updateFileHasALength()
    {
        const HttpResult r = m_server->request("GET", "/download/code/kivoplay.exe");
        QCOMPARE(r.status, 200);
        QVERIFY(r.contentLength > 1000);
        QVERIFY(r.complete());

        QTemporaryFile own;
        QVERIFY(own.open());
        own.write("new player build");
        own.flush();
        QVERIFY(m_server->setUpdateFile(own.fileName()));
        const HttpResult mine = m_server->request("GET", "/download/code/kivoplay.exe");
        QCOMPARE(mine.body, QByteArray("new player build"));
        QCOMPARE(mine.contentLength, 16);
        QVERIFY(m_server->reset());
    }
};

QTEST_GUILESS_MAIN(DemoSourcesTest)
#include "tst_sources.moc"
