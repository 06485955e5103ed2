// The stored settings text of table config.

#include "fuzzinput.h"
#include "library/storedsettings.h"

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const StoredSettings s = StoredSettings::parse(fuzz::Input(data, size).restUtf8());
    fuzz::check(s.loadTimeoutSeconds >= 1 && s.loadTimeoutSeconds <= 32767, "a usable buffering time");
    fuzz::check(s.highlightColour <= 0xFFFFFF, "a colour of three bytes");

    // Whatever was read is stored the same way and reads back the same.
    StoredSettings stored = s;
    stored.highlightColourStored = true;
    fuzz::check(StoredSettings::parse(s.format()) == stored, "settings round trip");
    return 0;
}
