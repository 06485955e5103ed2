#include "updater/playerinstall.h"

#include "updater/elfcheck.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

QString lastError(const char *what, const QString &path)
{
    return QString::fromLatin1(what) + u' ' + path + u": "_qs + QString::fromLocal8Bit(std::strerror(errno));
}

bool syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

InstallReport checkAndPrepare(const UpdatePlan &plan, qint64 announcedLength)
{
    const QFileInfo download(plan.newPath);
    if (announcedLength <= 0 || download.size() != announcedLength)
        return {InstallOutcome::BadLength,
            QStringLiteral("%1 bytes where %2 were announced").arg(download.size()).arg(announcedLength)};
    QString why;
    if (!isProgramForThisMachine(plan.newPath, &why))
        return {InstallOutcome::NotExecutable, why};
    if (::chmod(QFile::encodeName(plan.newPath).constData(), 0755) != 0)
        return {InstallOutcome::TargetBusy, lastError("cannot make executable", plan.newPath)};
    // On disk before it takes the player's name, so a crash cannot leave an empty player.
    if (!syncPath(plan.newPath, O_RDONLY))
        return {InstallOutcome::TargetBusy, lastError("cannot sync", plan.newPath)};
    return {};
}

// The old player under its backup name as well; the target itself stays in place.
InstallReport keepBackup(const UpdatePlan &plan)
{
    const QByteArray target = QFile::encodeName(plan.targetPath);
    const QByteArray backup = QFile::encodeName(plan.backupPath);
    if (::unlink(backup.constData()) != 0 && errno != ENOENT)
        return {InstallOutcome::TargetBusy, lastError("cannot remove", plan.backupPath)};
    if (::link(target.constData(), backup.constData()) == 0 || errno == ENOENT) // no old player: nothing to keep
        return {};
    if (QFileInfo(plan.targetPath).isFile() && QFile::copy(plan.targetPath, plan.backupPath))
        return {}; // a file system without hard links
    return {InstallOutcome::TargetBusy, lastError("cannot keep a backup of", plan.targetPath)};
}

} // namespace

InstallReport installNewPlayer(const UpdatePlan &plan, qint64 announcedLength)
{
    InstallReport report = checkAndPrepare(plan, announcedLength);
    if (report.outcome == InstallOutcome::Installed)
        report = keepBackup(plan);
    if (report.outcome == InstallOutcome::Installed
        && ::rename(QFile::encodeName(plan.newPath).constData(), QFile::encodeName(plan.targetPath).constData()) != 0)
        report = {InstallOutcome::TargetBusy, lastError("cannot replace", plan.targetPath)};
    if (report.outcome != InstallOutcome::Installed) {
        QFile::remove(plan.newPath);
        return report;
    }
    syncPath(QFileInfo(plan.targetPath).absolutePath(), O_RDONLY | O_DIRECTORY); // the rename itself on disk
    return report;
}

} // namespace kivo
