#include "downloads/downloadlog.h"

namespace kivo {
Q_LOGGING_CATEGORY(lcDownloads, "kivo.downloads", QtWarningMsg)
} // namespace kivo
