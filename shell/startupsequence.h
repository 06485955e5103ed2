#pragma once

#include "shell/programstate.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QPointer>
#include <QString>

namespace kivo {

class ServerClient;

// What the start-up sequence asks of the main window and the library. The
// window implements it; tests use a recording fake.
class StartupHost
{
public:
    virtual ~StartupHost() = default;
    virtual bool isQuitting() const = 0;
    virtual void showBusy(const QString &text) = 0;
    virtual void hideBusy() = 0;
    virtual void buildCatalogueTree() = 0;
    virtual void addLibraryNodes() = 0;
    virtual void setNoticeLine(const QString &text) = 0;
    virtual void openAnnouncement(const QString &url) = 0; // a web tab titled "公告信息"
    virtual void setLink(const QString &target, const QString &caption) = 0;
    // Reads table config against the server's date: the daily counter (reset on
    // another day) and the stored settings. Returns the day's download count.
    virtual qint32 applyStoredConfig(const QDateTime &serverDate) = 0;
    virtual QCoro::Task<> loadLibraryNodes() = 0;
    virtual bool updaterExists() const = 0;
    virtual void startUpdaterAndQuit() = 0;
    virtual void showNewVersionMessage(const QString &text) = 0;
    virtual void navigateNewsPane(const QString &url) = 0;
};

// The one-shot start-up sequence that runs at the first tick after the window loads.
class StartupSequence
{
public:
    StartupSequence(StartupHost &host, ServerClient &server, ProgramState &state);
    QCoro::Task<> run();

    // Applies the start-up page's payload (already unmirrored) to the state and the window.
    void applyNotice(const QString &payload);

private:
    StartupHost &m_host;
    QPointer<ServerClient> m_server;
    ProgramState &m_state;
};

} // namespace kivo
