#include "shell/librarylocation.h"

#include "core/logging.h"
#include "library/partcopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace kivo {

namespace {

// The program folder keeps the library when its data folder takes writes: the
// folder for the journal files beside the library, the file itself when present.
bool programFolderKeepsLibrary(const QString &dataDir, const QString &file)
{
    const QFileInfo dir(dataDir);
    if (!dir.isDir() || !dir.isWritable())
        return false;
    const QFileInfo library(file);
    return !library.exists() || library.isWritable();
}

// Copies the shipped library into place through a ".part" name, so that a copy cut
// off half-way never stands as the user's library, and makes it writable.
QString seed(const QString &shipped, const QString &target)
{
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return u"无法创建文件夹 %1"_s.arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath()));
    return copyThroughPart(shipped, target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

} // namespace

QString LibraryLocation::shippedLibrary(const QString &programDir)
{
    const QStringList candidates {
        programDir + u"/data/kx.dat"_s, QDir::cleanPath(programDir + u"/../share/kivoplay/kx.dat"_s)};
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

LibraryLocation LibraryLocation::find(const QString &programDir, const QString &userDataDir)
{
    LibraryLocation location;
    const QString dataDir = programDir + u"/data"_s;
    const QString beside = dataDir + u"/kx.dat"_s;
    if (programFolderKeepsLibrary(dataDir, beside)) {
        location.path = beside;
        return location;
    }
    location.path = QDir(userDataDir).filePath(u"kx.dat"_s);
    if (QFileInfo::exists(location.path))
        return location;
    const QString shipped = shippedLibrary(programDir);
    if (shipped.isEmpty()) {
        qCWarning(lcDb).noquote() << "no library to seed" << location.path << "from beside" << programDir;
        return location; // opening it reports the missing library
    }
    location.error = seed(shipped, location.path);
    if (location.error.isEmpty())
        qCInfo(lcDb).noquote() << "library seeded:" << location.path << "from" << shipped;
    else
        qCWarning(lcDb).noquote() << "library not seeded:" << location.error;
    return location;
}

} // namespace kivo
