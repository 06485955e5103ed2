#pragma once

namespace kivo::demo {

// A port on 127.0.0.1 that accepts connections (the kernel completes them) but
// never reads or answers: an address that "never answers".
class SilentListener
{
public:
    SilentListener() = default;
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;
    ~SilentListener() { close(); }

    // Returns the port, or 0 when no socket could be opened.
    int open();
    void close();

private:
    int m_fd = -1;
};

} // namespace kivo::demo
