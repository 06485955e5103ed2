#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace kivo::test {

// A throw-away installation: a copy of kivoplay (and optionally update) with its
// own kivoplay.ini pointing at a test server, and an empty library.
class ProgramFolder
{
public:
    explicit ProgramFolder(const QString &serverBaseUrl, bool withLibrary = true);

    QString path() const { return m_dir.path(); }
    QString dataFile() const { return path() + QStringLiteral("/data/kx.dat"); }
    bool isValid() const { return m_valid; }
    // Puts an executable script named update beside the player; it touches
    // "update-started" in the folder when run.
    void addFakeUpdater();
    bool updaterWasStarted() const;

    // Starts kivoplay offscreen from the folder (the caller waits, bounded).
    void startPlayer(QProcess &process, const QString &platform = QStringLiteral("offscreen"),
        const QStringList &arguments = {}) const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};

} // namespace kivo::test
