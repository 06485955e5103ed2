#include "shell/ui/mainwindow.h"

#include "library/ui/librarytreeview.h"
#include "online/serverclient.h"
#include "online/ui/cataloguetreeview.h"
#include "shell/libraryaccess.h"
#include "shell/ui/appicon.h"
#include "shell/ui/busyoverlay.h"
#include "shell/ui/buttonicons.h"
#include "shell/ui/commandmenus.h"
#include "shell/ui/onlineviews.h"
#include "shell/ui/skinbutton.h"
#include "shell/ui/skinpainter.h"
#include "shell/ui/trayicon.h"
#include "shell/weblinks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QWindow>

namespace kivo {

namespace {

struct ButtonSpec
{
    int n;
    const char16_t *name; // what a user calls it: tooltip and accessible name
    ButtonGlyph glyph;
    QRect geometry;
};

// Positions in pixels on the 610 × 450 face (9150 × 6750 twips).
const ButtonSpec kButtons[] = {
    {0, u"播放/暂停", ButtonGlyph::Play, {52, 402, 38, 38}},
    {1, u"上一首", ButtonGlyph::Previous, {14, 408, 30, 26}},
    {2, u"下一首", ButtonGlyph::Next, {98, 408, 30, 26}},
    {3, u"静音", ButtonGlyph::Speaker, {268, 408, 30, 26}},
    {4, u"我的媒体库", ButtonGlyph::None, {8, 36, 80, 22}},
    {5, u"在线媒体库", ButtonGlyph::None, {92, 36, 80, 22}},
    {6, u"标签向前滚动", ButtonGlyph::ScrollBack, {577, 36, 12, 22}},
    {7, u"标签向后滚动", ButtonGlyph::ScrollForward, {590, 36, 12, 22}},
    {8, u"停止", ButtonGlyph::Stop, {136, 408, 30, 26}},
    {11, u"首页", ButtonGlyph::FirstPage, {470, 306, 30, 20}},
    {12, u"上一页", ButtonGlyph::PreviousPage, {502, 306, 30, 20}},
    {13, u"下一页", ButtonGlyph::NextPage, {534, 306, 30, 20}},
    {14, u"尾页", ButtonGlyph::LastPage, {566, 306, 30, 20}},
    {15, u"搜索", ButtonGlyph::Search, {210, 408, 30, 26}},
    {16, u"迷你模式", ButtonGlyph::Mini, {514, 6, 20, 20}},
    {17, u"隐藏到托盘", ButtonGlyph::ToTray, {538, 6, 20, 20}},
    {18, u"退出", ButtonGlyph::Close, {580, 6, 20, 20}},
    {19, u"设置", ButtonGlyph::Settings, {490, 6, 20, 20}},
    {20, u"视频显示", ButtonGlyph::Video, {174, 408, 30, 26}},
};

const char *const kButtonStyle = R"(
kivo--SkinButton { color: #cfe6f5; font-size: 12px; }
QTreeView, QTableView, QListView { background: transparent; color: #d6e6f2; border: none; selection-background-color: #0f6ea8; }
QHeaderView::section { background: #1c2028; color: #9fb6c8; border: none; border-right: 1px solid #0c0e12; padding: 2px 4px; }
QScrollBar:vertical { background: #0e1014; width: 9px; margin: 0; }
QScrollBar:horizontal { background: #0e1014; height: 9px; margin: 0; }
QScrollBar::handle { background: #3a4250; border-radius: 4px; min-height: 20px; min-width: 20px; }
QScrollBar::handle:hover { background: #4f5b6d; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)";

} // namespace

MainWindow::MainWindow(MainWindowContext context, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window)
    , m_ctx(std::move(context))
{
    // Load steps: shared state reset by the caller; the window is a shaped,
    // skinned window of 9150 × 6750 twips.
    setObjectName(u"Form1"_qs);
    setWindowTitle(u"Kivo音乐播放器"_qs);
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(Twips::toPixels(9150), Twips::toPixels(6750));
    setMouseTracking(true); // moves over the background restore the buttons' pictures
    setStyleSheet(QString::fromLatin1(kButtonStyle));

    buildViews();
    buildButtons();

    m_busy = new BusyOverlay(this);
    if (m_ctx.server) {
        m_busy->setRequestTimeoutSeconds(int(m_ctx.server->requestTimeout().count() / 1000));
        connect(m_ctx.server, &ServerClient::stateChanged, this, [this](RequestState s) {
            if (m_mainIsPlayer)
                m_busy->setCaption(requestStateCaption(s));
        });
    }

    m_tray = new TrayIcon(this);
    m_tray->add(); // no tray host: the window still loads
    connect(m_tray, &TrayIcon::leftClicked, this, [this] {
        if (!m_mainIsPlayer && isSignalConnected(QMetaMethod::fromSignal(&MainWindow::miniPlayerRequested))) {
            Q_EMIT miniPlayerRequested();
            return;
        }
        leaveMiniMode(); // no mini player to show: the main window comes back
        raise();
        activateWindow();
    });
    wireTrayMenu();

    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(10);
    connect(&m_startTimer, &QTimer::timeout, this, [this] { runStartup(); });
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
    m_label5->setStyleSheet(u"color:#e8f4ff; font-weight:bold; font-size:13px;"_qs);
    m_label5->installEventFilter(this);

    // The trees, the result tabs, their status line and the news pane.
    m_online = new OnlineViews(this, m_ctx.server, m_ctx.library);

    m_label1 = makeLabel(u"Label1"_qs, QString(), QRect(14, 326, 420, 18));
    m_label7 = makeLabel(u"Label7"_qs, QString(), QRect(440, 326, 160, 18));
    m_label7->setToolTip(u"单击查看详细内容"_qs);
    m_label7->setCursor(Qt::PointingHandCursor);
    m_label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label7->setStyleSheet(u"color:#6cc8ff; text-decoration: underline;"_qs);
    m_label7->installEventFilter(this);

    m_label3 = makeLabel(u"Label3"_qs, u"00:00"_qs, QRect(494, 350, 100, 24));
    m_label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label3->setStyleSheet(u"color:#9fe0ff; font-size:15px; font-family: monospace;"_qs);
    m_label3->setCursor(Qt::PointingHandCursor);
    m_label3->installEventFilter(this);
    m_label1->setStyleSheet(u"color:#aebfcc;"_qs);
}

void MainWindow::buildButtons()
{
    const qreal dpr = devicePixelRatioF();
    for (const ButtonSpec &spec : kButtons) {
        const QString name = QString::fromUtf16(spec.name);
        auto *b = new SkinButton(name, this);
        b->setObjectName(u"bf%1"_qs.arg(spec.n));
        b->setToolTip(name);
        b->setGeometry(spec.geometry);
        b->setFocusPolicy(Qt::NoFocus);
        const bool round = spec.n == 0;
        b->setImages(SkinPainter::buttonPlate(spec.geometry.size(), false, round, dpr),
            SkinPainter::buttonPlate(spec.geometry.size(), true, round, dpr));
        if (spec.glyph != ButtonGlyph::None) {
            b->setIcon(buttonIcon(spec.glyph));
            b->setIconSize(spec.geometry.size() * 0.7);
        } else if (spec.n == 4) {
            b->setText(u"媒体库"_qs);
        } else if (spec.n == 5) {
            b->setText(u"在线"_qs);
        }
        connect(b, &SkinButton::clicked, this, [this, n = spec.n] { PressButton(n); });
        m_bf.at(size_t(spec.n)) = b;
        m_skinButtons.append(b);
    }
    // The tab strip scroll buttons show only when more tabs are open than the strip holds.
    m_bf[6]->hide();
    m_bf[7]->hide();
    connect(m_online, &OnlineViews::scrollButtonsVisibleChanged, this, [this](bool visible) {
        m_bf[6]->setVisible(visible);
        m_bf[7]->setVisible(visible);
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

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    SkinPainter::paintMainFace(p, rect());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        RestoreButtonImages(m_skinButtons); // over the labels: no button is under the mouse
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::MouseButtonPress)
        return QWidget::eventFilter(watched, event);
    const auto *me = static_cast<QMouseEvent *>(event);
    if (watched == m_label5 && me->button() == Qt::LeftButton) {
        if (QWindow *w = windowHandle())
            w->startSystemMove(); // the title strip drags the window
        return true;
    }
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

void MainWindow::PressButton(int n)
{
    if (m_quitting)
        return;
    Q_EMIT buttonPressed(n);
    if (m_online->PressButton(n))
        return;
    switch (n) {
    case 16:
        enterMiniMode();
        break;
    case 17:
        hideToTray();
        break;
    case 18:
        quitApplication();
        break;
    default:
        break; // the other subsystems connect to buttonPressed
    }
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
    if (!m_tray->available()) {
        // No tray to bring it back from: minimise, so the player can always return.
        showMinimized();
        return;
    }
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w != this && w->isVisible())
            w->hide();
    }
    hide();
}

void MainWindow::quitApplication()
{
    if (m_quitting)
        return;
    // Mark first: a start-up step or a request still waiting must not touch what goes away.
    m_quitting = true;
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
    CommandMenus *menus = m_online->menus();
    m_tray->setMenu(menus->menu(u"右键菜单"_qs));
    const std::pair<const char16_t *, int> items[] = {
        {u"播放", 0},
        {u"暂停", 0},
        {u"停止", 8},
        {u"上一首", 1},
        {u"下一首", 2},
        {u"退出", 18},
    };
    for (const auto &[name, n] : items) {
        if (QAction *action = menus->item(QString::fromUtf16(name)))
            connect(action, &QAction::triggered, this, [this, n = n] { PressButton(n); });
    }
}

} // namespace kivo
