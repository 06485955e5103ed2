#include "playback/entrylyrics.h"

#include "lyrics/lyricfiles.h"
#include "lyrics/lyricscontroller.h"
#include "lyrics/lyricslookup.h"
#include "playback/playqueue.h"

namespace kivo {

EntryLyrics::EntryLyrics(
    LyricsController *lyrics, ServerClient *server, LyricsLibrary *library, std::function<bool()> lyricsEnabled)
    : m_lyrics(lyrics)
    , m_server(server)
    , m_library(library)
    , m_enabled(std::move(lyricsEnabled))
{ }

bool EntryLyrics::lyricsEnabled() const
{
    return m_enabled ? m_enabled() : true;
}

void EntryLyrics::clearCurrentLyrics()
{
    m_ticket = m_lyrics->clearCurrentLyrics();
}

QCoro::Task<std::optional<QString>> EntryLyrics::ResolveEntryLyrics(
    QueueEntry entry, std::function<bool()> stillCurrent)
{
    const quint64 ticket = m_ticket;
    const QString raw
        = co_await kivo::ResolveEntryLyrics(m_server, m_library, entry.id, entry.kind, entry.lyrics, lyricsEnabled());
    // Another entry started meanwhile: these lyrics belong to nobody on screen. The song
    // does not wait for them, so a file beside it may have been shown first: it stays.
    if (!stillCurrent() || !m_lyrics->isCurrentTicket(ticket) || m_localTicket == ticket)
        co_return std::nullopt;
    m_lyrics->setCurrentLyrics(raw, ticket);
    co_return raw;
}

std::optional<QString> EntryLyrics::LoadLocalLyrics(const QString &address)
{
    const std::optional<QString> local = kivo::LoadLocalLyrics(address, lyricsEnabled());
    if (local && m_lyrics->setCurrentLyrics(*local, m_ticket))
        m_localTicket = m_ticket;
    return local;
}

void EntryLyrics::ResetLyricDisplay()
{
    m_lyrics->resetLyricDisplay();
}

} // namespace kivo
