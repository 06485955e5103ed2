#include "downloads/downloadnaming.h"

#include <QDir>
#include <QSet>
#include <QTest>

using namespace kivo;

class DownloadNamingTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void extension_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("extension");
        QTest::newRow("path") << u"http://h/a/song.wma"_qs << u"wma"_qs;
        QTest::newRow("query ignored") << u"http://h/get.php?file=x.mp3&t=1.2"_qs << u"php"_qs;
        QTest::newRow("dot in a folder") << u"http://h/v1.2/song"_qs << u"mp3"_qs;
        QTest::newRow("not a plain word") << u"http://h/a.mp3%2F..%2Fx"_qs << u"mp3"_qs;
    }
    void extension()
    {
        QFETCH(QString, address);
        QFETCH(QString, extension);
        QCOMPARE(downloadExtension(address), extension);
    }

    // Every title lands as one file directly inside the folder, within 255 bytes.
    void hostileTitles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name"); // empty: only the length is checked
        QTest::newRow("plain") << u"Song (Live)"_qs << u"Song (Live).mp3"_qs;
        QTest::newRow("separators") << u"../../etc/passwd"_qs << u".._.._etc_passwd.mp3"_qs;
        QTest::newRow("backslash") << u"a\\b"_qs << u"a_b.mp3"_qs;
        QTest::newRow("control characters") << u"a\tb\nc\u0001"_qs << u"a_b_c_.mp3"_qs;
        QTest::newRow("dots only") << u".."_qs << u"__.mp3"_qs;
        QTest::newRow("blank") << u"  "_qs << u"__.mp3"_qs;
        QTest::newRow("long Chinese") << QString(200, QChar(0x6b4c)) << QString();
        QTest::newRow("long with surrogates") << QString::fromUcs4(U"\U0001F3B5").repeated(100) << QString();
    }
    void hostileTitles()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        const QString folder = u"/tmp/root/KivoDownload"_qs;
        const QString path = downloadFilePath(folder, title, u"http://h/x.mp3"_qs, false, {});
        const QFileInfo info(path);
        QCOMPARE(info.path(), folder);
        QCOMPARE(QDir::cleanPath(path), path);
        QVERIFY((info.fileName() + u".part"_qs).toUtf8().size() <= 255);
        QVERIFY(QString::fromUtf8(info.fileName().toUtf8()) == info.fileName()); // whole characters
        if (!name.isEmpty())
            QCOMPARE(info.fileName(), name);
    }

    void duplicateNames_data()
    {
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("name");
        QTest::newRow("free") << true << QStringList {} << u"Song.mp3"_qs;
        QTest::newRow("numbered from 0") << true << QStringList {u"Song.mp3"_qs} << u"Song_0.mp3"_qs;
        QTest::newRow("next number") << true << QStringList {u"Song.mp3"_qs, u"Song_0.mp3"_qs} << u"Song_1.mp3"_qs;
        QTest::newRow("overwritten") << false << QStringList {u"Song.mp3"_qs} << u"Song.mp3"_qs;
    }
    void duplicateNames()
    {
        QFETCH(bool, numbered);
        QFETCH(QStringList, existing);
        QFETCH(QString, name);
        const QSet<QString> present(existing.begin(), existing.end());
        const QString path = downloadFilePath(u"/d"_qs, u"Song"_qs, u"http://h/s.mp3?x"_qs, numbered,
            [&](const QString &p) { return present.contains(QFileInfo(p).fileName()); });
        QCOMPARE(path, u"/d/"_qs + name);
    }
};

QTEST_GUILESS_MAIN(DownloadNamingTest)
#include "tst_downloadnaming.moc"
