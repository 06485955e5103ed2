#pragma once

#include <QIcon>

namespace kivo {

// The small node pictures of the side trees, by image number (1 root, 2 library,
// 3-5 and 8 levels by depth, 4 song lists, 6 guestbook, 13 help, 14/15 paging).
QIcon treeIcon(int image);

} // namespace kivo
