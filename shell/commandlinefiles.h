#pragma once

#include <QString>
#include <QStringList>

namespace kivo {

// The files a start was given (what the desktop's "open with" passes): paths,
// relative to `workingDir` or absolute, or file:// addresses. Returns the absolute
// paths of those that are files, in order; the others are logged and skipped.
QStringList localFilesFromArguments(const QStringList &arguments, const QString &workingDir);

} // namespace kivo
