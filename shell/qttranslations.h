#pragma once

namespace kivo {

// Qt's own texts (the standard buttons of message boxes and dialogs, "OK" and
// "Cancel") in Simplified Chinese like the rest of the player, from the translations
// installed with Qt. False (and logged) when they cannot be loaded: English stays.
bool installQtTranslations();

} // namespace kivo
