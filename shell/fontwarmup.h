#pragma once

#include <thread>

namespace kivo {

// Reads the system's font list on a second thread while the main thread builds the
// windows: the first text measured (the lyric line's) otherwise waits for the whole
// font configuration to be parsed, a few milliseconds before the first frame. The
// font database is shared and locked, so the main thread takes what is ready or
// waits for the rest. Joined when it goes, before the application.
class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

private:
    std::thread m_thread;
};

} // namespace kivo
