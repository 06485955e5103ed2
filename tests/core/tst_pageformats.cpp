#include "core/mirrortext.h"
#include "core/pageformats.h"

#include <QTest>

using namespace kivo;

class PageFormatsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mirror_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("upper") << u"ABC"_qs << u"[ZY"_qs;
        QTest::newRow("digit") << u"0"_qs << u"<"_qs;
        QTest::newRow("lower") << u"]{az"_qs << u"{]w^"_qs;
        QTest::newRow("kept") << u"=@\\|?>~} "_qs << u"=@\\|?>~} "_qs;
        QTest::newRow("chinese") << u"新歌㊣"_qs << u"新歌㊣"_qs;
        QTest::newRow("drive") << u"C:\\music"_qs
                               << QString(QChar(156 - 'C')) + QChar(108 - ':') + u"\\"_qs + MirrorText(u"music"_qs);
    }
    void mirror()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(MirrorText(in), out);
        QCOMPARE(MirrorText(out), in);
        QCOMPARE(MirrorText(in).size(), in.size());
    }

    void mirrorIsItsOwnInverseOnEveryCode()
    {
        QString all;
        for (int c = 1; c < 0x3000; ++c)
            all += QChar(c);
        QCOMPARE(MirrorText(MirrorText(all)), all);
    }

    void hiddenPayload_data()
    {
        const QString m = kHiddenBodyMarker;
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("payload");
        QTest::newRow("plain") << m + u"[Z</body>trailing"_qs << u"AB"_qs;
        QTest::newRow("two markers") << m + u"[Z"_qs + m + u"Y</body>"_qs << u"ABC"_qs;
        QTest::newRow("no body end") << m + u"[Z"_qs << QString();
        QTest::newRow("marker case matters") << u"<BODY style=\"display:none;\">[Z</body>"_qs
                                             << MirrorText(u"<BODY style=\"display:none;\">"_qs) + u"AB"_qs;
        QTest::newRow("text before marker stays") << u"x"_qs + m + u"[</body>"_qs << MirrorText(u"x"_qs) + u"A"_qs;
        QTest::newRow("empty") << QString() << QString();
    }
    void hiddenPayload()
    {
        QFETCH(QString, page);
        QFETCH(QString, payload);
        QCOMPARE(HiddenDataPage::payloadOf(page), payload);
    }

    void wrapRoundTrips()
    {
        const QString payload = u"1㊣新歌<br>http://h/a.mp3㊣㊣"_qs;
        QCOMPARE(HiddenDataPage::payloadOf(HiddenDataPage::wrap(payload)), payload);
    }

    void listPayload()
    {
        const auto records = splitListPayload(u"1㊣a㊣㊣2㊣b㊣㊣tail"_qs);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0), (QStringList {u"1"_qs, u"a"_qs}));
        QCOMPARE(records.at(1), (QStringList {u"2"_qs, u"b"_qs}));
        QCOMPARE(splitListPayload(u"1㊣a\r\n㊣㊣"_qs).at(0), (QStringList {u"1"_qs, u"a"_qs}));
        QVERIFY(splitListPayload(u"no records"_qs).isEmpty());
    }

    void listPayloadRoundTrips()
    {
        const QList<QStringList> records {
            ListRecords::song(
                2, u"月光下的河"_qs, u"2026-11-02"_qs, 37, u"12"_qs, u""_qs, u"http://x/a.mp3"_qs, u"k12"_qs),
            ListRecords::summary(120, 6, 2),
            ListRecords::category(0, u"流行"_qs, 14, u"3"_qs, u"urlkxrj_1.asp?id=3"_qs),
            ListRecords::treePaging(3, 2),
        };
        const auto back = splitListPayload(joinListPayload(records));
        QCOMPARE(back.size(), records.size());
        for (qsizetype i = 0; i < records.size(); ++i) {
            QCOMPARE(back.at(i).size(), records.at(i).size());
            for (qsizetype f = 0; f < records.at(i).size(); ++f)
                QCOMPARE(back.at(i).at(f).trimmed(), records.at(i).at(f));
        }
        QCOMPARE(classifyListRecord(records.at(0)), ListRecordKind::Song);
        QCOMPARE(classifyListRecord(records.at(1)), ListRecordKind::Summary);
        QCOMPARE(classifyListRecord(records.at(2)), ListRecordKind::Category);
        QCOMPARE(classifyListRecord(records.at(3)), ListRecordKind::TreePaging);
        QCOMPARE(classifyListRecord({u"x"_qs, u"a"_qs}), ListRecordKind::Invalid);
        QCOMPARE(classifyListRecord({u" 1 "_qs, u"-1"_qs}), ListRecordKind::Category);
    }

    void notice_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("head");
        QTest::newRow("three") << u"xxDLXX㊣A㊣B㊣C㊣END㊣yy"_qs << true << QStringList {u"A"_qs, u"B"_qs, u""_qs};
        QTest::newRow("no head") << u"A㊣B㊣C㊣END㊣"_qs << false << QStringList {};
        QTest::newRow("no end") << u"DLXX㊣A㊣B㊣C"_qs << false << QStringList {};
        QTest::newRow("two fields") << u"DLXX㊣A㊣B㊣END㊣"_qs << false << QStringList {};
        QTest::newRow("empty") << u"DLXX㊣㊣END㊣"_qs << false << QStringList {};
        QTest::newRow("line breaks") << u"DLXX㊣A\r\n㊣ B ㊣u|||c㊣END㊣"_qs << true
                                     << QStringList {u"A"_qs, u"B"_qs, u"c"_qs};
    }
    void notice()
    {
        QFETCH(QString, payload);
        QFETCH(bool, valid);
        QFETCH(QStringList, head);
        const auto n = parseNoticePayload(payload);
        QCOMPARE(n.has_value(), valid);
        if (!valid)
            return;
        QCOMPARE(n->noticeLine, head.at(0));
        QCOMPARE(n->announcementUrl, head.at(1));
        QCOMPARE(n->linkCaption, head.at(2));
    }

    void noticeLaterFields()
    {
        auto n = parseNoticePayload(buildNoticePayload(
            {u"N"_qs, u""_qs, u"http://l|||看看"_qs, u"abc"_qs, u"150"_qs, u"2026-12-07"_qs, u"1.4"_qs}));
        QVERIFY(n);
        QVERIFY(!n->maxQueuedDownloads); // not numeric: default stays
        QCOMPARE(n->dailyDownloadLimit, std::optional<qint16>(150)); // still examined
        QCOMPARE(n->serverDate->date(), QDate(2026, 12, 7));
        QCOMPARE(*n->publishedVersion, u"1.4"_qs);
        QCOMPARE(n->linkTarget, u"http://l"_qs);

        n = parseNoticePayload(buildNoticePayload({u"N"_qs, u""_qs, u""_qs, u"99999"_qs, u"x"_qs, u"not a date"_qs}));
        QVERIFY(n);
        QVERIFY(!n->maxQueuedDownloads && !n->dailyDownloadLimit && !n->serverDate && !n->publishedVersion);
    }
};

QTEST_GUILESS_MAIN(PageFormatsTest)
#include "tst_pageformats.moc"
