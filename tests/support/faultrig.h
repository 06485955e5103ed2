#pragma once

#include "core/responsivenessprobe.h"
#include "core/songrow.h"
#include "library/librarydatabase.h"
#include "shell/programstate.h"
#include "support/demoserver.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QTemporaryDir>

#include <memory>

namespace kivo {
class LibraryAccess;
class MainWindow;
class PlaybackViews;
class ServerClient;
} // namespace kivo

namespace kivo::test {

// The pages a fault can be put on, each with the user's action that asks for it.
enum class FaultPage { Startup, List, Search, AddressSearch, Lyrics, Media };
QString faultPageName(FaultPage page);

// The player composed as main.cpp does (real engine with null outputs, web panes)
// against a demo server of its own, with a responsiveness probe on this thread and
// every message box counted (and closed).
class FaultRig : public QObject
{
    Q_OBJECT
public:
    FaultRig();
    ~FaultRig() override;

    // The server runs, the player started and the songs the actions use were found.
    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    DemoServer &demo() { return m_demo; }

    // The server path a fault on `page` is put on.
    QString faultPath(FaultPage page) const;
    bool setFault(FaultPage page, const QString &kind) { return m_demo.setFault(faultPath(page), kind); }

    // Starts the user's action on `page`; done() tells when it worked.
    void act(FaultPage page);
    bool done(FaultPage page) const;
    // Acts, then waits up to waitMs for it to work; the worst delay of the wait is
    // in worstDelayMs() afterwards.
    bool actAndWait(FaultPage page, int waitMs);

    qint64 worstDelayMs() const { return m_probe.worstDelayMs(); }
    int messageBoxes() const { return m_boxes; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool startPlayer();
    void stopPlayer();
    std::optional<SongRowRef> findRow(bool withAddress) const;

    DemoServer m_demo;
    QTemporaryDir m_dir;
    LibraryDatabase m_db;
    std::unique_ptr<LibraryAccess> m_access;
    QNetworkAccessManager m_network;
    std::unique_ptr<ServerClient> m_server;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
    PlaybackViews *m_playback = nullptr;
    ResponsivenessProbe m_probe;
    SongRowRef m_addressRow; // a song found through the address search
    SongRowRef m_directRow; // a song with its own address and lyrics
    int m_listView = -1;
    quint64 m_startBefore = 0; // the player's start count before the last song was asked for
    bool m_ready = false;
    QString m_error;
    int m_boxes = 0;
};

} // namespace kivo::test
