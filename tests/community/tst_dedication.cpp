// The dedication: the song record, the checks in their order, the request and the answer.
#include "community/dedication.h"
#include "core/songrecord.h"
#include "online/serverclient.h"
#include "playback/playqueue.h"
#include "support/cannedhttpserver.h"

#include <QNetworkAccessManager>
#include <QTest>

#include <QCoro/QCoroTask>

using namespace kivo;
using kivo::test::CannedHttpServer;

namespace {
const QString kBase = u"http://127.0.0.1:9/"_qs;
const DedicationForm kGood {u"friend@example.org"_qs, u"小明"_qs, u"生日快乐"_qs, u"祝你快乐"_qs};
} // namespace

class DedicationTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checksInOrder_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("blanks only") << u"  "_qs << u"x"_qs << u"t"_qs << u"错误,请输入好友的信箱."_qs;
        QTest::newRow("no dot") << u"a@b"_qs << u"x"_qs << u"t"_qs << u"错误,好友信箱格式不正确."_qs;
        QTest::newRow("no at") << u"a.b"_qs << u"x"_qs << u"t"_qs << u"错误,好友信箱格式不正确."_qs;
        QTest::newRow("dot before at") << u"a.@b.c"_qs << u"x"_qs << u"t"_qs << u"错误,好友信箱格式不正确."_qs;
        QTest::newRow("dot after at") << u"a@.b"_qs << u"x"_qs << u"t"_qs << u"错误,好友信箱格式不正确."_qs;
        // The name is checked before title and text, blank as they are.
        QTest::newRow("blank name first") << u"a@b.c"_qs << u" "_qs << QString() << u"错误,好友姓名必须填写."_qs;
        QTest::newRow("then the title") << u"a@b.c"_qs << u"x"_qs << u" "_qs << u"错误,祝福标题必须填写."_qs;
        QTest::newRow("then the text") << u"a@b.c"_qs << u"x"_qs << u"t"_qs << u"错误,祝福内容必须填写."_qs;
    }
    void checksInOrder()
    {
        QFETCH(QString, email);
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QCOMPARE(dedicationCheckMessage(checkDedication({email, name, title, u"\n"_qs})), message);
        QCOMPARE(checkDedication(kGood), DedicationCheck::Ok);
    }

    void requestBySongKind()
    {
        // A site song (kind 2) sends its id and its words with its second address.
        const DedicatedSong site
            = dedicatedSongOfRow(u" 海风 "_qs, SongRecord::fromText(u"1009||| http://h/a.mp3 |||u1|||海风 林|||2"_qs));
        QCOMPARE(site, (DedicatedSong {u" 海风 "_qs, u"http://h/a.mp3"_qs, u"海风 林+u1"_qs, u"1009"_qs, 2}));
        QVERIFY(dedicationUrl(kBase, kGood, site).contains(u"&id=1009&content="_qs));
        QVERIFY(dedicationUrl(kBase, kGood, std::nullopt)
                    .startsWith(kBase + u"kxrjzf.asp?toemail=friend%40example.org&"_qs));

        // A playlist song (kind 0) sends id 0; kind 4 has no extra address; other server
        // kinds are found by their title.
        const DedicatedSong mine = dedicatedSongOfRow(u"t"_qs, SongRecord::fromText(u"7|||/m/a.mp3|||t|||w|||0"_qs));
        QCOMPARE(mine.extraAddress, u"w"_qs);
        QVERIFY(dedicationUrl(kBase, kGood, mine).contains(u"&id=0&content="_qs));
        QCOMPARE(dedicatedSongOfRow(u"t"_qs, SongRecord::fromText(u"8|||u|||u1|||w|||4"_qs)).extraAddress, QString());
        QCOMPARE(dedicatedSongOfRow(u"t"_qs, SongRecord::fromText(u"8|||u|||u1|||w|||5"_qs)).extraAddress, u"t"_qs);

        // A now-playing entry: its words already carry the second address.
        QueueEntry entry;
        entry.title = u"海风"_qs;
        entry.locator = u"http://h/b.mp3"_qs;
        entry.url2 = u"海风 林+u1"_qs;
        entry.id = 1009;
        entry.kind = 2;
        QCOMPARE(dedicatedSongOfEntry(entry),
            (DedicatedSong {u"海风"_qs, u"http://h/b.mp3"_qs, u"海风 林+u1"_qs, u"1009"_qs, 2}));
    }

    void onlyTheExactWordCounts()
    {
        CannedHttpServer server;
        QVERIFY(server.start());
        QNetworkAccessManager nam;
        ServerClient client(&nam, server.baseUrl());
        QStringList busy;
        auto send = [&](const QByteArray &answer, const DedicationForm &form) {
            server.setAnswer(u"/kxrjzf.asp"_qs, {200, answer});
            return QCoro::waitFor(SendDedication(
                &client, form, std::nullopt, [&](const QString &t) { busy << t; }, [&] { busy << u"hide"_qs; }));
        };
        QCOMPARE(send("成功", kGood).outcome, DedicationOutcome::Sent);
        QCOMPARE(busy, (QStringList {u"正在发送您的祝福..."_qs, u"hide"_qs}));
        QCOMPARE(send("成功 ", kGood).outcome, DedicationOutcome::Failed);
        DedicationForm noName = kGood;
        noName.name.clear();
        const DedicationResult refused = send("成功", noName);
        QCOMPARE(refused.outcome, DedicationOutcome::Refused);
        QCOMPARE(refused.check, DedicationCheck::NoName);
        QCOMPARE(server.requests().size(), 2); // nothing is sent for a refused form
    }
};

QTEST_GUILESS_MAIN(DedicationTest)
#include "tst_dedication.moc"
