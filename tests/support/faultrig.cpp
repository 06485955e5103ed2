#include "support/faultrig.h"

#include "online/resultpages.h"
#include "online/serverclient.h"
#include "online/songlistmodel.h"
#include "playback/playbacksession.h"
#include "playback/playercontrol.h"
#include "playback/playqueue.h"
#include "shell/libraryaccess.h"
#include "shell/ui/communitycommands.h"
#include "shell/ui/downloadcommands.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/playbackviews.h"
#include "support/testpaths.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace kivo::test {

namespace {
// Requests give up sooner than the player's minute, so a hung page ends within a case.
constexpr std::chrono::milliseconds kRequestTimeout {4000};
const QString kChart = u"soft.asp?mlid=1"_qs;
const QString kSearch = u"softss.asp?1=1&word1=%E7%9A%84&word2="_qs; // "的"
} // namespace

QString faultPageName(FaultPage page)
{
    switch (page) {
    case FaultPage::Startup:
        return u"start-up"_qs;
    case FaultPage::List:
        return u"list"_qs;
    case FaultPage::Search:
        return u"search"_qs;
    case FaultPage::AddressSearch:
        return u"address search"_qs;
    case FaultPage::Lyrics:
        return u"lyrics"_qs;
    case FaultPage::Media:
        return u"media"_qs;
    }
    return {};
}

FaultRig::FaultRig()
{
    qApp->installEventFilter(this);
    if (!m_demo.isRunning()) {
        m_error = m_demo.error();
        return;
    }
    m_demo.setNoticeField(u"announcement"_qs, u" "_qs); // no web tab over the lists
    const QString path = m_dir.filePath(u"kx.dat"_qs);
    if (LibraryDatabase::create(path).status != LibraryCreateOutcome::Status::Created || !m_db.open(path).ok()) {
        m_error = u"no library"_qs;
        return;
    }
    m_access = std::make_unique<LibraryAccess>(m_db);
    m_server = std::make_unique<ServerClient>(&m_network, m_demo.baseUrl());
    m_server->setRequestTimeout(kRequestTimeout);
    m_probe.start();
    if (!startPlayer()) {
        m_error = u"the player did not start"_qs;
        return;
    }
    // The songs the actions play: one found through the address search, one with its
    // own address and lyrics.
    if (!actAndWait(FaultPage::List, 10000)) {
        m_error = u"no chart"_qs;
        return;
    }
    const auto searched = findRow(false), direct = findRow(true);
    if (!searched || !direct) {
        m_error = u"the chart lacks a song with and one without an address"_qs;
        return;
    }
    m_addressRow = *searched;
    m_directRow = *direct;
    const bool lyrics = actAndWait(FaultPage::Lyrics, 15000);
    const bool found = lyrics && actAndWait(FaultPage::AddressSearch, 15000);
    m_ready = lyrics && found;
    if (!m_ready) {
        const PlaybackSession *session = m_playback->session();
        m_error = u"without faults, %1 did not play (status %2, lyrics %3)"_qs.arg(
                      lyrics ? m_addressRow.title : m_directRow.title + m_directRow.record()->url,
                      session->control() ? session->control()->statusText() : u"no engine"_qs,
                      QString::number(session->queue()->at(0).lyrics.size()))
            + m_demo.requestLog().join(u'\n');
    }
}

FaultRig::~FaultRig()
{
    qApp->removeEventFilter(this);
    stopPlayer();
    m_access.reset();
    m_db.release();
}

bool FaultRig::startPlayer()
{
    m_state = std::make_unique<ProgramState>();
    m_state->serverBaseUrl = m_demo.baseUrl();
    MainWindowContext ctx;
    ctx.programDir = m_dir.path();
    ctx.server = m_server.get();
    ctx.state = m_state.get();
    ctx.library = m_access.get();
    ctx.applyStoredConfig = [this](const QDateTime &day) -> qint32 {
        const auto config = m_db.loadStartupConfig(day);
        if (config)
            m_state->settings = StoredSettings::parse(config->settingsContent);
        return config ? config->dailyDownloadCount : 0;
    };
    ctx.releaseDatabase = [] {};
    m_window = std::make_unique<MainWindow>(ctx);
    PlaybackViewsOptions options {{u"ao=null"_qs, u"vo=null"_qs}, buildDir() + u"/lib"_qs, false, true};
    m_playback = new PlaybackViews(m_window.get(), options);
    new DownloadCommands(m_window.get(), m_playback);
    new CommunityCommands(m_window.get(), m_playback);
    m_window->show();
    return true;
}

