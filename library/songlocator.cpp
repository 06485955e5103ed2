#include "library/songlocator.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <memory>

namespace kivo {

bool fileExistsOnDisk(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

FileExists fileExistsByFolder()
{
    auto folders = std::make_shared<QHash<QString, QSet<QString>>>();
    return [folders](const QString &path) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash <= 0 || slash == path.size() - 1)
            return fileExistsOnDisk(path);
        const QString folder = path.left(slash);
        auto it = folders->find(folder);
        if (it == folders->end()) {
            QSet<QString> names;
            QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System);
            while (files.hasNext()) {
                files.next();
                names.insert(files.fileName());
            }
            it = folders->insert(folder, names);
        }
        return it->contains(path.mid(slash + 1));
    };
}

QString chooseLocator(const QString &url, const QString &url1, const FileExists &exists)
{
    if (!url.isEmpty() && exists && exists(url))
        return url;
    return url1;
}

} // namespace kivo
