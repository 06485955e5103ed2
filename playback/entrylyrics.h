#pragma once

#include "playback/lyricshooks.h"

namespace kivo {

class LyricsController;
class LyricsLibrary;
class ServerClient;

// The lyrics steps of starting a queue entry against the one lyric state of the
// player: the entry's cached lyrics or the server's, then the file beside a local
// song, each shown unless a newer start overtook it.
class EntryLyrics final : public LyricsHooks
{
public:
    // `lyricsEnabled` reads the stored setting each time (it may change while running).
    EntryLyrics(LyricsController *lyrics, ServerClient *server, LyricsLibrary *library,
        std::function<bool()> lyricsEnabled = {});

    void clearCurrentLyrics() override;
    QCoro::Task<std::optional<QString>> ResolveEntryLyrics(
        QueueEntry entry, std::function<bool()> stillCurrent) override;
    std::optional<QString> LoadLocalLyrics(const QString &address) override;
    void ResetLyricDisplay() override;

private:
    bool lyricsEnabled() const;

    LyricsController *m_lyrics;
    ServerClient *m_server;
    LyricsLibrary *m_library;
    std::function<bool()> m_enabled;
    quint64 m_ticket = 0; // of the entry that started last
    quint64 m_localTicket = 0; // of the last entry shown with the lyric file beside it
};

} // namespace kivo
