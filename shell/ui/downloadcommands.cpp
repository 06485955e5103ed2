#include "shell/ui/downloadcommands.h"

#include "downloads/downloadmanager.h"
#include "downloads/ui/downloadoptionsdialog.h"
#include "library/librarypages.h"
#include "online/resultpages.h"
#include "online/songlistmodel.h"
#include "playback/playbacksession.h"
#include "shell/libraryaccess.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "shell/ui/songrowcommands.h"
#include "skin/commandmenus.h"

#include <QAction>
#include <QMessageBox>

namespace kivo {

namespace {

DownloadServices servicesOf(const MainWindowContext &ctx)
{
    DownloadServices services;
    services.server = ctx.server;
    services.library = ctx.library;
    services.lyricsLibrary = ctx.library;
    ProgramState *state = ctx.state;
    services.limits = [state] {
        if (!state)
            return DownloadLimits {};
        return DownloadLimits {state->maxQueuedDownloads, state->dailyDownloadLimit, state->dailyDownloadCount,
            state->serverDate, state->settings.downloadLyricsEnabled};
    };
    services.setTodayCount = [state](qint32 count) {
        if (state)
            state->dailyDownloadCount = count;
    };
    return services;
}

} // namespace

DownloadCommands::DownloadCommands(MainWindow *window, PlaybackViews *playback)
    : QObject(window)
    , m_window(window)
    , m_playback(playback)
    , m_manager(new DownloadManager(servicesOf(window->context()), this))
{
    const DownloadMenu &menu = window->menus()->downloads;
    connect(window->menus()->songRow.download, &QAction::triggered, this, &DownloadCommands::queueRow);
    connect(menu.start, &QAction::triggered, this, &DownloadCommands::startDownloads);
    connect(menu.clearAll, &QAction::triggered, this, &DownloadCommands::clearAll);
    connect(menu.removeRecord, &QAction::triggered, this, &DownloadCommands::removeRecord);
    connect(menu.settings, &QAction::triggered, this, &DownloadCommands::showOptions);
    // Only one run at a time: "开始下载" is off while one goes on.
    connect(m_manager, &DownloadManager::runningChanged, menu.start,
        [start = menu.start](bool running) { start->setEnabled(!running); });
    connect(m_manager, &DownloadManager::message, this, &DownloadCommands::showMessage);
    connect(m_manager, &DownloadManager::busyChanged, window, [window](bool busy) {
        if (busy)
            window->ShowBusy(QString());
        else
            window->HideBusy();
    });

    OnlineViews *online = window->online();
    online->libraryPages()->setDownloads([manager = m_manager] { return manager->pageItems(); });
    connect(
        online->pages(), &ResultPages::closeRefusedWhileDownloading, this, &DownloadCommands::askToCloseRunningPage);
    // Exit cancels a running download.
    connect(window, &MainWindow::aboutToQuit, m_manager, &DownloadManager::downclose);
}

DownloadCommands::~DownloadCommands() = default;

void DownloadCommands::queueRow()
{
    m_manager->QueueSong(m_playback->songRowCommands()->menuRow(), *m_playback->session()->queue());
}

void DownloadCommands::startDownloads()
{
    const std::optional<SongRowRef> &row = m_playback->songRowCommands()->menuRow();
    const DownloadEntryRef *entry = row ? row->downloadEntry() : nullptr;
    SongListModel *page = row ? m_window->online()->pages()->listModel(row->view) : nullptr;
    const int place = entry ? DownloadManager::rowOfEntry(page, entry->entry) : -1;
    if (place >= 0)
        m_manager->StartDownloads(page, place);
}

void DownloadCommands::clearAll()
{
    const std::optional<SongRowRef> &row = m_playback->songRowCommands()->menuRow();
    if (!row)
        return;
    if (SongListModel *page = m_window->online()->pages()->listModel(row->view);
        page && page->pageKind() == SongPageKind::Downloads)
        page->clearRows();
    m_manager->clearDownloadRecords();
}

void DownloadCommands::removeRecord()
{
    const std::optional<SongRowRef> &row = m_playback->songRowCommands()->menuRow();
    const DownloadEntryRef *entry = row ? row->downloadEntry() : nullptr;
    if (!entry)
        return;
    m_manager->removeDownloadRecord(entry->entry);
    // The row that stands for that entry, wherever it is now.
    SongListModel *page = m_window->online()->pages()->listModel(row->view);
    if (const int place = DownloadManager::rowOfEntry(page, entry->entry); place >= 0)
        page->removeRowAt(place);
}

void DownloadCommands::showOptions()
{
    if (!m_options) {
        m_options = new DownloadOptionsDialog(m_manager->options(), m_window);
        connect(m_options, &DownloadOptionsDialog::optionsChanged, m_manager, &DownloadManager::setOptions);
    }
    m_options->show();
    m_options->raise();
}

void DownloadCommands::askToCloseRunningPage()
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, m_window->windowTitle(), QStringLiteral("是否关闭下载"),
        QMessageBox::Ok | QMessageBox::Cancel, m_window);
    box->setObjectName(QStringLiteral("closeDownloadQuestion"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The tab stays open for this double-click either way.
    connect(box, &QMessageBox::finished, m_manager, [manager = m_manager](int result) {
        if (result == QMessageBox::Ok)
            manager->downclose();
    });
    box->open();
}

void DownloadCommands::showMessage(const DownloadMessage &message)
{
    auto *box = new QMessageBox(message.isCritical() ? QMessageBox::Critical : QMessageBox::NoIcon,
        m_window->windowTitle(), message.text(), QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("downloadMessage"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace kivo
