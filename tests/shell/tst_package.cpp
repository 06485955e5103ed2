// The Debian package as a user gets it: made by cpack from this build, its
// dependencies, its files and their RUNPATH, and the unpacked tree moved to another
// folder, started against the demo server: the window maps, both modules load from
// the moved tree and the library is seeded in the user's data folder. Unpacked
// only; bench/deb-install.sh installs it for real.

#include "support/demoserver.h"
#include "support/testpaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/prctl.h>

using namespace Qt::Literals::StringLiterals;
using kivo::test::DemoServer;

namespace {

// Runs a tool to its end (bounded); its standard output, or nothing on failure.
std::optional<QString> runTool(const QString &program, const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s %s failed", qPrintable(program), qPrintable(args.join(u' ')));
        p.kill();
        p.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString runpathOf(const QString &elf)
{
    static const QRegularExpression runpath(u"\\(RUNPATH\\)\\s+Library runpath: \\[([^\\]]*)\\]"_s);
    return runpath.match(runTool(u"readelf"_s, {u"-d"_s, elf}).value_or(QString())).captured(1);
}

QString mapsOf(qint64 pid)
{
    QFile maps(u"/proc/%1/maps"_s.arg(pid));
    return maps.open(QIODevice::ReadOnly) ? QString::fromUtf8(maps.readAll()) : QString();
}

bool windowIsMapped(qint64 pid)
{
    QProcess search;
    search.start(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(pid)});
    return search.waitForFinished(3000) && !search.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

class PackageTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_deb;
    QString root() const { return m_dir.filePath(u"root"_s); }
    QString moved() const { return m_dir.filePath(u"elsewhere/kivo"_s); }

    // Starts the moved player with a home of its own, its info lines in the log.
    void startMoved(QProcess &player, const QString &home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, home);
        env.insert(u"XDG_DATA_HOME"_s, home + u"/.local/share"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, home + u"/.config"_s);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.insert(u"QT_LOGGING_RULES"_s, u"kivo.*.info=true"_s);
        player.setProcessEnvironment(env);
        player.setWorkingDirectory(home);
        player.setProcessChannelMode(QProcess::MergedChannels);
        player.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        player.start(moved() + u"/bin/kivoplay"_s, QStringList());
    }

    static void stop(QProcess &player)
    {
        player.terminate();
        if (!player.waitForFinished(5000)) {
            player.kill();
            player.waitForFinished(2000);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *tool : {"cpack", "dpkg-deb", "dpkg-shlibdeps", "readelf"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(u"needs "_s + QString::fromLatin1(tool)));
        }
        QVERIFY(m_dir.isValid());
        const QString out = m_dir.filePath(u"out"_s);
        QVERIFY(runTool(u"cpack"_s, {u"--config"_s, kivo::test::buildDir() + u"/CPackConfig.cmake"_s, u"-B"_s, out}));
        const QStringList debs = QDir(out).entryList({u"kivoplay_*.deb"_s});
        QCOMPARE(debs.size(), 1);
        m_deb = QDir(out).filePath(debs.first());
    }

    // Libraries from dpkg-shlibdeps, what is loaded at run time named besides, and
    // none of the player's own libraries asked of the system.
    void dependencies()
    {
        const QString depends = runTool(u"dpkg-deb"_s, {u"-f"_s, m_deb, u"Depends"_s}).value_or(QString());
        for (const QString &package :
            {u"libqt6core6"_s, u"libqt6widgets6"_s, u"libmpv2"_s, u"libqt6webenginewidgets6"_s,
                u"libqt6webenginecore6-bin"_s, u"qt6-qpa-plugins"_s, u"libqt6sql6-sqlite"_s})
            QVERIFY2(depends.contains(package), qPrintable(depends));
        QVERIFY2(!depends.contains(u"kivo"_s), qPrintable(depends));
    }

