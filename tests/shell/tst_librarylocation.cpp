#include "shell/librarylocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kivo;
using namespace Qt::Literals::StringLiterals;

namespace {
bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class LibraryLocationTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString bin() const { return m_dir.filePath(u"tree/bin"_s); }
    QString user() const { return m_dir.filePath(u"home/kivoplay"_s); }

private Q_SLOTS:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(bin()));
    }

    // A program folder with its data folder keeps the library there, even before
    // the file is made; nothing goes to the user's folder.
    void programFolderWithDataKeepsIt()
    {
        QVERIFY(QDir().mkpath(bin() + u"/data"_s));
        QVERIFY(writeFile(m_dir.filePath(u"tree/share/kivoplay/kx.dat"_s), "shipped"));
        const LibraryLocation at = LibraryLocation::find(bin(), user());
        QCOMPARE(at.path, bin() + u"/data/kx.dat"_s);
        QVERIFY(at.error.isEmpty());
        QVERIFY(!QFileInfo::exists(user()));
    }

    // An installed tree: the shipped library, read-only, is copied once to the
    // user's folder and made writable; later starts keep the user's copy.
    void installedTreeSeedsTheUserLibraryOnce()
    {
        const QString shipped = m_dir.filePath(u"tree/share/kivoplay/kx.dat"_s);
        QVERIFY(writeFile(shipped, "shipped"));
        QVERIFY(QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const LibraryLocation at = LibraryLocation::find(bin(), user());
        QCOMPARE(at.path, user() + u"/kx.dat"_s);
        QVERIFY(at.error.isEmpty());
        QCOMPARE(readFile(at.path), "shipped");
        QVERIFY(QFileInfo(at.path).permissions() & QFile::WriteOwner);
        QCOMPARE(QDir(user()).entryList(QDir::Files), QStringList {u"kx.dat"_s});

        QVERIFY(QFile::remove(at.path) && writeFile(at.path, "the user's"));
        QCOMPARE(LibraryLocation::find(bin(), user()).path, at.path);
        QCOMPARE(readFile(at.path), "the user's");
    }

    // Nothing shipped: the user's path is named, and opening it reports it missing.
    void nothingToSeedFrom()
    {
        const LibraryLocation at = LibraryLocation::find(bin(), user());
        QCOMPARE(at.path, user() + u"/kx.dat"_s);
        QVERIFY(at.error.isEmpty());
        QVERIFY(!QFileInfo::exists(at.path));
    }
};

QTEST_GUILESS_MAIN(LibraryLocationTest)
#include "tst_librarylocation.moc"
