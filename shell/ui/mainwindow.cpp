#include "shell/ui/mainwindow.h"

#include "core/commanddispatcher.h"
#include "library/ui/librarytreeview.h"
#include "online/serverclient.h"
#include "online/ui/cataloguetreeview.h"
#include "shell/libraryaccess.h"
#include "shell/ui/appicon.h"
#include "shell/ui/busyoverlay.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/trayicon.h"
#include "shell/weblinks.h"
#include "skin/commandmenus.h"
#include "skin/labeltext.h"
#include "skin/liststyle.h"
#include "skin/skin.h"
#include "skin/skinbutton.h"
#include "skin/twips.h"
#include "skin/windowdrag.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>

namespace kivo {

namespace {

struct ButtonSpec
{
    PlayerCommand command;
    int number; // the button's place in the skinned button array: its object name "bf<n>"
    const char16_t *name; // what a user calls it: tooltip and accessible name
    Skin::Glyph glyph;
    QRect geometry;
    const char16_t *caption = nullptr; // drawn on buttons without a glyph
};

// Positions in pixels on the 610 × 450 face (9150 × 6750 twips). Numbers 9 and 10
// are the volume and position knobs.
const ButtonSpec kButtons[] = {
    {PlayerCommand::PlayPause, 0, u"播放/暂停", Skin::Glyph::Play, {52, 402, 38, 38}},
    {PlayerCommand::Previous, 1, u"上一首", Skin::Glyph::Previous, {14, 408, 30, 26}},
    {PlayerCommand::Next, 2, u"下一首", Skin::Glyph::Next, {98, 408, 30, 26}},
    {PlayerCommand::Mute, 3, u"静音", Skin::Glyph::Speaker, {268, 408, 30, 26}},
    {PlayerCommand::ShowLibraryTree, 4, u"我的媒体库", Skin::Glyph::None, {8, 36, 80, 22}, u"媒体库"},
    {PlayerCommand::ShowCatalogueTree, 5, u"在线媒体库", Skin::Glyph::None, {92, 36, 80, 22}, u"在线"},
    {PlayerCommand::ScrollTabsBack, 6, u"标签向前滚动", Skin::Glyph::ScrollBack, {577, 36, 12, 22}},
    {PlayerCommand::ScrollTabsForward, 7, u"标签向后滚动", Skin::Glyph::ScrollForward, {590, 36, 12, 22}},
    {PlayerCommand::Stop, 8, u"停止", Skin::Glyph::Stop, {136, 408, 30, 26}},
    {PlayerCommand::FirstPage, 11, u"首页", Skin::Glyph::FirstPage, {470, 306, 30, 20}},
    {PlayerCommand::PreviousPage, 12, u"上一页", Skin::Glyph::PreviousPage, {502, 306, 30, 20}},
    {PlayerCommand::NextPage, 13, u"下一页", Skin::Glyph::NextPage, {534, 306, 30, 20}},
    {PlayerCommand::LastPage, 14, u"尾页", Skin::Glyph::LastPage, {566, 306, 30, 20}},
    {PlayerCommand::Search, 15, u"搜索", Skin::Glyph::Search, {210, 408, 30, 26}},
    {PlayerCommand::MiniMode, 16, u"迷你模式", Skin::Glyph::Mini, {514, 6, 20, 20}},
    {PlayerCommand::HideToTray, 17, u"隐藏到托盘", Skin::Glyph::ToTray, {538, 6, 20, 20}},
    {PlayerCommand::Exit, 18, u"退出", Skin::Glyph::Close, {580, 6, 20, 20}},
    {PlayerCommand::Settings, 19, u"设置", Skin::Glyph::Settings, {490, 6, 20, 20}},
    {PlayerCommand::ShowVideo, 20, u"视频显示", Skin::Glyph::Video, {174, 408, 30, 26}},
};

// How long Timer4's tick waits for the first frame before it runs regardless.
constexpr int kFirstFrameWaitMs = 2000;

} // namespace

MainWindow::MainWindow(MainWindowContext context, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window)
    , m_ctx(std::move(context))
    , m_face([](QPainter &painter, const QRect &bounds) { Skin::paintMainFace(painter, bounds); })
{
    // Load steps: shared state reset by the caller; the window is a shaped,
    // skinned window of 9150 × 6750 twips.
    setObjectName(u"Form1"_qs);
    setWindowTitle(u"Kivo音乐播放器"_qs);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(twipsToPixels(9150), twipsToPixels(6750));
    setMouseTracking(true); // moves over the background restore the buttons' pictures

    m_commands = new CommandDispatcher(this);
    m_menus = new CommandMenus(this);
    buildViews();
    buildButtons();
    wireCommands();

    m_busy = new BusyOverlay(this);
    if (m_ctx.server) {
        m_busy->setRequestTimeoutSeconds(int(m_ctx.server->requestTimeout().count() / 1000));
        connect(m_ctx.server, &ServerClient::stateChanged, this, [this](RequestState s) {
            if (m_mainIsPlayer)
                m_busy->setCaption(requestStateCaption(s));
        });
    }

    // Registered once the first frame is up (or when hiding to it comes first); no
    // tray host: the window still loads.
    m_tray = new TrayIcon(this);
    connect(m_tray, &TrayIcon::leftClicked, m_commands, [this] { m_commands->dispatch(PlayerCommand::ShowPlayer); });
    wireTrayMenu();

    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(10);
    connect(&m_startTimer, &QTimer::timeout, this, &MainWindow::startupTick);
    m_startTimer.start();
}

MainWindow::~MainWindow() = default;

QLabel *MainWindow::makeLabel(const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // server and user text is never markup
    label->setGeometry(geometry);
    return label;
}

void MainWindow::buildViews()
{
    m_label5 = makeLabel(u"Label5"_qs, u"Kivo音乐播放器"_qs, QRect(14, 4, 460, 24));
    applyLabelText(m_label5, {.colour = QColor(0xe8, 0xf4, 0xff), .pixelSize = 13, .bold = true});
    m_label5->installEventFilter(this);
    WindowDrag::install(m_label5); // the title strip drags the window

    // The trees, the result tabs, their status line and the news pane.
    m_online = new OnlineViews(this, m_ctx.server, m_ctx.library, m_menus);

    m_label1 = makeLabel(u"Label1"_qs, QString(), QRect(14, 326, 420, 18));
    m_label7 = makeLabel(u"Label7"_qs, QString(), QRect(440, 326, 160, 18));
    m_label7->setToolTip(u"单击查看详细内容"_qs);
    m_label7->setCursor(Qt::PointingHandCursor);
    m_label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    applyLabelText(m_label7, {.colour = QColor(0x6c, 0xc8, 0xff), .underline = true});
    m_label7->installEventFilter(this);

    m_label3 = makeLabel(u"Label3"_qs, u"00:00"_qs, QRect(494, 350, 100, 24));
    m_label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    applyLabelText(m_label3, {.colour = QColor(0x9f, 0xe0, 0xff), .pixelSize = 15, .monospace = true});
    m_label3->setCursor(Qt::PointingHandCursor);
    m_label3->installEventFilter(this);
    applyLabelText(m_label1, {QColor(0xae, 0xbf, 0xcc)});
}

void MainWindow::buildButtons()
{
    const qreal dpr = devicePixelRatioF();
    for (const ButtonSpec &spec : kButtons) {
        const QString name = QString::fromUtf16(spec.name);
        auto *b = new SkinButton(name, this);
        b->setObjectName(skinArrayName(u"bf"_qs, spec.number));
        b->setGeometry(spec.geometry);
        const bool round = spec.command == PlayerCommand::PlayPause;
        b->setImages(Skin::buttonPlate(spec.geometry.size(), false, round, dpr),
            Skin::buttonPlate(spec.geometry.size(), true, round, dpr));
        if (spec.glyph != Skin::Glyph::None) {
            b->setIcon(Skin::icon(spec.glyph));
            b->setIconSize(spec.geometry.size() * 0.7);
        } else if (spec.caption) {
            b->setText(QString::fromUtf16(spec.caption));
            applyButtonCaption(b);
        }
        connect(b, &SkinButton::clicked, m_commands, [this, command = spec.command] { m_commands->dispatch(command); });
        m_buttons[spec.command] = b;
        m_skinButtons.append(b);
    }
    // The tab strip scroll buttons show only when more tabs are open than the strip holds.
    SkinButton *back = m_buttons.at(PlayerCommand::ScrollTabsBack);
    SkinButton *forward = m_buttons.at(PlayerCommand::ScrollTabsForward);
    back->hide();
    forward->hide();
    connect(m_online, &OnlineViews::scrollButtonsVisibleChanged, this, [back, forward](bool visible) {
        back->setVisible(visible);
        forward->setVisible(visible);
    });
    // Moving over the trees puts every button's normal picture back.
    connect(m_online->catalogueView(), &CatalogueTreeView::mouseMovedOver, this,
        [this] { RestoreButtonImages(m_skinButtons); });
    connect(m_online->libraryView(), &LibraryTreeView::mouseMovedOver, this,
        [this] { RestoreButtonImages(m_skinButtons); });
    connect(m_online, &OnlineViews::busyChanged, this, [this](bool busy) {
        if (busy)
            ShowBusy(QString());
        else
            HideBusy();
    });
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    RestoreButtonImages(m_skinButtons); // over the window background
    QWidget::mouseMoveEvent(event);
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    m_face.paint(p, this, event->rect());
    if (!m_firstPaintDone) {
        m_firstPaintDone = true;
        // Queued: the painted frame is flushed to the screen before this runs.
        QTimer::singleShot(0, this, &MainWindow::afterFirstFrame);
    }
}

void MainWindow::startupTick()
{
    // Building the window can take longer than Timer4's interval; the sequence (its
    // busy overlay, the trees, the web engine) must not hold back the first frame.
    if (isVisible() && !m_firstFrameShown) {
        m_startupWaitsForFrame = true;
        // A window hidden again before it was ever drawn still starts up.
        QTimer::singleShot(kFirstFrameWaitMs, this, [this] {
            if (!m_startupWaitsForFrame || m_quitting)
                return;
            m_startupWaitsForFrame = false;
            runStartup();
        });
        return;
    }
    runStartup();
}

void MainWindow::afterFirstFrame()
{
    if (m_firstFrameShown)
        return;
    m_firstFrameShown = true;
    if (m_quitting)
        return;
    runDeferredBuild(); // the player's parts the first frame did not show
    // Neither is part of the first frame: the icon in its seven sizes, the tray's query
    // of the desktop.
    setWindowIcon(appIcon());
    m_tray->add();
    Q_EMIT firstFrameDrawn();
    if (m_startupWaitsForFrame && !m_quitting) {
        m_startupWaitsForFrame = false;
        runStartup();
    }
}

void MainWindow::buildAfterFirstFrame(std::function<void()> build)
{
    m_deferredBuild = std::move(build);
    if (m_firstFrameShown)
        runDeferredBuild();
}

void MainWindow::runDeferredBuild()
{
    // The lists, headers and scroll bars the sheet styles come with the parts built
    // now; the first frame's trees and buttons have the same look without it.
    if (styleSheet().isEmpty())
        setStyleSheet(Skin::listStyleSheet());
    const std::function<void()> build = std::exchange(m_deferredBuild, {});
    if (!build)
        return;
    const QList<QWidget *> before = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    build();
    if (!isVisible())
        return; // showing the window shows them
    // Children made inside a window already on the screen wait to be shown; the ones
    // the build hid on purpose stay hidden.
    const QList<QWidget *> after = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : after) {
        if (!child->isWindow() && !before.contains(child) && child->isHidden()
            && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
            child->show();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        RestoreButtonImages(m_skinButtons); // over the labels: no button is under the mouse
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::MouseButtonPress)
        return QWidget::eventFilter(watched, event);
    if (watched == m_label3) {
        Q_EMIT timeReadoutClicked();
        return true;
    }
    if (watched == m_label7) {
        const QUrl url = openableWebLink(m_linkTarget);
        if (url.isValid())
            QDesktopServices::openUrl(url);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::ShowBusy(const QString &text)
{
    if (m_mainIsPlayer && !m_quitting)
        m_busy->showBusy(text);
}

void MainWindow::HideBusy()
{
    if (m_mainIsPlayer)
        m_busy->hideBusy();
}

QAbstractButton *MainWindow::button(PlayerCommand command) const
{
    const auto it = m_buttons.find(command);
    return it == m_buttons.end() ? nullptr : it->second;
}

void MainWindow::wireCommands()
{
    auto on = [this](PlayerCommand command, std::function<void()> run) {
        m_commands->setHandler(command, this, std::move(run));
    };
    on(PlayerCommand::MiniMode, [this] { enterMiniMode(); });
    on(PlayerCommand::HideToTray, [this] { hideToTray(); });
    on(PlayerCommand::ShowPlayer, [this] { showPlayer(); });
    on(PlayerCommand::Exit, [this] { quitApplication(); });
    on(PlayerCommand::ShowLibraryTree, [this] { m_online->showLibraryTree(); });
    on(PlayerCommand::ShowCatalogueTree, [this] { m_online->showCatalogueTree(); });
    on(PlayerCommand::ScrollTabsBack, [this] { m_online->scrollTabs(TabStrip::Direction::Back); });
    on(PlayerCommand::ScrollTabsForward, [this] { m_online->scrollTabs(TabStrip::Direction::Forward); });
    on(PlayerCommand::FirstPage, [this] { m_online->turnListPage(PageTurn::First); });
    on(PlayerCommand::PreviousPage, [this] { m_online->turnListPage(PageTurn::Previous); });
    on(PlayerCommand::NextPage, [this] { m_online->turnListPage(PageTurn::Next); });
    on(PlayerCommand::LastPage, [this] { m_online->turnListPage(PageTurn::Last); });
}

void MainWindow::enterMiniMode()
{
    m_busy->hideBusy();
    hide();
    m_mainIsPlayer = false;
    Q_EMIT miniModeEntered();
}

void MainWindow::leaveMiniMode()
{
    m_mainIsPlayer = true;
    show();
}

void MainWindow::hideToTray()
{
    if (!m_firstFrameShown)
        m_tray->add();
    if (!m_tray->available()) {
        // No tray to bring it back from: the main window stays reachable, minimised.
        leaveMiniMode();
        showMinimized();
        return;
    }
    // Every window of the player, but not the one the tray shows the icon in.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->isVisible() && !m_tray->isIconWindow(w))
            w->hide();
    }
}

void MainWindow::showPlayer()
{
    if (!m_mainIsPlayer && isSignalConnected(QMetaMethod::fromSignal(&MainWindow::miniPlayerRequested))) {
        Q_EMIT miniPlayerRequested();
        return;
    }
    leaveMiniMode(); // no mini player to show: the main window comes back
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::quitApplication()
{
    if (m_quitting)
        return;
    // Mark first: a start-up step or a request still waiting must not touch what goes away.
    m_quitting = true;
    m_commands->close();
    m_startTimer.stop();
    Q_EMIT aboutToQuit();
    m_tray->remove();
    if (m_ctx.server)
        m_ctx.server->abortAll();
    if (m_ctx.releaseDatabase)
        m_ctx.releaseDatabase();
    // Unload every window, last loaded first.
    auto windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (*it != this)
            (*it)->close();
    }
    m_busy->hideBusy();
    hide();
    QCoreApplication::quit();
}

QString MainWindow::noticeLine() const
{
    return m_label1->text();
}

QCoro::Task<> MainWindow::runStartup()
{
    runDeferredBuild(); // a window hidden before its first frame starts up without one
    if (!m_ctx.server || !m_ctx.state)
        co_return;
    QPointer<MainWindow> self(this);
    StartupSequence sequence(*this, *m_ctx.server, *m_ctx.state);
    auto running = sequence.run();
    // The start-up page is on its way; meanwhile the web engine loads, off the
    // path to the first window.
    m_online->loadWebEngine();
    co_await running;
    if (!self || m_quitting)
        co_return;
    m_startupFinished = true;
    Q_EMIT startupSequenceFinished();
}

void MainWindow::buildCatalogueTree()
{
    m_online->buildCatalogueTree();
}

void MainWindow::addLibraryNodes()
{
    m_online->addLibraryNodes();
}

QCoro::Task<> MainWindow::loadLibraryNodes()
{
    m_online->loadLibraryNodes();
    co_return;
}

void MainWindow::setNoticeLine(const QString &text)
{
    m_label1->setText(text);
}

void MainWindow::openAnnouncement(const QString &url)
{
    m_online->OpenWebTab(url, u"公告信息"_qs);
}

void MainWindow::setLink(const QString &target, const QString &caption)
{
    m_linkTarget = target;
    m_label7->setText(caption);
}

qint32 MainWindow::applyStoredConfig(const QDateTime &serverDate)
{
    const qint32 count = m_ctx.applyStoredConfig ? m_ctx.applyStoredConfig(serverDate) : 0;
    Q_EMIT settingsApplied();
    return count;
}

bool MainWindow::updaterExists() const
{
    return QFileInfo(m_ctx.programDir + u"/update"_qs).isExecutable();
}

void MainWindow::startUpdaterAndQuit()
{
    QProcess::startDetached(m_ctx.programDir + u"/update"_qs, {}, m_ctx.programDir);
    quitApplication();
}

void MainWindow::showNewVersionMessage(const QString &text)
{
    // Shown without waiting: the start-up sequence goes on while it is up.
    auto *box = new QMessageBox(QMessageBox::NoIcon, windowTitle(), text, QMessageBox::Ok, this);
    box->setObjectName(u"newVersionMessage"_qs);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::navigateNewsPane(const QString &url)
{
    m_online->loadNewsPane(url);
}

void MainWindow::wireTrayMenu()
{
    const TrayMenu &tray = m_menus->tray;
    m_tray->setMenu(tray.menu);
    // Each item does what the window's button of the same command does.
    const std::pair<QAction *, PlayerCommand> items[] = {
        {tray.play, PlayerCommand::PlayPause},
        {tray.pause, PlayerCommand::PlayPause},
        {tray.stop, PlayerCommand::Stop},
        {tray.previous, PlayerCommand::Previous},
        {tray.next, PlayerCommand::Next},
        {tray.exit, PlayerCommand::Exit},
    };
    for (const auto &[action, command] : items)
        connect(action, &QAction::triggered, m_commands, [this, command = command] { m_commands->dispatch(command); });
}

} // namespace kivo
