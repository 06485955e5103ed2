#include "transfer/transferlog.h"

namespace kivo {

Q_LOGGING_CATEGORY(transferLog, "kivo.net", QtInfoMsg)

} // namespace kivo
