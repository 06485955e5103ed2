#pragma once

#include "playback/lyricshooks.h"

namespace kivo {

class LyricsController;
class LyricsLibrary;
class PlayQueue;
class ServerClient;
struct StoredSettings;

// The lyrics steps of starting a queue entry, run against the one lyric state of
// the player: the entry's cached lyrics or the server's, then the file beside a
// local song, each stored in the entry and shown unless a newer start overtook it.
class LyricsBridge final : public LyricsHooks
{
public:
    LyricsBridge(
        LyricsController *lyrics, ServerClient *server, LyricsLibrary *library, const StoredSettings *settings);

    // The queue is made by the playback session, after this bridge.
    void setQueue(PlayQueue *queue) { m_queue = queue; }

    void clearCurrentLyrics() override;
    QCoro::Task<void> ResolveEntryLyrics(int index, std::function<bool()> stillCurrent) override;
    void LoadLocalLyrics(int index, const QString &address) override;
    void ResetLyricDisplay() override;

private:
    bool lyricsEnabled() const;
    void storeInEntry(int index, const QString &lyrics);

    LyricsController *m_lyrics;
    ServerClient *m_server;
    LyricsLibrary *m_library;
    const StoredSettings *m_settings;
    PlayQueue *m_queue = nullptr;
    quint64 m_ticket = 0; // of the entry that started last
};

} // namespace kivo
