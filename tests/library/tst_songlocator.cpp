#include "library/songlocator.h"

#include <QDir>
#include <QTemporaryFile>
#include <QTest>

using namespace kivo;

class TestSongLocator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void locatorChoice_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("url1");
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QString>("expected");
        QTest::newRow("existing path wins over url1")
            << u"/m/a.mp3"_qs << u"http://h/a.mp3"_qs << true << u"/m/a.mp3"_qs;
        QTest::newRow("missing file falls back to url1")
            << u"/m/a.mp3"_qs << u"http://h/a.mp3"_qs << false << u"http://h/a.mp3"_qs;
        QTest::newRow("missing file, no url1") << u"/m/a.mp3"_qs << QString() << false << QString();
        QTest::newRow("no url, url1 kept") << QString() << u"http://h/b.mp3"_qs << true << u"http://h/b.mp3"_qs;
        QTest::newRow("both empty") << QString() << QString() << true << QString();
    }
    void locatorChoice()
    {
        QFETCH(QString, url);
        QFETCH(QString, url1);
        QFETCH(bool, fileThere);
        QFETCH(QString, expected);
        QStringList asked;
        const auto exists = [&](const QString &p) {
            asked << p;
            return fileThere;
        };
        QCOMPARE(chooseLocator(url, url1, exists), expected);
        // An empty stored path is never looked up on disk.
        QCOMPARE(asked.contains(QString()), false);
    }

    void realFileTest_data()
    {
        QTest::addColumn<bool>("byFolder");
        QTest::newRow("one look per path") << false;
        QTest::newRow("each folder read once") << true;
    }
    void realFileTest()
    {
        QFETCH(bool, byFolder);
        const FileExists exists = byFolder ? fileExistsByFolder() : FileExists(fileExistsOnDisk);
        QTemporaryFile f;
        QVERIFY(f.open());
        QCOMPARE(chooseLocator(f.fileName(), u"x"_qs, exists), f.fileName());
        QCOMPARE(chooseLocator(f.fileName() + u".gone"_qs, u"x"_qs, exists), u"x"_qs);
        // A folder is not a song file.
        QCOMPARE(chooseLocator(QDir::tempPath(), u"x"_qs, exists), u"x"_qs);
        QCOMPARE(chooseLocator(u"/no/such/folder/a.mp3"_qs, u"x"_qs, exists), u"x"_qs);
    }
};

QTEST_GUILESS_MAIN(TestSongLocator)
#include "tst_songlocator.moc"
