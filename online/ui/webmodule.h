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
// Optional, before the application object exists: lets the module register the
// "softfile" scheme. The panes handle such links either way (they install a handler for
// the scheme); registering only spares the engine's warning about an unregistered
// scheme, and it loads the module up front, which costs its loading time before the
// first window. False when the module is missing.
bool registerSchemesBeforeApplication();
} // namespace WebModule

} // namespace kivo
