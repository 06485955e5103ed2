#include "playbackrig.h"

#include "core/mirrortext.h"

#include <QTest>

using namespace kivo;
using namespace kivo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Resolves the entry, then keeps "failing" the address the way a retry does, until
// nothing is returned; gives every address in order.
QStringList walk(PlaybackRig &rig, int index)
{
    QStringList out;
    for (int i = 0; i < 10; ++i) {
        QString address;
        [&]() -> QCoro::Task<void> {
            address = co_await rig.resolver.ResolveEntryAddress(index, [] { return true; });
        }();
        if (address.isEmpty())
            break;
        out << address;
        rig.queue.at(index).locator.clear();
    }
    return out;
}

QueueEntry entry(const QString &locator, const QString &url2, qint16 kind = 4)
{
    QueueEntry e;
    e.title = u"歌 名"_s;
    e.locator = locator;
    e.url2 = url2;
    e.kind = kind;
    return e;
}

} // namespace

class SongSourceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void candidateWalk_data();
    void candidateWalk();
    void searchAddress();
    void reports_data();
    void reports();
};

void SongSourceTest::candidateWalk_data()
{
    QTest::addColumn<QString>("locator");
    QTest::addColumn<qint16>("kind");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QStringList>("tried");
    QTest::addColumn<int>("searches");
    QTest::addColumn<int>("searchesLater"); // after another start of the entry

    const QString ab = u"lead<br>http://a/A.mp3<br>http://b/B.mp3<br>"_s;
    QTest::newRow("leading item, A and B")
        << QString() << qint16(4) << ab << QStringList {u"http://a/A.mp3"_s, u"http://b/B.mp3"_s} << 1 << 1;
    QTest::newRow("two addresses, no trailing separator")
        << QString() << qint16(4) << u"http://a/A.mp3<br>http://b/B.mp3"_s << QStringList {} << 1 << 1;
    // An unanswered search is made again at the next start.
    QTest::newRow("empty reply") << QString() << qint16(4) << QString() << QStringList {} << 1 << 2;
    QTest::newRow("locator before search")
        << u"http://c/C.mp3"_s << qint16(2) << ab
        << QStringList {u"http://c/C.mp3"_s, u"http://a/A.mp3"_s, u"http://b/B.mp3"_s} << 1 << 1;
    QTest::newRow("local file of the library, then search")
        << u"/home/u/Music/a.mp3"_s << qint16(0) << ab
        << QStringList {u"/home/u/Music/a.mp3"_s, u"http://a/A.mp3"_s, u"http://b/B.mp3"_s} << 1 << 1;
    QTest::newRow("server gave a local path: searched at once")
        << u"/etc/passwd"_s << qint16(2) << ab << QStringList {u"http://a/A.mp3"_s, u"http://b/B.mp3"_s} << 1 << 1;
    QTest::newRow("candidates that are not network addresses are skipped")
        << QString() << qint16(4) << u"lead<br>file:///etc/passwd<br>C:\\x.mp3<br> http://b/B.mp3 <br>"_s
        << QStringList {u"http://b/B.mp3"_s} << 1 << 1;
}

void SongSourceTest::candidateWalk()
{
    QFETCH(QString, locator);
    QFETCH(qint16, kind);
    QFETCH(QString, payload);
    QFETCH(QStringList, tried);
    QFETCH(int, searches);
    QFETCH(int, searchesLater);
    PlaybackRig rig;
    rig.server.payloads[u"word="_s] = payload;
    rig.queue.replace(0, entry(locator, u"词"_s, kind));
    QCOMPARE(walk(rig, 0), tried);
    QCOMPARE(rig.server.requestsContaining(u"baiduurl.asp"_s).size(), searches);
    // Exhausted: never searched again.
    QCOMPARE(walk(rig, 0), QStringList {});
    QCOMPARE(rig.server.requestsContaining(u"baiduurl.asp"_s).size(), searchesLater);
}

void SongSourceTest::searchAddress()
{
    PlaybackRig rig;
    rig.resolver.setClock([] { return QTime(9, 5, 7); });
    rig.queue.replace(0, entry(QString(), u"歌名+歌手 &x"_s));
    walk(rig, 0);
    QCOMPARE(rig.server.requests,
        QStringList {u"http://127.0.0.1:1/baiduurl.asp?word=%E6%AD%8C%E5%90%8D%2B%E6%AD%8C%E6%89%8B%20%26x"
                     u"&time=9%3A05%3A07&word1=%E6%AD%8C%20%E5%90%8D"_s});

    // A local file with a search text is played from its path; no search is made.
    PlaybackRig local;
    local.queue.replace(0, entry(u"/m/a.mp3"_s, u"词"_s, 0));
    QString address;
    [&]() -> QCoro::Task<void> { address = co_await local.resolver.ResolveEntryAddress(0, [] { return true; }); }();
    QCOMPARE(address, u"/m/a.mp3"_s);
    QVERIFY(local.server.requests.isEmpty());
}

void SongSourceTest::reports_data()
{
    QTest::addColumn<qint16>("kind");
    QTest::addColumn<bool>("rowExists");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QStringList>("stored");

    const QString net = u"http://h/a.mp3"_s;
    const QString m = QString::fromLatin1(QUrl::toPercentEncoding(MirrorText(net)));
    QTest::newRow("music id") << qint16(2) << false << net << QStringList {u"kxrjurl.asp?listid=-1&lx=bd&url="_s + m}
                              << QStringList {};
    QTest::newRow("search id") << qint16(3) << false << net << QStringList {u"kxrjurl.asp?listid=-1&lx=wj&url="_s + m}
                               << QStringList {};
    QTest::newRow("playlist row with both ids")
        << qint16(0) << true << net
        << QStringList {u"kxrjurl.asp?listid=12&lx=bd&url="_s + m, u"kxrjurl.asp?listid=12&lx=wj&url="_s + m}
        << QStringList {u"12 "_s + net};
    QTest::newRow("playlist row gone") << qint16(0) << false << net << QStringList {} << QStringList {};
    QTest::newRow("history song") << qint16(1) << true << net << QStringList {} << QStringList {};
    QTest::newRow("other catalogue") << qint16(5) << true << net << QStringList {} << QStringList {};
}

void SongSourceTest::reports()
{
    QFETCH(qint16, kind);
    QFETCH(bool, rowExists);
    QFETCH(QString, address);
    QFETCH(QStringList, reports);
    QFETCH(QStringList, stored);
    PlaybackRig rig;
    QueueEntry e = entry(QString(), QString(), kind);
    e.id = 12;
    rig.queue.replace(0, e);
    if (rowExists)
        rig.library.rows[12] = PlaylistSongIds {5, 6};
    rig.resolver.ReportPlayedAddress(0, address);
    QStringList sent;
    for (const QString &r : rig.server.requests)
        sent << r.section(u"/"_s, 3);
    QCOMPARE(sent, reports);
    QCOMPARE(rig.library.stored, stored);
}

QTEST_GUILESS_MAIN(SongSourceTest)
#include "moc_playbackrig.cpp"
#include "tst_songsource.moc"
