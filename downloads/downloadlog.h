#pragma once

#include <QLoggingCategory>

namespace kivo {

// kivo.downloads: the download manager (the transfers themselves log under kivo.net).
Q_DECLARE_LOGGING_CATEGORY(lcDownloads)

} // namespace kivo
