#pragma once

#include "shell/programstate.h"
#include "shell/startupsequence.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QAbstractButton;
class QLabel;
class QStackedWidget;

namespace kivo {

class BusyOverlay;
class ServerClient;
class TrayIcon;

// What the main window needs from the program around it.
struct MainWindowContext
{
    QString programDir;
    ServerClient *server = nullptr;
    ProgramState *state = nullptr;
    // Table config against the server's date: returns the day's download count.
    std::function<qint32(const QDateTime &)> applyStoredConfig;
    // Releases the library connection at exit.
    std::function<void()> releaseDatabase;
};

// Form1: the skinned main window. It composes the views of the subsystems and
// owns the window-level behaviour: start-up, busy overlay, tray, hiding, exit.
class MainWindow : public QWidget, public StartupHost
{
    Q_OBJECT
public:
    explicit MainWindow(MainWindowContext context, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The numbered skinned buttons; menus, the tray menu and the mini player press them too.
    void PressButton(int n);
    QAbstractButton *button(int n) const { return m_bf.at(size_t(n)); }

    void ShowBusy(const QString &text);
    void HideBusy();
    BusyOverlay *busyOverlay() const { return m_busy; }
    TrayIcon *trayIcon() const { return m_tray; }

    // "1" while this window is the visible player, "0" while the mini player stands in.
    bool isMainPlayerVisible() const { return m_mainIsPlayer; }
    void enterMiniMode();
    void leaveMiniMode();
    void hideToTray();
    void quitApplication();

    bool remainingTimeShown() const { return m_remainingTime; }
    QString noticeLine() const;
    QString linkTarget() const { return m_linkTarget; }
    bool startupFinished() const { return m_startupFinished; }

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
    void buttonPressed(int n);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildViews();
    void buildButtons();
    QLabel *makeLabel(const QString &name, const QString &text, const QRect &geometry);
    QCoro::Task<> runStartup();

    MainWindowContext m_ctx;
    BusyOverlay *m_busy = nullptr;
    TrayIcon *m_tray = nullptr;
    QTimer m_startTimer; // Timer4: the start-up sequence at its first tick
    std::array<QAbstractButton *, 21> m_bf {};
    QLabel *m_label1 = nullptr, *m_label2 = nullptr, *m_label3 = nullptr, *m_label4 = nullptr;
    QLabel *m_label5 = nullptr, *m_label6 = nullptr, *m_label7 = nullptr, *m_label8 = nullptr;
    QWidget *m_catalogueTree = nullptr, *m_libraryTree = nullptr;
    QStackedWidget *m_results = nullptr;
    QWidget *m_newsPane = nullptr;
    QString m_linkTarget;
    QString m_newsPaneUrl;
    bool m_mainIsPlayer = true;
    bool m_remainingTime = false;
    bool m_quitting = false;
    bool m_startupFinished = false;
};

} // namespace kivo
