#pragma once

#include <QString>
#include <QUrl>

namespace kivo {

// Addresses from the server handed to the desktop open only when they are web
// links: a notice must not be able to launch local files or other handlers.
bool isOpenableWebLink(const QString &address);
QUrl openableWebLink(const QString &address);

} // namespace kivo
