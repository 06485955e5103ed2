#include "core/logging.h"

namespace kivo {
Q_LOGGING_CATEGORY(lcDb, "kivo.db", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNet, "kivo.net", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEngine, "kivo.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "kivo.ui", QtWarningMsg)
Q_LOGGING_CATEGORY(lcDesktop, "kivo.desktop", QtWarningMsg)
} // namespace kivo
