#pragma once

#include <QIcon>
#include <QImage>

namespace kivo {

// The player's icon, drawn in code at every size the desktop asks for.
QIcon appIcon();
// One size of it; the build renders the icon theme's pictures with it too.
QImage drawAppIcon(int size);

} // namespace kivo
