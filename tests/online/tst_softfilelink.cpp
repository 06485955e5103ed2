#include "online/softfilelink.h"

#include <QTest>

using namespace kivo;

class TestSoftfileLink : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decide_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("tab");
        const QString base = u"http://127.0.0.1:9/"_qs;
        QTest::newRow("upper case link") << u"SOFTFILE:News/123.htm"_qs << true << base + u"\\news/123.htm"_qs;
        QTest::newRow("nothing after it") << u"softfile:"_qs << true << QString();
        QTest::newRow("blank after it") << u"softfile:  "_qs << true << QString();
        QTest::newRow("inside another address") << u"about:softfile:a.htm"_qs << true << base + u"\\about:a.htm"_qs;
        QTest::newRow("ordinary link") << u"http://127.0.0.1:9/news.asp"_qs << false << QString();
    }
    void decide()
    {
        QFETCH(QString, url);
        QFETCH(bool, cancel);
        QFETCH(QString, tab);
        const LinkDecision d = decideServerLink(url, u"http://127.0.0.1:9/"_qs);
        QCOMPARE(d.cancel, cancel);
        QCOMPARE(d.openInTab, tab);
    }
};

QTEST_GUILESS_MAIN(TestSoftfileLink)
#include "tst_softfilelink.moc"
