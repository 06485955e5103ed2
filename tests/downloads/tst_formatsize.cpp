#include "downloads/formatsize.h"

#include <QTest>

using namespace kivo;

class FormatSizeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formatSize_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("500") << 500ll << u"500.00字节"_qs;
        QTest::newRow("1536") << 1536ll << u"1.50KB"_qs;
        QTest::newRow("5000000") << 5000000ll << u"4.76MB"_qs;
        QTest::newRow("1023") << 1023ll << u"1023.00字节"_qs;
        QTest::newRow("1024") << 1024ll << u"1.00KB"_qs;
        QTest::newRow("0") << 0ll << u"0.00字节"_qs;
        QTest::newRow("cut, not rounded up") << 1048575ll << u"1023.99KB"_qs;
        QTest::newRow("one tenth") << 1126ll << u"1.09KB"_qs; // 1.0996… shows its first two decimals
        QTest::newRow("a leading zero kept") << 1076ll << u"1.05KB"_qs;
        QTest::newRow("1 MB") << 1048576ll << u"1.00MB"_qs;
        QTest::newRow("largest 32-bit") << 2147483647ll << u"2.00G"_qs;
        QTest::newRow("smallest 32-bit") << -2147483648ll << u"-2147483648.00字节"_qs;
        QTest::newRow("beyond 32 bits") << 5368709120ll << u"5.00G"_qs;
        QTest::newRow("G is the last unit") << 1099511627776ll << u"1024.00G"_qs;
    }
    void formatSize()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(FormatSize(bytes), text);
    }

    void percent_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("text"); // empty: the column is left as it is
        QTest::newRow("half") << 512ll << 1024ll << u"50%"_qs;
        QTest::newRow("whole part") << 1023ll << 1024ll << u"99%"_qs;
        QTest::newRow("all bytes, not yet saved") << 1024ll << 1024ll << u"99%"_qs;
        QTest::newRow("more than announced") << 4096ll << 1024ll << u"99%"_qs;
        QTest::newRow("size unknown") << 4096ll << 0ll << QString();
        QTest::newRow("beyond 32 bits") << 3000000000ll << 6000000000ll << u"50%"_qs;
    }
    void percent()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, size);
        QFETCH(QString, text);
        QCOMPARE(progressPercent(received, size).value_or(QString()), text);
    }
};

QTEST_GUILESS_MAIN(FormatSizeTest)
#include "tst_formatsize.moc"
