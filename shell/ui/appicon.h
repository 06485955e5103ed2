#pragma once

#include <QIcon>

namespace kivo {

// The player's icon, drawn in code at every size the desktop asks for.
QIcon appIcon();

} // namespace kivo