void FaultRig::stopPlayer()
{
    // Requests waiting end first, while what waits on them is still there.
    if (m_server)
        m_server->abortAll();
    QTest::qWait(50);
    m_window.reset();
    m_playback = nullptr;
    m_listView = -1;
}

QString FaultRig::faultPath(FaultPage page) const
{
    switch (page) {
    case FaultPage::Startup:
        return u"/dl.asp"_qs;
    case FaultPage::List:
        return u"/soft.asp"_qs;
    case FaultPage::Search:
        return u"/softss.asp"_qs;
    case FaultPage::AddressSearch:
        return u"/baiduurl.asp"_qs;
    case FaultPage::Lyrics:
        return u"/softlrc.asp"_qs;
    case FaultPage::Media:
        if (const SongRecord *r = m_directRow.record())
            return QUrl(r->url).path();
        return {};
    }
    return {};
}

std::optional<SongRowRef> FaultRig::findRow(bool withAddress) const
{
    const SongListModel *model = m_window->online()->pages()->listModel(m_listView);
    for (int row = 0; model && row < model->rowCount(); ++row) {
        const auto ref = m_window->online()->songRow(m_listView, row);
        if (!ref || !ref->record() || ref->record()->kind != SongKind::MusicId)
            continue;
        if (withAddress != ref->record()->url.contains(u"/media/songs/"_qs))
            continue;
        // A song with lyrics (the demo leaves every fifth without).
        if (withAddress && ref->record()->id.toInt() % 5 == 0)
            continue;
        return ref;
    }
    return std::nullopt;
}

void FaultRig::act(FaultPage page)
{
    ResultPages *pages = m_window ? m_window->online()->pages() : nullptr;
    switch (page) {
    case FaultPage::Startup:
        stopPlayer();
        startPlayer();
        return;
    case FaultPage::List:
    case FaultPage::Search: {
        auto opened = std::make_shared<QMetaObject::Connection>();
        *opened = connect(pages, &ResultPages::tabOpened, this, [this, opened](int, TabKind, int view) {
            m_listView = view;
            disconnect(*opened);
        });
        m_listView = -1;
        pages->LoadListPage({m_server->pageUrl(page == FaultPage::List ? kChart : kSearch), 1, 0, u"排行榜"_qs, {}});
        return;
    }
    case FaultPage::AddressSearch:
    case FaultPage::Lyrics:
    case FaultPage::Media:
        // Only a load this action hands over counts (the song before may still play).
        m_startBefore = m_playback->session()->player()->activeStart();
        m_playback->session()->player()->PlaySongRow(page == FaultPage::AddressSearch ? m_addressRow : m_directRow);
        return;
    }
}

bool FaultRig::done(FaultPage page) const
{
    if (!m_window)
        return false;
    const PlaybackSession *session = m_playback->session();
    const PlayerControl *control = session->control();
    const bool playing = control && session->player()->activeStart() != m_startBefore
        && session->engine()->playState() == PlayState::Playing && control->statusKind() == StatusKind::Title;
    switch (page) {
    case FaultPage::Startup:
        return m_window->startupFinished() && !m_window->noticeLine().isEmpty();
    case FaultPage::List:
    case FaultPage::Search: {
        const SongListModel *model = m_window->online()->pages()->listModel(m_listView);
        return model && model->rowCount() > 0;
    }
    case FaultPage::AddressSearch:
    case FaultPage::Media:
        return playing;
    case FaultPage::Lyrics:
        return playing && !session->queue()->at(0).lyrics.isEmpty();
    }
    return false;
}

bool FaultRig::actAndWait(FaultPage page, int waitMs)
{
    m_probe.reset();
    act(page);
    return QTest::qWaitFor([&] { return done(page); }, waitMs);
}

bool FaultRig::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        if (auto *box = qobject_cast<QMessageBox *>(watched)) {
            ++m_boxes;
            QTimer::singleShot(0, box, &QWidget::close);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kivo::test
