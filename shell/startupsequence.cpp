#include "shell/startupsequence.h"

#include "core/pageformats.h"
#include "online/serverclient.h"

namespace kivo {

StartupSequence::StartupSequence(StartupHost &host, ServerClient &server, ProgramState &state)
    : m_host(host)
    , m_server(&server)
    , m_state(state)
{ }

void StartupSequence::applyNotice(const QString &payload)
{
    const auto notice = parseNoticePayload(payload);
    if (!notice)
        return;
    m_host.setNoticeLine(notice->noticeLine);
    if (!notice->announcementUrl.isEmpty())
        m_host.openAnnouncement(notice->announcementUrl);
    if (notice->maxQueuedDownloads)
        m_state.maxQueuedDownloads = *notice->maxQueuedDownloads;
    if (notice->dailyDownloadLimit)
        m_state.dailyDownloadLimit = *notice->dailyDownloadLimit;
    if (notice->serverDate)
        m_state.serverDate = *notice->serverDate;
    if (notice->publishedVersion)
        m_state.publishedVersion = *notice->publishedVersion;
    if (!notice->linkTarget.isEmpty() || !notice->linkCaption.isEmpty())
        m_host.setLink(notice->linkTarget, notice->linkCaption);
}

QCoro::Task<> StartupSequence::run()
{
    m_state.publishedVersion = m_state.currentVersion;
    m_host.showBusy(QString());
    m_host.buildCatalogueTree();
    m_host.addLibraryNodes();
    // The stored playlists, history days and albums need nothing from the server: they
    // are there before the start-up page is asked for, however long it takes.
    co_await m_host.loadLibraryNodes();
    if (m_host.isQuitting() || !m_server)
        co_return;

    // The start-up page; the window stays live while it is fetched, and an exit
    // meanwhile ends the sequence here.
    const QString payload = co_await m_server->fetchHiddenPayload(m_server->pageUrl(u"dl.asp"_qs));
    if (m_host.isQuitting() || !m_server)
        co_return;
    applyNotice(payload);

    m_state.dailyDownloadCount = m_host.applyStoredConfig(m_state.serverDate);
    m_host.hideBusy();

    if (isNewerVersion(m_state.publishedVersion, m_state.currentVersion)) {
        if (m_host.updaterExists()) {
            m_host.startUpdaterAndQuit();
            co_return;
        }
        m_host.showNewVersionMessage(newVersionMessage(m_state.publishedVersion, m_state.downloadPageUrl));
    }
    m_host.navigateNewsPane(m_server->pageUrl(u"webggt.asp"_qs));
}

} // namespace kivo
