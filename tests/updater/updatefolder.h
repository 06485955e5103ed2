#pragma once

#include "support/testpaths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// A throw-away program folder for the update program: kivoplay.ini naming the
// update server, an old player (a copy of a small system program) and, for runs
// of the real program, a copy of the built update.
class UpdateFolder
{
public:
    explicit UpdateFolder(const QString &updateServerUrl, const QString &oldPlayer = QStringLiteral("/bin/true"))
        : m_oldPlayer(oldPlayer)
    {
        QFile ini(file(u"kivoplay.ini"_qs));
        m_valid = m_dir.isValid() && ini.open(QIODevice::WriteOnly) && restorePlayer();
        if (!updateServerUrl.isEmpty())
            ini.write("[install]\nUpdateServerUrl=" + updateServerUrl.toUtf8() + '\n');
    }

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QString player() const { return file(u"kivoplay"_qs); }
    QByteArray oldPlayerBytes() const { return bytesOf(m_oldPlayer); }

    bool addUpdater() const { return QFile::copy(kivo::test::programDir() + u"/update"_qs, file(u"update"_qs)); }
    // Puts the old player back under its name in one rename, as a fresh install.
    bool restorePlayer() const
    {
        const QString copy = file(u"old.tmp"_qs);
        QFile::remove(copy);
        return QFile::copy(m_oldPlayer, copy) && std::rename(qPrintable(copy), qPrintable(player())) == 0;
    }
    // The player starts and ends well.
    bool playerStarts() const
    {
        QProcess p;
        p.start(player(), {});
        return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QString standIn() { return kivo::test::toolsDir() + u"/kivo-standin"_qs; }

private:
    QTemporaryDir m_dir;
    QString m_oldPlayer;
    bool m_valid = false;
};
