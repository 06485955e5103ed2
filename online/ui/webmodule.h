#pragma once

#include "online/ui/webpane.h"

namespace kivo {

// Loads the kivoweb module at run time. Call load() after the main window has shown:
// linking WebEngine into the player would delay the first window.
namespace WebModule {
// The module's pane factory, or nullptr when the module is missing or broken. Loads once.
WebPaneFactory *load();
// Where the module is looked for: beside the program, then in its lib folder.
QStringList searchPaths();
// For main(), before the application object exists: sets what WebEngine needs set up
// front and lets the module register the "softfile" scheme (the engine only hands such
// links to the page when the scheme is known). Loads the module, so it costs its
// loading time before the first window; false when the module is missing.
bool prepareBeforeApplication();
} // namespace WebModule

} // namespace kivo
