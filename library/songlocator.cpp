#include "library/songlocator.h"

#include <QFileInfo>

namespace kivo {

bool fileExistsOnDisk(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString chooseLocator(const QString &url, const QString &url1, const FileExists &exists)
{
    if (!url.isEmpty() && exists && exists(url))
        return url;
    return url1;
}

} // namespace kivo
