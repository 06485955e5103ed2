#include "core/address.h"

#include <QTest>

using namespace kivo;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(kivo::AddressKind)

class AddressTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void classify_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<AddressKind>("kind");
        QTest::newRow("http") << u"http://h/a.mp3"_s << AddressKind::Network;
        QTest::newRow("https upper case") << u"HTTPS://h/a.mp3"_s << AddressKind::Network;
        QTest::newRow("mms") << u"mms://h/a.wma"_s << AddressKind::Network;
        QTest::newRow("rtsp with port") << u"rtsp://h:554/a"_s << AddressKind::Network;
        QTest::newRow("no host") << u"http:///a"_s << AddressKind::OtherScheme;
        QTest::newRow("other scheme") << u"ftp://h/a.mp3"_s << AddressKind::OtherScheme;
        QTest::newRow("file scheme") << u"file:///etc/passwd"_s << AddressKind::OtherScheme;
        QTest::newRow("padded, as a row field carries it") << u" http://h/a.mp3 "_s << AddressKind::OtherScheme;
        QTest::newRow("path") << u"/m/a.mp3"_s << AddressKind::LocalPath;
        QTest::newRow("drive") << u"C:\\a.mp3"_s << AddressKind::LocalPath;
        QTest::newRow("\"://\" inside a file name") << u"/m/odd://name.mp3"_s << AddressKind::LocalPath;
        QTest::newRow("empty") << QString() << AddressKind::LocalPath;
    }
    void classify()
    {
        QFETCH(QString, address);
        QFETCH(AddressKind, kind);
        QCOMPARE(kivo::classify(address), kind);
    }
};

QTEST_GUILESS_MAIN(AddressTest)
#include "tst_address.moc"
