#include "library/partcopy.h"

#include <QDir>
#include <QFile>

namespace kivo {

QString copyThroughPart(const QString &from, const QString &to, QFileDevice::Permissions permissions)
{
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part))
        return QStringLiteral("无法复制 %1 到 %2").arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(part));
    if (permissions)
        QFile::setPermissions(part, permissions);
    if (!QFile::rename(part, to)) {
        QFile::remove(part);
        return QStringLiteral("无法改名为 %1").arg(QDir::toNativeSeparators(to));
    }
    return {};
}

} // namespace kivo
