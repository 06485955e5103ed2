#include "shell/lyricsbridge.h"

#include "library/storedsettings.h"
#include "lyrics/lyricfiles.h"
#include "lyrics/lyricscontroller.h"
#include "lyrics/lyricslookup.h"
#include "playback/playqueue.h"

namespace kivo {

LyricsBridge::LyricsBridge(
    LyricsController *lyrics, ServerClient *server, LyricsLibrary *library, const StoredSettings *settings)
    : m_lyrics(lyrics)
    , m_server(server)
    , m_library(library)
    , m_settings(settings)
{ }

bool LyricsBridge::lyricsEnabled() const
{
    return m_settings ? m_settings->localLyricsEnabled : true;
}

void LyricsBridge::clearCurrentLyrics()
{
    m_ticket = m_lyrics->clearCurrentLyrics();
}

void LyricsBridge::storeInEntry(int index, const QString &lyrics)
{
    if (!m_queue || !m_queue->contains(index) || m_queue->at(index).lyrics == lyrics)
        return;
    m_queue->at(index).lyrics = lyrics;
    m_queue->touch(index);
}

QCoro::Task<void> LyricsBridge::ResolveEntryLyrics(int index, std::function<bool()> stillCurrent)
{
    if (!m_queue || !m_queue->contains(index))
        co_return;
    const quint64 ticket = m_ticket;
    const QueueEntry entry = m_queue->at(index); // a copy: the queue may change while we wait
    const QString raw
        = co_await kivo::ResolveEntryLyrics(m_server, m_library, entry.id, entry.kind, entry.lyrics, lyricsEnabled());
    // Another entry started meanwhile: these lyrics belong to nobody on screen.
    if (!stillCurrent() || !m_lyrics->isCurrentTicket(ticket))
        co_return;
    storeInEntry(index, raw);
    m_lyrics->setCurrentLyrics(raw, ticket);
}

void LyricsBridge::LoadLocalLyrics(int index, const QString &address)
{
    if (const auto local = kivo::LoadLocalLyrics(address, lyricsEnabled())) {
        storeInEntry(index, *local);
        m_lyrics->setCurrentLyrics(*local, m_ticket);
    }
}

void LyricsBridge::ResetLyricDisplay()
{
    m_lyrics->resetLyricDisplay();
}

} // namespace kivo