    void layoutAndRunpath()
    {
        QVERIFY(runTool(u"dpkg-deb"_s, {u"-x"_s, m_deb, root()}));
        const QString usr = root() + u"/usr"_s;
        const QStringList libraries {u"libkivobase.so"_s, u"libkivoskin.so"_s, u"libkivocore.so"_s, u"libkivoui.so"_s,
            u"libkivoshell.so"_s, u"libkivompv.so"_s, u"libkivoweb.so"_s};
        for (const QString &file :
            {u"bin/kivoplay"_s, u"bin/update"_s, u"bin/kivoplay.ini"_s, u"share/kivoplay/kx.dat"_s,
                u"share/applications/kivoplay.desktop"_s, u"share/metainfo/org.kivo.kivoplay.metainfo.xml"_s,
                u"share/icons/hicolor/16x16/apps/kivoplay.png"_s, u"share/icons/hicolor/256x256/apps/kivoplay.png"_s,
                u"share/icons/hicolor/scalable/apps/kivoplay.svg"_s})
            QVERIFY2(QFileInfo(usr + u'/' + file).isFile(), qPrintable(file));
        QCOMPARE(QDir(usr + u"/lib/kivoplay"_s).entryList(QDir::Files), [&] {
            QStringList sorted = libraries;
            sorted.sort();
            return sorted;
        }());
        QCOMPARE(runpathOf(usr + u"/bin/kivoplay"_s), u"$ORIGIN/../lib/kivoplay"_s);
        for (const QString &library : libraries)
            QCOMPARE(runpathOf(usr + u"/lib/kivoplay/"_s + library), u"$ORIGIN"_s);
        // The metainfo's launchable, the menu entry and the icons agree, as installed.
        if (!QStandardPaths::findExecutable(u"appstreamcli"_s).isEmpty())
            QVERIFY(runTool(u"appstreamcli"_s, {u"validate-tree"_s, u"--no-net"_s, root()}));
        QFile desktop(usr + u"/share/applications/kivoplay.desktop"_s);
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        QVERIFY(desktop.readAll().contains("\nExec=kivoplay %F\n"));
    }

    // Moved out of /usr to any folder, the tree runs whole: its window maps with both
    // modules loaded from the tree, and the library goes to the user's data folder.
    void movedTreeRunsWithItsModules()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
            QSKIP("needs a display and xdotool");
        QVERIFY(QDir().mkpath(QFileInfo(moved()).absolutePath()));
        QVERIFY(QDir().rename(root() + u"/usr"_s, moved()));
        DemoServer demo;
        QVERIFY2(demo.isRunning(), qPrintable(demo.error()));
        QFile ini(moved() + u"/bin/kivoplay.ini"_s);
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QByteArray base = demo.baseUrl().toUtf8();
        ini.write("[install]\nServerBaseUrl=" + base + "\nDownloadPageUrl=" + base + "down.asp\nUpdateServerUrl=" + base
            + "\n");
        ini.close();

        const QString home = m_dir.filePath(u"home"_s);
        QVERIFY(QDir().mkpath(home));
        QProcess player;
        startMoved(player, home);
        QVERIFY(player.waitForStarted(5000));
        const QString lib = moved() + u"/lib/kivoplay/"_s;
        auto loaded = [&] {
            const QString maps = mapsOf(player.processId());
            return maps.contains(lib + u"libkivompv.so"_s) && maps.contains(lib + u"libkivoweb.so"_s);
        };
        QTRY_VERIFY_WITH_TIMEOUT(
            player.state() != QProcess::Running || (windowIsMapped(player.processId()) && loaded()), 12000);
        QVERIFY2(player.state() == QProcess::Running, player.readAll().constData());
        QVERIFY(QFileInfo(home + u"/.local/share/kivoplay/kx.dat"_s).isFile());
        QVERIFY(!QFileInfo::exists(moved() + u"/bin/data"_s));
        QVERIFY(demo.requestLog().join(u'\n').contains(u"dl.asp"_s));
        // The web engine, drawing without OpenGL, loads the news pane last and brings
        // no OpenGL driver into the player (a software one holds some 34 MB).
        QTRY_VERIFY_WITH_TIMEOUT(demo.requestLog().contains(u"GET /webggt.asp"_s), 15000);
        QVERIFY(!mapsOf(player.processId()).contains(u"libGLX_mesa"_s));
        stop(player);
        const QString log = QString::fromUtf8(player.readAll());
        QVERIFY2(!log.contains(u"not loaded"_s), qPrintable(log));
    }

    // Without its modules the player still runs, and says once for each what is missing.
    void missingModulesAreSaidOnce()
    {
        if (!QFileInfo::exists(moved()))
            QSKIP("needs the moved tree");
        QVERIFY(QFile::remove(moved() + u"/lib/kivoplay/libkivompv.so"_s));
        QVERIFY(QFile::remove(moved() + u"/lib/kivoplay/libkivoweb.so"_s));
        QProcess player; // its server is gone: the start-up ends at once
        startMoved(player, m_dir.filePath(u"home"_s));
        QVERIFY(player.waitForStarted(5000));
        QString log;
        QTRY_VERIFY_WITH_TIMEOUT(
            (log += QString::fromUtf8(player.readAll()), log.contains(u"media engine not loaded"_s))
                && log.contains(u"web panes not loaded"_s),
            12000);
        QTest::qWait(300);
        stop(player);
        log += QString::fromUtf8(player.readAll());
        QCOMPARE(log.count(u"media engine not loaded"_s), 1);
        QCOMPARE(log.count(u"web panes not loaded"_s), 1);
    }
};

QTEST_GUILESS_MAIN(PackageTest)
#include "tst_package.moc"
