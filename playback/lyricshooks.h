#pragma once

#include "playback/playqueue.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <functional>
#include <optional>

namespace kivo {

// The lyrics steps of starting a queue entry, as the queue player runs them. What a
// step returns the player stores in the entry; the entry lives in the queue, the
// hooks only find and show lyrics. By default they do nothing.
class LyricsHooks
{
public:
    virtual ~LyricsHooks() = default;

    // Empties the lyrics shown for the song now playing.
    virtual void clearCurrentLyrics() { }
    // Finds the entry's lyrics (its cached ones, or the server's) and shows them. The
    // start goes on meanwhile. stillCurrent() turns false when a newer start overtook
    // this one: then nothing is shown and nothing returned; nor when the lyric file
    // beside the song was shown first.
    virtual QCoro::Task<std::optional<QString>> ResolveEntryLyrics(QueueEntry entry, std::function<bool()> stillCurrent)
    {
        Q_UNUSED(entry);
        Q_UNUSED(stillCurrent);
        co_return std::nullopt;
    }
    // The lyric file beside a local address, shown and returned.
    virtual std::optional<QString> LoadLocalLyrics(const QString &address)
    {
        Q_UNUSED(address);
        return std::nullopt;
    }
    virtual void ResetLyricDisplay() { }
};

} // namespace kivo
