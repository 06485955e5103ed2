#pragma once

#include <QCoro/QCoroTask>
#include <QString>

#include <functional>

namespace kivo {

// The lyrics steps of starting an entry. The lyrics subsystem overrides them; by
// default they do nothing.
class LyricsHooks
{
public:
    virtual ~LyricsHooks() = default;

    // Empties the lyrics shown for the song now playing.
    virtual void clearCurrentLyrics() { }
    // Looks up the entry's lyrics (may ask the server). stillCurrent() turns false when
    // a newer start overtook this one: then nothing may be shown or stored.
    virtual QCoro::Task<void> ResolveEntryLyrics(int index, std::function<bool()> stillCurrent)
    {
        Q_UNUSED(index);
        Q_UNUSED(stillCurrent);
        co_return;
    }
    // Lyrics file beside a local address.
    virtual void LoadLocalLyrics(int index, const QString &address)
    {
        Q_UNUSED(index);
        Q_UNUSED(address);
    }
    virtual void ResetLyricDisplay() { }
};

} // namespace kivo
