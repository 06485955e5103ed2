#include "updater/updatelog.h"

namespace kivo {

Q_LOGGING_CATEGORY(updateLog, "kivo.update", QtInfoMsg)

} // namespace kivo
