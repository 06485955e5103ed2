#pragma once

// What every fuzz target shares: a reader over the input bytes and a check that
// ends the run the way a sanitizer would, so libFuzzer keeps the input as a finding.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kivo::fuzz {

inline void check(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// Takes numbers from the front of the input and leaves the rest as text.
class Input
{
public:
    Input(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }

    template<typename T> T take()
    {
        T value {};
        const size_t n = m_size < sizeof(T) ? m_size : sizeof(T);
        if (n > 0)
            std::memcpy(&value, m_data, n);
        m_data += n;
        m_size -= n;
        return value;
    }
    // Up to the next newline (consumed), or everything left.
    QByteArray takeLine()
    {
        const void *nl = m_size ? std::memchr(m_data, '\n', m_size) : nullptr;
        const size_t n = nl ? size_t(static_cast<const uint8_t *>(nl) - m_data) : m_size;
        QByteArray line(reinterpret_cast<const char *>(m_data), qsizetype(n));
        const size_t used = nl ? n + 1 : n;
        m_data += used;
        m_size -= used;
        return line;
    }
    QByteArray rest() const { return QByteArray(reinterpret_cast<const char *>(m_data), qsizetype(m_size)); }
    QString restUtf8() const { return QString::fromUtf8(reinterpret_cast<const char *>(m_data), qsizetype(m_size)); }

private:
    const uint8_t *m_data;
    size_t m_size;
};

} // namespace kivo::fuzz
