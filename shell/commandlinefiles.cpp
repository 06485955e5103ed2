#include "shell/commandlinefiles.h"

#include "core/logging.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace kivo {

QStringList localFilesFromArguments(const QStringList &arguments, const QString &workingDir)
{
    QStringList files;
    const QDir base(workingDir);
    for (const QString &argument : arguments) {
        QString path = argument;
        if (argument.startsWith(u"file:"_qs, Qt::CaseInsensitive)) {
            const QUrl url(argument);
            // file://host/… names a file of another machine.
            const bool here = url.host().isEmpty() || url.host() == u"localhost"_qs;
            if (!url.isLocalFile() || !here) {
                qCWarning(lcDesktop).noquote() << "not opened, not a local file:" << argument;
                continue;
            }
            path = url.toLocalFile();
        }
        const QFileInfo info(base.absoluteFilePath(path));
        if (!info.isFile()) {
            qCWarning(lcDesktop).noquote() << "not opened, no such file:" << argument;
            continue;
        }
        files << QDir::cleanPath(info.absoluteFilePath());
    }
    return files;
}

} // namespace kivo
