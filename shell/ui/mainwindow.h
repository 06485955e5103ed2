#pragma once

#include "core/playercommand.h"
#include "shell/programstate.h"
#include "shell/startupsequence.h"
#include "skin/facecache.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>

class QAbstractButton;
class QLabel;

namespace kivo {

class BusyOverlay;
class CommandDispatcher;
class CommandMenus;
class SkinButton;
class LibraryAccess;
class OnlineViews;
class ServerClient;
class TrayIcon;

// What the main window needs from the program around it.
struct MainWindowContext
{
    QString programDir;
    ServerClient *server = nullptr;
    ProgramState *state = nullptr;
    LibraryAccess *library = nullptr; // the trees, pages, player and lyrics read the library through it
    // Table config against the server's date: returns the day's download count.
    std::function<qint32(const QDateTime &)> applyStoredConfig;
    // Releases the library connection at exit.
    std::function<void()> releaseDatabase;
};

// Form1: the skinned main window. It composes the views of the subsystems and
// owns the window-level behaviour: start-up, busy overlay, tray, hiding, exit. It
// owns the one command dispatcher and the popup menus.
class MainWindow : public QWidget, public StartupHost
{
    Q_OBJECT
public:
    explicit MainWindow(MainWindowContext context, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Every command of the player goes through it: the skinned buttons of both windows,
    // the tray menu and MPRIS send theirs there.
    CommandDispatcher *commands() const { return m_commands; }
    const CommandMenus *menus() const { return m_menus; }
    // The skinned button that carries a command.
    QAbstractButton *button(PlayerCommand command) const;

    void ShowBusy(const QString &text);
    void HideBusy();
    BusyOverlay *busyOverlay() const { return m_busy; }
    TrayIcon *trayIcon() const { return m_tray; }
    OnlineViews *online() const { return m_online; }
    const MainWindowContext &context() const { return m_ctx; }
    QLabel *timeLabel() const { return m_label3; }

    // "1" while this window is the visible player, "0" while the mini player stands in.
    bool isMainPlayerVisible() const { return m_mainIsPlayer; }
    void enterMiniMode();
    void leaveMiniMode();
    // Hides every window of the player to the tray (the icon stays); without a tray
    // the main window is minimised instead, so the player can always be brought back.
    void hideToTray();
    // Brings the player back: the main window, or the mini player in mini mode (the
    // tray icon's left click, MPRIS "Raise").
    void showPlayer();
    void quitApplication();

    QString noticeLine() const;
    QString linkTarget() const { return m_linkTarget; }
    bool startupFinished() const { return m_startupFinished; }
    // The first frame of this window is on the screen: what it does not show, the
    // start-up sequence and the two engine modules come after it.
    bool firstFrameShown() const { return m_firstFrameShown; }
    // Builds what the first frame does not show, once: right after that frame, before
    // firstFrameDrawn and the start-up sequence; for a window hidden before it was ever
    // drawn, when its start-up runs without a frame.
    void buildAfterFirstFrame(std::function<void()> build);

    // StartupHost
    bool isQuitting() const override { return m_quitting; }
    void showBusy(const QString &text) override { ShowBusy(text); }
    void hideBusy() override { HideBusy(); }
    void buildCatalogueTree() override;
    void addLibraryNodes() override;
    void setNoticeLine(const QString &text) override;
    void openAnnouncement(const QString &url) override;
    void setLink(const QString &target, const QString &caption) override;
    qint32 applyStoredConfig(const QDateTime &serverDate) override;
    QCoro::Task<> loadLibraryNodes() override;
    bool updaterExists() const override;
    void startUpdaterAndQuit() override;
    void showNewVersionMessage(const QString &text) override;
    void navigateNewsPane(const QString &url) override;

Q_SIGNALS:
    void startupSequenceFinished();
    void firstFrameDrawn(); // once, right after the first frame went to the screen
    void miniModeEntered(); // the mini player stands in for this window
    void miniPlayerRequested(); // the tray brings the mini player back
    void timeReadoutClicked(); // Label3 flips elapsed and remaining time
    void settingsApplied(); // the settings were read at start-up or saved: the views apply them
    void aboutToQuit(); // exit: stop playing before the windows go

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildViews();
    void buildButtons();
    QLabel *makeLabel(const QString &name, const QString &text, const QRect &geometry);
    void wireCommands();
    void wireTrayMenu();
    void startupTick();
    void afterFirstFrame();
    void runDeferredBuild();
    QCoro::Task<> runStartup();

    MainWindowContext m_ctx;
    CommandDispatcher *m_commands = nullptr;
    CommandMenus *m_menus = nullptr;
    BusyOverlay *m_busy = nullptr;
    TrayIcon *m_tray = nullptr;
    QTimer m_startTimer; // Timer4: the start-up sequence at its first tick
    std::map<PlayerCommand, SkinButton *> m_buttons;
    QList<SkinButton *> m_skinButtons;
    QLabel *m_label1 = nullptr, *m_label3 = nullptr, *m_label5 = nullptr, *m_label7 = nullptr;
    OnlineViews *m_online = nullptr;
    QString m_linkTarget;
    bool m_mainIsPlayer = true;
    bool m_quitting = false;
    bool m_startupFinished = false;
    FaceCache m_face;
    bool m_firstPaintDone = false;
    bool m_firstFrameShown = false;
    bool m_startupWaitsForFrame = false; // Timer4 ticked while the window was still blank
    std::function<void()> m_deferredBuild;
};

} // namespace kivo
