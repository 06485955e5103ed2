#pragma once

#include <QLoggingCategory>

namespace kivo {

// Failures of transfers, logged once each under "kivo.net".
Q_DECLARE_LOGGING_CATEGORY(transferLog)

} // namespace kivo
