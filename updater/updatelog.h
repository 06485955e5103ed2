#pragma once

#include <QLoggingCategory>

namespace kivo {

// Failures of the update program's own steps (checking and installing the new
// player), logged once each under "kivo.update".
Q_DECLARE_LOGGING_CATEGORY(updateLog)

} // namespace kivo
