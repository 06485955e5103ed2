#pragma once

namespace kivo {

// The mouse button last pressed on either side tree (1 left, 2 right). Both trees'
// click handlers read it, so one value is shared between them.
struct LastTreeButton
{
    int value = 1;
};

} // namespace kivo
